// SPDX-License-Identifier: MIT
// The host layer's run-time services: the user's language, checked integers, Variants and
// text conversion.
#include <gtest/gtest.h>

#include <functional>

#include <qvbarcode/host/CheckedInt.h>
#include <qvbarcode/host/TextConversion.h>
#include <qvbarcode/host/UserLanguage.h>
#include <qvbarcode/host/Variant.h>
#include "support/FailureOf.h"
#include "support/ScopedVariable.h"

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
    for (const auto& call : overflows)
        EXPECT_EQ(testing::FailureOf(call), host::FailureReason::Overflow);
}

// A number is never mistaken for a Boolean, nor one size of number for another.
TEST(Variant, KeepsItsTypeAndValue) {
    EXPECT_NE(host::Variant::FromBool(true), host::Variant::FromInt16(-1));
    EXPECT_NE(host::Variant::FromInt16(0), host::Variant::FromInt32(0));
}

TEST(TextConversion, RoundTripsAndReplacesIllFormedInput) {
    const std::string utf8 = "Año €5 \xF0\x9F\x98\x80";
    EXPECT_EQ(host::Utf16ToUtf8(host::Utf8ToUtf16(utf8)), utf8);
    EXPECT_EQ(host::Utf8ToUtf16("a\xFF z"), u"a\uFFFD z");
}

TEST(UserLanguage, EnglishNameOfTheLanguageOfTheLocaleInEffect) {
    // A Catalan user in Spain is not Spanish; an unknown code names no language.
    const std::pair<const char*, const char*> cases[] = {
        {"es_MX.UTF-8", "Spanish"}, {"es_ES@euro", "Spanish"}, {"es", "Spanish"},
        {"ca_ES.UTF-8", "Catalan"}, {"C.UTF-8", "English"},    {"", "English"},
        {"zz_ZZ", "English"},       {".UTF-8", "English"},
    };
    for (const auto& [locale, name] : cases)
        EXPECT_EQ(host::EnglishLanguageNameOf(locale), name) << locale;
    EXPECT_TRUE(host::IsSpanish("spanish"));
    EXPECT_FALSE(host::IsSpanish("Spanish (Mexico)"));

    // The locale variables are read in POSIX order.
    struct Variables {
        const char* all;
        const char* messages;
        const char* lang;
        const char* expected;
    };
    const Variables settings[] = {
        {"es_AR.UTF-8", "de_DE", "fr_FR", "Spanish"},
        {"", "de_DE", "fr_FR", "German"},
        {nullptr, nullptr, "pt_BR.UTF-8", "Portuguese"},
        {nullptr, nullptr, nullptr, "English"},
    };
    const testing::ScopedVariable all("LC_ALL"), messages("LC_MESSAGES"), lang("LANG");
    for (const Variables& c : settings) {
        all.Set(c.all);
        messages.Set(c.messages);
        lang.Set(c.lang);
        EXPECT_EQ(host::UserLanguageName(), c.expected);
    }
}

}  // namespace
}  // namespace qv::component
