#include "output/FailureText.h"

#include "host/TextConversion.h"

namespace qv::cli {

std::string ResultCodeLine(const Drawing& drawing) {
    return std::to_string(drawing.code) + " " + host::Utf16ToUtf8(drawing.description);
}

std::string RecordName(const BatchRecord& record) {
    constexpr std::size_t kShown = 60;
    std::string text;
    for (std::size_t i = 0; i < record.text.size(); ++i) {
        const auto c = static_cast<unsigned char>(record.text[i]);
        // Cut before a UTF-8 sequence's first byte, never inside one.
        if (text.size() >= kShown && (c & 0xC0) != 0x80) {
            text += "...";
            break;
        }
        if (c < 0x20 || c == 0x7F) {
            static constexpr char kHex[] = "0123456789abcdef";
            text += {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
        } else {
            text += static_cast<char>(c);
        }
    }
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

std::string_view FailureDetail(const host::FailedCall& failure) {
    std::string_view what = failure.what();
    const std::string prefix = std::string(host::ReasonName(failure.reason())) + ": ";
    if (what.starts_with(prefix)) {
        what.remove_prefix(prefix.size());
    }
    return what;
}

}  // namespace qv::cli
