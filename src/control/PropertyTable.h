// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/host/Export.h>
#include <qvbarcode/host/MemberTable.h>
#include <qvbarcode/host/Variant.h>

namespace qv::control {

// The control's public properties, in the order its interface declares them.
enum class Property {
    Text,
    BarCodeType,
    PositionX,
    PositionY,
    BarHeight,
    BarWidth,
    BarWidthSource,
    BackgroundWhite,
    ShowValue,
    ErrorFound,
    ErrorDescription,
    CalculateCheckDigit,
};

// How the command-line program sets a property: a short name ("-c") or none, one or two
// long names, the name of its value in the help (none for a flag) and the help's line for
// it, "\n" where it goes on under the first.
struct QV_EXPORT ProgramOption {
    std::string_view shortName;
    std::array<std::string_view, 2> longNames;
    std::string_view valueName;
    std::string_view help;
    constexpr bool Exists() const { return !longNames[0].empty(); }
};

// A property read as a Variant of its type, or written from a Variant already of its type
// (host::ValueType: String a text, Int32 and EnumBarCodeType a number, Boolean an automation
// Boolean).
using PropertyReader = host::Variant (*)(const QvBarCode&);
using PropertyWriter = void (*)(QvBarCode&, const host::Variant&);
struct QV_EXPORT PropertyAccess {
    PropertyReader read;
    PropertyWriter write;  // nullptr for a read-only property
    // Said apart from write, since not every compiler compares a function's address with
    // nullptr at compile time (GCC under UBSan does not).
    bool writable;
};

struct QV_EXPORT PropertyRow {
    Property property;
    std::string_view name;  // the member's name, and what its setter tells the host
    host::DispatchId id;
    host::ValueType type;
    std::int32_t starting;  // a number's or Boolean's starting value; a text starts empty
    PropertyAccess access;
    ProgramOption option;  // none when the program sets the property otherwise or not at all
    bool csvColumn;        // a batch's CSV column of that name sets it

    constexpr bool Writable() const { return access.writable; }
    host::Variant Read(const QvBarCode& control) const { return access.read(control); }
    void Write(QvBarCode& control, const host::Variant& value) const {
        access.write(control, value);
    }
};

namespace accessors {

inline host::Variant ToVariant(const std::u16string& value) {
    return host::Variant::FromText(value);
}
inline host::Variant ToVariant(std::int32_t value) {
    return host::Variant::FromInt32(value);
}
inline host::Variant ToVariant(AutomationBool value) {
    return host::Variant::FromAutomationBool(value);
}

template <typename T>
T FromVariant(const host::Variant& value) {
    if constexpr (std::is_same_v<T, std::u16string>) {
        return value.AsText();
    } else if constexpr (std::is_same_v<T, AutomationBool>) {
        return value.AsInt16();
    } else {
        static_assert(std::is_same_v<T, std::int32_t>);
        return value.AsInt32();
    }
}

template <typename Setter>
struct ValueOf;
template <typename T>
struct ValueOf<void (QvBarCode::*)(T)> {
    using type = T;
};

template <auto Getter>
host::Variant ReadWith(const QvBarCode& control) {
    return ToVariant((control.*Getter)());
}
template <auto Setter>
void WriteWith(QvBarCode& control, const host::Variant& value) {
    (control.*Setter)(FromVariant<typename ValueOf<decltype(Setter)>::type>(value));
}

// The automation setter, picked from beside its typed twins.
template <typename T>
constexpr void (QvBarCode::*AutomationSetter(void (QvBarCode::*setter)(T)))(T) {
    return setter;
}

template <auto Setter>
inline constexpr PropertyWriter kWriter = &WriteWith<Setter>;
template <>
inline constexpr PropertyWriter kWriter<nullptr> = nullptr;

}  // namespace accessors

// The getter and, unless the property is read-only, the setter.
template <auto Getter, auto Setter = nullptr>
inline constexpr PropertyAccess Access{&accessors::ReadWith<Getter>, accessors::kWriter<Setter>,
                                       !std::is_null_pointer_v<decltype(Setter)>};

constexpr ProgramOption Option(std::string_view shortName, std::string_view longName,
                               std::string_view valueName, std::string_view help) {
    return {shortName, {longName, {}}, valueName, help};
}
constexpr ProgramOption Option(std::string_view shortName, std::string_view longName,
                               std::string_view alias, std::string_view valueName,
                               std::string_view help) {
    return {shortName, {longName, alias}, valueName, help};
}

constexpr PropertyRow Describe(Property property, std::string_view name, host::DispatchId id,
                               host::ValueType type, std::int32_t starting, PropertyAccess access,
                               ProgramOption option = {}, bool csvColumn = false) {
    return {property, name, id, type, starting, access, option, csvColumn};
}

inline constexpr bool kCsvColumn = true;

// The control's properties, in the order of their slots (Draw's follows CalculateCheckDigit). The
// component's dispatch and member table (and so the type library text), the setters' notifications,
// the widget's signals, the page's fields and the program's options, CSV columns and help lines are
// read from here; tests hold the C header's QV_DISPID_ constants, the widget's Q_PROPERTY list, the
// page's field names, the manual and docs/cli.md against it. A new property needs its row here, its
// member, getter and setter, the widget's Q_PROPERTY with its accessors and signal, its
// QV_DISPID_ constant, and for an option FlagOf (or its own option) and its place in the help.

inline constexpr std::array<PropertyRow, 12> kProperties = [] {
    using enum host::ValueType;
    return std::array{
        Describe(Property::Text, "Text", 0x6803000B, String, 0,
                 Access<&QvBarCode::Text,
                        accessors::AutomationSetter<std::u16string>(&QvBarCode::SetText)>,
                 Option("-d", "--text", "--data", "TEXT", "the text to encode (Text)"), kCsvColumn),
        Describe(Property::BarCodeType, "BarCodeType", 0x6803000A, EnumBarCodeType,
                 QvTypeInterleaved2of5,
                 Access<&QvBarCode::BarCodeType,
                        accessors::AutomationSetter<std::int32_t>(&QvBarCode::SetBarCodeType)>,
                 Option("-t", "--type", "TYPE",
                        "i2of5, s2of5, code39, ean13, or a whole number given\n"
                        "straight to BarCodeType (an unknown one reports 1100)"),
                 kCsvColumn),
        Describe(Property::PositionX, "PositionX", 0x68030009, Int32, 0,
                 Access<&QvBarCode::PositionX, &QvBarCode::SetPositionX>,
                 Option("", "--x", "LENGTH",
                        "the left edge on the --onto image (PositionX), default 0")),
        Describe(
            Property::PositionY, "PositionY", 0x68030008, Int32, 0,
            Access<&QvBarCode::PositionY, &QvBarCode::SetPositionY>,
            Option("", "--y", "LENGTH", "the top edge on the --onto image (PositionY), default 0")),
        Describe(Property::BarHeight, "BarHeight", 0x68030007, Int32, 0,
                 Access<&QvBarCode::BarHeight, &QvBarCode::SetBarHeight>,
                 Option("", "--height", "LENGTH", "its height (BarHeight)"), kCsvColumn),
        Describe(Property::BarWidth, "BarWidth", 0x68030006, Int32, 0,
                 Access<&QvBarCode::BarWidth, &QvBarCode::SetBarWidth>,
                 Option("", "--width", "LENGTH",
                        "the barcode's width, the white margins included (BarWidth)"),
                 kCsvColumn),
        Describe(Property::BarWidthSource, "BarWidthSource", 0x68030005, Boolean, kFalse,
                 Access<&QvBarCode::BarWidthSource,
                        accessors::AutomationSetter<AutomationBool>(&QvBarCode::SetBarWidthSource)>,
                 Option("", "--default-size", "",
                        "one pixel per module, 50 pixels high unless --height\n(BarWidthSource)"),
                 kCsvColumn),
        Describe(Property::BackgroundWhite, "BackgroundWhite", 0x68030004, Boolean, kFalse,
                 Access<&QvBarCode::BackgroundWhite, accessors::AutomationSetter<AutomationBool>(
                                                         &QvBarCode::SetBackgroundWhite)>,
                 Option("-w", "--background-white", "--white", "",
                        "white background with a 5-pixel margin (BackgroundWhite)"),
                 kCsvColumn),
        Describe(Property::ShowValue, "ShowValue", 0x68030003, Boolean, kFalse,
                 Access<&QvBarCode::ShowValue,
                        accessors::AutomationSetter<AutomationBool>(&QvBarCode::SetShowValue)>,
                 Option("-s", "--show-value", "",
                        "print the text over the foot of the bars (ShowValue)"),
                 kCsvColumn),
        Describe(Property::ErrorFound, "ErrorFound", 0x68030002, Boolean, kFalse,
                 Access<&QvBarCode::ErrorFound>),
        Describe(Property::ErrorDescription, "ErrorDescription", 0x68030001, String, 0,
                 Access<&QvBarCode::ErrorDescription>),
        Describe(
            Property::CalculateCheckDigit, "CalculateCheckDigit", 0x68030000, Boolean, kFalse,
            Access<&QvBarCode::CalculateCheckDigit,
                   accessors::AutomationSetter<AutomationBool>(&QvBarCode::SetCalculateCheckDigit)>,
            Option("-c", "--check-digit", "",
                   "append the modulo-10 check digit (CalculateCheckDigit)"),
            kCsvColumn),
    };
}();

constexpr const PropertyRow& Row(Property property) {
    return kProperties[static_cast<std::size_t>(property)];
}
constexpr std::string_view NameOf(Property property) {
    return Row(property).name;
}

static_assert(
    [] {
        for (std::size_t i = 0; i < kProperties.size(); ++i) {
            if (static_cast<std::size_t>(kProperties[i].property) != i) return false;
        }
        return true;
    }(),
    "the rows are in the order of Property");

// The row of that exact name, or of that dispatch id; nullptr when there is none.
QV_EXPORT const PropertyRow* FindProperty(std::string_view name);
QV_EXPORT const PropertyRow* FindProperty(host::DispatchId id);
// A fresh control's value of the property.
QV_EXPORT host::Variant StartingValue(const PropertyRow& row);

}  // namespace qv::control
