// SPDX-License-Identifier: MIT
#include <qvbarcode/surface/SvgSurface.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/host/TextConversion.h>
#include <qvbarcode/surface/LineSteps.h>
#include <qvbarcode/surface/TextPlacement.h>
#include <qvbarcode/surface/Windows1252.h>

namespace qv::surface {

namespace {

// Vertical metrics per em of DejaVu Sans, the face the control font falls back to; the
// viewer picks its own sans-serif face, so the baseline can only be placed as for that one.
constexpr double kAscentPerEm = 1901.0 / 2048.0;
constexpr double kDescentPerEm = 483.0 / 2048.0;

// A number as SVG reads it, printf's "%.10g" or "%.4f" by default. to_chars keeps the
// point whatever the C locale says: a Qt program sets the user's, whose mark may be a comma.
std::string Number(double value, std::chars_format format = std::chars_format::general,
                   int precision = 10) {
    char buffer[400];  // any double in fixed notation
    char* end = std::to_chars(std::begin(buffer), std::end(buffer), value, format, precision).ptr;
    return std::string(buffer, end);
}

std::string ColourText(Colour colour) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", RedOf(colour), GreenOf(colour),
                  BlueOf(colour));
    return buffer;
}

std::string RectAttributes(const Rect& r) {
    return "x=\"" + std::to_string(r.left) + "\" y=\"" + std::to_string(r.top) + "\" width=\"" +
           std::to_string(r.right - r.left) + "\" height=\"" + std::to_string(r.bottom - r.top) +
           "\"";
}

// XML 1.0 has no place for most control characters, so they show as the replacement mark.
std::string EscapeXml(std::u16string_view text) {
    std::string result;
    for (const char c : host::Utf16ToUtf8(text)) {
        switch (c) {
            case '&':
                result += "&amp;";
                break;
            case '<':
                result += "&lt;";
                break;
            case '>':
                result += "&gt;";
                break;
            case '"':
                result += "&quot;";
                break;
            case '\'':
                result += "&apos;";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    result += "\xEF\xBF\xBD";
                } else {
                    result += c;
                }
        }
    }
    return result;
}

// Two rectangles whose union is a rectangle: side by side with the same rows, or stacked
// with the same columns, touching or overlapping.
bool UnionIsRect(const Rect& a, const Rect& b) {
    if (a.top == b.top && a.bottom == b.bottom) {
        return b.left <= a.right && b.right >= a.left;
    }
    if (a.left == b.left && a.right == b.right) {
        return b.top <= a.bottom && b.bottom >= a.top;
    }
    return false;
}

}  // namespace

SvgSurface::SvgSurface(std::int32_t width, std::int32_t height, Colour background)
    : width_(width), height_(height), background_(background) {
    if (width < 0 || height < 0) {
        throw host::FailedCall(host::FailureReason::InvalidValue,
                               "surface size must not be negative");
    }
    // A raster surface starts painted in its background colour; so does this one.
    AddFill({0, 0, width, height}, background);
}

void SvgSurface::SetFont(std::shared_ptr<const Font> font, float pixelSize) {
    font_ = std::move(font);
    fontPixels_ = pixelSize;
}

const Font& SvgSurface::MeasuringFont() {
    if (!font_) {
        font_ = ControlFont();
    }
    return *font_;
}

void SvgSurface::AddFill(const Rect& rect, Colour colour) {
    const Rect clipped{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width_),
                       std::min(rect.bottom, height_)};
    if (clipped.left >= clipped.right || clipped.top >= clipped.bottom) {
        return;
    }
    // Only the latest element may grow: anything drawn after it must stay on top.
    if (!elements_.empty()) {
        if (auto* last = std::get_if<Fill>(&elements_.back());
            last && last->colour == colour && UnionIsRect(last->rect, clipped)) {
            last->rect = {std::min(last->rect.left, clipped.left),
                          std::min(last->rect.top, clipped.top),
                          std::max(last->rect.right, clipped.right),
                          std::max(last->rect.bottom, clipped.bottom)};
            return;
        }
    }
    elements_.push_back(Fill{clipped, colour});
}

void SvgSurface::FillRect(const Rect& rect, Colour brushColour) {
    AddFill(rect, brushColour);
}

void SvgSurface::LineTo(std::int32_t x, std::int32_t y) {
    const std::int64_t x0 = penX_;
    const std::int64_t y0 = penY_;
    penX_ = x;
    penY_ = y;
    if (x0 == x && y0 == y) {
        return;
    }
    if (const auto pixels = AxisLineRect(x0, y0, x, y, pen_.width)) {
        AddFill(*pixels, pen_.colour);
        return;
    }
    elements_.push_back(
        Line{static_cast<std::int32_t>(x0), static_cast<std::int32_t>(y0), x, y, pen_});
}

void SvgSurface::DrawNarrowedRuns(std::span<const ColumnRun> runs, double reduction,
                                  std::int32_t top, std::int32_t bottom) {
    // A line drawn upwards covers its start, not its end.
    const std::int64_t rowsFrom = std::max<std::int64_t>(top <= bottom ? top : bottom + 1LL, 0);
    const std::int64_t rowsTo = std::min<std::int64_t>(top <= bottom ? bottom : top + 1LL, height_);
    for (const ColumnRun& run : runs) {
        const double left = std::max(run.left + reduction / 2.0, 0.0);
        const double right = std::min(run.right - reduction / 2.0, static_cast<double>(width_));
        if (left < right && rowsFrom < rowsTo) {
            elements_.push_back(Strip{left, right, static_cast<std::int32_t>(rowsFrom),
                                      static_cast<std::int32_t>(rowsTo), pen_.colour});
        }
    }
    if (!runs.empty()) {
        penX_ = runs.back().right - 1;
        penY_ = bottom;
    }
}

void SvgSurface::DrawText(std::string_view windows1252Text, const Rect& rect, unsigned format) {
    std::u16string text = DecodeWindows1252(windows1252Text);
    if (text.empty()) {
        return;
    }
    const std::int64_t lineHeight =
        static_cast<std::int64_t>(std::ceil(fontPixels_ * (kAscentPerEm + kDescentPerEm) - 1e-6));
    const std::int64_t ascent = std::llround(fontPixels_ * kAscentPerEm);
    const std::int64_t top = TextTop(lineHeight, rect, format);
    if (bkMode_ == kOpaque) {
        // The raster surface paints the text's own cell, so measure it the same way.
        const TextExtent extent = MeasuringFont().Measure(text);
        const auto cellWidth = static_cast<std::int64_t>(std::ceil(extent.width));
        const auto cellHeight = static_cast<std::int64_t>(extent.height);
        const std::int64_t left = TextLeft(cellWidth, rect, format);
        const std::int64_t cellTop =
            (format & kBottom) ? std::int64_t{rect.bottom} - cellHeight : top;
        Rect cell{static_cast<std::int32_t>(left), static_cast<std::int32_t>(cellTop),
                  static_cast<std::int32_t>(left + cellWidth),
                  static_cast<std::int32_t>(cellTop + cellHeight)};
        cell = {std::max(cell.left, rect.left), std::max(cell.top, rect.top),
                std::min(cell.right, rect.right), std::min(cell.bottom, rect.bottom)};
        AddFill(cell, background_);
    }
    Text element{std::move(text), rect,       0.0, static_cast<double>(top + ascent),
                 "start",         textColour_};
    if (format & kCentre) {
        element.anchorX = (static_cast<double>(rect.left) + rect.right) / 2.0;
        element.anchor = "middle";
    } else {
        element.anchorX = rect.left;
    }
    elements_.push_back(std::move(element));
}

std::string SvgSurface::Document() const {
    return Document(std::to_string(width_), std::to_string(height_));
}

std::string SvgSurface::Document(double dotsPerInch) const {
    const auto millimetres = [dotsPerInch](std::int32_t pixels) {
        return Number(pixels * 25.4 / dotsPerInch, std::chars_format::fixed, 4) + "mm";
    };
    return Document(millimetres(width_), millimetres(height_));
}

std::string SvgSurface::Document(const std::string& width, const std::string& height) const {
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
        width + "\" height=\"" + height + "\" viewBox=\"0 0 " + std::to_string(width_) + " " +
        std::to_string(height_) + "\" shape-rendering=\"crispEdges\">\n";
    std::size_t clips = 0;
    for (const Element& element : elements_) {
        if (const auto* fill = std::get_if<Fill>(&element)) {
            svg += "<rect " + RectAttributes(fill->rect) + " fill=\"" + ColourText(fill->colour) +
                   "\"/>\n";
        } else if (const auto* strip = std::get_if<Strip>(&element)) {
            svg += "<rect x=\"" + Number(strip->left) + "\" y=\"" + std::to_string(strip->top) +
                   "\" width=\"" + Number(strip->right - strip->left) + "\" height=\"" +
                   std::to_string(strip->bottom - strip->top) + "\" fill=\"" +
                   ColourText(strip->colour) + "\"/>\n";
        } else if (const auto* line = std::get_if<Line>(&element)) {
            // Pixel centres, as the raster surface steps from pixel to pixel.
            svg += "<line x1=\"" + Number(line->x0 + 0.5) + "\" y1=\"" + Number(line->y0 + 0.5) +
                   "\" x2=\"" + Number(line->x1 + 0.5) + "\" y2=\"" + Number(line->y1 + 0.5) +
                   "\" stroke=\"" + ColourText(line->pen.colour) + "\" stroke-width=\"" +
                   std::to_string(std::max(line->pen.width, 1)) + "\"/>\n";
        } else if (const auto* text = std::get_if<Text>(&element)) {
            const std::string id = "clip" + std::to_string(++clips);
            svg += "<clipPath id=\"" + id + "\"><rect " + RectAttributes(text->clip) +
                   "/></clipPath>\n";
            const std::string clipAttribute = " clip-path=\"url(#" + id + ")\"";
            svg += "<text x=\"" + Number(text->anchorX) + "\" y=\"" + Number(text->baselineY) +
                   "\" font-family=\"sans-serif\" font-size=\"" + Number(fontPixels_) +
                   "\" text-anchor=\"" + text->anchor + "\" fill=\"" + ColourText(text->colour) +
                   "\" xml:space=\"preserve\"" + clipAttribute + ">" + EscapeXml(text->text) +
                   "</text>\n";
        }
    }
    svg += "</svg>\n";
    return svg;
}

}  // namespace qv::surface
