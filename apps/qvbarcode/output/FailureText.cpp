// SPDX-License-Identifier: MIT
#include "output/FailureText.h"

#include <algorithm>

#include <qvbarcode/host/TextConversion.h>
#include "options/TerminalText.h"

namespace qv::cli {

std::string ResultCodeLine(const Drawing& drawing) {
    if (!drawing.refusal.empty()) {
        return drawing.refusal;
    }
    return std::to_string(drawing.code) + " " + host::Utf16ToUtf8(drawing.description) +
           (drawing.explanation.empty() ? "" : ": " + drawing.explanation);
}

std::string RecordName(const BatchRecord& record) {
    constexpr std::size_t kShown = 60;
    // Cut before a UTF-8 sequence's first byte, never inside one.
    std::size_t cut = std::min(kShown, record.text.size());
    while (cut < record.text.size() &&
           (static_cast<unsigned char>(record.text[cut]) & 0xC0) == 0x80) {
        ++cut;
    }
    const std::string text = TerminalText(std::string_view(record.text).substr(0, cut)) +
                             (cut < record.text.size() ? "..." : "");
    return "record " + std::to_string(record.number) + " (line " + std::to_string(record.line) +
           ") \"" + text + "\"";
}

std::string EmptyPictureLine(const Drawing& drawing) {
    return "the barcode is " + std::to_string(drawing.width) + " x " +
           std::to_string(drawing.height) + " pixels, nothing to write: give a height above 0";
}

std::string FailedCallLine(const host::FailedCall& failure) {
    return std::string("failed call: ") + failure.what();
}

bool IsShortOfMemory(const host::FailedCall& failure) {
    return failure.reason() == host::FailureReason::OutOfMemory &&
           !std::string_view(failure.what()).ends_with("million pixels");
}

std::string_view FailureDetail(const host::FailedCall& failure) {
    std::string_view what = failure.what();
    const std::string prefix = std::string(host::ReasonName(failure.reason())) + ": ";
    if (what.starts_with(prefix)) {
        what.remove_prefix(prefix.size());
    }
    return what;
}

}  // namespace qv::cli
