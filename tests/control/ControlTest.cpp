// SPDX-License-Identifier: MIT
// Drawing through the control: on the caller's surface or its own, with result codes and
// error state; surfaces and sizes at their limits end in a drawing, a result code or a failed
// call that keeps the error state, never in a crash or an unbounded allocation. Then the
// control's size following its own surface.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include <qvbarcode/control/QvBarCode.h>
#include "support/FailureOf.h"
#include "support/FixedFont.h"
#include "support/PixelText.h"
#include "support/RecordingSite.h"

namespace qv::control {
namespace {

using host::FailureReason;
using host::Variant;
using surface::Pen;
using surface::RasterSurface;
using surface::SurfaceHandle;
using testing::FailureOf;
using testing::RowText;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr Pen kHostPen{0x00FF00, 1};

// Ten digits of Interleaved 2 of 5 are 78 modules, 3 pixels each at the default width: a
// white frame 244 pixels wide.
struct Case {
    const char* why;
    std::u16string text = u"1234567890";
    std::int32_t type = QvTypeInterleaved2of5;
    std::int32_t barWidth = 300, barHeight = 60, x = 40, y = 20;
    AutomationBool white = kFalse, source = kFalse, show = kFalse;
    float fontWidth = 40.0f, fontHeight = 13.0f;
    bool own = false;  // draw on the control's own surface, not the caller's
    FailureReason reason = FailureReason::Overflow;
    std::int32_t surfaceWidth = 400, surfaceHeight = 200;
};

// A drawing on the control's own surface.
Case Own(const char* why, std::u16string text, std::int32_t type, std::int32_t barWidth,
         std::int32_t barHeight, AutomationBool source,
         FailureReason reason = FailureReason::Overflow) {
    Case c{.why = why, .text = std::move(text), .type = type, .own = true, .reason = reason};
    c.barWidth = barWidth;
    c.barHeight = barHeight;
    c.source = source;
    return c;
}

// A control that has failed a drawing already, so a later failed call can be seen to keep
// that error state, and a caller's surface with the host's pen selected, which must be
// current again after any drawing, failed or not, as must the host's background mode.
struct Fixture {
    explicit Fixture(const Case& c)
        : font(std::make_shared<testing::FixedFont>(c.fontWidth, c.fontHeight, 255)),
          surface(std::make_shared<RasterSurface>(c.surfaceWidth, c.surfaceHeight)) {
        surface->SelectPen(kHostPen);
        control.SetText(u"  ");
        EXPECT_EQ(control.Draw(), Variant::FromInt16(1104));
        Set(c);
        control.Pic1().SetVisible(false);
        site->notifications.clear();
    }
    void Set(const Case& c) {
        control.SetText(c.text);
        control.SetBarCodeType(c.type);
        control.SetBarWidth(c.barWidth);
        control.SetBarHeight(c.barHeight);
        control.SetPositionX(c.x);
        control.SetPositionY(c.y);
        control.SetBackgroundWhite(c.white);
        control.SetBarWidthSource(c.source);
        control.SetShowValue(c.show);
    }
    void ExpectHostStateBack() const {
        EXPECT_EQ(surface->SelectPen(kHostPen), kHostPen);
        EXPECT_EQ(surface->bkMode(), surface::kOpaque);
    }

    std::shared_ptr<testing::FixedFont> font;
    std::shared_ptr<RasterSurface> surface;
    std::shared_ptr<testing::RecordingSite> site = std::make_shared<testing::RecordingSite>();
    QvBarCode control{site, font};
    surface::ScopedSurfaceHandle handle{surface};
    surface::SurfaceHandle hdc = handle.get();
};

TEST(Draw, BlankTextIsRefusedBeforeAnythingIsPrepared) {
    Fixture f({.why = "", .text = u"   ", .type = QvTypeCode39});
    SurfaceHandle none = surface::kNoSurface;
    for (SurfaceHandle* target : {&f.hdc, &none}) {
        const SurfaceHandle before = *target;
        EXPECT_EQ(f.control.Draw(*target), Variant::FromInt16(1104));
        EXPECT_EQ(*target, before);
    }
    EXPECT_EQ(f.control.ErrorFound(), kTrue);
    EXPECT_EQ(f.control.ErrorDescription(), u"Barcode Text can NOT be Blank");
    EXPECT_FALSE(f.control.Pic1().Visible());
    EXPECT_EQ(f.control.PositionX(), 40);
    // A handle that names no surface: the released handle in tests/component.
}

// The code and its message are checked through dispatch; here what is done to the surface.
TEST(Draw, UnknownTypeOnOwnSurfaceStillPreparesTheSurface) {
    Fixture f({.why = "", .text = u"12", .type = 7});
    f.control.Pic1().SetLeft(9);
    SurfaceHandle hdc = -1;
    EXPECT_EQ(f.control.Draw(hdc), Variant::FromInt16(1100));
    const PictureBox& pic1 = f.control.Pic1();
    EXPECT_EQ(std::tuple(hdc, pic1.Visible(), pic1.Left(), pic1.Picture() == nullptr),
              std::tuple(pic1.hDC(), true, 0, true));
    EXPECT_EQ(std::tuple(f.control.PositionX() | f.control.PositionY(),
                         f.site->notifications.empty(), f.site->displaySetting()),
              std::tuple(0, true, 1));
}

// The error state follows the last result, in Spanish for a Spanish user, else in English.
TEST(Draw, CallersSurfaceKeepsPositionsAndTheErrorStateFollowsTheLastResult) {
    Fixture f({.why = "", .text = u"12"});
    f.control.SetBarWidth(21);  // 22 modules need 22 pixels
    for (const auto& [language, message] :
         {std::pair{"sPaNiSh", u"Valor de Ancho del codigo Insuficiente"},
          std::pair{"Catalan", u"Not Enough (Width) Space"}}) {
        f.site->language = language;
        EXPECT_EQ(f.control.Draw(f.hdc), Variant::FromInt16(1102));
        EXPECT_EQ(f.control.ErrorDescription(), message) << language;
    }
    const float outerWidth = f.site->OuterWidth();
    const auto picture = f.control.Pic1().Picture();
    f.control.Pic1().SetVisible(true);
    f.control.SetBarWidth(300);
    EXPECT_EQ(f.control.Draw(f.hdc), Variant::FromInt16(0));
    EXPECT_EQ(std::tuple(f.control.ErrorFound(), f.control.ErrorDescription(), f.hdc),
              std::tuple(kFalse, u"", f.handle.get()));
    EXPECT_EQ(std::tuple(f.control.Pic1().Visible(), f.site->displaySetting(),
                         f.control.Pic1().Picture() == picture, f.site->OuterWidth()),
              std::tuple(false, 0, true, outerWidth));
    EXPECT_EQ(f.surface->PixelAt(40, 20), surface::kBlack);  // the first bar at PositionX, Y
}

// Sized with its margins before its handle is taken. The events run meanwhile are the
// re-entering host's test, the handle given back the dispatch test's.
TEST(Draw, OwnSurfaceTakesTheBarcodeSizeAndKeepsTheDrawing) {
    Fixture f({.why = "", .text = u"A", .type = QvTypeCode39});
    f.control.SetBarWidthSource(kTrue);
    f.control.SetBackgroundWhite(kTrue);
    f.site->notifications.clear();
    EXPECT_EQ(f.control.Draw(), Variant::FromInt16(0));
    EXPECT_EQ(f.control.BarWidth(), 38);  // the module count, written without notification
    EXPECT_TRUE(f.site->notifications.empty());
    EXPECT_EQ(std::pair(f.control.Pic1().Width(), f.control.Pic1().Height()), std::pair(48, 60));
    ASSERT_NE(f.control.Pic1().Picture(), nullptr);
    // The kept drawing survives a later re-creation of the image.
    f.control.Pic1().SetWidth(60);
    EXPECT_EQ(f.control.Pic1().Image().PixelAt(5, 54), surface::kBlack);
}

// A control keeps its last encoding and caption size: after each change the control that
// drew every step before draws what a fresh control draws, with the same result and text.
TEST(Draw, ARepeatedDrawingFollowsEveryChangeAsAFreshControlDraws) {
    struct Step {
        std::u16string text;
        std::int32_t type;
        AutomationBool check, show, white = kTrue;
        std::int32_t barWidth = 300;
    };
    const Step steps[] = {
        {u"400638133393", QvTypeEan13, kTrue, kTrue},
        {u"400638133393", QvTypeEan13, kTrue, kTrue},
        {u"400638133394", QvTypeEan13, kTrue, kTrue},
        {u"400638133394", QvTypeEan13, kFalse, kTrue},
        {u"4006381333940", QvTypeEan13, kFalse, kTrue},
        {u"40063813339", QvTypeStandard2of5, kTrue, kTrue},
        {u"40063813339", QvTypeInterleaved2of5, kTrue, kTrue},
        {u"40063813339", QvTypeCode39, kTrue, kTrue},
        {u"4006 X", QvTypeCode39, kTrue, kTrue},
        {u"4006 X", QvTypeCode39, kTrue, kFalse},
        {u"4006 X", QvTypeCode39, kTrue, kFalse, kFalse},       // the same bars further left
        {u"4006 X", QvTypeCode39, kTrue, kFalse, kFalse, 200},  // and narrower
    };
    QvBarCode kept;
    for (const Step& step : steps) {
        QvBarCode fresh;
        std::int16_t results[2] = {};
        for (QvBarCode* c : {&kept, &fresh}) {
            c->SetText(step.text);
            c->SetBarCodeType(step.type);
            c->SetCalculateCheckDigit(step.check);
            c->SetShowValue(step.show);
            c->SetBackgroundWhite(step.white);
            c->SetBarWidth(step.barWidth);
            c->SetBarHeight(60);
            results[c == &fresh] = c->Draw().AsInt16();
        }
        const auto at = &step - steps;
        ASSERT_EQ(results[0], results[1]) << at;
        // A refused text leaves the own surface at its last size, and Code 39 leaves
        // TextToEncode as the last numeric drawing set it.
        if (results[0] == 0) {
            EXPECT_EQ(kept.Pic1().Image().ContiguousPixels(),
                      fresh.Pic1().Image().ContiguousPixels())
                << at;
        }
        if (step.type != QvTypeCode39) {
            EXPECT_EQ(kept.TextToEncode(), fresh.TextToEncode()) << at;
        }
    }
}

TEST(Limits, DrawingOutsideTheCallerSurfaceLeavesItUntouched) {
    const Case cases[] = {
        {.why = "a surface of no pixels", .surfaceWidth = 0, .surfaceHeight = 0},
        {.why = "no pixels, white", .white = kTrue, .show = kTrue, .surfaceWidth = 0},
        {.why = "far right", .x = 1'000'000'000, .white = kTrue, .show = kTrue},
        {.why = "far above and left", .x = -1'000'000'000, .y = -1'000'000'000, .show = kTrue},
        {.why = "lowest row a coordinate has", .y = kMin, .white = kTrue, .show = kTrue},
        {.why = "frame ends on the last pixel", .x = kMax - 244, .y = kMax - 60, .white = kTrue},
        {.why = "below, partly left", .x = -150, .y = 250, .white = kTrue, .show = kTrue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Fixture f(c);
        EXPECT_EQ((std::pair{f.control.Draw(f.hdc), f.control.ErrorFound()}),
                  std::pair(Variant::FromInt16(0), kFalse));
        EXPECT_EQ(testing::PictureText(*f.surface).find_first_not_of("./"), std::string::npos);
        f.ExpectHostStateBack();
    }
}

// Coordinates and sizes beyond 32 bits, module widths beyond 16 bits (module counts are the
// encoders' test, the steps each overflow stops at the plan's), pictures beyond the cap and
// captions measured beyond any range; the control stays usable at a size that fits.
TEST(Limits, DrawingsBeyondTheRangesEndInAFailedCallThatKeepsTheState) {
    const auto cap = static_cast<std::int32_t>(RasterSurface::kMaxPixels / 64 + 1);
    const auto kOutOfMemory = FailureReason::OutOfMemory;
    const Case cases[] = {
        {.why = "frame right edge", .x = kMax - 5},
        {.why = "height less the margins", .barHeight = kMin, .white = kTrue},
        {.why = "bar bottom below the lowest row", .barHeight = -5, .y = kMin},
        Own("EAN-13 at 345 pixels a module", u"4006381333931", QvTypeEan13, 95 * 345, 20, kFalse),
        // 64 modules: one row more than the picture cap allows, and the largest height there is.
        Own("a row beyond the cap", u"ABC", QvTypeCode39, 7, cap, kTrue, kOutOfMemory),
        Own("the largest height", u"ABC", QvTypeCode39, 7, kMax, kTrue, kOutOfMemory),
        {.why = "caption beyond 16 bits", .show = kTrue, .fontWidth = 40000.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Fixture f(c);
        EXPECT_EQ(FailureOf([&] { c.own ? f.control.Draw() : f.control.Draw(f.hdc); }), c.reason);
        EXPECT_EQ(std::pair(f.control.ErrorFound(), f.control.ErrorDescription()),
                  std::pair(kTrue, std::u16string(u"Barcode Text can NOT be Blank")));
        if (!c.show) {
            EXPECT_EQ(f.control.BarWidth(), c.barWidth) << "refused before the count is stored";
        }
        f.ExpectHostStateBack();
        EXPECT_LE(std::int64_t{f.control.Pic1().Width()} * f.control.Pic1().Height(),
                  RasterSurface::kMaxPixels);

        // The widest EAN-13 whose width fits 16 bits: one pixel a module less than above.
        f.Set(Own("fits", u"4006381333931", QvTypeEan13, 95 * 344, 20, kFalse));
        EXPECT_EQ(
            (std::tuple{f.control.Draw(), f.control.Pic1().Width(), f.control.Pic1().Height()}),
            std::tuple(Variant::FromInt16(0), 95 * 344, 20));
    }
}

// A host may run its own handlers while the pipeline lets it process events, and they may
// set Text and draw again; the outer drawing still captions what it encoded.
TEST(Limits, HostDrawingAgainWhileEventsRunLeavesTheOuterCaptionIntact) {
    // Texts long enough to live on the heap, so a caption left pointing at them would dangle.
    const std::u16string text = u"12345678901234567890";
    for (const std::int32_t type : {QvTypeStandard2of5, QvTypeCode39}) {
        Fixture f({.why = "", .text = text, .type = type, .source = kTrue, .show = kTrue});
        f.site->duringPendingEvents = [&f] {
            f.control.SetText(std::u16string(40, u'9'));
            f.control.Draw();
            f.control.SetText(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        };
        f.font->measured.clear();
        EXPECT_EQ(f.control.Draw(), Variant::FromInt16(0)) << type;
        EXPECT_EQ(f.font->measured, (std::vector<std::u16string>{text, std::u16string(40, u'9')}));
    }
}

// An empty picture leaves only the background.
TEST(Resize, ControlFollowsEverySurfaceSizeChangeItCanTake) {
    auto site = std::make_shared<host::StandaloneSite>();
    QvBarCode control(site, std::make_shared<testing::FixedFont>());
    EXPECT_EQ(control.Pic1().Width(), 146);  // 76 high: the outer height below says so
    EXPECT_NE(RowText(control.Pic1().Image(), 30).find('#'), std::string::npos);
    control.Pic1().SetPicture(nullptr);
    EXPECT_EQ(RowText(control.Pic1().Image(), 30).find_first_not_of('.'), std::string::npos);
    control.Pic1().SetWidth(100);
    EXPECT_EQ(site->OuterWidth(), 1500.0f);
    EXPECT_EQ(site->OuterHeight(), 1140.0f);  // recomputed from the unchanged height
    control.Pic1().SetHeight(80);
    EXPECT_EQ(site->OuterHeight(), 1200.0f);

    // A refused size leaves the surface as it was; the width before it was taken.
    const auto handle = control.Pic1().hDC();
    EXPECT_EQ(FailureOf([&] { control.Pic1().SetWidth(-1); }), FailureReason::InvalidValue);
    control.Pic1().SetWidth(70000);
    EXPECT_EQ(FailureOf([&] { control.Pic1().SetHeight(70000); }), FailureReason::OutOfMemory);
    EXPECT_EQ(control.Pic1().Height(), 80);
    EXPECT_NE(control.Pic1().hDC(), handle);  // the width change re-created the image
    EXPECT_EQ(site->OuterWidth(), 70000.0f * 15);
}

// The units per pixel are the outer size over the inner one before the change, rounded half
// to even; an axis without inner size (a drawing 0 pixels high) borrows the other's ratio, or
// with neither the host's, so the control grows again; skipped when the ratio passes 16 bits.
TEST(Resize, RatioIsRoundedHalfToEvenBorrowedOrSkipped) {
    struct Case {
        float unitsPerPixel, outerWidth, widthAfter, outerHeight = 76;  // in pixels
    };
    const Case cases[] = {
        {14.5f, 1450.0f, 14 * 50.0f},  // inner 100: 14.5 -> 14
        {15.5f, 1550.0f, 16 * 50.0f},  // 15.5 -> 16
        {1.0f, 100.0f, 50.0f},
        {15.0f, 0.0f, 15 * 50.0f},                   // no inner width: the height's 15
        {15.0f, 0.0f, 15 * 50.0f, 0.0f},             // neither: the host's 15
        {40000.0f, 40000.0f * 100, 40000.0f * 100},  // beyond 16 bits: skipped
    };
    for (const Case& c : cases) {
        auto site = std::make_shared<host::StandaloneSite>(c.unitsPerPixel);
        QvBarCode control(site, std::make_shared<testing::FixedFont>());
        site->SetOuterSize(c.outerWidth, c.outerHeight * c.unitsPerPixel);
        control.Pic1().SetWidth(50);
        EXPECT_EQ(site->OuterWidth(), c.widthAfter) << c.unitsPerPixel << " " << c.outerHeight;
        EXPECT_EQ(control.Pic1().Width(), 50);
    }
}

}  // namespace
}  // namespace qv::control
