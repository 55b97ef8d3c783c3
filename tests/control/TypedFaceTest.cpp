// SPDX-License-Identifier: MIT
// The control's members in C++ types against their automation twins: each stores, reads and
// draws what its twin does, tells the host the same, and is refused on another thread with
// nothing changed.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <qvbarcode/control/PropertyTable.h>
#include <qvbarcode/control/QvBarCode.h>
#include "support/FailureOf.h"
#include "support/RecordingSite.h"

namespace qv::control {
namespace {

using Action = std::function<void(QvBarCode&)>;

// What a host can see of a control: every property read by name, and what it was told.
struct Seen {
    std::vector<host::Variant> properties;
    std::vector<std::string> notifications;
    bool operator==(const Seen&) const = default;
};

Seen SeenOf(const QvBarCode& control, const testing::RecordingSite& site) {
    Seen seen{{}, site.notifications};
    for (const PropertyRow& row : kProperties) seen.properties.push_back(row.Read(control));
    return seen;
}

Seen AfterAction(const Action& action) {
    auto site = std::make_shared<testing::RecordingSite>();
    QvBarCode control(site);
    control.SetShowValue(kTrue);  // so that setting false changes something
    action(control);
    return SeenOf(control, *site);
}

TEST(TypedFace, SettersStoreAndNotifyAsTheirTwins) {
    struct Case {
        const char* why;
        Action typed;
        Action twin;
    };
    const Case cases[] = {
        {"UTF-8 text", [](QvBarCode& c) { c.SetText("Größe 12"); },
         [](QvBarCode& c) { c.SetText(u"Größe 12"); }},
        {"ill-formed UTF-8 becomes U+FFFD", [](QvBarCode& c) { c.SetText(std::string("\xff 1")); },
         [](QvBarCode& c) { c.SetText(u"\uFFFD 1"); }},
        {"a symbology", [](QvBarCode& c) { c.SetBarCodeType(BarcodeType::Ean13); },
         [](QvBarCode& c) { c.SetBarCodeType(QvTypeEan13); }},
        {"a number no symbology has is kept",
         [](QvBarCode& c) { c.SetBarCodeType(static_cast<BarcodeType>(-9)); },
         [](QvBarCode& c) { c.SetBarCodeType(-9); }},
        {"true is kTrue", [](QvBarCode& c) { c.SetBarWidthSource(true); },
         [](QvBarCode& c) { c.SetBarWidthSource(kTrue); }},
        {"true is kTrue", [](QvBarCode& c) { c.SetBackgroundWhite(true); },
         [](QvBarCode& c) { c.SetBackgroundWhite(kTrue); }},
        {"false is kFalse", [](QvBarCode& c) { c.SetShowValue(false); },
         [](QvBarCode& c) { c.SetShowValue(kFalse); }},
        {"true is kTrue", [](QvBarCode& c) { c.SetCalculateCheckDigit(true); },
         [](QvBarCode& c) { c.SetCalculateCheckDigit(kTrue); }},
        // An int still takes the automation setter, which keeps the value as it is.
        {"an int stays an automation Boolean", [](QvBarCode& c) { c.SetShowValue(1); },
         [](QvBarCode& c) { c.SetShowValue(AutomationBool{1}); }},
    };
    for (const Case& c : cases) {
        const Seen typed = AfterAction(c.typed);
        EXPECT_EQ(typed, AfterAction(c.twin)) << c.why;
        EXPECT_EQ(typed.notifications.size(), 2u) << c.why;
    }
}

TEST(TypedFace, GettersReadWhatTheTwinsHold) {
    QvBarCode control;
    control.SetText(u"Größe");
    control.SetBarCodeType(7);
    control.SetBarWidthSource(AutomationBool{1});  // any value but kFalse reads true
    control.SetBackgroundWhite(kFalse);
    control.SetShowValue(kTrue);
    control.SetCalculateCheckDigit(kFalse);
    EXPECT_EQ(control.TextUtf8(), "Größe");
    EXPECT_EQ(control.BarCodeTypeEnum(), static_cast<BarcodeType>(7));
    EXPECT_EQ((std::vector{control.IsBarWidthSource(), control.IsBackgroundWhite(),
                           control.IsShowValue(), control.IsCalculateCheckDigit()}),
              (std::vector{true, false, true, false}));
    EXPECT_FALSE(control.IsErrorFound());
    EXPECT_EQ(control.ErrorDescriptionUtf8(), "");
    surface::RasterSurface picture(300, 80);
    EXPECT_EQ(control.Draw(picture), ResultCode::InvalidBarcodeType);
    EXPECT_TRUE(control.IsErrorFound());
    EXPECT_EQ(control.ErrorDescriptionUtf8(), "Invalid Barcode Type");
}

// Draw on a surface gives the code, error state and pixels Draw on the surface's handle gives.
TEST(TypedFace, DrawOnASurfaceIsDrawOnItsHandle) {
    struct Case {
        std::u16string text;
        std::int32_t type;
        std::int32_t barWidth;
        ResultCode code;
    };
    const Case cases[] = {
        {u"4006381333931", QvTypeEan13, 200, ResultCode::Drawn},
        {u"   ", QvTypeEan13, 200, ResultCode::BlankText},
        {u"1234", 4, 200, ResultCode::InvalidBarcodeType},
        {u"12a4", QvTypeInterleaved2of5, 200, ResultCode::InvalidCharacter},
        {u"4006381333931", QvTypeEan13, 90, ResultCode::NotEnoughWidth},
        {u"123", QvTypeInterleaved2of5, 200, ResultCode::InvalidLength},
    };
    for (const Case& c : cases) {
        std::vector<surface::RasterSurface> pictures;
        std::vector<std::u16string> messages;
        for (const bool typed : {true, false}) {
            QvBarCode control;
            control.SetText(c.text);
            control.SetBarCodeType(c.type);
            control.SetBarWidth(c.barWidth);
            control.SetBarHeight(60);
            control.SetPositionX(10);
            control.SetShowValue(kTrue);
            auto picture = std::make_shared<surface::RasterSurface>(220, 80);
            if (typed) {
                EXPECT_EQ(control.Draw(*picture), c.code) << c.barWidth;
            } else {
                const surface::ScopedSurfaceHandle handle(picture);
                surface::SurfaceHandle hdc = handle.get();
                EXPECT_EQ(control.Draw(hdc).AsInt16(), static_cast<std::int16_t>(c.code));
            }
            EXPECT_EQ(control.PositionX(), 10);
            pictures.push_back(*picture);
            messages.push_back(control.ErrorDescription());
        }
        EXPECT_EQ(pictures[0].ContiguousPixels(), pictures[1].ContiguousPixels());
        EXPECT_EQ(messages[0], messages[1]);
    }
}

TEST(TypedFace, AnotherThreadIsRefusedAndChangesNothing) {
    surface::RasterSurface picture(220, 80);
    const std::pair<const char*, Action> calls[] = {
        {"SetText", [](QvBarCode& c) { c.SetText("1234"); }},
        {"TextUtf8", [](QvBarCode& c) { (void)c.TextUtf8(); }},
        {"ErrorDescriptionUtf8", [](QvBarCode& c) { (void)c.ErrorDescriptionUtf8(); }},
        {"SetBarCodeType", [](QvBarCode& c) { c.SetBarCodeType(BarcodeType::Code39); }},
        {"BarCodeTypeEnum", [](QvBarCode& c) { (void)c.BarCodeTypeEnum(); }},
        {"SetBarWidthSource", [](QvBarCode& c) { c.SetBarWidthSource(true); }},
        {"SetBackgroundWhite", [](QvBarCode& c) { c.SetBackgroundWhite(true); }},
        {"SetShowValue", [](QvBarCode& c) { c.SetShowValue(false); }},
        {"SetCalculateCheckDigit", [](QvBarCode& c) { c.SetCalculateCheckDigit(true); }},
        {"IsBarWidthSource", [](QvBarCode& c) { (void)c.IsBarWidthSource(); }},
        {"IsBackgroundWhite", [](QvBarCode& c) { (void)c.IsBackgroundWhite(); }},
        {"IsShowValue", [](QvBarCode& c) { (void)c.IsShowValue(); }},
        {"IsCalculateCheckDigit", [](QvBarCode& c) { (void)c.IsCalculateCheckDigit(); }},
        {"IsErrorFound", [](QvBarCode& c) { (void)c.IsErrorFound(); }},
        {"Draw(surface)", [&picture](QvBarCode& c) { (void)c.Draw(picture); }},
    };
    for (const auto& [name, call] : calls) {
        auto site = std::make_shared<testing::RecordingSite>();
        QvBarCode control(site);
        control.SetText(u"40063813339");
        control.SetShowValue(kTrue);
        const Seen before = SeenOf(control, *site);
        const std::vector<std::uint8_t> pixels = picture.ContiguousPixels();
        std::optional<host::FailureReason> reason;
        std::thread([&] { reason = testing::FailureOf([&] { call(control); }); }).join();
        EXPECT_EQ(reason, host::FailureReason::WrongThread) << name;
        EXPECT_EQ(SeenOf(control, *site), before) << name;
        EXPECT_EQ(picture.ContiguousPixels(), pixels) << name;
    }
}

}  // namespace
}  // namespace qv::control
