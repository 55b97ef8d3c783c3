// SPDX-License-Identifier: MIT
#include <qvbarcode/component/Interfaces.h>

#include <algorithm>
#include <array>

#include <qvbarcode/component/Identifiers.h>
#include <qvbarcode/control/PropertyTable.h>

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

constexpr host::DispatchId kDrawId = 0x6003000D;

// A get for every property and a let for every writable one, in the table's order, with
// Draw after the twelve first published: hosts call by slot and id, so a property added later
// takes slots after Draw's and no published slot moves.
constexpr std::size_t kQvBarCodeSlots =
    control::kProperties.size() +
    std::ranges::count_if(control::kProperties, [](const auto& row) { return row.Writable(); }) + 1;

constexpr std::array<Member, kQvBarCodeSlots> QvBarCodeMembers() {
    std::array<Member, kQvBarCodeSlots> members{};
    std::size_t slot = 0;
    for (const control::PropertyRow& row : control::kProperties) {
        members[slot++] = {row.name, Get, row.type, row.id, {}};
        if (row.Writable()) members[slot++] = {row.name, Let, row.type, row.id, {}};
        if (row.property == control::Property::CalculateCheckDigit) {
            members[slot++] = {"Draw", Method, Variant, kDrawId, kDrawParameters};
        }
    }
    return members;
}

constexpr std::array<Member, kQvBarCodeSlots> kQvBarCodeMembers = QvBarCodeMembers();
static_assert(kQvBarCodeMembers[22].kind == Method, "Draw keeps slot 23");

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
