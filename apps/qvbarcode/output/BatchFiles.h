// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "output/FileAccess.h"
#include "output/OutputPattern.h"

namespace qv::cli {

// A file as the system knows it, whatever path spells it.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// A file the batch reads, which it never writes onto: the list, the --onto picture.
struct ReadFile {
    FileIdentity identity;
    std::string role;  // "the batch list"
};

// The identity of the file at path (followed through links), or of standard input for "-";
// nothing when there is none or it is no regular file.
std::optional<ReadFile> IdentifyRead(const std::string& path, std::string role);

// The files of a batch, all below its pattern's fixed folder: the folders between are made
// and looked up from that folder without leaving it (a symbolic link that leads out fails
// the record), so that a cell never reaches a file the user did not ask for.
class BatchFiles {
  public:
    BatchFiles(const OutputPattern& pattern, std::vector<ReadFile> reads);

    // What tells path's file from every other: the same for two spellings of one file
    // through folders that are there or are made later (a link to a folder, "x/../y"). In
    // reading order only.
    std::string Key(const std::string& path);
    // Writes the file whole (WriteOutput's way), never onto a file the batch reads; any thread.
    std::optional<FileFailure> Write(const std::string& path, std::string_view bytes);
    // Puts every file written so far on disk: nothing when done, else why not.
    std::optional<FileFailure> Sync();

  private:
    // The path's folder below the fixed one ("" when none) and its name.
    std::pair<std::string, std::string> Split(const std::string& path) const;
    // Once per folder: clears it of temporaries a killed run of the pattern left, and
    // remembers its file system for Sync.
    void FirstWriteInto(int folder, const std::string& path);
    std::optional<FileFailure> MakeFixedFolder();

    const OutputPattern& pattern_;
    const std::string fixed_;
    const std::vector<ReadFile> reads_;
    std::unordered_map<std::string, std::string> folderKeys_;  // Key's, by folder text
    std::mutex mutex_;                                         // for what writers share:
    std::atomic<bool> fixedMade_{false};
    std::set<std::pair<dev_t, ino_t>> cleaned_;
    std::unordered_map<dev_t, std::string> written_;  // a folder written on each device
};

}  // namespace qv::cli
