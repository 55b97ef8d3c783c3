// The painter surface gives the pixels a raster surface gives, operation by operation and
// for whole barcodes drawn by the control.
#include <gtest/gtest.h>

#include <QPainter>
#include <functional>

#include "QPainterSurface.h"
#include "QtTestApplication.h"
#include "control/QvBarCode.h"
#include "surface/SurfaceHandles.h"

namespace qv::designer::test {
namespace {

using surface::DrawingSurface;
using surface::Pen;
using surface::RasterSurface;
using widget::PainterSurfaceHandle;
using widget::QPainterSurface;

constexpr surface::Colour kRed = surface::MakeColour(255, 0, 0);
constexpr surface::Colour kBlue = surface::MakeColour(0, 0, 255);

QImage WhiteImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Runs the same drawing on a raster surface and on a painter surface of the same size.
void ExpectSamePixels(int width, int height, const std::function<void(DrawingSurface&)>& draw,
                      int tolerance = 0) {
    RasterSurface raster(width, height);
    draw(raster);
    QImage image = WhiteImage(width, height);
    {
        QPainter painter(&image);
        QPainterSurface surface(painter, image.size());
        draw(surface);
    }
    EXPECT_EQ(FirstDifference(raster, image, tolerance), "");
}

TEST(PainterSurface, OperationsSetTheSamePixelsAsARasterSurface) {
    Application();
    struct Case {
        const char* what;
        std::function<void(DrawingSurface&)> draw;
    };
    // Each case keeps its operations apart on the surface, so none hides another's pixels.
    const Case cases[] = {
        {"fills: half-open, clipped to the surface, empty and inverted",
         [](DrawingSurface& s) {
             s.FillRect({5, 3, 10, 5}, kRed);
             s.FillRect({-5, -5, 3, 100}, kBlue);
             s.FillRect({6, 8, 6, 12}, kRed);
             s.FillRect({14, 14, 9, 9}, kRed);
         }},
        {"bars: downward leaves out its end row, upward sets y1 + 1 to y0, past the edges, "
         "and on from where the last one ended",
         [](DrawingSurface& s) {
             s.MoveTo(10, 2);
             s.LineTo(10, 8);
             s.MoveTo(12, 8);
             s.LineTo(12, 2);
             s.MoveTo(3, -10);
             s.LineTo(3, 40);
             s.MoveTo(-1, 0);
             s.LineTo(-1, 10);
             s.MoveTo(5, 19);
             s.LineTo(5, -3);
             s.MoveTo(7, 18);
             s.LineTo(7, 11);
             s.LineTo(7, 17);
         }},
        {"horizontal, diagonal and empty lines; coloured and wide pens, the old pen restored",
         [](DrawingSurface& s) {
             s.MoveTo(1, 12);
             s.LineTo(9, 12);
             s.LineTo(2, 16);
             s.LineTo(2, 16);
             s.MoveTo(0, 0);
             s.LineTo(6, 4);
             const Pen old = s.SelectPen({kRed, 3});
             s.MoveTo(15, 2);
             s.LineTo(15, 10);
             s.MoveTo(14, 14);
             s.LineTo(19, 17);
             s.SelectPen(old);
             s.MoveTo(18, 1);
             s.LineTo(18, 6);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectSamePixels(20, 20, c.draw);
    }
}

TEST(PainterSurface, TextIsPlacedAndClippedLikeARasterSurface) {
    Application();
    // Antialiased edges may blend a step apart; places and clipping must agree.
    constexpr int kBlend = 2;
    for (const int mode : {surface::kOpaque, surface::kTransparent}) {
        SCOPED_TRACE(mode);
        ExpectSamePixels(
            60, 30,
            [mode](DrawingSurface& s) {
                s.FillRect({0, 0, 60, 30}, surface::MakeColour(200, 220, 240));
                EXPECT_EQ(s.SetBkMode(mode), surface::kOpaque);
                s.DrawText("12345678901234", {8, 4, 40, 24}, surface::kCaptionFormat);
                s.DrawText("Wide\xE9", {-20, 20, 30, 40}, surface::kCaptionFormat);
            },
            kBlend);
    }
}

// The control draws one barcode on a raster surface and on a painter surface.
void ExpectSameBarcode(control::QvBarCode& control, int tolerance) {
    constexpr int kWidth = 320;
    constexpr int kHeight = 120;
    control.SetPositionX(7);
    control.SetPositionY(5);
    auto raster = std::make_shared<RasterSurface>(kWidth, kHeight);
    {
        const surface::ScopedSurfaceHandle handle(raster);
        surface::SurfaceHandle hdc = handle.get();
        ASSERT_EQ(control.Draw(hdc).AsInt16(), 0) << "raster";
    }
    QImage image = WhiteImage(kWidth, kHeight);
    {
        QPainter painter(&image);
        PainterSurfaceHandle handle(painter, image.size());
        surface::SurfaceHandle hdc = handle.get();
        ASSERT_EQ(control.Draw(hdc).AsInt16(), 0) << "painter";
        EXPECT_EQ(hdc, handle.get()) << "a caller's handle comes back unchanged";
    }
    EXPECT_EQ(FirstDifference(*raster, image, tolerance), "");
}

TEST(PainterSurface, ControlDrawsTheSameBarcodeOnBothSurfaces) {
    Application();
    struct Case {
        std::int32_t type;
        const char16_t* text;
        bool showValue;
    };
    // The surface sees only fills, bars of two lengths and caption texts, whatever the symbology.
    const Case cases[] = {
        {control::QvTypeEan13, u"400638133393", false},
        {control::QvTypeEan13, u"400638133393", true},
        {control::QvTypeCode39, u"CAPTION", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        control::QvBarCode control;
        control.SetText(c.text);
        control.SetBarCodeType(c.type);
        control.SetBarHeight(60);
        control.SetBarWidthSource(control::kTrue);
        control.SetBackgroundWhite(control::kTrue);
        control.SetShowValue(c.showValue ? control::kTrue : control::kFalse);
        control.SetCalculateCheckDigit(control::kTrue);
        ExpectSameBarcode(control, c.showValue ? 2 : 0);
    }
}

}  // namespace
}  // namespace qv::designer::test
