// SPDX-License-Identifier: MIT
// Controls and pages belong to the thread that made them. A call from another thread raises
// the wrong-thread failed call before it reads or writes anything (ThreadSanitizer would see
// it otherwise), and controls of their own on threads of their own draw side by side.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "control/QvBarCode.h"
#include "host/FailedCall.h"
#include "propertypage/QvBarCodePP.h"

namespace qv::control {
namespace {

std::optional<host::FailureReason> ReasonOnAnotherThread(const std::function<void()>& call) {
    std::optional<host::FailureReason> reason;
    std::thread([&] {
        try {
            call();
        } catch (const host::FailedCall& failure) {
            reason = failure.reason();
        }
    }).join();
    return reason;
}

TEST(OwnerThread, EveryCallFromAnotherThreadFailsAndChangesNothing) {
    QvBarCode control;
    control.SetText(u"400638133393");
    control.SetBarCodeType(QvTypeEan13);
    control.SetCalculateCheckDigit(kTrue);
    control.SetBarWidthSource(kTrue);
    propertypage::QvBarCodePP page(std::make_shared<propertypage::DetachedPageHost>());
    struct Case {
        const char* call;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"SetText", [&] { control.SetText(u"12a"); }},
        {"SetBarCodeType", [&] { control.SetBarCodeType(QvTypeCode39); }},
        {"Text", [&] { (void)control.Text(); }},
        {"ErrorDescription", [&] { (void)control.ErrorDescription(); }},
        {"Draw", [&] { control.Draw(); }},
        {"Plan", [&] { control.Plan(); }},
        {"Pic1", [&] { control.Pic1().SetVisible(false); }},
        {"SetSite", [&] { control.SetSite(std::make_shared<host::StandaloneSite>()); }},
        {"the page's SelectionChanged", [&] { page.SelectionChanged(); }},
        {"the page's Translate", [&] { page.Translate(); }},
        {"the page's OKEnabled", [&] { (void)page.OKEnabled(); }},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReasonOnAnotherThread(c.run), host::FailureReason::WrongThread) << c.call;
    }
    EXPECT_EQ(control.Text(), u"400638133393");
    EXPECT_EQ(control.Draw().AsInt16(), 0);
    EXPECT_EQ(control.Pic1().Width(), 95);
    EXPECT_TRUE(control.Pic1().Visible());
    EXPECT_EQ(page.LanguageCode(), "");
}

// Each thread makes its own control and draws with it 10,000 times, changing the text
// between drawings; every drawing succeeds and the last picture is the one a twin draws.
TEST(OwnerThread, ControlsOfTheirOwnDrawOnSeveralThreads) {
    constexpr int kDraws = 10000;
    std::array<int, 2> failures{};
    std::array<std::optional<surface::RasterSurface>, 2> last;
    auto drawMany = [&](std::size_t thread) {
        QvBarCode control;
        control.SetBarCodeType(QvTypeInterleaved2of5);
        control.SetBarWidthSource(kTrue);
        control.SetBarHeight(20);
        for (int i = 0; i < kDraws; ++i) {
            control.SetText(i % 2 ? u"1234567890" : u"0987654321");
            failures[thread] += control.Draw().AsInt16() != 0;
        }
        last[thread] = control.Pic1().Image();
    };
    std::thread other(drawMany, 1);
    drawMany(0);
    other.join();
    QvBarCode twin;
    twin.SetBarWidthSource(kTrue);
    twin.SetBarHeight(20);
    twin.SetText(u"1234567890");
    ASSERT_EQ(twin.Draw().AsInt16(), 0);
    EXPECT_EQ(failures, (std::array<int, 2>{}));
    for (const auto& picture : last) {
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->ContiguousPixels(), twin.Pic1().Image().ContiguousPixels());
    }
}

}  // namespace
}  // namespace qv::control
