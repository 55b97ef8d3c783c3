#include "host/UserLanguage.h"

#include <gtest/gtest.h>

#include "support/ScopedVariable.h"

namespace qv::component {
namespace {

TEST(UserLanguage, EnglishNameOfTheLocaleLanguage) {
    const std::pair<const char*, const char*> cases[] = {
        {"es_MX.UTF-8", "Spanish"}, {"es_ES@euro", "Spanish"},
        {"es", "Spanish"},          {"ca_ES.UTF-8", "Catalan"},
        {"pt_BR", "Portuguese"},    {"de_DE.ISO-8859-1", "German"},
        {"C", "English"},           {"POSIX", "English"},
        {"C.UTF-8", "English"},     {"", "English"},
        {"zz_ZZ", "English"},       {".UTF-8", "English"},
    };
    for (const auto& [locale, name] : cases) {
        EXPECT_EQ(host::EnglishLanguageNameOf(locale), name) << locale;
    }
    EXPECT_TRUE(host::IsSpanish("spanish"));
    EXPECT_FALSE(host::IsSpanish("Spanish (Mexico)"));
}

TEST(UserLanguage, LocaleVariablesAreReadInPosixOrder) {
    struct Case {
        const char* all;
        const char* messages;
        const char* lang;
        const char* expected;
    };
    const Case cases[] = {
        {"es_AR.UTF-8", "de_DE", "fr_FR", "Spanish"},
        {"", "de_DE", "fr_FR", "German"},
        {nullptr, nullptr, "pt_BR.UTF-8", "Portuguese"},
        {nullptr, nullptr, nullptr, "English"},
    };
    const testing::ScopedVariable all("LC_ALL"), messages("LC_MESSAGES"), lang("LANG");
    for (const Case& c : cases) {
        all.Set(c.all);
        messages.Set(c.messages);
        lang.Set(c.lang);
        EXPECT_EQ(host::UserLanguageName(), c.expected);
    }
}

}  // namespace
}  // namespace qv::component
