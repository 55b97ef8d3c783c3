// The control and the page reached through their dispatch tables, as a host reaches them.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "component/ClassFactory.h"
#include "component/ControlDispatch.h"
#include "component/Identifiers.h"
#include "component/PageDispatch.h"
#include "support/FixedFont.h"
#include "support/RecordingSite.h"
#include "symbology/RasterSurface.h"
#include "symbology/SurfaceHandles.h"

namespace qv::component {
namespace {

using control::QvBarCode;

struct Fixture {
    std::shared_ptr<testing::RecordingSite> site = std::make_shared<testing::RecordingSite>();
    std::shared_ptr<QvBarCode> control =
        std::make_shared<QvBarCode>(site, std::make_shared<testing::FixedFont>(40.0f, 13.0f));
    ControlDispatch dispatch{control};

    CallResult Invoke(DispatchId id, MemberKind kind, std::vector<Variant> args = {}) {
        return dispatch.Invoke(id, kind, args);
    }
};

TEST(Dispatch, EveryPropertyRoundTripsByIdAndNotifiesByName) {
    struct Case {
        DispatchId id;
        const char* name;
        Variant given;
        Variant read;
    };
    const Case cases[] = {
        {0x6803000B, "Text", Variant::FromText(u" 12 "), Variant::FromText(u" 12 ")},
        {0x6803000A, "BarCodeType", Variant::FromInt32(9), Variant::FromInt32(9)},
        {0x68030009, "PositionX", Variant::FromInt16(-40), Variant::FromInt32(-40)},
        {0x68030008, "PositionY", Variant::FromText(u" 20 "), Variant::FromInt32(20)},
        {0x68030007, "BarHeight", Variant::FromText(u"2.5"), Variant::FromInt32(2)},
        {0x68030006, "BarWidth", Variant::FromText(u"-3.5"), Variant::FromInt32(-4)},
        {0x68030005, "BarWidthSource", Variant::FromBool(true), Variant::FromBool(true)},
        {0x68030004, "BackgroundWhite", Variant::FromText(u"true"), Variant::FromBool(true)},
        {0x68030003, "ShowValue", Variant::FromInt16(5), Variant::FromBool(true)},
        {0x68030000, "CalculateCheckDigit", Variant::FromText(u"0"), Variant::FromBool(false)},
    };
    for (const Case& c : cases) {
        Fixture f;
        ASSERT_TRUE(f.Invoke(c.id, MemberKind::Let, {c.given}).ok()) << c.name;
        EXPECT_EQ(f.Invoke(c.id, MemberKind::Get).value, c.read) << c.name;
        EXPECT_EQ(f.dispatch.Get(c.name).value, c.read) << c.name;
        EXPECT_EQ(f.site->notifications, std::vector<std::string>{c.name}) << c.name;
    }
    EXPECT_EQ(Fixture().control->ShowValue(), control::kFalse);
}

TEST(Dispatch, NamesAreFoundWithoutRegardToCase) {
    Fixture f;
    EXPECT_TRUE(f.dispatch.Let("barcodetype", Variant::FromInt32(2)).ok());
    EXPECT_EQ(f.dispatch.Get("BARCODETYPE").value, Variant::FromInt32(2));
    EXPECT_EQ(FindDispatchId(QvBarCodeInterface(), "draw"), 0x6003000D);
    EXPECT_EQ(FindDispatchId(QvBarCodePPInterface(), "allowonlynumbers"), 0x6003000E);
}

TEST(Dispatch, RefusedCallsStoreNothingAndReportTheirStatus) {
    const auto kMaxPlusOne = u"2147483648";
    struct Case {
        const char* what;
        DispatchId id;
        MemberKind kind;
        std::vector<Variant> args;
        Status status;
        std::optional<FailureReason> reason;
    };
    const Case cases[] = {
        {"a text that is no number",
         0x68030006,
         MemberKind::Let,
         {Variant::FromText(u"12a")},
         kInvalidArgument,
         FailureReason::InvalidValue},
        {"an empty text",
         0x68030007,
         MemberKind::Let,
         {Variant::FromText(u"")},
         kInvalidArgument,
         FailureReason::InvalidValue},
        {"a text beyond 32 bits",
         0x68030009,
         MemberKind::Let,
         {Variant::FromText(kMaxPlusOne)},
         kOverflow,
         FailureReason::Overflow},
        {"a thousand digits",
         0x68030009,
         MemberKind::Let,
         {Variant::FromText(std::u16string(1000, u'9'))},
         kOverflow,
         FailureReason::Overflow},
        {"a Boolean from a word",
         0x68030005,
         MemberKind::Let,
         {Variant::FromText(u"yes")},
         kInvalidArgument,
         FailureReason::InvalidValue},
        {"a read-only property",
         0x68030002,
         MemberKind::Let,
         {Variant::FromBool(true)},
         kMemberNotFound,
         std::nullopt},
        {"an unknown id", 0x12345678, MemberKind::Get, {}, kMemberNotFound, std::nullopt},
        {"a getter with an argument",
         0x6803000B,
         MemberKind::Get,
         {Variant::FromInt32(1)},
         kBadParameterCount,
         std::nullopt},
        {"a setter without its value",
         0x6803000B,
         MemberKind::Let,
         {},
         kParameterNotOptional,
         std::nullopt},
        {"Draw with two arguments",
         0x6003000D,
         MemberKind::Method,
         {Variant::FromInt32(-1), Variant::FromInt32(-1)},
         kBadParameterCount,
         std::nullopt},
    };
    for (const Case& c : cases) {
        Fixture f;
        const CallResult result = f.Invoke(c.id, c.kind, c.args);
        EXPECT_EQ(result.status, c.status) << c.what;
        EXPECT_EQ(result.reason, c.reason) << c.what;
        EXPECT_TRUE(f.site->notifications.empty()) << c.what;
        EXPECT_EQ(f.control->BarWidth(), 0) << c.what;
        EXPECT_EQ(f.control->PositionX(), 0) << c.what;
    }
    Fixture f;
    EXPECT_EQ(f.dispatch.Get("NoSuchProperty").status, kUnknownName);
    // Callers inside the library get the refusal back as the failed call it stands for.
    try {
        ValueOrThrow(f.dispatch.Get("NoSuchProperty"));
        ADD_FAILURE() << "unknown member read";
    } catch (const FailedCall& failure) {
        EXPECT_EQ(failure.reason(), FailureReason::InvalidValue);
    }
    EXPECT_EQ(ValueOrThrow(f.dispatch.Get("BarWidth")), Variant::FromInt32(0));
}

TEST(Dispatch, AHostThatRefusesTheNotificationFailsTheSetterWithTheValueStored) {
    Fixture f;
    f.site->failNotifications = true;
    const CallResult result = f.dispatch.Let("Text", Variant::FromText(u"12"));
    EXPECT_EQ(result.status, kFail);
    EXPECT_EQ(result.reason, FailureReason::PlatformFailure);
    EXPECT_EQ(f.control->Text(), u"12");
}

TEST(Dispatch, DrawReturnsA16BitResultAndWritesTheOwnSurfaceBack) {
    Fixture f;
    f.dispatch.Let("Text", Variant::FromText(u"1234"));
    f.dispatch.Let("BarWidthSource", Variant::FromBool(true));

    const CallResult omitted = f.dispatch.Call("Draw");
    ASSERT_TRUE(omitted.ok()) << omitted.description;
    EXPECT_EQ(omitted.value, Variant::FromInt16(0));

    std::vector<Variant> byReference{Variant::FromInt32(-1)};
    const CallResult drawn = f.dispatch.Call("Draw", byReference);
    EXPECT_EQ(drawn.value, Variant::FromInt16(0));
    EXPECT_EQ(byReference[0], Variant::FromInt32(f.control->Pic1().hDC()));
    EXPECT_NE(byReference[0], Variant::FromInt32(-1));

    f.dispatch.Let("BarCodeType", Variant::FromInt32(7));
    std::vector<Variant> emptyArgument{Variant()};
    EXPECT_EQ(f.dispatch.Call("Draw", emptyArgument).value, Variant::FromInt16(1100));
    EXPECT_TRUE(emptyArgument[0].IsEmpty());
    EXPECT_EQ(f.dispatch.Get("ErrorFound").value, Variant::FromBool(true));
    EXPECT_EQ(f.dispatch.Get("ErrorDescription").value, Variant::FromText(u"Invalid Barcode Type"));
}

TEST(Dispatch, AnOverflowInsideDrawIsAStatusAndLeavesStateAndHandleAlone) {
    Fixture f;
    f.dispatch.Let("Text", Variant::FromText(u"   "));
    ASSERT_EQ(f.dispatch.Call("Draw").value, Variant::FromInt16(1104));
    f.dispatch.Let("Text", Variant::FromText(u"1234567890"));
    f.dispatch.Let("BarWidth", Variant::FromInt32(200));
    f.dispatch.Let("BarHeight", Variant::FromInt32(60));
    f.dispatch.Let("PositionX", Variant::FromInt32(std::numeric_limits<std::int32_t>::max() - 5));
    symbology::ScopedSurfaceHandle handle(std::make_shared<symbology::RasterSurface>(50, 50));
    std::vector<Variant> hdc{Variant::FromInt32(handle.get())};

    const CallResult result = f.dispatch.Call("Draw", hdc);
    EXPECT_EQ(result.status, kOverflow);
    EXPECT_EQ(result.reason, FailureReason::Overflow);
    EXPECT_TRUE(result.value.IsEmpty());
    EXPECT_EQ(hdc[0], Variant::FromInt32(handle.get()));
    EXPECT_EQ(f.control->ErrorDescription(), u"Barcode Text can NOT be Blank");
}

struct RecordingPage : PropertyPageOperations {
    void EnableDisableOK() override { calls.push_back("EnableDisableOK"); }
    void AllowOnlyNumbers(const std::u16string& flag) override {
        calls.push_back(flag == u"W" ? "AllowOnlyNumbers W" : "AllowOnlyNumbers other");
    }
    void Translate() override { throw FailedCall(FailureReason::PlatformFailure, "no locale"); }
    std::vector<std::string> calls;
};

TEST(Dispatch, PageOperationsByNameReturnEmptyAndFailAsStatuses) {
    auto page = std::make_shared<RecordingPage>();
    PageDispatch dispatch(page);
    std::vector<Variant> flag{Variant::FromText(u"W")};

    EXPECT_EQ(dispatch.Call("enabledisableok").value, Variant());
    EXPECT_TRUE(dispatch.Call("AllowOnlyNumbers", flag).ok());
    EXPECT_EQ(flag[0], Variant::FromText(u"W"));
    EXPECT_EQ(dispatch.Call("AllowOnlyNumbers").status, kParameterNotOptional);
    EXPECT_EQ(dispatch.Call("Translate").status, kFail);
    EXPECT_EQ(dispatch.Call("Draw").status, kUnknownName);
    EXPECT_EQ(page->calls, (std::vector<std::string>{"EnableDisableOK", "AllowOnlyNumbers W"}));
}

TEST(Dispatch, FactoryHandsOutBothClassesByNameOnceThePageIsPluggedIn) {
    SetPropertyPageCreator(nullptr);
    EXPECT_EQ(CreateObject("qvbarcodepro.qvbarcode")->Interface().name, "_QvBarCode");
    try {
        CreateObject("QvBarCodePP");
        ADD_FAILURE() << "a page without its creator";
    } catch (const FailedCall& failure) {
        EXPECT_EQ(failure.reason(), FailureReason::PlatformFailure);
    }
    SetPropertyPageCreator([] { return std::make_shared<RecordingPage>(); });
    EXPECT_EQ(CreateObject(kClassIdQvBarCodePP)->Interface().name, "_QvBarCodePP");
    SetPropertyPageCreator(nullptr);
    EXPECT_THROW(CreateObject("QvBarCodeX"), FailedCall);
}

}  // namespace
}  // namespace qv::component
