#include <gtest/gtest.h>

#include <string>

#include "component/FailedCall.h"
#include "symbology/NumericEncoding.h"

namespace qv::symbology {
namespace {

struct Case {
    std::u16string input;
    bool calculateCheckDigit;
    std::int16_t code;
    std::string modules;
    const char* why;
};

TEST(Interleaved2of5, EncodesDigitPairsInBarsAndSpaces) {
    const Case cases[] = {
        {u"12", false, kDrawn,
         "1010"
         "11010010101100"
         "1101",
         "bars of 1, spaces of 2"},
        {u"00", false, kDrawn,
         "1010"
         "10101100110010"
         "1101",
         "bars and spaces both of 0"},
        {u"1234", false, kDrawn, "101011010010101100110110100101001101", "two pairs, 36 modules"},
        {u"21", false, kDrawn,
         "1010"
         "10011010101100"
         "1101",
         "order within a pair matters"},
        {u"12345", false, kInvalidLength, "", "odd length without a check digit"},
        {u"1234", true, kInvalidLength, "", "12348 is odd after the check digit"},
        {u"1A", false, kInvalidCharacter, "", "refused by the preparation"},
        {u"", false, kDrawn, "10101101", "nothing but start and stop"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodePrepared(EncodeInterleaved2of5, c.input, c.calculateCheckDigit),
                  (Encoding{c.code, c.modules}))
            << c.why;
    }
    // 123457: six digits, 7 x 6 + 8 modules.
    EXPECT_EQ(EncodePrepared(EncodeInterleaved2of5, u"12345", true).modules.size(), 50u);
    // A text that did not pass the preparation is still refused.
    EXPECT_EQ(EncodeInterleaved2of5(u"1 ").code, kInvalidCharacter);
}

TEST(Interleaved2of5, ModuleCountIsSixteenBit) {
    EXPECT_EQ(EncodeInterleaved2of5(std::u16string(4678, u'7')).modules.size(), 32754u);
    EXPECT_THROW(EncodeInterleaved2of5(std::u16string(4680, u'7')), component::FailedCall);
    // Odd length is refused before the module count is reached.
    EXPECT_EQ(EncodeInterleaved2of5(std::u16string(4681, u'7')).code, kInvalidLength);
}

TEST(Standard2of5, EncodesEveryDigitInFiveBars) {
    const Case cases[] = {
        {u"1", false, kDrawn,
         "11011010"
         "11101010101110"
         "1101011",
         "one digit, 29 modules"},
        {u"12", false, kDrawn,
         "11011010"
         "11101010101110"
         "10111010101110"
         "1101011",
         "odd or even both accepted"},
        {u"0", false, kDrawn,
         "11011010"
         "10101110111010"
         "1101011",
         "wide bars are 3 modules"},
        {u"1 2", false, kInvalidCharacter, "", "inner space"},
        {u"\u0661", false, kInvalidCharacter, "", "a digit of another script"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodePrepared(EncodeStandard2of5, c.input, c.calculateCheckDigit),
                  (Encoding{c.code, c.modules}))
            << c.why;
    }
    // 123457: 14 x 6 + 15 modules, ending with the last stop bar.
    const Encoding withCheckDigit = EncodePrepared(EncodeStandard2of5, u"12345", true);
    EXPECT_EQ(withCheckDigit.modules.size(), 99u);
    EXPECT_TRUE(withCheckDigit.modules.ends_with("1101011"));
}

TEST(Standard2of5, ModuleCountIsSixteenBit) {
    EXPECT_EQ(EncodeStandard2of5(std::u16string(2339, u'3')).modules.size(), 32761u);
    EXPECT_THROW(EncodeStandard2of5(std::u16string(2340, u'3')), component::FailedCall);
    EXPECT_EQ(EncodeStandard2of5(std::u16string(2340, u'x')).code, kInvalidCharacter);
}

}  // namespace
}  // namespace qv::symbology
