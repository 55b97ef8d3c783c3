// Reads each encoder's module string back with an independent barcode reader, so a table
// error that the module-string tests would copy is still found.
#include <gtest/gtest.h>

#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "support/RoundTrip.h"
#include "symbology/Encoders.h"

namespace qv::symbology {
namespace {

// Three pixels a module, a quiet zone of 12 modules either side, 30 rows alike.
std::string ReadWithZxing(const std::string& modules, ZXing::BarcodeFormat format) {
    std::vector<std::uint8_t> row(36, 0xFF);
    for (const char module : modules) row.insert(row.end(), 3, module == '1' ? 0 : 0xFF);
    row.insert(row.end(), 36, 0xFF);
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < 30; ++y) pixels.insert(pixels.end(), row.begin(), row.end());
    const ZXing::ImageView image(pixels.data(), static_cast<int>(row.size()), 30,
                                 ZXing::ImageFormat::Lum);
    const ZXing::Result result = ZXing::ReadBarcode(image, ZXing::DecodeHints().setFormats(format));
    return result.isValid() && result.format() == format ? result.text() : "not read";
}

TEST(RoundTrip, EveryEncoderIsReadBack) {
    using ZXing::BarcodeFormat;
    struct Case {
        BarcodeFormat format;  // None: Standard 2 of 5, against the published table
        std::u16string_view input;
        bool calculateCheckDigit;
        std::string decoded;
    };
    const auto itf = BarcodeFormat::ITF, ean = BarcodeFormat::EAN13;
    const auto c39 = BarcodeFormat::Code39, s25 = BarcodeFormat::None;
    const Case cases[] = {
        {itf, u"12345", true, "123457"},
        {itf, u"9876543210", false, "9876543210"},
        {itf, u"4006381333931", true, "40063813339314"},  // sum 86
        // Every first digit once, each choosing its own parity row; check digits worked out
        // apart from the encoder.
        {ean, u"0000000000000", false, "0000000000000"},  // all L codes
        {ean, u"123456789012", true, "1234567890128"},
        {ean, u"200123456789", true, "2001234567893"},
        {ean, u"312345678901", true, "3123456789019"},
        {ean, u"400638133393", true, "4006381333931"},  // parity row OEOOEE
        {ean, u"5901234123457", false, "5901234123457"},
        {ean, u"690123456789", true, "6901234567892"},
        {ean, u"750103131130", true, "7501031311309"},
        {ean, u"871234567890", true, "8712345678906"},  // parity row OEOEEO
        {ean, u"978014300723", true, "9780143007234"},
        {s25, u"12345", true, "123457"},
        {s25, u"0123456789", false, "0123456789"},
        {s25, u"1234", true, "12348"},
        // Code 39 takes Text as stored: trimmed, and read back in upper case.
        {c39, u"A", false, "A"},
        {c39, u"qvbarcode", false, "QVBARCODE"},
        {c39, u"  CODE-39 . $/+% 0123456789 ", false, "CODE-39 . $/+% 0123456789"},
        {c39, u"BDEFGHIJKLMNOPQRSTUVWXYZ", false, "BDEFGHIJKLMNOPQRSTUVWXYZ"},
    };
    for (const Case& c : cases) {
        const auto encode = c.format == itf   ? EncodeInterleaved2of5
                            : c.format == ean ? EncodeEan13
                            : c.format == s25 ? EncodeStandard2of5
                                              : EncodeCode39;
        const PreparedText prepared = PrepareTextToEncode(c.input, c.calculateCheckDigit);
        ASSERT_TRUE(c.format == c39 || prepared.code == kDrawn) << c.decoded;
        const Encoding encoding = encode(c.format == c39 ? c.input : prepared.textToEncode);
        ASSERT_EQ(encoding.code, kDrawn) << c.decoded;
        if (c.format == s25) {
            EXPECT_EQ(encoding.modules, testing::Standard2of5Modules(c.decoded));
        } else {
            EXPECT_EQ(ReadWithZxing(encoding.modules, c.format), c.decoded);
        }
    }
}

// Random valid texts of every symbology drawn as a host would and read back, Standard 2 of 5
// as modules against the published table; a failure names the seed that makes its case again.
TEST(RoundTrip, RandomBarcodesAreReadBack) {
    control::QvBarCode control;
    int checked = 0;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        std::mt19937 random(seed);
        const testing::RoundTripCase c = testing::MakeRoundTripCase([&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        });
        const testing::RoundTripOutcome outcome = testing::DrawAndRead(control, c);
        EXPECT_EQ(testing::RoundTripFault(outcome), "")
            << "seed " << seed << ": " << testing::Describe(c);
        checked += outcome.middleRowClear;
    }
    EXPECT_GT(checked, 250);  // a caption covers the middle row of fewer than a third
}

}  // namespace
}  // namespace qv::symbology
