#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace qv::host {

// The tagged value that crosses the component boundary.
class Variant {
  public:
    enum class Type { Empty, Int16, Int32, Bool, Text };

    Variant() = default;
    static Variant FromInt16(std::int16_t value) { return Variant(value); }
    static Variant FromInt32(std::int32_t value) { return Variant(value); }
    static Variant FromBool(bool value) {
        return Variant(BoolValue{value ? std::int16_t{-1} : std::int16_t{0}});
    }
    static Variant FromText(std::u16string text) { return Variant(std::move(text)); }

    Type type() const { return static_cast<Type>(value_.index()); }
    bool IsEmpty() const { return type() == Type::Empty; }

    // Numeric reads accept any numeric type; Booleans read as -1 or 0.
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
