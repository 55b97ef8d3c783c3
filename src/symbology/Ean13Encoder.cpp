// SPDX-License-Identifier: MIT
#include <array>

#include <qvbarcode/symbology/DecimalDigits.h>
#include <qvbarcode/symbology/Encoders.h>

namespace qv::symbology {

namespace {

constexpr std::size_t kDigits = 13;
constexpr std::size_t kCodeModules = 7;
constexpr std::size_t kSymbolModules = 95;

// Indexed by the first digit, which is not drawn: letter k chooses the code set of digit k + 2,
// O the L codes (odd parity), E the G codes (even parity).
constexpr std::array<std::string_view, 10> kParityRows = {
    "OOOOOO", "OOEOEE", "OOEEOE", "OOEEEO", "OEOOEE",
    "OEEOOE", "OEEEOO", "OEOEOE", "OEOEEO", "OEEOEO",
};

// The L codes; the R and G codes follow from them, so the three sets cannot disagree.
constexpr std::array<std::string_view, 10> kLCodes = {
    "0001101", "0011001", "0010011", "0111101", "0100011",
    "0110001", "0101111", "0111011", "0110111", "0001011",
};

constexpr std::string_view kEdgeGuard = "101";
constexpr std::string_view kCentreGuard = "01010";

constexpr bool TablesAreWellFormed() {
    for (std::size_t digit = 0; digit < 10; ++digit) {
        if (kParityRows[digit].size() != 6 || kLCodes[digit].size() != kCodeModules ||
            kLCodes[digit].front() != '0' || kLCodes[digit].back() != '1') {
            return false;
        }
    }
    return kParityRows[0] == "OOOOOO";
}

static_assert(TablesAreWellFormed(), "six parity letters and seven-module L codes per digit");
static_assert(kEdgeGuard.size() * 2 + kCentreGuard.size() + 12 * kCodeModules == kSymbolModules);

constexpr char Inverted(char module) {
    return module == '1' ? '0' : '1';
}

void AppendL(std::string& modules, int digit) {
    modules.append(kLCodes[static_cast<std::size_t>(digit)]);
}

// Right half: the L code with every module inverted.
void AppendR(std::string& modules, int digit) {
    for (const char module : kLCodes[static_cast<std::size_t>(digit)]) {
        modules.push_back(Inverted(module));
    }
}

// Even parity: the R code read backwards.
void AppendG(std::string& modules, int digit) {
    const std::string_view code = kLCodes[static_cast<std::size_t>(digit)];
    for (auto module = code.rbegin(); module != code.rend(); ++module) {
        modules.push_back(Inverted(*module));
    }
}

}  // namespace

Encoding EncodeEan13(std::u16string_view textToEncode) {
    for (const char16_t c : textToEncode) {
        if (!IsDecimalDigit(c)) {
            return {kInvalidCharacter, {}};
        }
    }
    // The last digit is drawn as given: it is not verified.
    if (textToEncode.size() != kDigits) {
        return {kInvalidLength, {}};
    }

    Encoding encoding;
    std::string& modules = encoding.modules;
    modules.reserve(kSymbolModules);
    modules.append(kEdgeGuard);
    const std::string_view parity =
        kParityRows[static_cast<std::size_t>(DigitValue(textToEncode[0]))];
    for (std::size_t k = 1; k <= 6; ++k) {
        const int digit = DigitValue(textToEncode[k]);
        if (parity[k - 1] == 'O') {
            AppendL(modules, digit);
        } else {
            AppendG(modules, digit);
        }
    }
    modules.append(kCentreGuard);
    for (std::size_t k = 7; k < kDigits; ++k) {
        AppendR(modules, DigitValue(textToEncode[k]));
    }
    modules.append(kEdgeGuard);
    return encoding;
}

}  // namespace qv::symbology
