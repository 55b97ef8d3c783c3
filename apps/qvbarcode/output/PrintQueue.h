// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "output/DocumentKind.h"

namespace qv::cli {

// A finished document for a printer: its pages are the media it is printed on, so that it
// comes out at 100% and unrotated, whatever the queue's default paper.
struct PrintJob {
    std::string_view document;
    DocumentKind kind = DocumentKind::Pdf;
    double mediaWidthMm = 0;
    double mediaHeightMm = 0;
    int copies = 1;
    std::string title = "qvbarcode";
};

// The job's options as the print system takes them: the media, no scaling, portrait
// (the document's own orientation) and the copies.
std::vector<std::pair<std::string, std::string>> PrintOptions(const PrintJob& job);

// What a sent job became: its number on the queue, or why it was not sent.
struct PrintResult {
    std::string queue;
    int jobId = 0;
    std::string failure;  // empty when sent
};

// Sends the job to queue, or to the default queue when queue is empty. The print server is
// the user's (CUPS_SERVER, ~/.cups/client.conf, or the local one).
PrintResult PrintDocument(const std::string& queue, const PrintJob& job);

}  // namespace qv::cli
