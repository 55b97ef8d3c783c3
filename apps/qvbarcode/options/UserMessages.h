// SPDX-License-Identifier: MIT
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace qv::cli {

// The program's explanations of a record's data, in English or in Spanish as the user's
// locale selects for the control's own messages, so that a line reads in one language.
enum class Language { English, Spanish };

// The language of the user's locale (LC_ALL, LC_MESSAGES, LANG), read once.
Language UserLanguage();

enum class Message {
    SpreadsheetNumber,  // %1 the text
    DigitsGiven,        // %1 digits, %2 symbology, %3 without a check digit, %4 with one
    DigitsGivenAndAdded,
    AnOddNumber,
    AnEvenNumber,
    LeadingZerosDropped,
    NotADigit,        // %1 the character, %2 symbology
    WrongCheckDigit,  // %1 the digits before it, %2 the right one, %3 the one given
    NoVerifyDrawsAsGiven,
    LeftUnchanged,  // %1 the file
};

// The message in the language, %1 to %9 replaced by the values.
std::string Say(Message message, Language language,
                std::initializer_list<std::string_view> values = {});

}  // namespace qv::cli
