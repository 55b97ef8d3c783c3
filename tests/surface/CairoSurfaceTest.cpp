// The control draws onto a caller's cairo context as onto a raster surface: the same pixels
// for the frame and every bar at PositionX, PositionY, and its caption inside its box.
#include <gtest/gtest.h>

#include <cstring>

#include "control/QvBarCode.h"
#include "surface/CairoSurface.h"
#include "surface/RasterSurface.h"

namespace qv::surface {
namespace {

constexpr std::int32_t kWidth = 140;
constexpr std::int32_t kHeight = 80;
constexpr Colour kPaper = MakeColour(204, 229, 255);

// The control's drawing at 7, 3 on paper, through cairo and through a raster surface.
std::pair<RasterSurface, RasterSurface> DrawBoth(bool white, bool caption) {
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cr = cairo_create(image);
    cairo_set_source_rgb(cr, RedOf(kPaper) / 255.0, GreenOf(kPaper) / 255.0,
                         BlueOf(kPaper) / 255.0);
    cairo_paint(cr);
    auto raster = std::make_shared<RasterSurface>(kWidth, kHeight, kPaper);
    for (std::shared_ptr<DrawingSurface> target :
         {std::shared_ptr<DrawingSurface>(std::make_shared<CairoSurface>(cr, kPaper)),
          std::shared_ptr<DrawingSurface>(raster)}) {
        control::QvBarCode barcode;
        barcode.SetBarCodeType(control::QvTypeEan13);
        barcode.SetText(u"4006381333931");
        barcode.SetBackgroundWhite(white ? control::kTrue : control::kFalse);
        barcode.SetShowValue(caption ? control::kTrue : control::kFalse);
        barcode.SetBarWidth(white ? 105 : 95);
        barcode.SetBarHeight(60);
        barcode.SetPositionX(7);
        barcode.SetPositionY(3);
        const ScopedSurfaceHandle handle(target);
        SurfaceHandle hdc = handle.get();
        EXPECT_EQ(barcode.Draw(hdc).AsInt16(), 0);
    }
    cairo_destroy(cr);
    cairo_surface_flush(image);
    RasterSurface fromCairo(kWidth, kHeight);
    for (std::int32_t y = 0; y < kHeight; ++y) {
        for (std::int32_t x = 0; x < kWidth; ++x) {
            std::uint32_t rgb;  // 0x00RRGGBB
            std::memcpy(&rgb,
                        cairo_image_surface_get_data(image) +
                            y * cairo_image_surface_get_stride(image) + x * 4,
                        4);
            fromCairo.SetPixel(x, y, MakeColour(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF));
        }
    }
    cairo_surface_destroy(image);
    return {std::move(fromCairo), *raster};
}

TEST(CairoSurface, TheControlsDrawingMatchesTheRasterSurfaces) {
    for (const bool white : {false, true}) {
        const auto [plain, plainRaster] = DrawBoth(white, false);
        const auto [captioned, captionedRaster] = DrawBoth(white, true);
        // The caption's box: its 13 rows over the foot of the bars.
        const std::int32_t bottom = white ? 3 + 60 - 5 : 3 + 60;
        bool inked = false;
        for (std::int32_t y = 0; y < kHeight; ++y) {
            for (std::int32_t x = 0; x < kWidth; ++x) {
                ASSERT_EQ(plain.PixelAt(x, y), plainRaster.PixelAt(x, y)) << x << ", " << y;
                const bool inBox = y >= bottom - 13 && y < bottom;
                if (!inBox) {
                    ASSERT_EQ(captioned.PixelAt(x, y), captionedRaster.PixelAt(x, y))
                        << x << ", " << y;
                }
                inked = inked || (inBox && captioned.PixelAt(x, y) == kBlack);
            }
        }
        EXPECT_TRUE(inked) << "no caption drawn";
    }
}

}  // namespace
}  // namespace qv::surface
