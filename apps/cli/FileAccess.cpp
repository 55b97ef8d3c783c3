#include "FileAccess.h"

#include <cstdio>

#include "FailureText.h"
#include "component/FailedCall.h"
#include "symbology/AtomicFile.h"
#include "symbology/PngFile.h"

namespace qv::cli {

std::variant<OntoBase, std::string> ReadOntoImage(const OntoImage& onto) {
    try {
        auto image =
            std::make_shared<const symbology::RasterSurface>(symbology::ReadPng(onto.path));
        return OntoBase{std::move(image), onto.x, onto.y};
    } catch (const component::FailedCall& failure) {
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
        symbology::WriteFileAtomically(target, bytes);
        return std::nullopt;
    } catch (const component::FailedCall& failure) {
        return "cannot write " + std::string(FailureDetail(failure));
    }
}

}  // namespace qv::cli
