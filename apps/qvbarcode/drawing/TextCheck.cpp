// SPDX-License-Identifier: MIT
#include "drawing/TextCheck.h"

#include <algorithm>
#include <regex>

#include <qvbarcode/host/TextConversion.h>
#include <qvbarcode/host/TextTrim.h>
#include <qvbarcode/symbology/DecimalDigits.h>
#include <qvbarcode/symbology/Encoders.h>
#include <qvbarcode/symbology/Symbologies.h>

namespace qv::cli {

namespace {

using symbology::Symbology;

// The numeric symbology the settings draw, or nullptr.
const Symbology* NumericSymbology(const BarcodeSettings& settings) {
    const Symbology* symbology =
        symbology::FindSymbology(settings.barCodeType.value_or(control::QvTypeInterleaved2of5));
    return symbology != nullptr && symbology->numeric ? symbology : nullptr;
}

// The text as the control trims it.
std::u16string Trimmed(const BarcodeSettings& settings) {
    return std::u16string(host::TrimSpaces(host::Utf8ToUtf16(settings.text.value_or(""))));
}

bool AllDigits(std::u16string_view text) {
    return !text.empty() && std::ranges::all_of(text, symbology::IsDecimalDigit);
}

std::string Utf8(std::u16string_view text) {
    return host::Utf16ToUtf8(text);
}

// A number as a spreadsheet shows one: with a decimal or thousands separator, or in
// scientific notation (4.00638E+12, 4,00638E+12, 36000291452.0, 4.006.381.333.931).
bool LooksLikeFormattedNumber(const std::string& text) {
    static const std::regex number(R"([+-]?[0-9][0-9.,' ]*([eE][+-]?[0-9]+)?)");
    std::smatch match;
    return std::regex_match(text, match, number) &&
           (match[1].matched || text.find_first_of(".,'") != std::string::npos);
}

std::string LengthExplanation(const Symbology& symbology, std::size_t digits, bool adding,
                              Language language) {
    const symbology::DigitCount taken = symbology::DigitsTaken(symbology);
    // The counts the table gives are exact, or a multiple of two (pairs of digits).
    const bool exact = taken.exactly != 0;
    const std::string with =
        exact ? std::to_string(taken.exactly) : Say(Message::AnEvenNumber, language);
    const std::string without =
        exact ? std::to_string(taken.exactly - 1) : Say(Message::AnOddNumber, language);
    std::string said = Say(adding ? Message::DigitsGivenAndAdded : Message::DigitsGiven, language,
                           {std::to_string(digits), symbology.displayName, without, with});
    if (exact && digits + 1 < taken.exactly) {
        said += "; " + Say(Message::LeadingZerosDropped, language);
    }
    return said;
}

}  // namespace

TextCheck CheckText(const BarcodeSettings& settings, Language language) {
    TextCheck check{settings, {}};
    const Symbology* symbology = NumericSymbology(settings);
    const std::u16string digits = Trimmed(settings);
    if (symbology == nullptr || !symbology->takesCheckDigit ||
        settings.calculateCheckDigit != kFalse || !AllDigits(digits)) {
        return check;
    }
    const symbology::DigitCount taken = symbology::DigitsTaken(*symbology);
    // Auto tells a text with its check digit from one without by its length, where the
    // symbology's length can tell (not Standard 2 of 5's, of any count).
    const bool automatic =
        settings.checkDigit == CheckDigitMode::Auto && (taken.exactly != 0 || taken.multipleOf > 1);
    if (automatic && !taken.Takes(digits.size()) && taken.Takes(digits.size() + 1)) {
        check.settings.calculateCheckDigit = kTrue;
        return check;
    }
    const bool asked = settings.checkDigit == CheckDigitMode::Verify;
    const bool verify =
        asked || ((automatic || symbology->endsInCheckDigit) && settings.verifyCheckDigit);
    // A length the symbology does not take is the control's to refuse.
    if (!verify || digits.size() < 2 || !taken.Takes(digits.size())) {
        return check;
    }
    const std::u16string_view data = std::u16string_view(digits).substr(0, digits.size() - 1);
    const char16_t expected = *symbology::CheckDigitOf(data);
    if (expected != digits.back()) {
        check.refusal = Say(Message::WrongCheckDigit, language,
                            {Utf8(data), Utf8({&expected, 1}), Utf8(digits.substr(data.size()))});
        if (!asked) check.refusal += ": " + Say(Message::NoVerifyDrawsAsGiven, language);
    }
    return check;
}

std::string ExplainRefusal(std::int16_t code, const BarcodeSettings& settings, Language language) {
    const Symbology* symbology = NumericSymbology(settings);
    if (symbology == nullptr) {
        return {};
    }
    const std::u16string text = Trimmed(settings);
    if (code == symbology::kInvalidLength && AllDigits(text)) {
        return LengthExplanation(*symbology, text.size(), settings.calculateCheckDigit != kFalse,
                                 language);
    }
    if (code != symbology::kInvalidCharacter) {
        return {};
    }
    if (LooksLikeFormattedNumber(Utf8(text))) {
        return Say(Message::SpreadsheetNumber, language, {Utf8(text)});
    }
    const auto bad = std::ranges::find_if_not(text, symbology::IsDecimalDigit);
    if (bad == text.end()) {
        return {};
    }
    // A character beyond the 16-bit plane shows whole.
    const std::size_t at = static_cast<std::size_t>(bad - text.begin());
    const std::size_t units = (*bad & 0xFC00) == 0xD800 && at + 1 < text.size() ? 2 : 1;
    return Say(Message::NotADigit, language,
               {Utf8(std::u16string_view(text).substr(at, units)), symbology->displayName});
}

}  // namespace qv::cli
