// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace qv::symbology {

// The values of BarCodeType, one per symbology.
enum EnumBarCodeType : std::int32_t {
    QvTypeInterleaved2of5 = 0,
    QvTypeStandard2of5 = 1,
    QvTypeCode39 = 2,
    QvTypeEan13 = 3,
};

}  // namespace qv::symbology
