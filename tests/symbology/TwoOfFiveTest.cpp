#include <gtest/gtest.h>

#include "host/FailedCall.h"
#include "symbology/NumericEncoding.h"

namespace qv::symbology {
namespace {

TEST(Interleaved2of5, EncodesDigitPairsInBarsAndSpaces) {
    ExpectEncodings(EncodeInterleaved2of5,
                    {
                        {u"12", false, kDrawn, "1010 11010010101100 1101", "bars 1, spaces 2"},
                        {u"00", false, kDrawn, "1010 10101100110010 1101", "both of 0"},
                        {u"21", false, kDrawn, "1010 10011010101100 1101", "order in a pair"},
                        {u"1234", false, kDrawn, "1010 11010010101100 11011010010100 1101", ""},
                        {u"12345", false, kInvalidLength, "", "odd length, no check digit"},
                        {u"1234", true, kInvalidLength, "", "12348 is odd"},
                        {u"1A", false, kInvalidCharacter, "", "refused by the preparation"},
                        {u"", false, kDrawn, "1010 1101", "nothing but start and stop"},
                    });
    // A text that did not pass the preparation is still refused.
    EXPECT_EQ(EncodeInterleaved2of5(u"1 ").code, kInvalidCharacter);
}

TEST(Standard2of5, EncodesEveryDigitInFiveBars) {
    ExpectEncodings(
        EncodeStandard2of5,
        {
            {u"1", false, kDrawn, "11011010 11101010101110 1101011", "29 modules"},
            {u"0", false, kDrawn, "11011010 10101110111010 1101011", "wide: 3"},
            {u"12", false, kDrawn, "11011010 11101010101110 10111010101110 1101011", "odd or even"},
            {u"1 2", false, kInvalidCharacter, "", "inner space"},
            {u"\u0661", false, kInvalidCharacter, "", "a digit of another script"},
        });
}

// The longest texts whose module count fits 16 bits, and one character more.
TEST(TwoOfFive, ModuleCountIsSixteenBit) {
    EXPECT_EQ(EncodeInterleaved2of5(std::u16string(4678, u'7')).modules.size(), 32754u);
    EXPECT_THROW(EncodeInterleaved2of5(std::u16string(4680, u'7')), host::FailedCall);
    // Odd length is refused before the module count is reached.
    EXPECT_EQ(EncodeInterleaved2of5(std::u16string(4681, u'7')).code, kInvalidLength);
    EXPECT_EQ(EncodeStandard2of5(std::u16string(2339, u'3')).modules.size(), 32761u);
    EXPECT_THROW(EncodeStandard2of5(std::u16string(2340, u'3')), host::FailedCall);
    EXPECT_EQ(EncodeStandard2of5(std::u16string(2340, u'x')).code, kInvalidCharacter);
}

}  // namespace
}  // namespace qv::symbology
