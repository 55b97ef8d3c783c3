#include "RenderBarcode.h"

#include "ApplySettings.h"
#include "imagefile/NetpbmFile.h"
#include "imagefile/PngFile.h"
#include "surface/SurfaceHandles.h"
#include "surface/SvgSurface.h"

namespace qv::cli {

namespace {

std::string EncodeRaster(const surface::RasterSurface& picture, OutputFormat format) {
    switch (format) {
        case OutputFormat::Pbm:
            return imagefile::EncodePbm(picture);
        case OutputFormat::Pgm:
            return imagefile::EncodePgm(picture);
        default:
            return imagefile::EncodePng(picture);
    }
}

}  // namespace

BarcodeRenderer::BarcodeRenderer(OutputFormat format, std::optional<OntoBase> onto)
    : format_(format), onto_(std::move(onto)) {}

Drawing BarcodeRenderer::Render(const BarcodeSettings& settings) {
    ApplySettings(settings, control_);
    if (onto_) {
        return RenderOnto();
    }
    return format_ == OutputFormat::Svg ? RenderSvg() : RenderOwnSurface();
}

Drawing BarcodeRenderer::FromResult(const host::Variant& result) const {
    Drawing drawing;
    drawing.code = result.AsInt16();
    drawing.description = control_.ErrorDescription();
    return drawing;
}

// The picture is Pic1's after Draw on the own surface, at exactly its size.
Drawing BarcodeRenderer::RenderOwnSurface() {
    Drawing drawing = FromResult(control_.Draw());
    const surface::RasterSurface& picture = control_.Pic1().Image();
    drawing.width = picture.width();
    drawing.height = picture.height();
    if (drawing.code == 0 && !drawing.IsEmpty()) {
        drawing.bytes = EncodeRaster(picture, format_);
    }
    return drawing;
}

// The own surface tells the size; the same barcode then goes onto a recording surface of
// that size at 0, 0, so that the document matches the PNG pixel for pixel.
Drawing BarcodeRenderer::RenderSvg() {
    Drawing sizing = FromResult(control_.Draw());
    sizing.width = control_.Pic1().Width();
    sizing.height = control_.Pic1().Height();
    if (sizing.code != 0 || sizing.IsEmpty()) {
        return sizing;
    }
    auto svg =
        std::make_shared<surface::SvgSurface>(control_.Pic1().Width(), control_.Pic1().Height());
    const surface::ScopedSurfaceHandle handle(svg);
    surface::SurfaceHandle hdc = handle.get();
    control_.SetPositionX(0);
    control_.SetPositionY(0);
    Drawing drawing = FromResult(control_.Draw(hdc));
    drawing.width = svg->width();
    drawing.height = svg->height();
    if (drawing.code == 0) {
        drawing.bytes = svg->Document();
    }
    return drawing;
}

Drawing BarcodeRenderer::RenderOnto() {
    auto copy = std::make_shared<surface::RasterSurface>(*onto_->image);
    const surface::ScopedSurfaceHandle handle(copy);
    surface::SurfaceHandle hdc = handle.get();
    control_.SetPositionX(onto_->x);
    control_.SetPositionY(onto_->y);
    Drawing drawing = FromResult(control_.Draw(hdc));
    drawing.width = copy->width();
    drawing.height = copy->height();
    if (drawing.code == 0) {
        drawing.bytes = EncodeRaster(*copy, format_);
    }
    return drawing;
}

}  // namespace qv::cli
