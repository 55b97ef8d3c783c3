// SPDX-License-Identifier: MIT
#pragma once

#include "options/CliOptions.h"
#include "pipeline/BatchWork.h"

namespace qv::cli {

// Each returns the program's exit status (ExitStatus.h) and writes its messages to stderr.

// One barcode to one file or to standard output.
int RunSingle(const Options& options);
// One barcode per record of the list, each to the file the pattern names.
int RunBatch(const Options& options);
// The same, with its files written by write (a test's stand-in for a disk that fills up); an
// empty one writes them below the pattern's fixed folder, never onto a file the batch reads.
int RunBatch(const Options& options, const FileWriter& write);

// The label sheets installed, one a line: name, labels, their size and the page's.
int ListSheets();

}  // namespace qv::cli
