// SPDX-License-Identifier: MIT
// The control draws onto a caller's cairo context as onto a raster surface: the same pixels
// for the frame and every bar at PositionX, PositionY, and its caption inside its box.
#include <gtest/gtest.h>

#include <cstring>

#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/surface/CairoSurface.h>
#include <qvbarcode/surface/RasterSurface.h>

namespace qv::surface {
namespace {

// The control's EAN-13 drawing at 7, 3, with a white frame or not, with its caption or not.
void DrawBarcode(std::shared_ptr<DrawingSurface> target, bool white, bool caption) {
    control::QvBarCode barcode;
    barcode.SetBarCodeType(control::QvTypeEan13);
    barcode.SetText(u"4006381333931");
    barcode.SetBackgroundWhite(white ? control::kTrue : control::kFalse);
    barcode.SetShowValue(caption ? control::kTrue : control::kFalse);
    barcode.SetBarWidth(white ? 105 : 95);
    barcode.SetBarHeight(60);
    barcode.SetPositionX(7);
    barcode.SetPositionY(3);
    const ScopedSurfaceHandle handle(std::move(target));
    SurfaceHandle hdc = handle.get();
    EXPECT_EQ(barcode.Draw(hdc).AsInt16(), 0);
}

TEST(CairoSurface, TheControlsDrawingMatchesTheRasterSurfaces) {
    constexpr std::int32_t kWidth = 140, kHeight = 80;
    const Colour paper = MakeColour(204, 229, 255);
    for (const bool white : {false, true}) {
        for (const bool caption : {false, true}) {
            const std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> image(
                cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight),
                cairo_surface_destroy);
            cairo_t* cr = cairo_create(image.get());
            cairo_set_source_rgb(cr, RedOf(paper) / 255.0, GreenOf(paper) / 255.0,
                                 BlueOf(paper) / 255.0);
            cairo_paint(cr);
            DrawBarcode(std::make_shared<CairoSurface>(cr, paper), white, caption);
            cairo_destroy(cr);
            cairo_surface_flush(image.get());
            auto raster = std::make_shared<RasterSurface>(kWidth, kHeight, paper);
            DrawBarcode(raster, white, caption);
            // The caption's box, its 13 rows over the foot of the bars, holds cairo's own
            // rendering of the text: inked, not compared.
            const std::int32_t bottom = white ? 3 + 60 - 5 : 3 + 60;
            const unsigned char* data = cairo_image_surface_get_data(image.get());
            const int stride = cairo_image_surface_get_stride(image.get());
            bool inked = false;
            for (std::int32_t y = 0; y < kHeight; ++y) {
                const bool inBox = caption && y >= bottom - 13 && y < bottom;
                for (std::int32_t x = 0; x < kWidth; ++x) {
                    std::uint32_t rgb;  // 0x00RRGGBB
                    std::memcpy(&rgb, data + y * stride + x * 4, 4);
                    const Colour pixel = MakeColour(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
                    inked = inked || (inBox && pixel == kBlack);
                    ASSERT_TRUE(inBox || pixel == raster->PixelAt(x, y)) << x << ", " << y;
                }
            }
            EXPECT_EQ(inked, caption) << "a caption drawn or not";
        }
    }
}

// Bars narrowed by whole pixels cover the raster surface's pixels; by a fraction, exactly that
// much of their edge pixels (antialiased grey).
TEST(CairoSurface, NarrowedBarsAreExact) {
    const ColumnRun runs[] = {{2, 10}, {14, 17}, {20, 40}};
    const auto draw = [&](double reduction) {
        const std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> image(
            cairo_image_surface_create(CAIRO_FORMAT_RGB24, 50, 6), cairo_surface_destroy);
        cairo_t* cr = cairo_create(image.get());
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        CairoSurface(cr).DrawNarrowedRuns(runs, reduction, 1, 5);
        cairo_destroy(cr);
        cairo_surface_flush(image.get());
        const unsigned char* green = cairo_image_surface_get_data(image.get()) +
                                     3 * cairo_image_surface_get_stride(image.get()) + 1;
        std::string row;  // the green level of row 3, one letter per pixel
        for (int x = 0; x < 50; ++x) row += static_cast<char>('a' + green[x * 4] / 16);
        return row;
    };
    RasterSurface raster(50, 6, kWhite);
    raster.DrawNarrowedRuns(runs, 2.0, 1, 5);
    std::string expected;
    for (int x = 0; x < 50; ++x) expected += raster.PixelAt(x, 3) == kBlack ? 'a' : 'p';
    EXPECT_EQ(draw(2.0), expected);
    EXPECT_EQ(draw(1.0).substr(0, 12), "pphaaaaaahpp");  // pixels 2 and 9 half white
}

}  // namespace
}  // namespace qv::surface
