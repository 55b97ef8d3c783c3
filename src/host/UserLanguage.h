// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace qv::host {

// The locale name a POSIX program runs in: the first non-empty of LC_ALL, LC_MESSAGES, LANG.
std::string UserLocaleName();

// The English name of a locale's language ("Spanish" for es_MX.UTF-8); "English" for the
// C and POSIX locales and for names that give no language.
std::string EnglishLanguageNameOf(std::string_view localeName);

// EnglishLanguageNameOf(UserLocaleName()).
std::string UserLanguageName();

// True when the language name selects the Spanish texts (compared upper-cased).
bool IsSpanish(std::string_view englishLanguageName);

}  // namespace qv::host
