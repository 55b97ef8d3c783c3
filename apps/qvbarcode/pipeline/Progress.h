// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace qv::cli {

// A progress bar on a terminal, shown only once a batch has run for a second, so short
// batches and pipelines see nothing of it.
class Progress {
  public:
    Progress(std::FILE* terminal, std::int64_t total);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // terminal when it is one, else nullptr: the bar is then never drawn.
    static std::FILE* TerminalOrNull(std::FILE* stream);

    // A total of 0 or less is unknown: the bar then shows the count alone.
    void Update(std::int64_t done);
    // Takes the bar off the line, so that a message can be written there.
    void Clear();

  private:
    using Clock = std::chrono::steady_clock;
    std::FILE* terminal_;
    std::int64_t total_;
    Clock::time_point start_;
    Clock::time_point lastDrawn_;
    bool shown_ = false;
};

}  // namespace qv::cli
