#include <gtest/gtest.h>

#include "control/QvBarCode.h"
#include "support/FixedFont.h"
#include "support/RecordingSite.h"

namespace qv::control {
namespace {

using host::Variant;
using surface::RasterSurface;
using surface::ScopedSurfaceHandle;
using surface::SurfaceHandle;

struct Fixture {
    std::shared_ptr<testing::RecordingSite> site = std::make_shared<testing::RecordingSite>();
    QvBarCode control{site, std::make_shared<testing::FixedFont>()};
    std::shared_ptr<RasterSurface> canvas = std::make_shared<RasterSurface>(400, 200);
    ScopedSurfaceHandle canvasHandle{canvas};

    void Set(std::u16string text, std::int32_t type) {
        control.SetText(std::move(text));
        control.SetBarCodeType(type);
        control.SetBarWidth(300);
        control.SetBarHeight(60);
        site->notifications.clear();
    }
};

TEST(Draw, BlankTextIsRefusedBeforeAnythingIsPrepared) {
    Fixture f;
    f.Set(u"   ", QvTypeCode39);
    f.control.SetPositionX(40);
    f.control.Pic1().SetVisible(false);
    SurfaceHandle hdc = f.canvasHandle.get();
    SurfaceHandle none = surface::kNoSurface;
    for (SurfaceHandle* target : {&hdc, &none}) {
        const SurfaceHandle before = *target;
        const Variant result = f.control.Draw(*target);
        EXPECT_EQ(result, Variant::FromInt16(1104));
        EXPECT_EQ(*target, before);
    }
    EXPECT_EQ(f.control.ErrorFound(), kTrue);
    EXPECT_EQ(f.control.ErrorDescription(), u"Barcode Text can NOT be Blank");
    EXPECT_FALSE(f.control.Pic1().Visible());
    EXPECT_EQ(f.control.PositionX(), 40);
}

TEST(Draw, UnknownTypeOnOwnSurfaceStillPreparesTheSurface) {
    Fixture f;
    f.Set(u"12", 7);
    f.control.SetPositionX(40);
    f.control.SetPositionY(20);
    f.control.Pic1().SetVisible(false);
    f.control.Pic1().SetLeft(9);
    f.site->notifications.clear();
    SurfaceHandle hdc = -1;
    EXPECT_EQ(f.control.Draw(hdc), Variant::FromInt16(1100));
    EXPECT_EQ(hdc, f.control.Pic1().hDC());
    EXPECT_TRUE(f.control.Pic1().Visible());
    EXPECT_EQ(f.control.Pic1().Left(), 0);
    EXPECT_EQ(f.control.Pic1().Picture(), nullptr);
    EXPECT_EQ(f.control.PositionX() | f.control.PositionY(), 0);
    EXPECT_TRUE(f.site->notifications.empty());
    EXPECT_EQ(f.site->displaySetting(), 1);
    EXPECT_EQ(f.control.ErrorDescription(), u"Invalid Barcode Type");
}

TEST(Draw, CallersSurfaceKeepsPositionsAndHidesOwnSurface) {
    Fixture f;
    f.Set(u"12", QvTypeInterleaved2of5);
    f.control.SetPositionX(40);
    f.control.SetPositionY(20);
    const float outerWidth = f.site->OuterWidth();
    const auto picture = f.control.Pic1().Picture();
    SurfaceHandle hdc = f.canvasHandle.get();
    EXPECT_EQ(f.control.Draw(hdc), Variant::FromInt16(0));
    EXPECT_EQ(hdc, f.canvasHandle.get());
    EXPECT_FALSE(f.control.Pic1().Visible());
    EXPECT_EQ(f.site->displaySetting(), 0);
    EXPECT_EQ(f.control.Pic1().Picture(), picture);
    EXPECT_EQ(f.site->OuterWidth(), outerWidth);
    // 22 modules over 300 pixels: 13 pixels each, the first bar at 40..52.
    EXPECT_EQ(f.canvas->PixelAt(40, 20), surface::kBlack);
    EXPECT_EQ(f.canvas->PixelAt(52, 79), surface::kBlack);
    EXPECT_EQ(f.canvas->PixelAt(53, 20), surface::kWhite);
    EXPECT_EQ(f.canvas->PixelAt(40, 80), surface::kWhite);
    EXPECT_EQ(f.canvas->PixelAt(39, 20), surface::kWhite);
}

TEST(Draw, OwnSurfaceTakesTheBarcodeSizeAndKeepsTheDrawing) {
    Fixture f;
    f.Set(u"A", QvTypeCode39);
    f.control.SetBarWidthSource(kTrue);
    f.control.SetBackgroundWhite(kTrue);
    f.control.SetPositionX(12);
    f.site->notifications.clear();
    EXPECT_EQ(f.control.Draw(), Variant::FromInt16(0));
    EXPECT_EQ(f.control.BarWidth(), 38);  // the module count, written without notification
    EXPECT_TRUE(f.site->notifications.empty());
    EXPECT_EQ(f.control.Pic1().Width(), 48);
    EXPECT_EQ(f.control.Pic1().Height(), 60);
    EXPECT_EQ(f.site->OuterWidth(), 48 * 15.0f);
    EXPECT_EQ(f.site->OuterHeight(), 60 * 15.0f);
    EXPECT_GE(f.site->pendingEventRuns, 1);
    ASSERT_NE(f.control.Pic1().Picture(), nullptr);
    EXPECT_EQ(f.control.Pic1().Picture()->PixelAt(5, 5), surface::kBlack);
    EXPECT_EQ(f.control.Pic1().Picture()->PixelAt(6, 5), surface::kWhite);
    // The kept drawing survives a later re-creation of the image.
    f.control.Pic1().SetWidth(60);
    EXPECT_EQ(f.control.Pic1().Image().PixelAt(5, 54), surface::kBlack);
}

TEST(Draw, ErrorStateFollowsTheLastResultInTheUsersLanguage) {
    struct Case {
        const char* language;
        std::u16string_view message;
    };
    const Case cases[] = {
        {"sPaNiSh", u"Valor de Ancho del codigo Insuficiente"},
        {"Catalan", u"Not Enough (Width) Space"},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.site->language = c.language;
        f.Set(u"12", QvTypeInterleaved2of5);
        f.control.SetBarWidth(21);  // 22 modules need 22 pixels
        SurfaceHandle hdc = f.canvasHandle.get();
        EXPECT_EQ(f.control.Draw(hdc), Variant::FromInt16(1102));
        EXPECT_EQ(f.control.ErrorDescription(), c.message) << c.language;
        f.control.SetBarWidth(22);
        EXPECT_EQ(f.control.Draw(hdc), Variant::FromInt16(0));
        EXPECT_EQ(f.control.ErrorFound(), kFalse);
        EXPECT_TRUE(f.control.ErrorDescription().empty());
    }
}

// A handle that names no surface is the caller's mistake, not a drawn barcode.
TEST(Draw, StaleHandleIsAFailedCallThatKeepsTheErrorState) {
    Fixture f;
    f.Set(u"   ", QvTypeCode39);
    f.control.Draw();
    f.control.SetText(u"12");
    SurfaceHandle stale = 0x7ffffff0;
    EXPECT_THROW(f.control.Draw(stale), host::FailedCall);
    EXPECT_EQ(f.control.ErrorDescription(), u"Barcode Text can NOT be Blank");
    EXPECT_EQ(stale, 0x7ffffff0);
}

}  // namespace
}  // namespace qv::control
