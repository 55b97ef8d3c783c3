// SPDX-License-Identifier: MIT
#include <qvbarcode/QPainterSurface.h>

#include <QImage>
#include <algorithm>

#include <qvbarcode/surface/LineSteps.h>
#include <qvbarcode/surface/TextPlacement.h>
#include <qvbarcode/surface/Windows1252.h>

namespace qv::painting {

using surface::Colour;
using surface::Rect;

namespace {

QColor ToQColor(Colour colour) {
    return QColor(surface::RedOf(colour), surface::GreenOf(colour), surface::BlueOf(colour));
}

// The part of a rectangle inside the surface, as a Qt rectangle; empty when nothing is left.
QRect Clipped(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
              QSize size) {
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, size.width());
    bottom = std::min<std::int64_t>(bottom, size.height());
    if (left >= right || top >= bottom) {
        return {};
    }
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                 static_cast<int>(bottom - top));
}

}  // namespace

QPainterSurface::QPainterSurface(QPainter& painter, QSize size, Colour background)
    : painter_(painter), size_(size), background_(background), font_(surface::ControlFont()) {
    // Whole pixels only: an antialiased edge would bleed into the next module.
    painter_.setRenderHint(QPainter::Antialiasing, false);
}

void QPainterSurface::FillRect(const Rect& rect, Colour brushColour) {
    const QRect area = Clipped(rect.left, rect.top, rect.right, rect.bottom, size_);
    if (!area.isEmpty()) {
        painter_.fillRect(area, ToQColor(brushColour));
    }
}

// A pen wider than one pixel is a square of its width around the point.
void QPainterSurface::PlotPen(std::int64_t x, std::int64_t y) {
    const std::int64_t width = std::max(pen_.width, 1);
    const std::int64_t half = width > 1 ? width / 2 : 0;
    const QRect area = Clipped(x - half, y - half, x - half + width, y - half + width, size_);
    if (!area.isEmpty()) {
        painter_.fillRect(area, ToQColor(pen_.colour));
    }
}

void QPainterSurface::LineTo(std::int32_t x, std::int32_t y) {
    const std::int64_t cx = penX_;
    const std::int64_t cy = penY_;
    // A bar, or any line along an axis, is one fill.
    if (const auto pixels = surface::AxisLineRect(cx, cy, x, y, pen_.width)) {
        FillRect(*pixels, pen_.colour);
    } else {
        surface::ForEachLinePixel(cx, cy, x, y,
                                  [this](std::int64_t px, std::int64_t py) { PlotPen(px, py); });
    }
    penX_ = x;
    penY_ = y;
}

void QPainterSurface::DrawText(std::string_view windows1252Text, const Rect& rect,
                               unsigned format) {
    const surface::RenderedText text = font_->Render(surface::DecodeWindows1252(windows1252Text));
    const auto [left, top] = surface::PlaceText(text.width, text.height, rect, format);
    const QRect clip = Clipped(left, top, left + text.width, top + text.height, size_) &
                       Clipped(rect.left, rect.top, rect.right, rect.bottom, size_);
    if (clip.isEmpty()) {
        return;
    }
    // The coverage becomes the alpha of the text colour; the painter blends it in.
    QImage ink(text.width, text.height, QImage::Format_ARGB32);
    const QRgb colour = ToQColor(textColour_).rgb() & 0x00FFFFFF;
    for (std::int32_t row = 0; row < text.height; ++row) {
        auto* line = reinterpret_cast<QRgb*>(ink.scanLine(row));
        for (std::int32_t column = 0; column < text.width; ++column) {
            line[column] = colour | (QRgb{text.at(column, row)} << 24);
        }
    }
    painter_.save();
    painter_.setClipRect(clip);
    if (bkMode_ == surface::kOpaque) {
        painter_.fillRect(clip, ToQColor(background_));
    }
    painter_.drawImage(QPoint(static_cast<int>(left), static_cast<int>(top)), ink);
    painter_.restore();
}

}  // namespace qv::painting
