// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "options/CliOptions.h"
#include "pipeline/BatchDocument.h"

namespace qv::cli {

// A document printed without -o: the command writes it into a folder of its own under
// TMPDIR (or /tmp), which goes with everything in it once the job is sent. Any other
// command line is passed on as it is.
class PrintSpool {
  public:
    // Raises the failed call when the folder cannot be made.
    explicit PrintSpool(const Options& options);
    ~PrintSpool();
    PrintSpool(const PrintSpool&) = delete;
    PrintSpool& operator=(const PrintSpool&) = delete;

    const Options& Command() const { return options_; }

  private:
    Options options_;
    std::string folder_;
};

// Sends the finished document to the command line's queue on the media of its largest page
// (the sheet, or the label); the exit status, kExitUsage when it was not sent.
int PrintFinishedDocument(const Options& options, const BatchDocument& document);

}  // namespace qv::cli
