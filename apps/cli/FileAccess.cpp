#include "FileAccess.h"

#include <cstdio>

#include "FailureText.h"
#include "host/FailedCall.h"
#include "imagefile/AtomicFile.h"
#include "imagefile/PngFile.h"

namespace qv::cli {

std::variant<OntoBase, std::string> ReadOntoImage(const OntoImage& onto) {
    try {
        auto image = std::make_shared<const surface::RasterSurface>(imagefile::ReadPng(onto.path));
        return OntoBase{std::move(image), onto.x, onto.y};
    } catch (const host::FailedCall& failure) {
        return "cannot read the --onto image " + std::string(FailureDetail(failure));
    }
}

std::optional<std::string> WriteOutput(const std::string& target, std::string_view bytes) {
    if (target == "-") {
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
            std::fflush(stdout) != 0) {
            return std::string("cannot write to standard output");
        }
        return std::nullopt;
    }
    try {
        imagefile::WriteFileAtomically(target, bytes);
        return std::nullopt;
    } catch (const host::FailedCall& failure) {
        return "cannot write " + std::string(FailureDetail(failure));
    }
}

}  // namespace qv::cli
