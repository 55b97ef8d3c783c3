// The control and the page reached through their dispatch tables, as a host reaches them.
#include <gtest/gtest.h>

#include <vector>

#include "component/ClassFactory.h"
#include "component/ControlDispatch.h"
#include "component/Identifiers.h"
#include "component/PageDispatch.h"
#include "support/FailureOf.h"
#include "support/FixedFont.h"
#include "support/RecordingSite.h"

namespace qv::component {
namespace {

using control::QvBarCode;

struct Fixture {
    std::shared_ptr<testing::RecordingSite> site = std::make_shared<testing::RecordingSite>();
    std::shared_ptr<QvBarCode> control =
        std::make_shared<QvBarCode>(site, std::make_shared<testing::FixedFont>(40.0f, 13.0f));
    ControlDispatch dispatch{control};

    host::CallResult Invoke(host::DispatchId id, host::MemberKind kind,
                            std::vector<host::Variant> args = {}) {
        return dispatch.Invoke(id, kind, args);
    }
};

host::Variant Text(std::u16string text) {
    return host::Variant::FromText(std::move(text));
}
host::Variant Int(std::int32_t value) {
    return host::Variant::FromInt32(value);
}
host::Variant Bool(bool value) {
    return host::Variant::FromBool(value);
}

// Setters store without checks and tell the host every time, even the same value again; a host
// that refuses the notification fails the setter, with the value already stored.
TEST(Dispatch, EveryPropertyStartsEmptyRoundTripsAndNotifiesByName) {
    struct Case {
        host::DispatchId id;
        const char* name;
        host::Variant initial, given, read;
    };
    const Case cases[] = {
        {0x6803000B, "Text", Text(u""), Text(u" 12 "), Text(u" 12 ")},
        {0x6803000A, "BarCodeType", Int(0), Int(9), Int(9)},
        {0x68030009, "PositionX", Int(0), host::Variant::FromInt16(-40), Int(-40)},
        {0x68030008, "PositionY", Int(0), Text(u" 20 "), Int(20)},
        {0x68030007, "BarHeight", Int(0), Text(u"2.5"), Int(2)},
        {0x68030006, "BarWidth", Int(0), Text(u"-3.5"), Int(-4)},
        {0x68030005, "BarWidthSource", Bool(false), Bool(true), Bool(true)},
        {0x68030004, "BackgroundWhite", Bool(false), Text(u"true"), Bool(true)},
        {0x68030003, "ShowValue", Bool(false), host::Variant::FromInt16(5), Bool(true)},
        {0x68030000, "CalculateCheckDigit", Bool(false), Text(u"0"), Bool(false)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        EXPECT_EQ(f.dispatch.Get(c.name).value, c.initial);
        ASSERT_TRUE(f.Invoke(c.id, host::MemberKind::Let, {c.given}).ok());
        ASSERT_TRUE(f.Invoke(c.id, host::MemberKind::Let, {c.given}).ok());
        EXPECT_EQ(f.Invoke(c.id, host::MemberKind::Get).value, c.read);
        EXPECT_EQ(f.dispatch.Get(c.name).value, c.read);
        EXPECT_EQ(f.site->notifications, (std::vector<std::string>{c.name, c.name}));

        Fixture refusing;
        refusing.site->failNotifications = true;
        const host::CallResult refused = refusing.Invoke(c.id, host::MemberKind::Let, {c.given});
        EXPECT_EQ(refused.status, host::kFail);
        EXPECT_EQ(refused.reason, host::FailureReason::PlatformFailure);
        EXPECT_EQ(refusing.dispatch.Get(c.name).value, c.read);
    }
    Fixture f;
    EXPECT_EQ(f.dispatch.Get("ErrorFound").value, Bool(false));
    EXPECT_EQ(f.dispatch.Get("ErrorDescription").value, Text(u""));
}

TEST(Dispatch, NamesAreFoundWithoutRegardToCase) {
    Fixture f;
    EXPECT_TRUE(f.dispatch.Let("barcodetype", Int(2)).ok());
    EXPECT_EQ(f.dispatch.Get("BARCODETYPE").value, Int(2));
}

TEST(Dispatch, RefusedCallsStoreNothingAndReportTheirStatus) {
    using enum host::MemberKind;
    constexpr auto kInvalid = host::FailureReason::InvalidValue;
    constexpr auto kTooBig = host::FailureReason::Overflow;
    const std::optional<host::FailureReason> kNone;
    struct Case {
        const char* what;
        host::DispatchId id;
        host::MemberKind kind;
        std::vector<host::Variant> args;
        host::Status status;
        std::optional<host::FailureReason> reason;
    };
    const Case cases[] = {
        {"a text that is no number",
         0x68030006,
         Let,
         {Text(u"12a")},
         host::kInvalidArgument,
         kInvalid},
        {"an empty text", 0x68030007, Let, {Text(u"")}, host::kInvalidArgument, kInvalid},
        {"a text beyond 32 bits", 0x68030009, Let, {Text(u"2147483648")}, host::kOverflow, kTooBig},
        {"1000 nines",
         0x68030009,
         Let,
         {Text(std::u16string(1000, u'9'))},
         host::kOverflow,
         kTooBig},
        {"a Boolean from a word",
         0x68030005,
         Let,
         {Text(u"yes")},
         host::kInvalidArgument,
         kInvalid},
        {"a read-only property", 0x68030002, Let, {Bool(true)}, host::kMemberNotFound, kNone},
        {"an unknown id", 0x12345678, Get, {}, host::kMemberNotFound, kNone},
        {"a getter with an argument", 0x6803000B, Get, {Int(1)}, host::kBadParameterCount, kNone},
        {"a setter without its value", 0x6803000B, Let, {}, host::kParameterNotOptional, kNone},
        {"two Draw arguments",
         0x6003000D,
         Method,
         {Int(-1), Int(-1)},
         host::kBadParameterCount,
         kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        const host::CallResult result = f.Invoke(c.id, c.kind, c.args);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_TRUE(f.site->notifications.empty());
        EXPECT_EQ(f.control->BarWidth() | f.control->PositionX(), 0);
    }
    Fixture f;
    EXPECT_EQ(f.dispatch.Get("NoSuchProperty").status, host::kUnknownName);
    // Callers inside the library get the refusal back as the failed call it stands for.
    EXPECT_EQ(testing::FailureOf([&] { host::ValueOrThrow(f.dispatch.Get("NoSuchProperty")); }),
              kInvalid);
    EXPECT_EQ(host::ValueOrThrow(f.dispatch.Get("BarWidth")), Int(0));
}

TEST(Dispatch, DrawReturnsA16BitResultAndWritesTheOwnSurfaceBack) {
    Fixture f;
    f.dispatch.Let("Text", Text(u"1234"));
    f.dispatch.Let("BarWidthSource", Bool(true));

    const host::CallResult omitted = f.dispatch.Call("Draw");
    ASSERT_TRUE(omitted.ok()) << omitted.description;
    EXPECT_EQ(omitted.value, host::Variant::FromInt16(0));

    std::vector<host::Variant> byReference{Int(-1)};
    const host::CallResult drawn = f.dispatch.Call("Draw", byReference);
    EXPECT_EQ(drawn.value, host::Variant::FromInt16(0));
    EXPECT_EQ(byReference[0], Int(f.control->Pic1().hDC()));
    EXPECT_NE(byReference[0], Int(-1));

    f.dispatch.Let("BarCodeType", Int(7));
    std::vector<host::Variant> emptyArgument{host::Variant()};
    EXPECT_EQ(f.dispatch.Call("Draw", emptyArgument).value, host::Variant::FromInt16(1100));
    EXPECT_TRUE(emptyArgument[0].IsEmpty());
    EXPECT_EQ(f.dispatch.Get("ErrorFound").value, Bool(true));
    EXPECT_EQ(f.dispatch.Get("ErrorDescription").value, Text(u"Invalid Barcode Type"));
}

struct RecordingPage : PropertyPageOperations {
    void EnableDisableOK() override { calls.push_back("EnableDisableOK"); }
    void AllowOnlyNumbers(const std::u16string& flag) override {
        calls.push_back(flag == u"W" ? "AllowOnlyNumbers W" : "AllowOnlyNumbers other");
    }
    void Translate() override {
        throw host::FailedCall(host::FailureReason::PlatformFailure, "no locale");
    }
    std::vector<std::string> calls;
};

TEST(Dispatch, PageOperationsByNameReturnEmptyAndFailAsStatuses) {
    auto page = std::make_shared<RecordingPage>();
    PageDispatch dispatch(page);
    std::vector<host::Variant> flag{Text(u"W")};

    EXPECT_EQ(dispatch.Call("enabledisableok").value, host::Variant());
    EXPECT_TRUE(dispatch.Call("AllowOnlyNumbers", flag).ok());
    EXPECT_EQ(flag[0], Text(u"W"));
    EXPECT_EQ(dispatch.Call("AllowOnlyNumbers").status, host::kParameterNotOptional);
    EXPECT_EQ(dispatch.Call("Translate").status, host::kFail);
    EXPECT_EQ(dispatch.Call("Draw").status, host::kUnknownName);
    EXPECT_EQ(page->calls, (std::vector<std::string>{"EnableDisableOK", "AllowOnlyNumbers W"}));
}

TEST(Dispatch, FactoryHandsOutBothClassesByNameOnceThePageIsPluggedIn) {
    SetPropertyPageCreator(nullptr);
    EXPECT_EQ(CreateObject("qvbarcodepro.qvbarcode")->Interface().name, "_QvBarCode");
    try {
        CreateObject("QvBarCodePP");
        ADD_FAILURE() << "a page without its creator";
    } catch (const host::FailedCall& failure) {
        EXPECT_EQ(failure.reason(), host::FailureReason::PlatformFailure);
    }
    SetPropertyPageCreator([] { return std::make_shared<RecordingPage>(); });
    EXPECT_EQ(CreateObject(kClassIdQvBarCodePP)->Interface().name, "_QvBarCodePP");
    SetPropertyPageCreator(nullptr);
    EXPECT_THROW(CreateObject("QvBarCodeX"), host::FailedCall);
}

}  // namespace
}  // namespace qv::component
