// Surfaces and sizes at their limits: every one ends in a drawing, a result code or a failed
// call that keeps the error state, never in a crash or an unbounded allocation.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "component/FailedCall.h"
#include "control/QvBarCode.h"
#include "support/FixedFont.h"
#include "support/RecordingSite.h"

namespace qv::control {
namespace {

using component::FailedCall;
using component::FailureReason;
using component::Variant;
using symbology::Pen;
using symbology::RasterSurface;
using symbology::ScopedSurfaceHandle;
using symbology::SurfaceHandle;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr Pen kHostPen{0x00FF00, 1};

struct Fixture {
    std::shared_ptr<testing::RecordingSite> site = std::make_shared<testing::RecordingSite>();
    QvBarCode control{site, std::make_shared<testing::FixedFont>(40.0f, 13.0f, true)};

    // A failed drawing first, so a later failed call can be seen to keep its state.
    void LeaveBlankTextError() {
        control.SetText(u"  ");
        ASSERT_EQ(control.Draw(), Variant::FromInt16(1104));
    }
    void Set(std::u16string text, std::int32_t type, std::int32_t barWidth,
             std::int32_t barHeight) {
        control.SetText(std::move(text));
        control.SetBarCodeType(type);
        control.SetBarWidth(barWidth);
        control.SetBarHeight(barHeight);
    }
    void ExpectBlankTextErrorKept() const {
        EXPECT_EQ(control.ErrorFound(), kTrue);
        EXPECT_EQ(control.ErrorDescription(), u"Barcode Text can NOT be Blank");
    }
};

std::shared_ptr<RasterSurface> HostSurface(std::int32_t width, std::int32_t height) {
    auto surface = std::make_shared<RasterSurface>(width, height);
    surface->SelectPen(kHostPen);
    return surface;
}

bool AllWhite(const RasterSurface& surface) {
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        for (std::int32_t x = 0; x < surface.width(); ++x) {
            if (surface.PixelAt(x, y) != symbology::kWhite) {
                return false;
            }
        }
    }
    return true;
}

// A font that measures every text at one extent, however absurd, remembers what it measured
// and leaves no ink.
class MeasuredFont final : public symbology::Font {
  public:
    explicit MeasuredFont(float width = 40.0f, float height = 13.0f)
        : width_(width), height_(height) {}
    symbology::TextExtent Measure(std::u16string_view text) const override {
        measured.emplace_back(text);
        return {width_, height_};
    }
    symbology::RenderedText Render(std::u16string_view) const override { return {}; }
    mutable std::vector<std::u16string> measured;

  private:
    float width_;
    float height_;
};

// The host's pen and background mode are current again after any drawing, failed or not.
void ExpectHostStateBack(RasterSurface& surface) {
    EXPECT_EQ(surface.SelectPen(kHostPen), kHostPen);
    EXPECT_EQ(surface.bkMode(), symbology::kOpaque);
}

TEST(Limits, CallerSurfaceOfNoPixelsTakesEveryDrawing) {
    for (const AutomationBool white : {kFalse, kTrue}) {
        Fixture f;
        f.Set(u"CODE 39", QvTypeCode39, 300, 60);
        f.control.SetBackgroundWhite(white);
        f.control.SetShowValue(kTrue);
        auto surface = HostSurface(0, 0);
        ScopedSurfaceHandle handle(surface);
        SurfaceHandle hdc = handle.get();
        EXPECT_EQ(f.control.Draw(hdc), Variant::FromInt16(0)) << white;
        EXPECT_EQ(f.control.ErrorFound(), kFalse);
        ExpectHostStateBack(*surface);
    }
}

TEST(Limits, DrawingFarOutsideTheCallerSurfaceLeavesItUntouched) {
    struct Case {
        std::int32_t x, y;
        const char* why;
    };
    const Case cases[] = {
        {1'000'000'000, 0, "far right"},
        {-1'000'000'000, -1'000'000'000, "far above and left"},
        {0, kMin, "lowest row a coordinate has"},
        {kMax - 300, kMax - 100, "frame ends just inside 32 bits"},
        {-150, 250, "below, partly left"},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.Set(u"1234567890", QvTypeInterleaved2of5, 200, 60);
        f.control.SetBackgroundWhite(kTrue);
        f.control.SetShowValue(kTrue);
        f.control.SetPositionX(c.x);
        f.control.SetPositionY(c.y);
        auto surface = HostSurface(120, 80);
        ScopedSurfaceHandle handle(surface);
        SurfaceHandle hdc = handle.get();
        EXPECT_EQ(f.control.Draw(hdc), Variant::FromInt16(0)) << c.why;
        EXPECT_TRUE(AllWhite(*surface)) << c.why;
        ExpectHostStateBack(*surface);
    }
}

TEST(Limits, CoordinatesBeyond32BitsEndInAFailedCall) {
    struct Case {
        std::int32_t x, y, barHeight;
        AutomationBool white;
        const char* why;
    };
    const Case cases[] = {
        {kMax - 5, 0, 60, kFalse, "frame right edge"},
        {kMax - 50, 0, 60, kTrue, "frame right edge with margins"},
        {0, kMax - 10, 60, kFalse, "frame bottom edge"},
        {0, 1, kMax, kFalse, "bar bottom"},
        {0, 0, kMin, kTrue, "height less the margins"},
        {0, kMin, -5, kFalse, "bar bottom below the lowest row"},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.LeaveBlankTextError();
        f.Set(u"1234567890", QvTypeInterleaved2of5, 200, c.barHeight);
        f.control.SetBackgroundWhite(c.white);
        f.control.SetPositionX(c.x);
        f.control.SetPositionY(c.y);
        auto surface = HostSurface(50, 50);
        ScopedSurfaceHandle handle(surface);
        SurfaceHandle hdc = handle.get();
        try {
            f.control.Draw(hdc);
            ADD_FAILURE() << c.why << ": drew";
        } catch (const FailedCall& failure) {
            EXPECT_EQ(failure.reason(), FailureReason::Overflow) << c.why;
        }
        f.ExpectBlankTextErrorKept();
        ExpectHostStateBack(*surface);
    }
}

// The widest symbols a 16-bit module count allows, drawn at the largest module width whose
// total still fits; one pixel more per module, or one digit more, overflows.
TEST(Limits, WidestSymbolsAtTheLargestModuleWidthThatFits) {
    struct Case {
        std::int32_t type;
        std::u16string text;
        std::int32_t barWidth;  // 0: one pixel per module
        std::int32_t expectedWidth;
        const char* why;
    };
    const std::u16string digits2339(2339, u'7');
    const Case cases[] = {
        {QvTypeStandard2of5, digits2339, 0, 14 * 2339 + 15, "longest Standard 2 of 5"},
        {QvTypeStandard2of5, digits2339 + u"7", 0, -1, "one digit more"},
        {QvTypeCode39, std::u16string(2518, u'Q'), 0, 13 * 2518 + 25, "longest Code 39"},
        {QvTypeCode39, std::u16string(2519, u'Q'), 0, -1, "one character more"},
        {QvTypeEan13, u"4006381333931", 95 * 344, 95 * 344, "EAN-13 at 344 pixels a module"},
        {QvTypeEan13, u"4006381333931", 95 * 345, -1, "EAN-13 at 345 pixels a module"},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.LeaveBlankTextError();
        f.Set(c.text, c.type, c.barWidth, 20);
        f.control.SetBarWidthSource(c.barWidth == 0 ? kTrue : kFalse);
        if (c.expectedWidth < 0) {
            EXPECT_THROW(f.control.Draw(), FailedCall) << c.why;
            f.ExpectBlankTextErrorKept();
            continue;
        }
        EXPECT_EQ(f.control.Draw(), Variant::FromInt16(0)) << c.why;
        EXPECT_EQ(f.control.Pic1().Width(), c.expectedWidth) << c.why;
        EXPECT_EQ(f.control.Pic1().Height(), 20) << c.why;
    }
}

TEST(Limits, PictureCapOnTheOwnSurfaceIsOutOfMemoryAndKeepsTheState) {
    // 64 modules: one row more than the cap allows, and the largest height there is.
    const std::int32_t heights[] = {static_cast<std::int32_t>(RasterSurface::kMaxPixels / 64 + 1),
                                    kMax};
    for (const std::int32_t height : heights) {
        Fixture f;
        f.LeaveBlankTextError();
        f.Set(u"ABC", QvTypeCode39, 7, height);
        f.control.SetBarWidthSource(kTrue);
        try {
            f.control.Draw();
            ADD_FAILURE() << height << ": drew";
        } catch (const FailedCall& failure) {
            EXPECT_EQ(failure.reason(), FailureReason::OutOfMemory) << height;
        }
        f.ExpectBlankTextErrorKept();
        EXPECT_EQ(f.control.BarWidth(), 7) << "refused before the module count is stored";
        EXPECT_LE(std::int64_t{f.control.Pic1().Width()} * f.control.Pic1().Height(),
                  RasterSurface::kMaxPixels);

        // The control stays usable at a size that fits.
        f.control.SetBarHeight(40);
        EXPECT_EQ(f.control.Draw(), Variant::FromInt16(0));
        EXPECT_EQ(f.control.Pic1().Height(), 40);
    }
}

// A caption the font measures beyond 16 bits, or beyond any number, cannot be placed.
TEST(Limits, CaptionMeasuredBeyondItsRangeEndsInAFailedCall) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, float> extents[] = {{40000.0f, 13.0f},
                                               {1e30f, 13.0f},
                                               {-1e30f, 13.0f},
                                               {inf, 13.0f},
                                               {std::numeric_limits<float>::quiet_NaN(), 13.0f},
                                               {40.0f, 1e30f}};
    for (const auto& [width, height] : extents) {
        auto site = std::make_shared<testing::RecordingSite>();
        QvBarCode control(site, std::make_shared<MeasuredFont>(width, height));
        control.SetText(u"  ");
        control.Draw();
        control.SetText(u"CODE 39");
        control.SetBarCodeType(QvTypeCode39);
        control.SetBarWidthSource(kTrue);
        control.SetShowValue(kTrue);
        auto surface = HostSurface(100, 60);
        ScopedSurfaceHandle handle(surface);
        SurfaceHandle hdc = handle.get();
        try {
            control.Draw(hdc);
            ADD_FAILURE() << width << " x " << height << ": drew";
        } catch (const FailedCall& failure) {
            EXPECT_EQ(failure.reason(), FailureReason::Overflow) << width << " x " << height;
        }
        EXPECT_EQ(control.ErrorDescription(), u"Barcode Text can NOT be Blank");
        ExpectHostStateBack(*surface);
    }
}

// A host may run its own handlers while the pipeline lets it process events, and they may
// set Text and draw again; the outer drawing still captions what it encoded.
TEST(Limits, HostDrawingAgainWhileEventsRunLeavesTheOuterCaptionIntact) {
    class ReenteringSite : public testing::RecordingSite {
      public:
        void ProcessPendingEvents() override {
            if (control && !entered) {
                entered = true;
                control->SetText(std::u16string(40, u'9'));
                control->Draw();
                control->SetText(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ");
            }
        }
        QvBarCode* control = nullptr;
        bool entered = false;
    };
    // Texts long enough to live on the heap, so a caption left pointing at them would dangle.
    const std::u16string text = u"12345678901234567890";
    for (const std::int32_t type : {QvTypeStandard2of5, QvTypeCode39}) {
        auto site = std::make_shared<ReenteringSite>();
        auto font = std::make_shared<MeasuredFont>();
        QvBarCode control(site, font);
        site->control = &control;
        control.SetText(text);
        control.SetBarCodeType(type);
        control.SetBarWidthSource(kTrue);
        control.SetShowValue(kTrue);
        font->measured.clear();
        EXPECT_EQ(control.Draw(), Variant::FromInt16(0)) << type;
        ASSERT_TRUE(site->entered);
        ASSERT_EQ(font->measured.size(), 2u);
        EXPECT_EQ(font->measured[0], std::u16string(40, u'9')) << "the nested drawing";
        EXPECT_EQ(font->measured[1], text) << "the outer drawing";
    }
}

}  // namespace
}  // namespace qv::control
