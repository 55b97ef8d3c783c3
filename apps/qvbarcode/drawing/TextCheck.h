// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "options/CliOptions.h"
#include "options/UserMessages.h"

namespace qv::cli {

// A numeric text as the program takes it before the control draws it: the settings to draw
// (CalculateCheckDigit set where CheckDigitMode::Auto adds the check digit), or why the text
// is refused, a last digit that is not the check digit where one is verified.
struct TextCheck {
    BarcodeSettings settings;
    std::string refusal;  // in the language; empty when the text is drawn
};
TextCheck CheckText(const BarcodeSettings& settings, Language language);

// What the control's refusal of a numeric text means for this text, in the language: how
// many digits it has against how many the symbology takes, the character that is no digit,
// or the spreadsheet's number format it is in. Empty for other codes and symbologies.
std::string ExplainRefusal(std::int16_t code, const BarcodeSettings& settings, Language language);

}  // namespace qv::cli
