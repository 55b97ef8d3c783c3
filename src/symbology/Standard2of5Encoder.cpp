// SPDX-License-Identifier: MIT
#include <qvbarcode/host/CheckedInt.h>
#include <qvbarcode/symbology/DecimalDigits.h>
#include <qvbarcode/symbology/Encoders.h>
#include <qvbarcode/symbology/TwoOfFivePatterns.h>

namespace qv::symbology {

using host::Int16;

namespace {

// The start and stop bars are two modules wide, the digits' wide bars three.
constexpr std::string_view kStart = "11011010";
constexpr std::string_view kStop = "1101011";
constexpr std::int16_t kModulesPerDigit = 14;

}  // namespace

Encoding EncodeStandard2of5(std::u16string_view textToEncode) {
    for (const char16_t c : textToEncode) {
        if (!IsDecimalDigit(c)) {
            return {kInvalidCharacter, {}};
        }
    }
    const Int16 digits = Int16::From(static_cast<std::int64_t>(textToEncode.size()));
    const Int16 moduleCount = digits * Int16(kModulesPerDigit) +
                              Int16(static_cast<std::int16_t>(kStart.size() + kStop.size()));

    Encoding encoding;
    encoding.modules.reserve(static_cast<std::size_t>(moduleCount.value()));
    encoding.modules.append(kStart);
    for (const char16_t c : textToEncode) {
        const int digit = DigitValue(c);
        // Only the bars carry the digit; every space is narrow.
        for (int element = 0; element < kTwoOfFiveElements; ++element) {
            encoding.modules.append(IsWideElement(digit, element) ? "111" : "1");
            encoding.modules.push_back('0');
        }
    }
    encoding.modules.append(kStop);
    return encoding;
}

}  // namespace qv::symbology
