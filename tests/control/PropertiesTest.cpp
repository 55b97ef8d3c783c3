#include <gtest/gtest.h>

#include <functional>

#include "control/QvBarCode.h"
#include "support/FixedFont.h"
#include "support/RecordingSite.h"

namespace qv::control {
namespace {

using testing::FixedFont;
using testing::RecordingSite;

struct Fixture {
    std::shared_ptr<RecordingSite> site = std::make_shared<RecordingSite>();
    QvBarCode control{site, std::make_shared<FixedFont>()};
};

TEST(Properties, FreshControlStartsEmptyZeroAndFalse) {
    Fixture f;
    const QvBarCode& c = f.control;
    EXPECT_TRUE(c.Text().empty());
    EXPECT_TRUE(c.ErrorDescription().empty());
    EXPECT_EQ(c.BarCodeType(), QvTypeInterleaved2of5);
    EXPECT_EQ(c.PositionX() | c.PositionY() | c.BarHeight() | c.BarWidth(), 0);
    EXPECT_EQ(c.BarWidthSource() | c.BackgroundWhite() | c.ShowValue() | c.CalculateCheckDigit() |
                  c.ErrorFound(),
              kFalse);
    EXPECT_FALSE(c.DrawsOnOwnSurface());
    EXPECT_TRUE(c.TextToEncode().empty());
    EXPECT_TRUE(f.site->notifications.empty());
}

TEST(Properties, SettersStoreUncheckedAndNotifyByName) {
    struct Case {
        std::function<void(QvBarCode&)> set;
        std::function<bool(const QvBarCode&)> stored;
        const char* name;
    };
    const Case cases[] = {
        {[](QvBarCode& c) { c.SetText(u"  12 "); }, [](auto& c) { return c.Text() == u"  12 "; },
         "Text"},
        {[](QvBarCode& c) { c.SetBarCodeType(9); }, [](auto& c) { return c.BarCodeType() == 9; },
         "BarCodeType"},
        {[](QvBarCode& c) { c.SetPositionX(-3); }, [](auto& c) { return c.PositionX() == -3; },
         "PositionX"},
        {[](QvBarCode& c) { c.SetPositionY(7); }, [](auto& c) { return c.PositionY() == 7; },
         "PositionY"},
        {[](QvBarCode& c) { c.SetBarHeight(-1); }, [](auto& c) { return c.BarHeight() == -1; },
         "BarHeight"},
        {[](QvBarCode& c) { c.SetBarWidth(-5); }, [](auto& c) { return c.BarWidth() == -5; },
         "BarWidth"},
        {[](QvBarCode& c) { c.SetBarWidthSource(1); },
         [](auto& c) { return c.BarWidthSource() == 1; }, "BarWidthSource"},
        {[](QvBarCode& c) { c.SetBackgroundWhite(kTrue); },
         [](auto& c) { return c.BackgroundWhite() == kTrue; }, "BackgroundWhite"},
        {[](QvBarCode& c) { c.SetShowValue(2); }, [](auto& c) { return c.ShowValue() == 2; },
         "ShowValue"},
        {[](QvBarCode& c) { c.SetCalculateCheckDigit(kTrue); },
         [](auto& c) { return c.CalculateCheckDigit() == kTrue; }, "CalculateCheckDigit"},
    };
    for (const Case& test : cases) {
        Fixture f;
        test.set(f.control);
        EXPECT_TRUE(test.stored(f.control)) << test.name;
        EXPECT_EQ(f.site->notifications, std::vector<std::string>{test.name});
        // The same value again still tells the host.
        test.set(f.control);
        EXPECT_EQ(f.site->notifications.size(), 2u) << test.name;

        // A failing notification fails the setter, with the value already stored.
        Fixture failing;
        failing.site->failNotifications = true;
        EXPECT_THROW(test.set(failing.control), component::FailedCall) << test.name;
        EXPECT_TRUE(test.stored(failing.control)) << test.name;
    }
}

}  // namespace
}  // namespace qv::control
