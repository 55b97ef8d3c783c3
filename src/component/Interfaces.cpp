#include "component/Interfaces.h"

#include "component/Identifiers.h"

namespace qv::component {
namespace {

using host::InterfaceTable;
using host::Member;
using host::Parameter;
using enum host::MemberKind;
using enum host::ValueType;

constexpr Parameter kDrawParameters[] = {
    {"xhDC", Int32, /*byReference=*/true, /*output=*/true, /*optional=*/true, -1},
};
constexpr Parameter kAllowOnlyNumbersParameters[] = {
    {"xFlag", String, /*byReference=*/true, /*output=*/false, /*optional=*/false, 0},
};

constexpr Member kQvBarCodeMembers[] = {
    {"Text", Get, String, 0x6803000B, {}},
    {"Text", Let, String, 0x6803000B, {}},
    {"BarCodeType", Get, EnumBarCodeType, 0x6803000A, {}},
    {"BarCodeType", Let, EnumBarCodeType, 0x6803000A, {}},
    {"PositionX", Get, Int32, 0x68030009, {}},
    {"PositionX", Let, Int32, 0x68030009, {}},
    {"PositionY", Get, Int32, 0x68030008, {}},
    {"PositionY", Let, Int32, 0x68030008, {}},
    {"BarHeight", Get, Int32, 0x68030007, {}},
    {"BarHeight", Let, Int32, 0x68030007, {}},
    {"BarWidth", Get, Int32, 0x68030006, {}},
    {"BarWidth", Let, Int32, 0x68030006, {}},
    {"BarWidthSource", Get, Boolean, 0x68030005, {}},
    {"BarWidthSource", Let, Boolean, 0x68030005, {}},
    {"BackgroundWhite", Get, Boolean, 0x68030004, {}},
    {"BackgroundWhite", Let, Boolean, 0x68030004, {}},
    {"ShowValue", Get, Boolean, 0x68030003, {}},
    {"ShowValue", Let, Boolean, 0x68030003, {}},
    {"ErrorFound", Get, Boolean, 0x68030002, {}},
    {"ErrorDescription", Get, String, 0x68030001, {}},
    {"CalculateCheckDigit", Get, Boolean, 0x68030000, {}},
    {"CalculateCheckDigit", Let, Boolean, 0x68030000, {}},
    {"Draw", Method, Variant, 0x6003000D, kDrawParameters},
};
static_assert(std::size(kQvBarCodeMembers) == 23, "_QvBarCode has 23 slots");

constexpr Member kQvBarCodePPMembers[] = {
    {"EnableDisableOK", Method, Variant, 0x6003000D, {}},
    {"AllowOnlyNumbers", Method, Variant, 0x6003000E, kAllowOnlyNumbersParameters},
    {"Translate", Method, Variant, 0x6003000F, {}},
};

constexpr InterfaceTable kQvBarCode{"_QvBarCode", kInterfaceIdQvBarCode, false, kQvBarCodeMembers};
constexpr InterfaceTable kQvBarCodePP{"_QvBarCodePP", kInterfaceIdQvBarCodePP, false,
                                      kQvBarCodePPMembers};
constexpr InterfaceTable kQvBarCodeEvents{"__QvBarCode", kEventInterfaceIdQvBarCode, true, {}};

}  // namespace

const InterfaceTable& QvBarCodeInterface() {
    return kQvBarCode;
}
const InterfaceTable& QvBarCodePPInterface() {
    return kQvBarCodePP;
}
const InterfaceTable& QvBarCodeEventInterface() {
    return kQvBarCodeEvents;
}

}  // namespace qv::component
