// SPDX-License-Identifier: MIT
#include "drawing/RenderBarcode.h"

#include "drawing/ApplySettings.h"
#include "drawing/BarcodeSize.h"
#include "drawing/DrawingWarnings.h"
#include "host/FailedCall.h"
#include "imagefile/NetpbmFile.h"
#include "imagefile/PngFile.h"
#include "imagefile/VectorFile.h"
#include "surface/FreeTypeFont.h"
#include "surface/SurfaceHandles.h"
#include "surface/SvgSurface.h"

namespace qv::cli {

namespace {

std::int32_t Checked(std::int64_t value) {
    if (value > INT32_MAX) {
        throw host::FailedCall(host::FailureReason::Overflow, "picture wider than 32 bits");
    }
    return static_cast<std::int32_t>(value);
}

std::shared_ptr<const surface::Font> ControlFontFor(double dotsPerInch, bool own) {
    std::shared_ptr<const surface::Font> font = surface::ControlFontAt(dotsPerInch);
    if (!own) {
        return font;
    }
    const auto& face = dynamic_cast<const surface::FreeTypeFont&>(*font);
    return std::make_shared<surface::FreeTypeFont>(face.path(), face.faceIndex(), face.pixelSize());
}

}  // namespace

BarcodeRenderer::BarcodeRenderer(RenderOptions options, bool besideOthers)
    : options_(std::move(options)), font_(ControlFontFor(options_.dotsPerInch, besideOthers)) {}

Drawing BarcodeRenderer::Render(const BarcodeSettings& settings) {
    // A control belongs to the thread that made it: the first drawing makes it, on the
    // thread that draws (a batch's renderers are made before their threads start).
    if (!control_) control_.emplace(std::make_shared<host::StandaloneSite>(), font_);
    ApplySettings(settings, ResolveSize(settings, options_.dotsPerInch), *control_);
    return options_.onto ? RenderOnto() : RenderPicture();
}

Drawing BarcodeRenderer::FromResult(const host::Variant& result) const {
    Drawing drawing;
    drawing.code = result.AsInt16();
    drawing.description = control_->ErrorDescription();
    return drawing;
}

std::string BarcodeRenderer::EncodeRaster(const surface::RasterSurface& picture,
                                          std::vector<std::uint8_t> alpha) const {
    switch (options_.format) {
        case OutputFormat::Pbm:
            return imagefile::EncodePbm(picture);
        case OutputFormat::Pgm:
            return imagefile::EncodePgm(picture);
        default:
            return imagefile::EncodePng(picture, {options_.dotsPerInch, std::move(alpha)});
    }
}

// The white around the bars in pixels: the modules the control drew, as wide as it drew them.
std::int32_t BarcodeRenderer::QuietZonePixels(const render::BarcodePlan& plan) const {
    return Checked(std::int64_t{plan.bars.moduleWidth} * options_.quietZoneModules);
}

// The control draws on its own surface first: that is the picture, and its size is the
// size of every other medium's, which gets the same barcode drawn at 0, 0 (or after the
// quiet zone) so that it matches the picture pixel for pixel.
Drawing BarcodeRenderer::RenderPicture() {
    Drawing drawing = FromResult(control_->Draw());
    const surface::RasterSurface& picture = control_->Pic1().Image();
    drawing.width = picture.width();
    drawing.height = picture.height();
    if (drawing.code != 0 || drawing.IsEmpty()) {
        return drawing;
    }
    const control::PlannedBarcode drawn = control_->Plan();
    drawing.warnings = DrawingWarnings(*control_, drawn.plan);
    const std::int32_t zone = QuietZonePixels(drawn.plan);
    if (IsRaster(options_.format) && zone == 0) {
        drawing.bytes = EncodeRaster(picture);
        return drawing;
    }
    drawing.width = Checked(std::int64_t{drawing.width} + 2 * std::int64_t{zone});
    std::shared_ptr<surface::DrawingSurface> target;
    std::shared_ptr<surface::RasterSurface> raster;
    std::shared_ptr<surface::SvgSurface> svg;
    std::optional<imagefile::VectorFile> document;
    if (IsRaster(options_.format)) {
        raster = std::make_shared<surface::RasterSurface>(drawing.width, drawing.height);
        raster->SetFont(font_);
        target = raster;
    } else if (options_.format == OutputFormat::Svg) {
        svg = std::make_shared<surface::SvgSurface>(drawing.width, drawing.height);
        svg->SetFont(font_, dynamic_cast<const surface::FreeTypeFont&>(*font_).pixelSize());
        target = svg;
    } else {
        document.emplace(options_.format == OutputFormat::Pdf ? imagefile::VectorFormat::Pdf
                                                              : imagefile::VectorFormat::Eps,
                         drawing.width, drawing.height, options_.dotsPerInch);
        document->Surface()->SetFont(font_);
        target = document->Surface();
    }
    const surface::ScopedSurfaceHandle handle(target);
    surface::SurfaceHandle hdc = handle.get();
    control_->SetPositionX(zone);
    control_->SetPositionY(0);
    if (const std::int16_t code = control_->Draw(hdc).AsInt16(); code != 0) {
        drawing.code = code;
        drawing.description = control_->ErrorDescription();
        return drawing;
    }
    drawing.bytes = raster ? EncodeRaster(*raster)
                    : svg  ? svg->Document(options_.dotsPerInch)
                           : document->Finish();
    return drawing;
}

Drawing BarcodeRenderer::RenderOnto() {
    const OntoBase& onto = *options_.onto;
    auto copy = std::make_shared<surface::RasterSurface>(*onto.image);
    copy->SetFont(font_);
    Drawing drawing;
    {
        const surface::ScopedSurfaceHandle handle(copy);
        surface::SurfaceHandle hdc = handle.get();
        control_->SetPositionX(onto.x);
        control_->SetPositionY(onto.y);
        drawing = FromResult(control_->Draw(hdc));
    }
    if (drawing.code != 0) {
        return drawing;
    }
    // The plan of the drawing says how much of the barcode the image cuts off: the barcode is
    // never drawn at its own size, which a caller's surface does not need.
    const control::PlannedBarcode drawn = control_->Plan();
    drawing.warnings = DrawingWarnings(*control_, drawn.plan);
    if (auto cut = CutOffWarning(drawn.plan, copy->width(), copy->height())) {
        drawing.warnings.push_back(std::move(*cut));
    }
    drawing.width = copy->width();
    drawing.height = copy->height();
    drawing.bytes = EncodeRaster(*copy, onto.alpha && options_.format == OutputFormat::Png
                                            ? AlphaAfterDrawing()
                                            : std::vector<std::uint8_t>{});
    return drawing;
}

// The image's opacities, with every pixel the barcode painted made opaque. Drawn again over
// black and over white, a pixel that comes out alike both times was painted; the caption
// box takes the image's background colour both times.
std::vector<std::uint8_t> BarcodeRenderer::AlphaAfterDrawing() {
    const OntoBase& onto = *options_.onto;
    std::vector<std::uint8_t> alpha = *onto.alpha;
    std::shared_ptr<surface::RasterSurface> over[2];
    for (int i = 0; i < 2; ++i) {
        over[i] = std::make_shared<surface::RasterSurface>(
            onto.image->width(), onto.image->height(), i == 0 ? surface::kBlack : surface::kWhite);
        over[i]->SetBkColor(onto.image->GetBkColor());
        over[i]->SetFont(font_);
        const surface::ScopedSurfaceHandle handle(over[i]);
        surface::SurfaceHandle hdc = handle.get();
        control_->Draw(hdc);
    }
    const std::size_t rowBytes = over[0]->RowBytes();
    for (std::int32_t y = 0; y < over[0]->height(); ++y) {
        const std::uint8_t* black = over[0]->RowData(y);
        const std::uint8_t* white = over[1]->RowData(y);
        for (std::size_t i = 0; i < rowBytes; i += 3) {
            if (black[i] == white[i] && black[i + 1] == white[i + 1] &&
                black[i + 2] == white[i + 2]) {
                alpha[static_cast<std::size_t>(y) * (rowBytes / 3) + i / 3] = 255;
            }
        }
    }
    return alpha;
}

}  // namespace qv::cli
