// SPDX-License-Identifier: MIT
#include <qvbarcode/host/UserLanguage.h>

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstdlib>

namespace qv::host {

std::string UserLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

std::string EnglishLanguageNameOf(std::string_view localeName) {
    // Strip the POSIX codeset and modifier: "es_MX.UTF-8@euro" names the locale es_MX.
    std::string name(localeName.substr(0, localeName.find_first_of(".@")));
    if (name.empty() || name == "C" || name == "POSIX") {
        return "English";
    }
    const icu::Locale locale(name.c_str());
    const char* language = locale.getLanguage();
    if (locale.isBogus() || language == nullptr || *language == '\0') {
        return "English";
    }
    icu::UnicodeString display;
    icu::Locale(language).getDisplayLanguage(icu::Locale::getEnglish(), display);
    std::string result;
    display.toUTF8String(result);
    // ICU echoes an unknown code back; that names no language.
    if (result.empty() || result == language) {
        return "English";
    }
    return result;
}

std::string UserLanguageName() {
    return EnglishLanguageNameOf(UserLocaleName());
}

bool IsSpanish(std::string_view englishLanguageName) {
    std::string upper(englishLanguageName);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    });
    return upper == "SPANISH";
}

}  // namespace qv::host
