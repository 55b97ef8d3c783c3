// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include <qvbarcode/symbology/BarCodeType.h>

namespace qv::control {

// The automation Boolean: True is -1, False 0; setters store other values unchanged.
using AutomationBool = std::int16_t;
constexpr AutomationBool kTrue = -1;
constexpr AutomationBool kFalse = 0;

using symbology::EnumBarCodeType;
using enum symbology::EnumBarCodeType;

// BarCodeType for C++ callers. Like the property it holds any 32-bit value: one that names no
// symbology is stored and read back as it is, and Draw refuses it with InvalidBarcodeType.
enum class BarcodeType : std::int32_t {
    Interleaved2of5 = QvTypeInterleaved2of5,
    Standard2of5 = QvTypeStandard2of5,
    Code39 = QvTypeCode39,
    Ean13 = QvTypeEan13,
};

// What a drawing came to: Drawn, or the failure whose message ErrorDescription holds.
enum class ResultCode : std::int16_t {
    Drawn = 0,
    InvalidBarcodeType = 1100,
    InvalidCharacter = 1101,
    NotEnoughWidth = 1102,
    InvalidLength = 1103,
    BlankText = 1104,
};

}  // namespace qv::control
