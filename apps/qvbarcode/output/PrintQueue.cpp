// SPDX-License-Identifier: MIT
#include "output/PrintQueue.h"

#include <cups/cups.h>

#include <algorithm>
#include <charconv>
#include <memory>

namespace qv::cli {

namespace {

// A length in millimetres with two decimals, whatever the user's locale writes as a comma.
std::string Millimetres(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
    return std::string(text, end.ptr);
}

struct DestFree {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
using Dest = std::unique_ptr<cups_dest_t, DestFree>;

// The print system's options, freed with them.
class CupsOptions {
  public:
    explicit CupsOptions(const std::vector<std::pair<std::string, std::string>>& pairs) {
        for (const auto& [name, value] : pairs) {
            count_ = cupsAddOption(name.c_str(), value.c_str(), count_, &options_);
        }
    }
    ~CupsOptions() { cupsFreeOptions(count_, options_); }
    CupsOptions(const CupsOptions&) = delete;
    CupsOptions& operator=(const CupsOptions&) = delete;
    int count() const { return count_; }
    cups_option_t* options() const { return options_; }

  private:
    int count_ = 0;
    cups_option_t* options_ = nullptr;
};

// The print system says a queue is missing when it cannot reach its server at all.
bool ServerUnreachable() {
    constexpr int kTimeoutMs = 5000;
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                kTimeoutMs, nullptr);
    if (http == nullptr) {
        return true;
    }
    httpClose(http);
    return false;
}

// Why no queue was found under that name (empty: the default queue).
std::string NoQueue(const std::string& queue) {
    if (ServerUnreachable()) {
        return std::string("cannot reach the print server ") + cupsServer();
    }
    if (queue.empty()) {
        return "there is no default printer queue: name one, --print QUEUE (lpstat -p lists "
               "them)";
    }
    return "there is no printer queue '" + queue + "' (lpstat -p lists them)";
}

// Sends the document's bytes into the job made on the queue; nothing when sent, else why.
std::string SendDocument(const char* queue, int jobId, const PrintJob& job) {
    const char* format = job.kind == DocumentKind::Pdf ? CUPS_FORMAT_PDF : CUPS_FORMAT_POSTSCRIPT;
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue, jobId, job.title.c_str(), format, 1) !=
        HTTP_STATUS_CONTINUE) {
        return cupsLastErrorString();
    }
    constexpr std::size_t kChunk = 64 * 1024;
    for (std::size_t at = 0; at < job.document.size(); at += kChunk) {
        const std::size_t size = std::min(kChunk, job.document.size() - at);
        if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, job.document.data() + at, size) !=
            HTTP_STATUS_CONTINUE) {
            cupsFinishDocument(CUPS_HTTP_DEFAULT, queue);
            return cupsLastErrorString();
        }
    }
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, queue) != IPP_STATUS_OK) {
        return cupsLastErrorString();
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
    const Dest dest(
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.empty() ? nullptr : queue.c_str(), nullptr));
    if (!dest) {
        result.failure = NoQueue(queue);
        return result;
    }
    result.queue = dest->name;
    // The queue's defaults are the server's to add: sent along, its printer-* attributes
    // make the server drop PageSize.
    const CupsOptions options(PrintOptions(job));
    result.jobId = cupsCreateJob(CUPS_HTTP_DEFAULT, dest->name, job.title.c_str(), options.count(),
                                 options.options());
    if (result.jobId == 0) {
        result.failure =
            "printer queue '" + result.queue + "' refused the job: " + cupsLastErrorString();
        return result;
    }
    if (std::string why = SendDocument(dest->name, result.jobId, job); !why.empty()) {
        cupsCancelJob2(CUPS_HTTP_DEFAULT, dest->name, result.jobId, 0);
        result.failure = "sending the label to printer queue '" + result.queue + "' failed: " + why;
    }
    return result;
}

}  // namespace qv::cli
