// SPDX-License-Identifier: MIT
// The entry point that writes a control's drawing into a file through the library's own
// writers, so that a host needs no image library of its own.
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include <qvbarcode/component/ControlDispatch.h>
#include <qvbarcode/component/QvBarCodeComponent.h>
#include <qvbarcode/component/exports/ExportedObjects.h>
#include <qvbarcode/component/exports/VariantBridge.h>
#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/imagefile/AtomicFile.h>
#include <qvbarcode/imagefile/PngFile.h>
#include <qvbarcode/imagefile/VectorFile.h>
#include <qvbarcode/surface/SurfaceHandles.h>
#include <qvbarcode/surface/SvgSurface.h>

namespace {

using namespace qv;

// The documents' resolution: a pixel is a screen's, 1/96 inch.
constexpr double kDocumentDotsPerInch = 96.0;

// The control's drawing, just made on Pic1, drawn again at 0, 0 onto a surface of the format
// that gives the document's bytes, so that every format holds the same picture.
std::string DocumentOf(control::QvBarCode& control, int32_t format) {
    const surface::RasterSurface& picture = control.Pic1().Image();
    if (format == QV_FILE_PNG) return imagefile::EncodePng(picture);
    std::shared_ptr<surface::SvgSurface> svg;
    std::optional<imagefile::VectorFile> document;
    std::shared_ptr<surface::DrawingSurface> target;
    if (format == QV_FILE_SVG) {
        svg = std::make_shared<surface::SvgSurface>(picture.width(), picture.height());
        target = svg;
    } else {
        document.emplace(
            format == QV_FILE_PDF ? imagefile::VectorFormat::Pdf : imagefile::VectorFormat::Eps,
            picture.width(), picture.height(), kDocumentDotsPerInch);
        target = document->Surface();
    }
    const surface::ScopedSurfaceHandle handle(target);
    surface::SurfaceHandle hdc = handle.get();
    control.Draw(hdc);  // the same properties draw the same barcode, now at 0, 0
    return svg ? svg->Document() : document->Finish();
}

// Writes the file whole or not at all, over nothing but a regular file: renaming a new file
// over a device, a pipe or a link, as a host running as root could ask, would put a plain
// file in place of /dev/null or /dev/stdout.
void WriteRegularFile(const char* path, std::string_view bytes) {
    const imagefile::MayReplace regular = [](const struct stat& existing) {
        return S_ISREG(existing.st_mode);
    };
    if (const std::error_code error =
            imagefile::TryWriteFileAtomically(AT_FDCWD, path, bytes, regular)) {
        const std::string reason =
            error == std::errc::file_exists ? "not a regular file, left as it is" : error.message();
        throw host::FailedCall(host::FailureReason::PlatformFailure,
                               std::string(path) + ": " + reason);
    }
}

}  // namespace

extern "C" {

QvStatus QvControlSaveFile(QvDispatch* control, const char* path, int32_t format,
                           int16_t* resultCode, QvCallError* error) {
    const host::CallResult result = host::GuardCall([&] {
        if (control == nullptr || path == nullptr || resultCode == nullptr) {
            return host::CallResult::Failure(host::kNullPointer, "a needed pointer is null");
        }
        *resultCode = 0;
        auto* dispatch =
            dynamic_cast<component::ControlDispatch*>(component::exports::ObjectBehind(control));
        if (dispatch == nullptr) {
            return host::CallResult::Failure(host::kInvalidArgument,
                                             "not a QvBarCode of this library");
        }
        dispatch->Owner().Check();
        if (format < QV_FILE_PNG || format > QV_FILE_EPS) {
            return host::CallResult::Failure(host::kInvalidArgument, "no such file format");
        }
        const component::exports::HeldReference held(control);
        control::QvBarCode& drawn = dispatch->Control();
        *resultCode = drawn.Draw().AsInt16();
        if (*resultCode == 0) {
            WriteRegularFile(path, DocumentOf(drawn, format));
        }
        return host::CallResult::Success(host::Variant());
    });
    component::exports::Report(result, error);
    return result.status;
}

}  // extern "C"
