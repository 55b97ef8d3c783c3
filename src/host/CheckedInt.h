// SPDX-License-Identifier: MIT
#pragma once

#include <compare>
#include <cstdint>
#include <limits>

#include <qvbarcode/host/FailedCall.h>

namespace qv::host {

// A signed 16-bit count whose arithmetic raises the overflow failed call instead of wrapping,
// so every count the drawing keeps in 16 bits obeys the overflow rule by construction.
class Int16 {
  public:
    constexpr Int16() = default;
    constexpr Int16(std::int16_t value) : value_(value) {}  // NOLINT: implicit by design

    static constexpr Int16 From(std::int64_t value) {
        if (value < std::numeric_limits<std::int16_t>::min() ||
            value > std::numeric_limits<std::int16_t>::max()) {
            throw FailedCall(FailureReason::Overflow, "value does not fit 16 bits");
        }
        return Int16(static_cast<std::int16_t>(value));
    }

    constexpr std::int16_t value() const { return value_; }

    friend constexpr Int16 operator+(Int16 a, Int16 b) {
        return From(std::int64_t{a.value_} + b.value_);
    }
    friend constexpr Int16 operator-(Int16 a, Int16 b) {
        return From(std::int64_t{a.value_} - b.value_);
    }
    friend constexpr Int16 operator*(Int16 a, Int16 b) {
        return From(std::int64_t{a.value_} * b.value_);
    }
    constexpr Int16& operator+=(Int16 other) { return *this = *this + other; }
    constexpr Int16& operator++() { return *this += Int16(1); }

    friend constexpr bool operator==(Int16, Int16) = default;
    friend constexpr auto operator<=>(Int16, Int16) = default;

  private:
    std::int16_t value_ = 0;
};

// A signed 32-bit coordinate computed in wider arithmetic, checked on the way back.
constexpr std::int32_t CheckedInt32(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        throw FailedCall(FailureReason::Overflow, "value does not fit 32 bits");
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace qv::host
