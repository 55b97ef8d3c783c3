// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include <qvbarcode/host/Export.h>
#include <qvbarcode/symbology/BarCodeType.h>
#include <qvbarcode/symbology/Encoding.h>
#include <qvbarcode/symbology/QuietZone.h>

namespace qv::symbology {

// A module's printed width and the bars' height, in millimetres: the nominal ones (0 where
// the symbology has none) and the narrowest module scanners are commonly built for.
struct QV_EXPORT PrintedModule {
    double nominalWidth = 0.0;
    double smallestWidth = 0.0;
    double nominalBarHeight = 0.0;
};

// One symbology: everything the control, the page, the type library and the program know of
// it. A new symbology is a row of this table and its encoder.
struct QV_EXPORT Symbology {
    EnumBarCodeType value;
    std::string_view enumerationName;  // as the type library names the value
    std::string_view programName;      // as qvbarcode's --type takes it
    std::string_view displayName;      // as people write it
    std::u16string_view pageEntry;     // the property page's list entry
    // Digits only: Text is trimmed, checked and given its check digit by PrepareTextToEncode,
    // and the caption is TextToEncode. Otherwise the encoder takes Text as stored, which is
    // also the caption.
    bool numeric;
    bool takesCheckDigit;   // CalculateCheckDigit appends the modulo-10 check digit
    bool endsInCheckDigit;  // its last digit is a check digit, drawn as given unless computed
    char16_t startStop;     // a character of the text scanners read as start or stop, or 0
    QuietZone quietZone;    // what a scanner wants, in modules
    PrintedModule printed;
    Encoding (*encode)(std::u16string_view);
};

// Every symbology, the row of value v at index v.
QV_EXPORT std::span<const Symbology> Symbologies();
// The row of a BarCodeType value, or nullptr for a value no symbology has.
QV_EXPORT const Symbology* FindSymbology(std::int32_t value);

// How many digits a numeric symbology's encoder takes in the text to encode, a check digit
// counted: exactly `exactly`, or when that is 0 any multiple of `multipleOf`.
struct QV_EXPORT DigitCount {
    std::size_t exactly = 0;
    std::size_t multipleOf = 1;
    constexpr bool Takes(std::size_t digits) const {
        return exactly != 0 ? digits == exactly : digits % multipleOf == 0;
    }
};
QV_EXPORT DigitCount DigitsTaken(const Symbology& symbology);

// What a symbology makes of the control's Text: the result code, TextToEncode for a numeric
// symbology (as PrepareTextToEncode left it, also when it refused the text) and, when the
// code is kDrawn, the module string.
struct QV_EXPORT TextEncoding {
    std::int16_t code = kDrawn;
    std::u16string textToEncode;
    std::string modules;
};
QV_EXPORT TextEncoding EncodeText(const Symbology& symbology, std::u16string_view text,
                                  bool calculateCheckDigit);

// The text printed under the bars.
inline std::u16string_view CaptionOf(const Symbology& symbology, std::u16string_view text,
                                     const TextEncoding& encoding) {
    return symbology.numeric ? std::u16string_view(encoding.textToEncode) : text;
}

}  // namespace qv::symbology
