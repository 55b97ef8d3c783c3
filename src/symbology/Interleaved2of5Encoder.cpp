// SPDX-License-Identifier: MIT
#include <qvbarcode/host/CheckedInt.h>
#include <qvbarcode/symbology/DecimalDigits.h>
#include <qvbarcode/symbology/Encoders.h>
#include <qvbarcode/symbology/TwoOfFivePatterns.h>

namespace qv::symbology {

using host::Int16;

namespace {

constexpr std::string_view kStart = "1010";
constexpr std::string_view kStop = "1101";
constexpr std::int16_t kModulesPerPair = 14;

}  // namespace

Encoding EncodeInterleaved2of5(std::u16string_view textToEncode) {
    // The digits go in pairs, the first in the bars and the second in the spaces.
    if (textToEncode.size() % 2 != 0) {
        return {kInvalidLength, {}};
    }
    for (const char16_t c : textToEncode) {
        if (!IsDecimalDigit(c)) {
            return {kInvalidCharacter, {}};
        }
    }
    const Int16 pairs = Int16::From(static_cast<std::int64_t>(textToEncode.size() / 2));
    const Int16 moduleCount = pairs * Int16(kModulesPerPair) +
                              Int16(static_cast<std::int16_t>(kStart.size() + kStop.size()));

    Encoding encoding;
    encoding.modules.reserve(static_cast<std::size_t>(moduleCount.value()));
    encoding.modules.append(kStart);
    for (std::size_t i = 0; i < textToEncode.size(); i += 2) {
        const int barDigit = DigitValue(textToEncode[i]);
        const int spaceDigit = DigitValue(textToEncode[i + 1]);
        for (int element = 0; element < kTwoOfFiveElements; ++element) {
            encoding.modules.append(IsWideElement(barDigit, element) ? "11" : "1");
            encoding.modules.append(IsWideElement(spaceDigit, element) ? "00" : "0");
        }
    }
    encoding.modules.append(kStop);
    return encoding;
}

}  // namespace qv::symbology
