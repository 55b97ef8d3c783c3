#include <gtest/gtest.h>

#include "control/QvBarCode.h"
#include "host/FailedCall.h"
#include "support/FixedFont.h"
#include "support/PixelText.h"

namespace qv::control {
namespace {

std::shared_ptr<host::StandaloneSite> SiteAt(float unitsPerPixel, float width, float height) {
    auto site = std::make_shared<host::StandaloneSite>(unitsPerPixel);
    site->SetOuterSize(width, height);
    return site;
}

TEST(Resize, ControlFollowsEverySurfaceSizeChange) {
    auto site = std::make_shared<host::StandaloneSite>();
    QvBarCode control(site, std::make_shared<testing::FixedFont>());
    EXPECT_EQ(site->OuterWidth(), 2190.0f);
    EXPECT_EQ(control.Pic1().Width(), 146);
    EXPECT_EQ(control.Pic1().Height(), 76);

    control.Pic1().SetWidth(100);
    EXPECT_EQ(site->OuterWidth(), 1500.0f);
    EXPECT_EQ(site->OuterHeight(), 1140.0f);  // recomputed from the unchanged height

    control.Pic1().SetWidth(260);
    control.Pic1().SetHeight(80);
    EXPECT_EQ(site->OuterWidth(), 3900.0f);
    EXPECT_EQ(site->OuterHeight(), 1200.0f);
}

TEST(Resize, RatioIsRoundedHalfToEvenAndTakenBeforeTheChange) {
    struct Case {
        float unitsPerPixel;
        float expectedWidth;
    };
    // Inner 100 pixels; outer 1450 gives 14.5 -> 14, 1550 gives 15.5 -> 16, 100 gives 1.
    for (const Case c : {Case{14.5f, 14 * 50.0f}, Case{15.5f, 16 * 50.0f}, Case{1.0f, 50.0f}}) {
        auto site = SiteAt(c.unitsPerPixel, 100 * c.unitsPerPixel, 76 * c.unitsPerPixel);
        QvBarCode control(site, std::make_shared<testing::FixedFont>());
        site->SetOuterSize(100 * c.unitsPerPixel, 76 * c.unitsPerPixel);
        control.Pic1().SetWidth(50);
        EXPECT_EQ(site->OuterWidth(), c.expectedWidth) << c.unitsPerPixel;
    }
}

TEST(Resize, SkippedWhileTheControlHasNoInnerAreaOrTheRatioIsTooLarge) {
    auto empty = SiteAt(15.0f, 0.0f, 1140.0f);
    QvBarCode control(empty, std::make_shared<testing::FixedFont>());
    control.Pic1().SetWidth(100);
    EXPECT_EQ(empty->OuterWidth(), 0.0f);
    EXPECT_EQ(control.Pic1().Width(), 100);

    auto huge = SiteAt(40000.0f, 40000.0f * 146, 40000.0f * 76);
    QvBarCode wide(huge, std::make_shared<testing::FixedFont>());
    wide.Pic1().SetWidth(10);
    EXPECT_EQ(huge->OuterWidth(), 40000.0f * 146);
}

TEST(Resize, RefusedSurfaceSizesLeaveTheSurfaceAsItWas) {
    auto site = std::make_shared<host::StandaloneSite>();
    QvBarCode control(site, std::make_shared<testing::FixedFont>());
    const auto handle = control.Pic1().hDC();
    EXPECT_THROW(control.Pic1().SetWidth(-1), host::FailedCall);
    try {
        control.Pic1().SetWidth(70000);
        control.Pic1().SetHeight(70000);
        FAIL() << "a 4900 megapixel surface was accepted";
    } catch (const host::FailedCall& failure) {
        EXPECT_EQ(failure.reason(), host::FailureReason::OutOfMemory);
    }
    EXPECT_EQ(control.Pic1().Height(), 76);
    EXPECT_NE(control.Pic1().hDC(), handle);  // the width change re-created the image
    EXPECT_EQ(site->OuterWidth(), 70000.0f * 15);
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
