#include <gtest/gtest.h>

#include "symbology/NumericEncoding.h"

namespace qv::symbology {
namespace {

// Expected symbols worked out by hand from the parity rows and L codes (R: inverted;
// G: inverted and reversed), one group of modules per digit.
constexpr const char* k4006381333931 =
    "101 0001101 0100111 0101111 0111101 0001001 0110011 01010 "  // L0 G0 L6 L3 G8 G1
    "1000010 1000010 1000010 1110100 1000010 1100110 101";        // R3 R3 R3 R9 R3 R1
constexpr const char* k1234567890128 =
    "101 0010011 0111101 0011101 0110001 0000101 0010001 01010 "  // L2 L3 G4 L5 G6 G7
    "1001000 1110100 1110010 1100110 1101100 1001000 101";        // R8 R9 R0 R1 R2 R8
constexpr const char* k1234567890120 =
    "101 0010011 0111101 0011101 0110001 0000101 0010001 01010 "
    "1001000 1110100 1110010 1100110 1101100 1110010 101";  // ... R2 R0
constexpr const char* k0000000000000 =
    "101 0001101 0001101 0001101 0001101 0001101 0001101 01010 "  // all L0
    "1110010 1110010 1110010 1110010 1110010 1110010 101";

TEST(Ean13, EncodesThirteenDigits) {
    ExpectEncodings(
        EncodeEan13,
        {
            {u"400638133393", true, kDrawn, k4006381333931, "parity row OEOOEE, check digit 1"},
            {u"4006381333931", false, kDrawn, k4006381333931, "13 digits drawn as given"},
            {u"123456789012", true, kDrawn, k1234567890128, "parity row OOEOEE, check digit 8"},
            {u"1234567890120", false, kDrawn, k1234567890120, "a wrong check digit is kept"},
            {u" 0000000000000 ", false, kDrawn, k0000000000000, "first digit 0: all L codes"},
            {u"123456789012", false, kInvalidLength, "", "12 digits without a check digit"},
            {u"1234567890128", true, kInvalidLength, "", "14 digits with one"},
            {u"12345A789012", true, kInvalidCharacter, "", "a letter"},
            {u"12345A7890123", false, kInvalidCharacter, "", "a letter, whatever the length"},
        });
    EXPECT_EQ(Modules(k4006381333931).size(), 95u);
    EXPECT_EQ(EncodeEan13(u"400638133393 ").code, kInvalidCharacter);
}

}  // namespace
}  // namespace qv::symbology
