#include <gtest/gtest.h>

#include <string>

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

// Expected symbols worked out by hand from the parity rows and L codes (R: inverted;
// G: inverted and reversed), one group of modules per digit.
const std::string k4006381333931 =
    "101"
    "0001101"
    "0100111"
    "0101111"
    "0111101"
    "0001001"
    "0110011"  // L0 G0 L6 L3 G8 G1
    "01010"
    "1000010"
    "1000010"
    "1000010"
    "1110100"
    "1000010"
    "1100110"  // R3 R3 R3 R9 R3 R1
    "101";
const std::string k1234567890128 =
    "101"
    "0010011"
    "0111101"
    "0011101"
    "0110001"
    "0000101"
    "0010001"  // L2 L3 G4 L5 G6 G7
    "01010"
    "1001000"
    "1110100"
    "1110010"
    "1100110"
    "1101100"
    "1001000"  // R8 R9 R0 R1 R2 R8
    "101";
const std::string k1234567890120 = k1234567890128.substr(0, 85) +
                                   "1110010"
                                   "101";
const std::string k0000000000000 =
    "101"
    "0001101"
    "0001101"
    "0001101"
    "0001101"
    "0001101"
    "0001101"  // all L0
    "01010"
    "1110010"
    "1110010"
    "1110010"
    "1110010"
    "1110010"
    "1110010"
    "101";

TEST(Ean13, EncodesThirteenDigits) {
    const Case cases[] = {
        {u"400638133393", true, kDrawn, k4006381333931, "parity row OEOOEE, check digit 1"},
        {u"4006381333931", false, kDrawn, k4006381333931, "13 digits drawn as given"},
        {u"123456789012", true, kDrawn, k1234567890128, "parity row OOEOEE, check digit 8"},
        {u"1234567890120", false, kDrawn, k1234567890120, "a wrong check digit is not verified"},
        {u" 0000000000000 ", false, kDrawn, k0000000000000, "first digit 0: all L codes"},
        {u"123456789012", false, kInvalidLength, "", "12 digits without a check digit"},
        {u"1234567890128", true, kInvalidLength, "", "14 digits with one"},
        {u"12345A789012", true, kInvalidCharacter, "", "a letter"},
        {u"12345A7890123", false, kInvalidCharacter, "", "a letter, whatever the length"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodePrepared(EncodeEan13, c.input, c.calculateCheckDigit),
                  (Encoding{c.code, c.modules}))
            << c.why;
    }
    EXPECT_EQ(k4006381333931.size(), 95u);
    EXPECT_EQ(EncodeEan13(u"400638133393 ").code, kInvalidCharacter);
}

}  // namespace
}  // namespace qv::symbology
