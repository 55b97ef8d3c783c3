// SPDX-License-Identifier: MIT
// The control and the page reached through their dispatch tables, as a host reaches them.
#include <gtest/gtest.h>

#include <vector>

#include <qvbarcode/control/PropertyTable.h>
#include "support/FailureOf.h"
#include "support/FakePageHost.h"

namespace qv::component {
namespace {

using host::Variant;
using enum host::MemberKind;
// A recording site, a control on it and the control's dispatch table.
using Fixture = testing::FakePageHost;
constexpr auto Text = &Variant::FromText;
constexpr auto Int = &Variant::FromInt32;
constexpr auto Bool = &Variant::FromAutomationBool;

host::CallResult Invoke(Fixture& f, host::DispatchId id, host::MemberKind kind,
                        std::vector<Variant> args = {}) {
    return f.dispatch.Invoke(id, kind, args);
}

// Values are converted as an automation host converts them and stored as they come, Booleans
// other than 0 and -1 included. Every setter stores before it tells the host, so a host that
// refuses the news fails the call with the value kept, and it tells of the same value again.
TEST(Dispatch, EveryPropertyStartsEmptyRoundTripsAndNotifiesByName) {
    using P = control::Property;
    struct Case {
        control::Property property;
        Variant given, read;
    };
    const Case cases[] = {
        {P::Text, Text(u" 12 "), Text(u" 12 ")},
        {P::BarCodeType, Int(9), Int(9)},
        {P::PositionX, Variant::FromInt16(-40), Int(-40)},
        {P::PositionY, Text(u" 20 "), Int(20)},
        {P::BarHeight, Text(u"2.5"), Int(2)},  // halves to even
        {P::BarWidth, Text(u"-3.5"), Int(-4)},
        {P::BarWidthSource, Bool(5), Bool(5)},
        {P::BackgroundWhite, Text(u"true"), Bool(-1)},
        {P::ShowValue, Variant::FromInt16(2), Bool(2)},
        {P::CalculateCheckDigit, Text(u"0"), Bool(0)},
    };
    for (const Case& c : cases) {
        const control::PropertyRow& row = control::Row(c.property);
        const std::string name(row.name);
        SCOPED_TRACE(name);
        Fixture f;
        EXPECT_EQ(f.dispatch.Get(name).value, StartingValue(row));
        f.site->failNotifications = true;
        EXPECT_EQ(Invoke(f, row.id, Let, {c.given}).reason, host::FailureReason::PlatformFailure);
        EXPECT_EQ(Invoke(f, row.id, Get).value, c.read);
        f.site->failNotifications = false;
        EXPECT_TRUE(Invoke(f, row.id, Let, {c.given}).ok());
        EXPECT_EQ(f.site->notifications, (std::vector<std::string>{name, name}));
    }
}

TEST(Dispatch, RefusedCallsStoreNothingAndReportTheirStatus) {
    const auto kInvalid = host::FailureReason::InvalidValue;
    const auto kTooBig = host::FailureReason::Overflow;
    const std::optional<host::FailureReason> kNone;
    struct Case {
        const char* what;
        host::DispatchId id;
        host::MemberKind kind;
        std::vector<Variant> args;
        host::Status status;
        std::optional<host::FailureReason> reason;
    };
    const std::u16string nines(1000, u'9');
    const Case cases[] = {
        {"no number", 0x68030006, Let, {Text(u"12a")}, host::kInvalidArgument, kInvalid},
        {"empty text", 0x68030007, Let, {Text(u"")}, host::kInvalidArgument, kInvalid},
        {"beyond 32 bits", 0x68030009, Let, {Text(u"2147483648")}, host::kOverflow, kTooBig},
        {"1000 nines", 0x68030009, Let, {Text(nines)}, host::kOverflow, kTooBig},
        {"Boolean of 17 bits", 0x68030005, Let, {Int(40000)}, host::kOverflow, kTooBig},
        {"read-only", 0x68030002, Let, {Bool(-1)}, host::kMemberNotFound, kNone},
        {"unknown id", 0x12345678, Get, {}, host::kMemberNotFound, kNone},
        {"getter argument", 0x6803000B, Get, {Int(1)}, host::kBadParameterCount, kNone},
        {"setter, no value", 0x6803000B, Let, {}, host::kParameterNotOptional, kNone},
        {"2 Draw args", 0x6003000D, Method, {Int(-1), Int(-1)}, host::kBadParameterCount, kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        const host::CallResult result = Invoke(f, c.id, c.kind, c.args);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_TRUE(f.site->notifications.empty());
        EXPECT_EQ(f.control->BarWidth() | f.control->PositionX() | f.control->BarWidthSource(), 0);
    }
    Fixture f;
    EXPECT_EQ(f.dispatch.Get("NoSuchProperty").status, host::kUnknownName);
    // Callers inside the library get the refusal back as the failed call it stands for.
    EXPECT_EQ(testing::FailureOf([&] { host::ValueOrThrow(f.dispatch.Get("NoSuchProperty")); }),
              kInvalid);
}

// An empty xhDC draws on the own surface and stays empty. (A given one written back and the
// 16-bit result through the exports: tests/component/HostSurfaceTest, tests/entry.)
TEST(Dispatch, AnEmptyXhDCDrawsOnTheOwnSurfaceAndStaysEmpty) {
    Fixture f;
    std::vector<Variant> empty{Variant()};
    EXPECT_EQ(f.dispatch.Call("Draw", empty).value, Variant::FromInt16(1104));
    EXPECT_TRUE(empty[0].IsEmpty());
}

}  // namespace
}  // namespace qv::component
