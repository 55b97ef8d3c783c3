// SPDX-License-Identifier: MIT
// The encoders' module strings.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include <qvbarcode/symbology/Encoders.h>
#include <qvbarcode/symbology/Symbologies.h>
#include "support/FailureOf.h"

namespace qv::symbology {
namespace {

using host::FailureReason;
using testing::FailureOf;

// Surrounding spaces are trimmed. The check digit's weights and its sums of 0 are read back
// in the round trip, which works check digits out for itself.
TEST(PrepareTextToEncode, ChecksDigitsAndAppendsTheWeightedCheckDigit) {
    for (const bool check : {false, true}) {
        const PreparedText prepared = PrepareTextToEncode(u" 1234 ", check);
        EXPECT_EQ(std::tuple(prepared.code, prepared.textToEncode),
                  std::tuple(kDrawn, check ? u"12348" : u"1234"));
    }
    // Inner space; a letter, also leftmost where it is scanned last; sign and decimal point;
    // digits of other scripts; a tab (only spaces are trimmed). Checked with or without a
    // check digit, and the text is left as it was.
    for (const std::u16string_view bad :
         {u"12 34", u"12A4", u"A1234", u"-12", u"1.5", u"1\u0663", u"\uFF11", u"\t12"}) {
        for (const bool check : {false, true}) {
            const PreparedText prepared = PrepareTextToEncode(bad, check);
            EXPECT_EQ(prepared.code, kInvalidCharacter);
            EXPECT_EQ(prepared.textToEncode, bad);
        }
    }
}

// Module strings worked out by hand from the pattern tables where the round trip cannot tell:
// the width of wide elements (a reader takes 2 or 3 modules alike), a wrong EAN-13 check digit
// and an inner asterisk (a reader refuses them), the empty symbol.
TEST(Encoders, ModuleStringsAndRefusals) {
    struct Case {
        Encoding (*encode)(std::u16string_view);
        std::u16string_view text;
        std::int16_t code;
        std::string_view modules;
        const char* why;
    };
    const Case cases[] = {
        {EncodeInterleaved2of5, u"12", kDrawn, "1010110100101011001101", "1 bars, 2 spaces"},
        {EncodeInterleaved2of5, u"", kDrawn, "10101101", "nothing but start and stop"},
        {EncodeInterleaved2of5, u"12345", kInvalidLength, "", "odd length"},
        {EncodeInterleaved2of5, u"1 ", kInvalidCharacter, "", "a text not prepared"},
        {EncodeStandard2of5, u"1 2", kInvalidCharacter, "", "inner space"},
        {EncodeStandard2of5, u"\u0661", kInvalidCharacter, "", "a digit of another script"},
        // Guards, L2 L3 G4 L5 G6 G7, guards, R8 R9 R0 R1 R2 R0, guards.
        {EncodeEan13, u"1234567890120", kDrawn,
         "10100100110111101001110101100010000101001000101010100100011101001110010110011011011001110"
         "010101",
         "parity row OOEOEE; a wrong check digit is drawn as given"},
        {EncodeEan13, u"123456789012", kInvalidLength, "", "12 digits"},
        {EncodeEan13, u"12345678901286", kInvalidLength, "", "14 digits"},
        {EncodeEan13, u"12345A7890123", kInvalidCharacter, "", "a letter"},
        {EncodeEan13, u"400638133393 ", kInvalidCharacter, "", "a space"},
        // Start, A, *, Z, stop, with one narrow gap between characters.
        {EncodeCode39, u"  a*z ", kDrawn,
         "1001011011010110101001011010010110110101001101101010100101101101",
         "trimmed, upper-cased, an inner asterisk"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.encode(c.text), (Encoding{c.code, std::string(c.modules)})) << c.why;
    }
    // Dotless i and long s are not raised to I and S; no diacritics, no full-width letters.
    for (const char16_t bad : std::u16string_view(u",_\t\u00E9\u00C9\u0131\u017F\uFF21")) {
        EXPECT_EQ(EncodeCode39(std::u16string(u"A") + bad).code, kInvalidCharacter) << int{bad};
    }
}

// Lengths, sums and module counts are 16-bit: the longest texts that fit, and one more.
TEST(Encoders, SixteenBitLimits) {
    // 1820 nines sum to 32760; one more nine (weight 3) passes 32767, summed in any case.
    EXPECT_EQ(PrepareTextToEncode(std::u16string(1820, u'9'), true).code, kDrawn);
    for (const bool check : {false, true}) {
        EXPECT_EQ(FailureOf([&] { PrepareTextToEncode(std::u16string(1821, u'9'), check); }),
                  FailureReason::Overflow);
    }
    // Surrounding spaces do not count towards the length.
    EXPECT_EQ(PrepareTextToEncode(u"  " + std::u16string(32767, u'0') + u"  ", false).code, kDrawn);
    EXPECT_EQ(FailureOf([] { PrepareTextToEncode(std::u16string(32768, u'0'), false); }),
              FailureReason::Overflow);

    EXPECT_EQ(EncodeInterleaved2of5(std::u16string(4678, u'7')).modules.size(), 32754u);  // 7 each
    EXPECT_EQ(FailureOf([] { EncodeInterleaved2of5(std::u16string(4680, u'7')); }),
              FailureReason::Overflow);
    EXPECT_EQ(EncodeStandard2of5(std::u16string(2339, u'3')).modules.size(), 32761u);  // 14 each
    EXPECT_EQ(FailureOf([] { EncodeStandard2of5(std::u16string(2340, u'3')); }),
              FailureReason::Overflow);
    EXPECT_EQ(EncodeCode39(std::u16string(2518, u'Q')).modules.size(), 32759u);  // 13 x 2518 + 25
    EXPECT_EQ(FailureOf([] { EncodeCode39(std::u16string(2519, u'Q')); }), FailureReason::Overflow);
    // A text refused anyway is refused before its modules are counted.
    EXPECT_EQ(EncodeInterleaved2of5(std::u16string(4681, u'7')).code, kInvalidLength);
    EXPECT_EQ(EncodeStandard2of5(std::u16string(2340, u'x')).code, kInvalidCharacter);
    EXPECT_EQ(EncodeCode39(std::u16string(2519, u'Q') + u",").code, kInvalidCharacter);
}

// The digit counts the program explains its length refusals with are the encoders' own.
TEST(Encoders, DigitsTakenAreTheLengthsTheEncodersTake) {
    for (const Symbology& symbology : Symbologies()) {
        if (!symbology.numeric) continue;
        for (std::size_t digits = 1; digits <= 15; ++digits) {
            const TextEncoding encoded = EncodeText(symbology, std::u16string(digits, u'0'), false);
            EXPECT_EQ(encoded.code == kInvalidLength, !DigitsTaken(symbology).Takes(digits))
                << symbology.displayName << ", " << digits << " digits";
        }
    }
}

}  // namespace
}  // namespace qv::symbology
