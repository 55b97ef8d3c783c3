// SPDX-License-Identifier: MIT
// A host's own sites for the control and the page, given through the library's exports as
// tables of C callbacks with a context pointer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "support/LoadedComponent.h"

namespace qv::component {
namespace {

using testing::Bool, testing::Text;

// What a C host hears and answers; its callbacks find it through the context pointer.
struct HostRecord {
    std::vector<std::string> heard;
    std::int32_t answer = 0;                 // what every callback that hears returns
    float width = 1460.0f, height = 760.0f;  // outer size, at 10 host units per pixel
    const char* language = "English";

    std::int32_t Hear(std::string what) {
        heard.push_back(std::move(what));
        return answer;
    }
};

HostRecord& Of(void* context) {
    return *static_cast<HostRecord*>(context);
}

QvControlSite SiteFor() {
    QvControlSite site{};
    site.propertyChanged = [](void* c, const char* name) { return Of(c).Hear(name); };
    site.setDisplaySetting = [](void* c, std::int16_t on) {
        return Of(c).Hear("display " + std::to_string(on));
    };
    site.processPendingEvents = [](void* c) { return Of(c).Hear("pending"); };
    site.getOuterSize = [](void* c, float* width, float* height) {
        *width = Of(c).width;
        *height = Of(c).height;
        return 0;
    };
    site.setOuterSize = [](void* c, float width, float height) {
        Of(c).width = width;
        Of(c).height = height;
        return 0;
    };
    site.getInnerSize = [](void* c, std::int32_t* width, std::int32_t* height) {
        *width = static_cast<std::int32_t>(std::lround(Of(c).width / 10));
        *height = static_cast<std::int32_t>(std::lround(Of(c).height / 10));
        return 0;
    };
    site.getLanguageName = [](void* c, char* name, std::uint32_t capacity) -> std::int32_t {
        return std::snprintf(name, capacity, "%s", Of(c).language) < 0;
    };
    return site;
}

struct Sited {
    testing::LoadedComponent& library;
    HostRecord host;
    testing::Object control{library.Create(QV_CLSID_QVBARCODE, QV_IID_QVBARCODE)};
    QvControlSite site = SiteFor();
    explicit Sited(testing::LoadedComponent& l) : library(l) {
        EXPECT_EQ(library.setSite(control.get(), &site, &host), QV_S_OK);
    }
};

class HostSite : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(library.handle) << dlerror(); }
    testing::LoadedComponent library;
};

// A host may let go of its last reference from a callback inside a call, here while Draw lets
// it process its events: the library holds one of its own until the call ends. (The callback
// reports a failure when it was the last.)
TEST_F(HostSite, ACallbackMayReleaseTheControlDuringTheCall) {
    testing::Object control(library.Create(QV_CLSID_QVBARCODE, QV_IID_QVBARCODE));
    control.SetEan13();
    QvControlSite site{};
    site.processPendingEvents = [](void* c) {
        return static_cast<std::int32_t>(static_cast<testing::Object*>(c)->Release()) - 1;
    };
    ASSERT_EQ(library.setSite(control.get(), &site, &control), QV_S_OK);
    std::int32_t hdc = -1;
    EXPECT_EQ(control.Draw(hdc), 0);
    EXPECT_EQ(library.canUnloadNow(), QV_S_OK);
}

// A host that answers the notification with a failure fails the setter after the value is
// stored, a Boolean of 5 kept as it came. Drawing on the own surface asks the host's services:
// display, pending events, the size the control follows at the host's ratio, and the language
// of a failure's message.
TEST_F(HostSite, NotificationsDrawingUseTheHostsAnswersSizeEventsAndLanguage) {
    Sited sited(library);
    sited.host.answer = 7;
    QvCallError error{};
    EXPECT_EQ((std::tuple{sited.control.Let("ShowValue", Bool(5), &error), error.reason}),
              std::tuple(QV_E_FAIL, QV_REASON_PLATFORM_FAILURE));
    EXPECT_STREQ(error.description, "platform failure: the host's propertyChanged returned 7");
    const QvVariant read = sited.control.Get("ShowValue");
    EXPECT_EQ(std::tuple(read.vt, read.i2), std::tuple(QV_VT_BOOL, 5));
    EXPECT_EQ(sited.host.heard, std::vector<std::string>{"ShowValue"});

    sited.host.answer = 0;
    sited.control.SetEan13();
    sited.host.heard.clear();
    std::int32_t hdc = -1;
    EXPECT_EQ(sited.control.Draw(hdc), 0);
    EXPECT_EQ(sited.host.heard, (std::vector<std::string>{"display 1", "pending"}));
    // 95 modules of 3 pixels and two 5-pixel margins, by 100 pixels, at 10 units a pixel.
    EXPECT_EQ(std::tuple(sited.host.width, sited.host.height), std::tuple(2950.0f, 1000.0f));

    std::u16string letters = u"12a";
    sited.control.Let("Text", Text(letters));
    sited.host.language = "SPANISH";
    EXPECT_EQ(sited.control.Draw(hdc), 1101);
    EXPECT_EQ(sited.control.ReadText(library, "ErrorDescription"),
              u"Se encontro un caracter NO Valido Contenido en el texto a Codificar");

    // A table with only some size callbacks, and an object that is no control, are refused.
    QvControlSite partial = SiteFor();
    partial.setOuterSize = nullptr;
    EXPECT_EQ(library.setSite(sited.control.get(), &partial, &sited.host), QV_E_INVALIDARG);
    testing::Object page(library.Create(QV_CLSID_QVBARCODEPP, QV_IID_QVBARCODEPP));
    EXPECT_EQ((std::tuple{library.setSite(page.get(), &sited.site, &sited.host),
                          library.setSite(nullptr, &sited.site, &sited.host)}),
              std::tuple(QV_E_INVALIDARG, QV_E_POINTER));
}

// The page loads the first of two selected controls, hears Changed, runs its operations, and
// applies to the first alone through its dispatch interface; closing it reports the failure.
TEST_F(HostSite, PageOverTwoSelectedControlsLoadsAndAppliesTheFirst) {
    Sited first(library), second(library);
    std::u16string letters = u"12a", digits = u"999";
    first.control.Let("Text", Text(letters));
    first.control.Let("BarWidthSource", Bool(-1));
    second.control.Let("Text", Text(digits));
    first.host.heard.clear();

    HostRecord pageHost;
    QvPageSite pageSite{};
    pageSite.changed = [](void* c, std::int32_t on) {
        return Of(c).Hear("changed " + std::to_string(on));
    };
    pageSite.showMessageBox = [](void* c, const char* text, std::int32_t style) {
        return Of(c).Hear(text + (" " + std::to_string(style)));
    };
    testing::Object page(library.Create(QV_CLSID_QVBARCODEPP, QV_IID_QVBARCODEPP));
    QvDispatch* selected[] = {first.control.get(), second.control.get()};
    ASSERT_EQ(library.setPageSite(page.get(), &pageSite, &pageHost, selected, 2, nullptr), QV_S_OK);
    EXPECT_EQ(pageHost.heard.at(0), "changed 1");
    std::u16string width = u"W";
    QvVariant flag = Text(width);
    for (const char* operation : {"EnableDisableOK", "Translate", "AllowOnlyNumbers"})
        EXPECT_EQ(page.Invoke(operation, QV_DISPATCH_METHOD, *operation == 'A' ? &flag : nullptr),
                  QV_S_OK);
    EXPECT_EQ(width, u"W");

    EXPECT_EQ(library.applyPage(page.get(), nullptr), QV_S_OK);
    EXPECT_EQ(first.host.heard,
              (std::vector<std::string>{"CalculateCheckDigit", "ShowValue", "BackgroundWhite",
                                        "BarWidthSource", "BarWidth", "BarHeight", "Text",
                                        "BarCodeType", "display 1"}));
    EXPECT_EQ(first.control.Get("ErrorFound").i2, -1);
    EXPECT_EQ(second.host.heard, std::vector<std::string>{"Text"});  // its own setter's alone

    QvCallError error{};
    QvDispatch* notAControl[] = {page.get()};
    QvDispatch* none[] = {nullptr};
    EXPECT_EQ(
        (std::tuple{library.setPageSite(page.get(), &pageSite, &pageHost, notAControl, 1, &error),
                    library.setPageSite(page.get(), &pageSite, &pageHost, none, 1, &error),
                    library.setPageSite(nullptr, &pageSite, &pageHost, selected, 2, &error),
                    library.applyPage(first.control.get(), nullptr),
                    library.applyPage(nullptr, nullptr)}),
        std::tuple(QV_E_INVALIDARG, QV_E_POINTER, QV_E_POINTER, QV_E_INVALIDARG, QV_E_POINTER));
    pageHost.heard.clear();
    page.Release();
    EXPECT_EQ(
        pageHost.heard,
        (std::vector<std::string>{"ERROR: 1101\r\nInvalid Character Found In Barcode Text 16"}));
}

}  // namespace
}  // namespace qv::component
