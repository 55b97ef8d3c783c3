#include "symbology/DrawModuleString.h"

#include <gtest/gtest.h>

#include <string>

#include "support/PixelText.h"
#include "surface/RasterSurface.h"
#include "symbology/Encoding.h"

namespace qv::symbology {
namespace {

constexpr surface::Colour kGrey = 0x808080;

// A control as the pipeline sees it, drawing on a caller's grey raster surface. The own
// surface is the control's part, tested with it.
class FakeHost final : public PipelineHost {
  public:
    FakeHost() { caller->SetBkColor(kGrey); }

    BarcodeLayout Layout() const override { return layout; }
    void StoreBarWidth(std::int32_t moduleCount) override { layout.barWidth = moduleCount; }
    bool DrawsOnOwnSurface() const override { return false; }
    void SetOwnSurfaceWidth(std::int32_t) override {}
    void SetOwnSurfaceHeight(std::int32_t) override {}
    void ProcessPendingEvents() override {}
    surface::SurfaceHandle OwnSurfaceHandle() override { return surface::kNoSurface; }
    void KeepOwnSurfaceDrawing() override {}
    surface::TextExtent MeasureText(std::u16string_view) const override { return caption; }

    BarcodeLayout layout;
    surface::TextExtent caption{40.0f, 13.0f};
    std::shared_ptr<surface::RasterSurface> caller =
        std::make_shared<surface::RasterSurface>(400, 120, kGrey);
    surface::ScopedSurfaceHandle callerHandle{caller};
    surface::SurfaceHandle hdc = callerHandle.get();
};

using testing::ColumnText;
using testing::RowText;

// Twenty modules at 10, 10. The caption box takes the surface's background, or white in a
// white frame, and its left edge is rounded half to even.
TEST(DrawModuleString, FrameBarsAndCaptionBox) {
    struct Case {
        BarcodeLayout layout;
        std::int16_t code;
        std::int32_t barWidthAfter;
        std::size_t frameWidth, frameHeight;  // pixels from 10, 10 that are not background
        std::size_t barRows;
        float textWidth = 40.0f;
        std::int32_t captionLeft = 0, captionTop = 0;
    };
    const Case cases[] = {
        {{10, 10, 20, 30, false, false, false}, kDrawn, 20, 20, 30, 30},
        {{10, 10, 19, 30, false, false, false}, kNotEnoughWidth, 19, 0, 0, 0},
        {{10, 10, 30, 30, false, true, false}, kDrawn, 30, 30, 30, 20},
        {{10, 10, 29, 30, false, true, false}, kNotEnoughWidth, 29, 0, 0, 0},
        {{10, 10, 41, 30, false, false, false}, kDrawn, 41, 40, 30, 30},  // leftover stays blank
        {{10, 10, -5, 30, false, false, false}, kNotEnoughWidth, -5, 0, 0, 0},
        {{10, 10, 0, 0, true, false, false}, kDrawn, 20, 20, 50, 50},
        {{10, 10, 999, 0, true, true, false}, kDrawn, 20, 30, 50, 40},
        // Frame 10..50: (60 - 19) / 2 = 20.5 -> 20, (60 - 17) / 2 = 21.5 -> 22; 18.4 -> 18.
        {{10, 10, 40, 30, false, false, true}, kDrawn, 40, 40, 30, 30, 13.0f, 20, 30},
        {{10, 10, 40, 30, false, false, true}, kDrawn, 40, 40, 30, 30, 11.0f, 22, 30},
        {{10, 10, 40, 30, false, false, true}, kDrawn, 40, 40, 30, 30, 12.4f, 21, 30},
        // White frame 10..300 x 10..90, 14-pixel modules; box (310 - 46) / 2 = 132 over
        // rows 75..84.
        {{10, 10, 300, 80, false, true, true}, kDrawn, 300, 290, 80, 70, 40.0f, 132, 75},
    };
    const std::string modules(20, '1');
    for (const Case& c : cases) {
        FakeHost host;
        host.layout = c.layout;
        host.caption = {c.textWidth, 10.0f};
        EXPECT_EQ(DrawModuleString(host, modules, u"x", host.hdc), c.code);
        EXPECT_EQ(host.layout.barWidth, c.barWidthAfter);
        EXPECT_EQ(RowText(*host.caller, 10, 10).find('-'), c.frameWidth) << c.layout.barWidth;
        EXPECT_EQ(ColumnText(*host.caller, 10).substr(10).find('-'), c.frameHeight);
        const std::int32_t inset = c.layout.backgroundWhite ? 5 : 0;
        EXPECT_EQ(ColumnText(*host.caller, 10 + inset).substr(10 + inset).find_first_not_of('#'),
                  c.barRows)
            << c.layout.barWidth;
        if (c.layout.showValue) {
            const auto left = static_cast<std::int32_t>(
                RowText(*host.caller, c.captionTop + 5).find_first_not_of('#', 10 + inset));
            EXPECT_EQ(left, c.captionLeft) << c.textWidth;
            EXPECT_EQ(host.caller->PixelAt(left, c.captionTop), inset ? surface::kWhite : kGrey);
            EXPECT_EQ(host.caller->PixelAt(left, c.captionTop - 1), surface::kBlack);
        }
    }
}

}  // namespace
}  // namespace qv::symbology
