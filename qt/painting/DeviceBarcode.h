// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <cstdint>
#include <memory>

#include <qvbarcode/BarcodePicture.h>
#include <qvbarcode/host/Export.h>
#include <qvbarcode/surface/Font.h>

namespace qv::painting {

// The sizes of a picture on one device, in its pixels.
struct QV_EXPORT DeviceSizes {
    std::int32_t moduleWidth = 1;
    std::int32_t barHeight = 0;
    std::int32_t margin = 0;  // the white frame's, on every side
    double captionDotsPerInch = surface::kScreenDotsPerInch;
};

// The picture at `scale` device pixels per logical pixel: whole device pixels per module,
// never fewer than one, the caption in the control's font at the device's resolution.
QV_EXPORT DeviceSizes ScaledSizes(const BarcodePicture& picture, double scale);
// The widest whole module that puts the picture, quiet zone and frame included, into a
// device area that many pixels wide, and bars as high as the area leaves under the frame; a
// module width of 0 when not even one pixel per module fits or the frame is higher than the
// area.
QV_EXPORT DeviceSizes FittedSizes(const BarcodePicture& picture, QSize area, double dotsPerInch);

// A picture planned for one device by the control's own rendering, so that it looks as the
// control draws it, only at the device's resolution. Raises the failed call for sizes beyond
// the control's arithmetic or a font the resolution has none of.
class QV_EXPORT DeviceBarcode {
  public:
    DeviceBarcode(const BarcodePicture& picture, const DeviceSizes& sizes);

    // The whole drawing, quiet zone included, in device pixels.
    QSize size() const { return size_; }
    const DeviceSizes& sizes() const { return sizes_; }
    // Paints with the top-left corner at `at` in device pixels of a painter whose
    // coordinates are the device's. background: the caption box's colour without a white frame.
    void Paint(QPainter& painter, QPoint at, QColor background) const;

  private:
    std::shared_ptr<const BarcodePicture> picture_;  // the plan's texts point into it
    DeviceSizes sizes_;
    std::shared_ptr<const surface::Font> font_;
    // The control's drawing planned for the device's sizes, out of sight as its type is the
    // library's own.
    struct Plan;
    std::shared_ptr<const Plan> plan_;
    QPoint offset_;  // of the control's frame inside the drawing
    QSize size_;
};

// The painter's device pixels per logical pixel, for a painter that only scales and moves.
QV_EXPORT double DeviceScale(const QPainter& painter);

// Paints at `at` in the painter's coordinates, moved to the nearest device pixel, so that no
// module edge falls between two pixels. The painter is left as it was.
QV_EXPORT void PaintAtDevicePixels(QPainter& painter, QPointF at, const DeviceBarcode& barcode,
                                   QColor background);

// The logical size of a device drawing at `scale`: what a widget or item takes.
QV_EXPORT QSizeF LogicalSize(QSize deviceSize, double scale);

// Paints what the control would draw now into target, in the painter's coordinates, at
// dotsPerInch of its device: the widest whole module that fits, centred, bars as high as the
// target leaves. Draws nothing and changes nothing in the control. Returns 0, the control's
// result code, or kNotEnoughWidth for a target too narrow or lower than the white frame
// (nothing painted then); raises the failed call.
QV_EXPORT std::int16_t RenderFitted(QPainter& painter, const QRectF& target, double dotsPerInch,
                                    const control::QvBarCode& control, QuietZone quietZone);

}  // namespace qv::painting
