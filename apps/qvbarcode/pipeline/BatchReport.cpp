// SPDX-License-Identifier: MIT
#include "pipeline/BatchReport.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "options/ExitStatus.h"
#include "options/TerminalText.h"
#include "options/UserMessages.h"
#include "output/FailureText.h"
#include "pipeline/Interruption.h"

namespace qv::cli {

void BatchReport::Record(RecordJob& job, RecordWorker& worker) {
    reported_ = job.record.number;
    if (stoppedAt_ != 0 || resumeAt_ != 0) {
        return;  // drawn beyond the stop: the resumed batch draws it again
    }
    if (job.skipped) {
        resumeAt_ = job.record.number;  // not drawn for an interruption
        return;
    }
    if (job.record.empty) {
        ++empty_;
        progress_.Update(drawn_ + failed_ + empty_);
        return;
    }
    if (job.shortOf) {
        Again(job, [&] { worker.Again(job, stop_); });
    }
    if (job.drawn && names_ != nullptr) {
        if (const std::int64_t owner = names_->Take(job.key, job.record.number)) {
            job.drawn = false;
            job.warnings.clear();  // as if never drawn
            job.failure = job.path + " is record " + std::to_string(owner) +
                          "'s file already: not overwritten";
        }
    }
    if (job.drawn && place_) {
        if (std::string why = place_(job); !why.empty()) {
            job.drawn = false;
            job.warnings.clear();
            job.failure = std::move(why);
        }
    }
    job.recording.reset();
    if (job.drawn && job.writeWhenDue) {
        files_.Write(job, job.bytes);
        if (job.shortOf) {
            Again(job, [&] {
                job.failure.clear();
                job.shortOf = false;
                files_.Write(job, job.bytes);
            });
        }
        job.bytes = {};
    }
    if (job.stops || job.shortOf) {
        Stop(job);
        return;
    }
    for (const std::string& warning : job.warnings) {
        Say(job.record, "warning: " + warning);
    }
    for (const RunNote& note : job.runNotes) {
        if (!said_[note.kind]) {
            said_[note.kind] = true;
            progress_.Clear();
            std::fprintf(stderr, "qvbarcode: %s%s\n", note.warning ? "warning: " : "",
                         TerminalText(note.text).c_str());
        }
    }
    if (!job.failure.empty()) {
        Say(job.record, job.failure + EarlierFileLeft(job));
        ++failed_;
    } else {
        ++drawn_;
    }
    progress_.Update(drawn_ + failed_ + empty_);
}

// A failed record's file left as an earlier run wrote it, said so, since it still scans as
// that run's data; nothing when there is none or this run wrote it.
std::string BatchReport::EarlierFileLeft(const RecordJob& job) {
    std::error_code error;
    if (job.path.empty() || (names_ != nullptr && names_->Owner(job.key) != 0) ||
        !std::filesystem::exists(job.path, error)) {
        return {};
    }
    return "; " + cli::Say(Message::LeftUnchanged, UserLanguage(), {job.path});
}

void BatchReport::Ended(const char* why, std::int64_t nextUnread) {
    if (stoppedAt_ != 0) return;
    progress_.Clear();
    const std::int64_t resume = resumeAt_ != 0 ? resumeAt_ : nextUnread;
    if (resume == 0) {
        std::fprintf(stderr, "qvbarcode: %s after the last record: nothing left to draw\n", why);
        return;
    }
    std::fprintf(stderr,
                 "qvbarcode: %s: record %lld and those after it are not drawn. Resume with "
                 "--from %lld\n",
                 why, static_cast<long long>(resume), static_cast<long long>(resume));
}

int BatchReport::Summary(bool listRead, const std::optional<FileFailure>& unsynced) {
    progress_.Clear();
    if (!listRead) {
        std::fprintf(stderr, "qvbarcode: cannot read the rest of the batch list\n");
    }
    if (unsynced) {
        std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(unsynced->message).c_str());
    }
    std::fprintf(stderr, "qvbarcode: %lld drawn, %lld failed", static_cast<long long>(drawn_),
                 static_cast<long long>(failed_));
    if (empty_ > 0) {
        std::fprintf(stderr, ", %lld empty row%s skipped", static_cast<long long>(empty_),
                     empty_ > 1 ? "s" : "");
    }
    std::fputc('\n', stderr);
    if (Interruption() != 0) return 128 + Interruption();
    return !listRead || stoppedAt_ || unsynced ? kExitUsage
           : failed_ == 0                      ? kExitDrawn
                                               : kExitResultCode;
}

// Runs the record's drawing or writing again with no other record drawn meanwhile, the
// batch going on with half the threads.
void BatchReport::Again(RecordJob& job, const std::function<void()>& again) {
    if (const std::size_t threads = threads_.load(); threads > 1) {
        threads_.store(threads / 2);
        Say(job.record, job.failure + "; drawn again alone, the batch goes on with " +
                            std::to_string(threads / 2) +
                            (threads / 2 == 1 ? " thread" : " threads"));
    }
    gate_.Alone(again);
}

// One message for the record and every one after it, which would fail alike.
void BatchReport::Stop(const RecordJob& job) {
    stoppedAt_ = job.record.number;
    stop_.At(job.record.number);
    Say(job.record,
        job.failure + "; every later record would fail too. Resume with --from " +
            std::to_string(job.record.number),
        "stopped at ");
}

void BatchReport::Say(const BatchRecord& record, const std::string& message, const char* lead) {
    progress_.Clear();
    std::fprintf(stderr, "qvbarcode: %s%s: %s\n", lead, RecordName(record).c_str(),
                 TerminalText(message).c_str());
}

}  // namespace qv::cli
