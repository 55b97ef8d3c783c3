// SPDX-License-Identifier: MIT
#include "drawing/RenderBarcode.h"
#include "drawing/EpsLabel.h"

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/host/TextConversion.h>
#include <qvbarcode/imagefile/NetpbmFile.h>
#include <qvbarcode/imagefile/PngFile.h>
#include <qvbarcode/imagefile/VectorFile.h>
#include <qvbarcode/render/BarcodePainter.h>
#include <qvbarcode/surface/FreeTypeFont.h>
#include <qvbarcode/surface/SurfaceHandles.h>
#include <qvbarcode/surface/SvgSurface.h>
#include <qvbarcode/surface/Windows1252.h>
#include "drawing/ApplySettings.h"
#include "drawing/BarcodeSize.h"
#include "drawing/DrawingWarnings.h"
#include "drawing/EpsLabel.h"
#include "drawing/TextCheck.h"
#include "options/SizeOptions.h"

#include <algorithm>
#include <cmath>

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

RenderOptions RenderOptionsFor(const Options& options) {
    const BarcodeSettings& s = options.settings;
    return {options.format,
            options.dotsPerInch,
            options.quietZoneModules,
            {},
            options.standardQuietZones,
            options.explain,
            {options.dotsPerInch, options.asked, options.barReduction, IsRaster(options.format),
             s.barWidth, s.barHeight, s.modulePixels}};
}

BarcodeRenderer::BarcodeRenderer(RenderOptions options, bool besideOthers)
    : options_(std::move(options)), font_(ControlFontFor(options_.dotsPerInch, besideOthers)) {}

Drawing BarcodeRenderer::Render(const BarcodeSettings& given, std::string_view caption) {
    const TextCheck check = CheckText(given, language_);
    if (!check.refusal.empty()) {
        Drawing refused;
        refused.refusal = check.refusal;
        return refused;
    }
    // A control belongs to the thread that made it: a drawing makes one on the thread that
    // draws (a batch's renderers are made before their threads start, and a record drawn
    // again alone may be drawn on another thread).
    if (!control_ || controlThread_ != std::this_thread::get_id()) {
        control_.emplace(std::make_shared<host::StandaloneSite>(), font_);
        controlThread_ = std::this_thread::get_id();
    }
    const BarcodeSettings& settings = check.settings;
    ApplySettings(settings, ResolveSize(settings, options_.dotsPerInch), *control_);
    const SizeSettings& size = options_.size;
    const bool commandLineSize = settings.barWidth == size.barWidth &&
                                 settings.barHeight == size.barHeight &&
                                 settings.modulePixels == size.modulePixels;
    Drawing drawing =
        options_.onto ? RenderOnto(commandLineSize) : RenderPicture(commandLineSize, caption);
    if (drawing.code != 0) {
        drawing.explanation = ExplainRefusal(drawing.code, settings, language_);
    }
    return drawing;
}

Drawing BarcodeRenderer::FromResult(std::int16_t code) const {
    Drawing drawing;
    drawing.code = code;
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

// The white modules added left and right of the control's drawing.
symbology::QuietZone BarcodeRenderer::QuietZoneModules() const {
    if (!options_.standardQuietZones) {
        return {options_.quietZoneModules, options_.quietZoneModules};
    }
    return symbology::FindSymbology(control_->BarCodeType())->quietZone;
}

double BarcodeRenderer::ReductionDots() const {
    const SizeSettings& size = options_.size;
    return size.barReduction
               ? cli::ReductionDots(*size.barReduction, options_.dotsPerInch, size.wholeDots)
               : 0.0;
}

// A bar reduction that would leave bars of one module under one dot: nothing is written.
bool BarcodeRenderer::Refuse(Drawing& drawing, const render::BarcodePlan& plan,
                             double reduction) const {
    if (reduction == 0.0) return false;
    const auto refusal = ReductionRefusal(*options_.size.barReduction, reduction,
                                          plan.bars.moduleWidth, options_.dotsPerInch);
    drawing.reductionRefusal = refusal.value_or("");
    return refusal.has_value();
}

void BarcodeRenderer::Describe(Drawing& drawing, const render::BarcodePlan& plan,
                               symbology::QuietZone zone, double reduction,
                               bool commandLineSize) const {
    const std::int32_t mw = plan.bars.moduleWidth;
    const std::int32_t margin = plan.whiteFrame ? render::kMargin : 0;
    PrintedDrawing printed;
    printed.symbology = symbology::FindSymbology(control_->BarCodeType());
    printed.modules = static_cast<std::int32_t>(plan.bars.modules.size());
    printed.moduleDots = mw;
    printed.barsWidth = Checked(std::int64_t{printed.modules} * mw);
    printed.barsHeight = plan.surfaceHeight - 2 * margin;
    printed.barcodeWidth = plan.surfaceWidth;
    printed.barcodeHeight = plan.surfaceHeight;
    printed.margins = 2 * margin;
    printed.zoneModules = zone;
    printed.whiteLeft = Checked(std::int64_t{zone.left} * mw + margin);
    printed.whiteRight = Checked(std::int64_t{zone.right} * mw + margin);
    printed.pictureWidth = drawing.width;
    printed.pictureHeight = drawing.height;
    printed.reductionDots = reduction;
    drawing.runNotes = SizeNotes(printed, options_.size, commandLineSize);
    if (options_.explain) {
        drawing.explainReport = Explanation(printed, options_.size);
    }
}

// The control never narrows its bars: with a bar reduction its plan is painted narrowed.
std::int16_t BarcodeRenderer::DrawOn(const std::shared_ptr<surface::DrawingSurface>& target,
                                     double reduction) {
    if (reduction != 0.0) {
        control::PlannedBarcode planned = control::PlanOf(*control_);
        if (planned.plan.code == 0) {
            planned.plan.bars.reduction = reduction;
            render::PaintBarcode(planned.plan, *target);
            return 0;
        }
    }
    const surface::ScopedSurfaceHandle handle(target);
    surface::SurfaceHandle hdc = handle.get();
    return control_->Draw(hdc).AsInt16();
}

// The plan of the control's drawing on its own surface, which gives the picture's size and
// the result code without drawing it: nothing when the plan fails or its size is one the own
// surface refuses, which the drawing then reports as it always did.
std::optional<control::PlannedBarcode> BarcodeRenderer::PictureSizePlan() {
    control_->SetPositionX(0);
    control_->SetPositionY(0);
    control::PlannedBarcode planned = control::PlanOf(*control_);
    const render::BarcodePlan& plan = planned.plan;
    const std::int64_t width = plan.surfaceWidth;
    const std::int64_t height = plan.surfaceHeight;
    if (plan.code != 0 || plan.overflow.failure || width < 0 || height < 0 ||
        width * height > surface::RasterSurface::kMaxPixels) {
        return std::nullopt;
    }
    return planned;
}

// The picture the control draws on its own surface is written as it is when nothing is added
// to it; every other medium gets the same barcode drawn at 0, 0 (or after the quiet zone),
// at the picture's size, so that it matches the picture pixel for pixel, and needs only that
// size from the plan.
Drawing BarcodeRenderer::RenderPicture(bool commandLineSize, std::string_view caption) {
    const bool pictureWritten = IsRaster(options_.format) && !options_.recording &&
                                !options_.standardQuietZones && options_.quietZoneModules == 0 &&
                                ReductionDots() == 0.0;
    std::optional<control::PlannedBarcode> planned =
        pictureWritten ? std::nullopt : PictureSizePlan();
    Drawing drawing;
    const surface::RasterSurface* picture = nullptr;
    if (planned) {
        drawing.width = planned->plan.surfaceWidth;
        drawing.height = planned->plan.surfaceHeight;
    } else {
        drawing = FromResult(control_->Draw().AsInt16());
        picture = &control_->Pic1().Image();
        drawing.width = picture->width();
        drawing.height = picture->height();
    }
    if (drawing.code != 0 || drawing.IsEmpty()) {
        return drawing;
    }
    const control::PlannedBarcode drawn =
        planned ? std::move(*planned) : control::PlanOf(*control_);
    drawing.warnings = DrawingWarnings(*control_, drawn.plan);
    const double reduction = ReductionDots();
    if (Refuse(drawing, drawn.plan, reduction)) {
        return drawing;
    }
    const symbology::QuietZone modules = QuietZoneModules();
    const symbology::QuietZone zone{
        Checked(std::int64_t{drawn.plan.bars.moduleWidth} * modules.left),
        Checked(std::int64_t{drawn.plan.bars.moduleWidth} * modules.right)};
    drawing.width = Checked(std::int64_t{drawing.width} + zone.left + zone.right);
    Describe(drawing, drawn.plan, modules, reduction, commandLineSize);
    if (picture && IsRaster(options_.format) && zone.left == 0 && zone.right == 0 &&
        reduction == 0.0 && !options_.recording) {
        drawing.bytes = EncodeRaster(*picture);
        return drawing;
    }
    std::shared_ptr<surface::DrawingSurface> target;
    std::shared_ptr<surface::RasterSurface> raster;
    std::shared_ptr<surface::SvgSurface> svg;
    std::optional<imagefile::VectorFile> document;
    std::shared_ptr<LabelRecording> recorded;
    std::shared_ptr<LabelRecording> eps;
    surface::Rect captionBox;
    if (options_.recording) {
        recorded = StartRecording(drawing, caption, captionBox);
        target = recorded;
    } else if (IsRaster(options_.format)) {
        raster = std::make_shared<surface::RasterSurface>(drawing.width, drawing.height);
        raster->SetFont(font_);
        target = raster;
    } else if (options_.format == OutputFormat::Svg) {
        svg = std::make_shared<surface::SvgSurface>(drawing.width, drawing.height);
        svg->SetFont(font_, dynamic_cast<const surface::FreeTypeFont&>(*font_).pixelSize());
        target = svg;
    } else if (options_.format == OutputFormat::Eps) {
        eps = std::make_shared<LabelRecording>(drawing.width, drawing.height, 0);
        eps->SetFont(font_);
        target = eps;
    } else {
        document.emplace(options_.format == OutputFormat::Pdf ? imagefile::VectorFormat::Pdf
                                                              : imagefile::VectorFormat::Eps,
                         drawing.width, drawing.height, options_.dotsPerInch);
        document->Surface()->SetFont(font_);
        target = document->Surface();
    }
    control_->SetPositionX(zone.left);
    control_->SetPositionY(0);
    if (const std::int16_t code = DrawOn(target, reduction); code != 0) {
        drawing.code = code;
        drawing.description = control_->ErrorDescription();
        return drawing;
    }
    if (recorded) {
        if (!caption.empty()) {
            recorded->DrawText(surface::EncodeWindows1252(host::Utf8ToUtf16(caption)), captionBox,
                               surface::kCaptionFormat);
        }
        recorded->Seal();
        return drawing;
    }
    drawing.bytes = raster ? EncodeRaster(*raster)
                    : svg  ? svg->Document(options_.dotsPerInch)
                    : eps  ? (eps->Seal(), EpsOf(*eps, options_.dotsPerInch, outlines_))
                           : document->Finish();
    return drawing;
}

// A recording as wide as the barcode or its caption line, whichever is wider, with the
// barcode centred over the line; white, as a document's picture is. The surface draws the
// barcode at 0, 0 and the caption in captionBox, in the barcode's pixels.
std::shared_ptr<LabelRecording> BarcodeRenderer::StartRecording(Drawing& drawing,
                                                                std::string_view caption,
                                                                surface::Rect& captionBox) {
    const surface::TextExtent line =
        caption.empty() ? surface::TextExtent{} : font_->Measure(host::Utf8ToUtf16(caption));
    const std::int32_t barcodeWidth = drawing.width;
    const std::int32_t barcodeHeight = drawing.height;
    drawing.width = std::max(drawing.width, static_cast<std::int32_t>(std::ceil(line.width)));
    drawing.height += static_cast<std::int32_t>(std::ceil(line.height));
    const std::int32_t left = (drawing.width - barcodeWidth) / 2;
    captionBox = {-left, barcodeHeight, drawing.width - left, drawing.height};
    auto recorded = std::make_shared<LabelRecording>(drawing.width, drawing.height, left);
    recorded->SetFont(font_);
    drawing.recording = recorded;
    return recorded;
}

Drawing BarcodeRenderer::RenderOnto(bool commandLineSize) {
    const OntoBase& onto = *options_.onto;
    auto copy = std::make_shared<surface::RasterSurface>(*onto.image);
    copy->SetFont(font_);
    control_->SetPositionX(onto.x);
    control_->SetPositionY(onto.y);
    const double reduction = ReductionDots();
    if (reduction != 0.0) {
        Drawing refused;
        const control::PlannedBarcode planned = control::PlanOf(*control_);
        if (planned.plan.code == 0 && Refuse(refused, planned.plan, reduction)) {
            return refused;
        }
    }
    Drawing drawing = FromResult(DrawOn(copy, reduction));
    if (drawing.code != 0) {
        return drawing;
    }
    // The plan of the drawing says how much of the barcode the image cuts off: the barcode is
    // never drawn at its own size, which a caller's surface does not need.
    const control::PlannedBarcode drawn = control::PlanOf(*control_);
    drawing.warnings = DrawingWarnings(*control_, drawn.plan);
    if (auto cut = CutOffWarning(drawn.plan, copy->width(), copy->height())) {
        drawing.warnings.push_back(std::move(*cut));
    }
    drawing.width = copy->width();
    drawing.height = copy->height();
    Describe(drawing, drawn.plan, {}, reduction, commandLineSize);
    drawing.bytes = EncodeRaster(*copy, onto.alpha && options_.format == OutputFormat::Png
                                            ? AlphaAfterDrawing(reduction)
                                            : std::vector<std::uint8_t>{});
    return drawing;
}

// The image's opacities, with every pixel the barcode painted made opaque. Drawn again over
// black and over white, a pixel that comes out alike both times was painted; the caption
// box takes the image's background colour both times.
std::vector<std::uint8_t> BarcodeRenderer::AlphaAfterDrawing(double reduction) {
    const OntoBase& onto = *options_.onto;
    std::vector<std::uint8_t> alpha = *onto.alpha;
    std::shared_ptr<surface::RasterSurface> over[2];
    for (int i = 0; i < 2; ++i) {
        over[i] = std::make_shared<surface::RasterSurface>(
            onto.image->width(), onto.image->height(), i == 0 ? surface::kBlack : surface::kWhite);
        over[i]->SetBkColor(onto.image->GetBkColor());
        over[i]->SetFont(font_);
        DrawOn(over[i], reduction);
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
