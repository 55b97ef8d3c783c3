#include "FileAccess.h"

#include <cstdio>

#include "FailureText.h"
#include "host/FailedCall.h"
#include "imagefile/AtomicFile.h"
#include "imagefile/PngFile.h"

namespace qv::cli {

namespace {

OntoBase ReadOntoImage(const OntoImage& onto, bool keepAlpha) {
    if (!keepAlpha) {
        return {std::make_shared<const surface::RasterSurface>(imagefile::ReadPng(onto.path)),
                nullptr, onto.x, onto.y};
    }
    imagefile::PngWithAlpha png = imagefile::ReadPngWithAlpha(onto.path);
    auto alpha = png.alpha.empty()
                     ? nullptr
                     : std::make_shared<const std::vector<std::uint8_t>>(std::move(png.alpha));
    return {std::make_shared<const surface::RasterSurface>(std::move(png.picture)),
            std::move(alpha), onto.x, onto.y};
}

}  // namespace

std::variant<RenderOptions, std::string> ReadRenderOptions(const Options& options) {
    RenderOptions render{options.format, options.dotsPerInch, options.quietZoneModules, {}};
    if (options.onto) {
        try {
            render.onto = ReadOntoImage(*options.onto, options.format == OutputFormat::Png);
        } catch (const host::FailedCall& failure) {
            return "cannot read the --onto image " + std::string(FailureDetail(failure));
        }
    }
    return render;
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
