// SPDX-License-Identifier: MIT
#include "pipeline/Progress.h"

#include <unistd.h>
#include <string>

namespace qv::cli {

namespace {
constexpr auto kQuietTime = std::chrono::seconds(1);
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr std::int64_t kBarWidth = 40;
}  // namespace

Progress::Progress(std::FILE* terminal, std::int64_t total)
    : terminal_(terminal), total_(total), start_(Clock::now()), lastDrawn_(start_) {}

Progress::~Progress() {
    Clear();
}

std::FILE* Progress::TerminalOrNull(std::FILE* stream) {
    return isatty(fileno(stream)) ? stream : nullptr;
}

void Progress::Update(std::int64_t done) {
    if (terminal_ == nullptr) {
        return;
    }
    const auto now = Clock::now();
    if (now - start_ < kQuietTime || (shown_ && now - lastDrawn_ < kRedrawInterval)) {
        return;
    }
    if (total_ <= 0 || done > total_) {
        std::fprintf(terminal_, "\r%lld done", static_cast<long long>(done));
    } else {
        const std::int64_t filled = done * kBarWidth / total_;
        std::string bar(static_cast<std::size_t>(filled), '#');
        bar.append(static_cast<std::size_t>(kBarWidth - filled), ' ');
        std::fprintf(terminal_, "\r[%s] %lld/%lld", bar.c_str(), static_cast<long long>(done),
                     static_cast<long long>(total_));
    }
    std::fflush(terminal_);
    shown_ = true;
    lastDrawn_ = now;
}

void Progress::Clear() {
    if (shown_) {
        std::fputs("\r\033[K", terminal_);
        std::fflush(terminal_);
        shown_ = false;
    }
}

}  // namespace qv::cli
