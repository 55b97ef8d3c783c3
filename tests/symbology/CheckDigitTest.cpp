#include <gtest/gtest.h>

#include <string>

#include "host/FailedCall.h"
#include "symbology/Encoders.h"

namespace qv::symbology {
namespace {

struct Case {
    std::u16string input;
    bool calculateCheckDigit;
    std::int16_t code;
    std::u16string textToEncode;
    const char* why;
};

TEST(PrepareTextToEncode, ChecksDigitsAndAppendsTheWeightedCheckDigit) {
    const Case cases[] = {
        {u"12345", true, kDrawn, u"123457", "sum 33: weights 3,1 from the right"},
        {u"400638133393", true, kDrawn, u"4006381333931", "sum 89"},
        {u"1234", true, kDrawn, u"12348", "sum 22: even length, rightmost still weight 3"},
        {u"0", true, kDrawn, u"00", "sum 0 gives check digit 0, never 10"},
        {u"19", true, kDrawn, u"192", "9x3 + 1 = 28; weights starting at 1 would give 8"},
        {u" 1234 ", true, kDrawn, u"12348", "surrounding spaces are trimmed"},
        {u" 1234 ", false, kDrawn, u"1234", "trimmed, nothing appended"},
        {u"1234567890128", true, kDrawn, u"12345678901286",
         "an existing check digit is not seen: sum 124"},
        {u"12 34", true, kInvalidCharacter, u"12 34", "inner space"},
        {u"12A4", false, kInvalidCharacter, u"12A4", "checked even without a check digit"},
        {u"A1234", true, kInvalidCharacter, u"A1234", "leftmost is scanned last and still checked"},
        {u"-12", true, kInvalidCharacter, u"-12", "a sign"},
        {u"1.5", true, kInvalidCharacter, u"1.5", "a decimal point"},
        {u"1\u0663", true, kInvalidCharacter, u"1\u0663", "an Arabic-Indic digit"},
        {u"\uFF11", false, kInvalidCharacter, u"\uFF11", "a full-width digit"},
        {u"\t12", false, kInvalidCharacter, u"\t12", "only spaces are trimmed"},
    };
    for (const Case& c : cases) {
        const PreparedText prepared = PrepareTextToEncode(c.input, c.calculateCheckDigit);
        EXPECT_EQ(prepared.code, c.code) << c.why;
        EXPECT_EQ(prepared.textToEncode, c.textToEncode) << c.why;
    }
}

TEST(PrepareTextToEncode, SumAndLengthAreSixteenBit) {
    // 1820 nines sum to 32760; one more nine (weight 3) passes 32767.
    EXPECT_EQ(PrepareTextToEncode(std::u16string(1820, u'9'), true).code, kDrawn);
    EXPECT_THROW(PrepareTextToEncode(std::u16string(1821, u'9'), true), host::FailedCall);
    EXPECT_THROW(PrepareTextToEncode(std::u16string(1821, u'9'), false), host::FailedCall);

    EXPECT_EQ(PrepareTextToEncode(std::u16string(32767, u'0'), false).code, kDrawn);
    try {
        PrepareTextToEncode(std::u16string(32768, u'0'), false);
        FAIL() << "a text of 32768 digits must not be measured in 16 bits";
    } catch (const host::FailedCall& failed) {
        EXPECT_EQ(failed.reason(), host::FailureReason::Overflow);
    }
    // Surrounding spaces do not count towards the length.
    EXPECT_EQ(PrepareTextToEncode(u"  " + std::u16string(32767, u'0') + u"  ", false).code, kDrawn);
}

}  // namespace
}  // namespace qv::symbology
