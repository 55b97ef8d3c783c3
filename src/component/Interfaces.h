// SPDX-License-Identifier: MIT
#pragma once

#include <qvbarcode/host/MemberTable.h>

namespace qv::component {

// The member tables of the library's interfaces, in slot order.
const host::InterfaceTable& QvBarCodeInterface();       // _QvBarCode
const host::InterfaceTable& QvBarCodePPInterface();     // _QvBarCodePP
const host::InterfaceTable& QvBarCodeEventInterface();  // __QvBarCode, no members

}  // namespace qv::component
