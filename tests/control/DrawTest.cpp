#include <gtest/gtest.h>

#include "control/QvBarCode.h"
#include "support/FailureOf.h"
#include "support/FixedFont.h"
#include "support/PixelText.h"
#include "support/RecordingSite.h"

namespace qv::control {
namespace {

using host::Variant;
using surface::RasterSurface;
using surface::SurfaceHandle;
using testing::RowText;

// A control placed at 40, 20 with a caller's surface to draw on.
struct Fixture {
    explicit Fixture(std::u16string text, std::int32_t type = QvTypeInterleaved2of5) {
        control.SetText(std::move(text));
        control.SetBarCodeType(type);
        control.SetBarWidth(300);
        control.SetBarHeight(60);
        control.SetPositionX(40);
        control.SetPositionY(20);
        control.Pic1().SetVisible(false);
        site->notifications.clear();
    }

    std::shared_ptr<testing::RecordingSite> site = std::make_shared<testing::RecordingSite>();
    QvBarCode control{site, std::make_shared<testing::FixedFont>()};
    std::shared_ptr<RasterSurface> canvas = std::make_shared<RasterSurface>(400, 200);
    surface::ScopedSurfaceHandle canvasHandle{canvas};
    SurfaceHandle hdc = canvasHandle.get();
};

TEST(Draw, BlankTextIsRefusedBeforeAnythingIsPrepared) {
    Fixture f(u"   ", QvTypeCode39);
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

    // A handle that names no surface is the caller's mistake, not a drawn barcode.
    f.control.SetText(u"12");
    SurfaceHandle stale = 0x7ffffff0;
    EXPECT_EQ(testing::FailureOf([&] { f.control.Draw(stale); }),
              host::FailureReason::InvalidValue);
    EXPECT_EQ(f.control.ErrorDescription(), u"Barcode Text can NOT be Blank");
    EXPECT_EQ(stale, 0x7ffffff0);
}

TEST(Draw, UnknownTypeOnOwnSurfaceStillPreparesTheSurface) {
    Fixture f(u"12", 7);
    f.control.Pic1().SetLeft(9);
    SurfaceHandle hdc = -1;
    EXPECT_EQ(f.control.Draw(hdc), Variant::FromInt16(1100));
    EXPECT_EQ(f.control.ErrorDescription(), u"Invalid Barcode Type");
    EXPECT_EQ(hdc, f.control.Pic1().hDC());
    EXPECT_TRUE(f.control.Pic1().Visible());
    EXPECT_EQ(f.control.Pic1().Left(), 0);
    EXPECT_EQ(f.control.Pic1().Picture(), nullptr);
    EXPECT_EQ(f.control.PositionX() | f.control.PositionY(), 0);
    EXPECT_TRUE(f.site->notifications.empty());
    EXPECT_EQ(f.site->displaySetting(), 1);
}

// The error state follows the last result, in Spanish for a Spanish user, else in English.
TEST(Draw, CallersSurfaceKeepsPositionsAndTheErrorStateFollowsTheLastResult) {
    Fixture f(u"12");
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
    EXPECT_EQ(f.control.ErrorFound(), kFalse);
    EXPECT_TRUE(f.control.ErrorDescription().empty());
    EXPECT_EQ(f.hdc, f.canvasHandle.get());
    EXPECT_FALSE(f.control.Pic1().Visible());
    EXPECT_EQ(f.site->displaySetting(), 0);
    EXPECT_EQ(f.control.Pic1().Picture(), picture);
    EXPECT_EQ(f.site->OuterWidth(), outerWidth);
    // 22 modules over 300 pixels: 13 pixels each, the first bar at 40..52 over rows 20..79.
    EXPECT_EQ(RowText(*f.canvas, 20, 39, 54), "." + std::string(13, '#') + ".");
    EXPECT_EQ(testing::ColumnText(*f.canvas, 52).substr(19, 62), "." + std::string(60, '#') + ".");
}

// Sized (margins included) before its handle is taken and given back; events run between.
TEST(Draw, OwnSurfaceTakesTheBarcodeSizeAndKeepsTheDrawing) {
    Fixture f(u"A", QvTypeCode39);
    f.control.SetBarWidthSource(kTrue);
    f.control.SetBackgroundWhite(kTrue);
    f.site->notifications.clear();
    SurfaceHandle own = -1;
    EXPECT_EQ(f.control.Draw(own), Variant::FromInt16(0));
    EXPECT_EQ(own, f.control.Pic1().hDC());
    EXPECT_EQ(f.control.BarWidth(), 38);  // the module count, written without notification
    EXPECT_TRUE(f.site->notifications.empty());
    EXPECT_EQ(f.control.Pic1().Width(), 48);
    EXPECT_EQ(f.control.Pic1().Height(), 60);
    EXPECT_EQ(f.site->OuterWidth(), 48 * 15.0f);
    EXPECT_EQ(f.site->OuterHeight(), 60 * 15.0f);
    EXPECT_GE(f.site->pendingEventRuns, 1);
    ASSERT_NE(f.control.Pic1().Picture(), nullptr);
    // The position does not apply: the start character's bars begin at the margin.
    EXPECT_EQ(RowText(*f.control.Pic1().Picture(), 5, 4, 9), ".#..#");
    // The kept drawing survives a later re-creation of the image.
    f.control.Pic1().SetWidth(60);
    EXPECT_EQ(f.control.Pic1().Image().PixelAt(5, 54), surface::kBlack);
}

}  // namespace
}  // namespace qv::control
