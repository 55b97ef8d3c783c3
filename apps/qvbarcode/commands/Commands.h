// SPDX-License-Identifier: MIT
#pragma once

#include "pipeline/BatchWork.h"
#include "options/CliOptions.h"

namespace qv::cli {

// Each returns the program's exit status (ExitStatus.h) and writes its messages to stderr.

// One barcode to one file or to standard output.
int RunSingle(const Options& options);
// One barcode per record of the list, each to the file the pattern names.
int RunBatch(const Options& options);
// The same, with its files written by write.
int RunBatch(const Options& options, const FileWriter& write);

}  // namespace qv::cli
