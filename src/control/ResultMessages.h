// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>

namespace qv::control {

enum class MessageLanguage { English, Spanish };

// The text of a failure code in the given language; empty for 0 and for codes not in use.
std::u16string_view ResultMessage(std::int16_t code, MessageLanguage language);

// The language of the messages for a user whose language has this English name.
MessageLanguage MessageLanguageFor(std::string_view englishLanguageName);

}  // namespace qv::control
