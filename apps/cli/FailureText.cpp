#include "FailureText.h"

#include "host/TextConversion.h"

namespace qv::cli {

std::string ResultCodeLine(const Drawing& drawing) {
    return std::to_string(drawing.code) + " " + host::Utf16ToUtf8(drawing.description);
}

std::string EmptyPictureLine(const Drawing& drawing) {
    return "the barcode is " + std::to_string(drawing.width) + " x " +
           std::to_string(drawing.height) +
           " pixels, nothing to write: give --height N (or --default-size)";
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
