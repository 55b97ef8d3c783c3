// SPDX-License-Identifier: MIT
#pragma once

namespace qv::cli {

// The program's exit statuses.
constexpr int kExitDrawn = 0;
constexpr int kExitResultCode = 1;  // the control reported a result code, or a batch record failed
constexpr int kExitUsage = 2;       // usage and file errors
constexpr int kExitFailedCall = 3;  // overflow, out of memory and other failed calls

}  // namespace qv::cli
