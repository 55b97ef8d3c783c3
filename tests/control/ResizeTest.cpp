#include <gtest/gtest.h>

#include "control/QvBarCode.h"
#include "support/FailureOf.h"
#include "support/FixedFont.h"
#include "support/PixelText.h"

namespace qv::control {
namespace {

TEST(Resize, ControlFollowsEverySurfaceSizeChangeItCanTake) {
    auto site = std::make_shared<host::StandaloneSite>();
    QvBarCode control(site, std::make_shared<testing::FixedFont>());
    EXPECT_EQ(control.Pic1().Width(), 146);
    EXPECT_EQ(control.Pic1().Height(), 76);
    control.Pic1().SetWidth(100);
    EXPECT_EQ(site->OuterWidth(), 1500.0f);
    EXPECT_EQ(site->OuterHeight(), 1140.0f);  // recomputed from the unchanged height
    control.Pic1().SetWidth(260);
    control.Pic1().SetHeight(80);
    EXPECT_EQ(site->OuterWidth(), 3900.0f);
    EXPECT_EQ(site->OuterHeight(), 1200.0f);

    // A refused size leaves the surface as it was; the width before it was taken.
    const auto handle = control.Pic1().hDC();
    EXPECT_EQ(testing::FailureOf([&] { control.Pic1().SetWidth(-1); }),
              host::FailureReason::InvalidValue);
    control.Pic1().SetWidth(70000);
    EXPECT_EQ(testing::FailureOf([&] { control.Pic1().SetHeight(70000); }),
              host::FailureReason::OutOfMemory);
    EXPECT_EQ(control.Pic1().Height(), 80);
    EXPECT_NE(control.Pic1().hDC(), handle);  // the width change re-created the image
    EXPECT_EQ(site->OuterWidth(), 70000.0f * 15);
}

// The units per pixel are the outer size over the inner one before the change, rounded half
// to even; skipped while the control has no inner area or the ratio passes 16 bits.
TEST(Resize, RatioIsRoundedHalfToEvenOrSkipped) {
    struct Case {
        float unitsPerPixel, outerWidth, widthAfter;
    };
    const Case cases[] = {
        {14.5f, 1450.0f, 14 * 50.0f},  // inner 100: 14.5 -> 14
        {15.5f, 1550.0f, 16 * 50.0f},  // 15.5 -> 16
        {1.0f, 100.0f, 50.0f},
        {15.0f, 0.0f, 0.0f},
        {40000.0f, 40000.0f * 100, 40000.0f * 100},
    };
    for (const Case& c : cases) {
        auto site = std::make_shared<host::StandaloneSite>(c.unitsPerPixel);
        QvBarCode control(site, std::make_shared<testing::FixedFont>());
        site->SetOuterSize(c.outerWidth, 76 * c.unitsPerPixel);
        control.Pic1().SetWidth(50);
        EXPECT_EQ(site->OuterWidth(), c.widthAfter) << c.unitsPerPixel;
        EXPECT_EQ(control.Pic1().Width(), 50);
    }
}

TEST(Resize, EmptyPictureLeavesOnlyTheBackground) {
    QvBarCode control(std::make_shared<host::StandaloneSite>(),
                      std::make_shared<testing::FixedFont>());
    const auto& image = control.Pic1().Image();
    EXPECT_NE(testing::RowText(image, 30).find('#'), std::string::npos);
    control.Pic1().SetPicture(nullptr);
    EXPECT_EQ(testing::RowText(image, 30).find_first_not_of('.'), std::string::npos);
}

}  // namespace
}  // namespace qv::control
