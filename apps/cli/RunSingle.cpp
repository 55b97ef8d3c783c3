#include <cstdio>
#include <new>

#include "Commands.h"
#include "ExitStatus.h"
#include "FailureText.h"
#include "FileAccess.h"
#include "RenderBarcode.h"

namespace qv::cli {

int RunSingle(const Options& options) {
    auto render = ReadRenderOptions(options);
    if (auto* error = std::get_if<std::string>(&render)) {
        std::fprintf(stderr, "qvbarcode: %s\n", error->c_str());
        return kExitUsage;
    }
    Drawing drawing;
    try {
        BarcodeRenderer renderer(std::get<RenderOptions>(std::move(render)));
        drawing = renderer.Render(options.settings);
    } catch (const host::FailedCall& failure) {
        std::fprintf(stderr, "qvbarcode: %s\n", FailedCallLine(failure).c_str());
        return kExitFailedCall;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "qvbarcode: failed call: out of memory\n");
        return kExitFailedCall;
    }
    if (drawing.code != 0) {
        std::fprintf(stderr, "%s\n", ResultCodeLine(drawing).c_str());
        return kExitResultCode;
    }
    if (drawing.IsEmpty()) {
        std::fprintf(stderr, "qvbarcode: %s\n", EmptyPictureLine(drawing).c_str());
        return kExitUsage;
    }
    for (const std::string& warning : drawing.warnings) {
        std::fprintf(stderr, "qvbarcode: warning: %s\n", warning.c_str());
    }
    if (auto error = WriteOutput(options.output, drawing.bytes)) {
        std::fprintf(stderr, "qvbarcode: %s\n", error->message.c_str());
        return kExitUsage;
    }
    return kExitDrawn;
}

}  // namespace qv::cli
