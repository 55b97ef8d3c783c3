// SPDX-License-Identifier: MIT
#include <qvbarcode/DeviceBarcode.h>

#include <QTransform>
#include <algorithm>
#include <cmath>

#include <qvbarcode/QPainterSurface.h>
#include <qvbarcode/host/CheckedInt.h>
#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/render/BarcodePainter.h>
#include <qvbarcode/render/BarcodePlan.h>
#include <qvbarcode/symbology/Symbologies.h>

namespace qv::painting {

struct __attribute__((visibility("hidden"))) DeviceBarcode::Plan {
    render::BarcodePlan plan;
};

namespace {

std::int32_t Pixels(double value) {
    if (!std::isfinite(value) || std::abs(value) > 2147483647.0) {
        throw host::FailedCall(host::FailureReason::Overflow, "a size beyond any device");
    }
    return static_cast<std::int32_t>(std::lround(value));
}

std::int64_t QuietModules(const BarcodePicture& picture) {
    return std::int64_t{picture.quietZone.left} + picture.quietZone.right;
}

void PaintAtDeviceCorner(QPainter& painter, QPoint corner, const DeviceBarcode& barcode,
                         QColor background) {
    painter.save();
    // Undoes every scale down to the device, the screen's device pixel ratio among them.
    painter.setWorldTransform(painter.deviceTransform().inverted() * painter.worldTransform());
    barcode.Paint(painter, corner, background);
    painter.restore();
}

}  // namespace

DeviceSizes ScaledSizes(const BarcodePicture& picture, double scale) {
    DeviceSizes sizes;
    sizes.moduleWidth = std::max(1, Pixels(picture.moduleWidth * scale));
    // Below 0 when BarHeight leaves less than the white frame: the control's frame shrinks.
    sizes.barHeight = Pixels(picture.barHeight * scale);
    sizes.margin = picture.whiteFrame ? Pixels(render::kMargin * scale) : 0;
    sizes.captionDotsPerInch = surface::kScreenDotsPerInch * scale;
    return sizes;
}

DeviceSizes FittedSizes(const BarcodePicture& picture, QSize area, double dotsPerInch) {
    DeviceSizes sizes;
    const double scale = dotsPerInch / surface::kScreenDotsPerInch;
    sizes.margin = picture.whiteFrame ? Pixels(render::kMargin * scale) : 0;
    const std::int64_t modules =
        static_cast<std::int64_t>(picture.modules.size()) + QuietModules(picture);
    const std::int64_t width = std::int64_t{area.width()} - 2 * sizes.margin;
    sizes.barHeight = area.height() - 2 * sizes.margin;
    // A frame higher than the area would be painted outside it.
    const bool fits = modules > 0 && width > 0 && sizes.barHeight >= 0;
    sizes.moduleWidth = fits ? static_cast<std::int32_t>(width / modules) : 0;
    sizes.barHeight = std::max(0, sizes.barHeight);
    sizes.captionDotsPerInch = dotsPerInch;
    return sizes;
}

// The control's plan, with its fixed five-pixel margin, is made for bars of exactly this
// module width and height; the frame grows to the device's margin and the quiet zone around it.
DeviceBarcode::DeviceBarcode(const BarcodePicture& picture, const DeviceSizes& sizes)
    : picture_(std::make_shared<const BarcodePicture>(picture)),
      sizes_(sizes),
      font_(surface::ControlFontAt(sizes.captionDotsPerInch)) {
    if (sizes.moduleWidth < 1) {
        throw host::FailedCall(host::FailureReason::InvalidValue, "no whole pixel per module");
    }
    const std::int32_t ownMargin = picture.whiteFrame ? render::kMargin : 0;
    const std::int64_t bars =
        static_cast<std::int64_t>(picture_->modules.size()) * sizes.moduleWidth;
    render::BarcodeLayout layout;
    layout.barWidth = host::CheckedInt32(bars + 2 * ownMargin);
    layout.barHeight = host::CheckedInt32(std::int64_t{sizes.barHeight} + 2 * ownMargin);
    layout.backgroundWhite = picture.whiteFrame;
    layout.showValue = picture.showValue;
    const surface::TextExtent extent =
        picture.showValue ? font_->Measure(picture_->caption) : surface::TextExtent{};
    const render::BarcodePlan plan =
        render::PlanBarcode(picture_->modules, picture_->caption, layout, extent);
    if (plan.code != symbology::kDrawn) {
        throw host::FailedCall(host::FailureReason::InvalidValue, "the bars do not fit");
    }
    if (plan.overflow.failure) throw *plan.overflow.failure;
    const std::int32_t grow = std::max(0, sizes.margin - ownMargin);
    const std::int64_t quiet = static_cast<std::int64_t>(sizes.moduleWidth);
    offset_ = QPoint(host::CheckedInt32(picture.quietZone.left * quiet + grow), grow);
    size_ = QSize(host::CheckedInt32(std::int64_t{plan.surfaceWidth} + 2 * grow +
                                     QuietModules(picture) * quiet),
                  host::CheckedInt32(std::int64_t{plan.surfaceHeight} + 2 * grow));
    plan_ = std::make_shared<const Plan>(Plan{plan});
}

void DeviceBarcode::Paint(QPainter& painter, QPoint at, QColor background) const {
    painter.save();
    if (picture_->whiteFrame) painter.fillRect(QRect(at, size_), Qt::white);
    painter.translate(at + offset_);
    const surface::Colour paper = surface::MakeColour(static_cast<std::uint8_t>(background.red()),
                                                      static_cast<std::uint8_t>(background.green()),
                                                      static_cast<std::uint8_t>(background.blue()));
    const render::BarcodePlan& plan = plan_->plan;
    QPainterSurface surface(painter, QSize(plan.surfaceWidth, plan.surfaceHeight), paper);
    surface.SetFont(font_);
    render::PaintBarcode(plan, surface);
    painter.restore();
}

double DeviceScale(const QPainter& painter) {
    const QTransform device = painter.deviceTransform();
    return std::hypot(device.m11(), device.m12());
}

void PaintAtDevicePixels(QPainter& painter, QPointF at, const DeviceBarcode& barcode,
                         QColor background) {
    PaintAtDeviceCorner(painter, painter.deviceTransform().map(at).toPoint(), barcode, background);
}

QSizeF LogicalSize(QSize deviceSize, double scale) {
    return {deviceSize.width() / scale, deviceSize.height() / scale};
}

std::int16_t RenderFitted(QPainter& painter, const QRectF& target, double dotsPerInch,
                          const control::QvBarCode& control, QuietZone quietZone) {
    BarcodePicture picture;
    if (const std::int16_t code = EncodePicture(control, quietZone, picture); code != 0) {
        return code;
    }
    const QTransform device = painter.deviceTransform();
    const QRect area = device.mapRect(target).toRect();
    const DeviceSizes sizes = FittedSizes(picture, area.size(), dotsPerInch);
    if (sizes.moduleWidth < 1) return symbology::kNotEnoughWidth;
    const DeviceBarcode barcode(picture, sizes);
    const QPoint corner = area.topLeft() + QPoint((area.width() - barcode.size().width()) / 2, 0);
    PaintAtDeviceCorner(painter, corner, barcode, Qt::white);
    return symbology::kDrawn;
}

}  // namespace qv::painting
