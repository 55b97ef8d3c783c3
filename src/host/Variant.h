// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include <qvbarcode/host/Export.h>

namespace qv::host {

// The tagged value that crosses the component boundary.
class QV_EXPORT Variant {
  public:
    enum class Type { Empty, Int16, Int32, Bool, Text };

    Variant() = default;
    static Variant FromInt16(std::int16_t value) { return Variant(value); }
    static Variant FromInt32(std::int32_t value) { return Variant(value); }
    static Variant FromBool(bool value) { return FromAutomationBool(value ? -1 : 0); }
    // An automation Boolean as it is: True is -1, False 0, and other values stay themselves.
    static Variant FromAutomationBool(std::int16_t value) { return Variant(BoolValue{value}); }
    static Variant FromText(std::u16string text) { return Variant(std::move(text)); }

    Type type() const { return static_cast<Type>(value_.index()); }
    bool IsEmpty() const { return type() == Type::Empty; }

    // Numeric reads accept any numeric type; a Boolean reads as the value it holds.
    std::int32_t AsInt32() const;
    std::int16_t AsInt16() const;  // raises the overflow failed call when out of range
    bool AsBool() const;           // non-zero is True
    const std::u16string& AsText() const;

    friend bool operator==(const Variant&, const Variant&) = default;

  private:
    struct BoolValue {
        std::int16_t value;
        friend bool operator==(BoolValue, BoolValue) = default;
    };
    template <typename T>
    explicit Variant(T value) : value_(std::move(value)) {}

    std::variant<std::monostate, std::int16_t, std::int32_t, BoolValue, std::u16string> value_;
};

}  // namespace qv::host
