// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include <qvbarcode/host/Export.h>

namespace qv::symbology {

// Result codes the symbologies and the pipeline return; 0 means drawn.
enum ResultCode : std::int16_t {
    kDrawn = 0,
    kInvalidBarcodeType = 1100,
    kInvalidCharacter = 1101,
    kNotEnoughWidth = 1102,
    kInvalidLength = 1103,
    kBlankText = 1104,
};

// What an encoder makes of a text: a result code and, when it is kDrawn, the module string
// ("1" a bar module, "0" a space module, left to right).
struct QV_EXPORT Encoding {
    std::int16_t code = kDrawn;
    std::string modules;
    friend bool operator==(const Encoding&, const Encoding&) = default;
};

}  // namespace qv::symbology
