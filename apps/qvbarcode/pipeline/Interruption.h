// SPDX-License-Identifier: MIT
#pragma once

namespace qv::cli {

// From here on SIGINT and SIGTERM ask the batch to stop instead of ending the program: it
// finishes the files in flight, says where to resume and exits 128 + the signal. A second
// signal ends the program at once, its temporaries removed.
void StopBatchOnSignals();

// The signal that asked the batch to stop, or 0. Read between records.
int Interruption();

}  // namespace qv::cli
