// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "output/FileAccess.h"

namespace qv::cli {

// A document's file, written as its bytes come into a temporary beside it that takes the
// file's name only once the document is whole: a failed or interrupted run leaves any
// earlier file as it was. A device or FIFO named is written through instead, never replaced.
class DocumentFile {
  public:
    // Makes the folders on the way, as a batch's files do. Raises the failed call when the
    // temporary cannot be made.
    explicit DocumentFile(std::string path);
    ~DocumentFile();
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;

    // False once a write failed; the later ones are dropped.
    bool Write(std::string_view bytes);
    std::int64_t Written() const { return written_; }
    // Syncs, closes and names it; nothing when written, else why not. A failure of the
    // writer (extra) is reported as the file's.
    std::optional<FileFailure> Finish(const std::string& extra = {});

  private:
    std::string path_;
    std::string temporary_;  // the file written, named path_ once whole
    std::FILE* file_ = nullptr;
    int error_ = 0;  // the first write's failure
    std::int64_t written_ = 0;
};

}  // namespace qv::cli
