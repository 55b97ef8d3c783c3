#include "component/UserLanguage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace qv::component {
namespace {

TEST(UserLanguage, EnglishNameOfTheLocaleLanguage) {
    struct Case {
        const char* locale;
        const char* name;
    };
    const Case cases[] = {
        {"es_MX.UTF-8", "Spanish"}, {"es_ES@euro", "Spanish"},
        {"es", "Spanish"},          {"ca_ES.UTF-8", "Catalan"},
        {"pt_BR", "Portuguese"},    {"de_DE.ISO-8859-1", "German"},
        {"C", "English"},           {"POSIX", "English"},
        {"C.UTF-8", "English"},     {"", "English"},
        {"zz_ZZ", "English"},       {".UTF-8", "English"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EnglishLanguageNameOf(c.locale), c.name) << c.locale;
    }
    EXPECT_TRUE(IsSpanish("SPANISH"));
    EXPECT_TRUE(IsSpanish("spanish"));
    EXPECT_FALSE(IsSpanish("Spanish (Mexico)"));
    EXPECT_FALSE(IsSpanish(""));
}

// Sets or clears an environment variable for one test and puts the old value back.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnvironment() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(UserLanguage, LocaleVariablesAreReadInPosixOrder) {
    {
        ScopedEnvironment all("LC_ALL", "es_AR.UTF-8");
        ScopedEnvironment messages("LC_MESSAGES", "de_DE");
        ScopedEnvironment lang("LANG", "fr_FR");
        EXPECT_EQ(UserLanguageName(), "Spanish");
    }
    {
        ScopedEnvironment all("LC_ALL", "");
        ScopedEnvironment messages("LC_MESSAGES", "de_DE");
        ScopedEnvironment lang("LANG", "fr_FR");
        EXPECT_EQ(UserLanguageName(), "German");
    }
    {
        ScopedEnvironment all("LC_ALL", nullptr);
        ScopedEnvironment messages("LC_MESSAGES", nullptr);
        ScopedEnvironment lang("LANG", "pt_BR.UTF-8");
        EXPECT_EQ(UserLanguageName(), "Portuguese");
    }
    {
        ScopedEnvironment all("LC_ALL", nullptr);
        ScopedEnvironment messages("LC_MESSAGES", nullptr);
        ScopedEnvironment lang("LANG", nullptr);
        EXPECT_EQ(UserLanguageName(), "English");
    }
}

}  // namespace
}  // namespace qv::component
