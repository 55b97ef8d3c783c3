#include <gtest/gtest.h>

#include <functional>

#include "host/CheckedInt.h"
#include "host/TextConversion.h"
#include "host/Variant.h"
#include "support/FailureOf.h"

namespace qv::component {
namespace {

// Each call leaves the 16-bit or 32-bit range by one step; the line before it stays inside.
TEST(CheckedInt, ArithmeticLeavingTheRangeIsAnOverflow) {
    EXPECT_EQ((host::Int16(32766) + host::Int16(1)).value(), 32767);
    EXPECT_EQ((host::Int16(181) * host::Int16(181)).value(), 32761);
    const std::function<void()> overflows[] = {
        [] { host::Int16(32767) + host::Int16(1); },
        [] { host::Int16(-32768) - host::Int16(1); },
        [] { host::Int16(182) * host::Int16(182); },
        [] { host::Int16::From(40000); },
        [] { ++host::Int16(32767); },
        [] { host::Variant::FromInt32(70000).AsInt16(); },
        [] { host::CheckedInt32(std::int64_t{1} << 31); },
    };
    for (const auto& call : overflows) {
        EXPECT_EQ(testing::FailureOf(call), host::FailureReason::Overflow);
    }
}

// A Boolean keeps the value it was given; a number is never mistaken for a Boolean or text.
TEST(Variant, KeepsItsTypeAndValue) {
    EXPECT_EQ(host::Variant::FromBool(true).AsInt32(), -1);
    EXPECT_EQ(host::Variant::FromAutomationBool(5).AsInt16(), 5);
    EXPECT_NE(host::Variant::FromBool(true), host::Variant::FromInt16(-1));
    EXPECT_NE(host::Variant::FromInt16(0), host::Variant::FromInt32(0));
    EXPECT_THROW(host::Variant::FromText(u"1").AsInt32(), host::FailedCall);
    EXPECT_THROW(host::Variant::FromInt16(1).AsText(), host::FailedCall);
}

TEST(TextConversion, RoundTripsAndReplacesIllFormedInput) {
    const std::string utf8 = "Año €5 \xF0\x9F\x98\x80";
    EXPECT_EQ(host::Utf16ToUtf8(host::Utf8ToUtf16(utf8)), utf8);
    EXPECT_EQ(host::Utf8ToUtf16("a\xFF"
                                "b"),
              u"a\uFFFDb");
}

}  // namespace
}  // namespace qv::component
