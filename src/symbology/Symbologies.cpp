// SPDX-License-Identifier: MIT
#include <qvbarcode/symbology/Symbologies.h>

#include <array>

#include <qvbarcode/symbology/Encoders.h>

namespace qv::symbology {

namespace {

constexpr std::array<Symbology, 4> kSymbologies = {{
    {QvTypeInterleaved2of5,
     "QvTypeInterleaved2of5",
     "i2of5",
     "Interleaved 2 of 5",
     u"0 = Interleaved 2 of 5",
     true,
     true,
     false,
     0,
     {10, 10},
     {0.0, 0.19, 0.0},
     EncodeInterleaved2of5},
    {QvTypeStandard2of5,
     "QvTypeStandard2of5",
     "s2of5",
     "Standard 2 of 5",
     u"1 = Standard 2 of 5",
     true,
     true,
     false,
     0,
     {10, 10},
     {0.0, 0.19, 0.0},
     EncodeStandard2of5},
    {QvTypeCode39,
     "QvTypeCode39",
     "code39",
     "Code 39",
     u"2 = Code 39",
     false,
     false,
     false,
     u'*',
     {10, 10},
     {0.0, 0.19, 0.0},
     EncodeCode39},
    {QvTypeEan13,
     "QvTypeEan13",
     "ean13",
     "EAN-13",
     u"3 = EAN 13",
     true,
     true,
     true,
     0,
     {11, 7},
     {0.33, 0.264, 22.85},  // the smallest is 80% of the nominal
     EncodeEan13},
}};

constexpr bool RowsAreIndexedByValue() {
    for (std::size_t i = 0; i < kSymbologies.size(); ++i) {
        if (kSymbologies[i].value != static_cast<std::int32_t>(i)) {
            return false;
        }
    }
    return true;
}
static_assert(RowsAreIndexedByValue(), "the row of value v is at index v");

}  // namespace

std::span<const Symbology> Symbologies() {
    return kSymbologies;
}

const Symbology* FindSymbology(std::int32_t value) {
    return value >= 0 && static_cast<std::size_t>(value) < kSymbologies.size()
               ? &kSymbologies[static_cast<std::size_t>(value)]
               : nullptr;
}

DigitCount DigitsTaken(const Symbology& symbology) {
    switch (symbology.value) {
        case QvTypeEan13:
            return {13, 1};
        case QvTypeInterleaved2of5:
            return {0, 2};  // digits go in pairs
        default:
            return {};
    }
}

TextEncoding EncodeText(const Symbology& symbology, std::u16string_view text,
                        bool calculateCheckDigit) {
    TextEncoding result;
    Encoding encoding;
    if (symbology.numeric) {
        PreparedText prepared =
            PrepareTextToEncode(text, calculateCheckDigit && symbology.takesCheckDigit);
        result.code = prepared.code;
        result.textToEncode = std::move(prepared.textToEncode);
        if (result.code != kDrawn) {
            return result;
        }
        encoding = symbology.encode(result.textToEncode);
    } else {
        encoding = symbology.encode(text);
    }
    result.code = encoding.code;
    result.modules = std::move(encoding.modules);
    return result;
}

}  // namespace qv::symbology
