// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include <qvbarcode/host/Export.h>

namespace qv::symbology {

// The white a scanner wants beside the bars, in modules.
struct QV_EXPORT QuietZone {
    std::int32_t left = 0;
    std::int32_t right = 0;
};

}  // namespace qv::symbology
