// SPDX-License-Identifier: MIT
#include "output/PrintQueue.h"

#include <algorithm>
#include <charconv>
#include <memory>

#include "output/CupsLibrary.h"

namespace qv::cli {

namespace {

// A length in millimetres with two decimals, whatever the user's locale writes as a comma.
std::string Millimetres(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
    return std::string(text, end.ptr);
}

struct DestFree {
    const CupsLibrary* cups;
    void operator()(cups_dest_t* dest) const { cups->freeDests(1, dest); }
};
using Dest = std::unique_ptr<cups_dest_t, DestFree>;

// The print system's options, freed with them.
class CupsOptions {
  public:
    CupsOptions(const CupsLibrary& cups,
                const std::vector<std::pair<std::string, std::string>>& pairs)
        : cups_(cups) {
        for (const auto& [name, value] : pairs) {
            count_ = cups_.addOption(name.c_str(), value.c_str(), count_, &options_);
        }
    }
    ~CupsOptions() { cups_.freeOptions(count_, options_); }
    CupsOptions(const CupsOptions&) = delete;
    CupsOptions& operator=(const CupsOptions&) = delete;
    int count() const { return count_; }
    cups_option_t* options() const { return options_; }

  private:
    const CupsLibrary& cups_;
    int count_ = 0;
    cups_option_t* options_ = nullptr;
};

// The print system says a queue is missing when it cannot reach its server at all.
bool ServerUnreachable(const CupsLibrary& cups) {
    constexpr int kTimeoutMs = 5000;
    http_t* http = cups.connect(cups.server(), cups.port(), nullptr, AF_UNSPEC, cups.encryption(),
                                1, kTimeoutMs, nullptr);
    if (http == nullptr) {
        return true;
    }
    cups.close(http);
    return false;
}

// Why no queue was found under that name (empty: the default queue).
std::string NoQueue(const CupsLibrary& cups, const std::string& queue) {
    if (ServerUnreachable(cups)) {
        return std::string("cannot reach the print server ") + cups.server();
    }
    if (queue.empty()) {
        return "there is no default printer queue: name one, --print QUEUE (lpstat -p lists "
               "them)";
    }
    return "there is no printer queue '" + queue + "' (lpstat -p lists them)";
}

// Sends the document's bytes into the job made on the queue; nothing when sent, else why.
std::string SendDocument(const CupsLibrary& cups, const char* queue, int jobId,
                         const PrintJob& job) {
    const char* format = job.kind == DocumentKind::Pdf ? CUPS_FORMAT_PDF : CUPS_FORMAT_POSTSCRIPT;
    if (cups.startDocument(CUPS_HTTP_DEFAULT, queue, jobId, job.title.c_str(), format, 1) !=
        HTTP_STATUS_CONTINUE) {
        return cups.lastErrorString();
    }
    constexpr std::size_t kChunk = 64 * 1024;
    for (std::size_t at = 0; at < job.document.size(); at += kChunk) {
        const std::size_t size = std::min(kChunk, job.document.size() - at);
        if (cups.writeRequestData(CUPS_HTTP_DEFAULT, job.document.data() + at, size) !=
            HTTP_STATUS_CONTINUE) {
            cups.finishDocument(CUPS_HTTP_DEFAULT, queue);
            return cups.lastErrorString();
        }
    }
    if (cups.finishDocument(CUPS_HTTP_DEFAULT, queue) != IPP_STATUS_OK) {
        return cups.lastErrorString();
    }
    return {};
}

}  // namespace

std::vector<std::pair<std::string, std::string>> PrintOptions(const PrintJob& job) {
    const std::string media =
        "Custom." + Millimetres(job.mediaWidthMm) + "x" + Millimetres(job.mediaHeightMm) + "mm";
    // PageSize too: a queue with a driver file rounds the media to whole points otherwise.
    // No fit-to-page, which makes the server drop PageSize: print-scaling says it.
    return {
        {"media", media},
        {"PageSize", media},
        {"print-scaling", "none"},
        {"orientation-requested", "3"},  // portrait: the page as the document draws it
        {"copies", std::to_string(std::max(job.copies, 1))},
    };
}

PrintResult PrintDocument(const std::string& queue, const PrintJob& job) {
    PrintResult result{queue, 0, {}};
    const CupsLibrary* loaded = LoadCups(result.failure);
    if (loaded == nullptr) {
        return result;
    }
    const CupsLibrary& cups = *loaded;
    const Dest dest(
        cups.getNamedDest(CUPS_HTTP_DEFAULT, queue.empty() ? nullptr : queue.c_str(), nullptr),
        DestFree{&cups});
    if (!dest) {
        result.failure = NoQueue(cups, queue);
        return result;
    }
    result.queue = dest->name;
    // The queue's defaults are the server's to add: sent along, its printer-* attributes
    // make the server drop PageSize.
    const CupsOptions options(cups, PrintOptions(job));
    result.jobId = cups.createJob(CUPS_HTTP_DEFAULT, dest->name, job.title.c_str(), options.count(),
                                  options.options());
    if (result.jobId == 0) {
        result.failure =
            "printer queue '" + result.queue + "' refused the job: " + cups.lastErrorString();
        return result;
    }
    if (std::string why = SendDocument(cups, dest->name, result.jobId, job); !why.empty()) {
        cups.cancelJob(CUPS_HTTP_DEFAULT, dest->name, result.jobId, 0);
        result.failure = "sending the label to printer queue '" + result.queue + "' failed: " + why;
    }
    return result;
}

}  // namespace qv::cli
