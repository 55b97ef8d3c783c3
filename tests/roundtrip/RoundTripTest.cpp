// Reads each encoder's module string back with an independent barcode reader, drawn as
// pixels, so a table error that the module-string tests would copy is still found.
#include <gtest/gtest.h>

#include <ZXing/ReadBarcode.h>

#include <string>
#include <utility>
#include <vector>

#include "surface/RasterSurface.h"
#include "symbology/Encoders.h"

namespace qv::symbology {
namespace {

constexpr std::int32_t kModulePixels = 3;
constexpr std::int32_t kQuietModules = 12;

std::string ReadWithZxing(const std::string& modules, ZXing::BarcodeFormat format) {
    const auto width =
        static_cast<std::int32_t>(modules.size() + 2 * kQuietModules) * kModulePixels;
    surface::RasterSurface surface(width, 60, surface::kWhite);
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const auto left = (static_cast<std::int32_t>(i) + kQuietModules) * kModulePixels;
        if (modules[i] == '1')
            surface.FillRect({left, 0, left + kModulePixels, 60}, surface::kBlack);
    }
    const std::vector<std::uint8_t> pixels = surface.ContiguousPixels();
    const ZXing::ImageView image(pixels.data(), width, surface.height(), ZXing::ImageFormat::RGB,
                                 static_cast<int>(surface.RowBytes()));
    const ZXing::Result result = ZXing::ReadBarcode(image, ZXing::DecodeHints().setFormats(format));
    return result.isValid() && result.format() == format ? result.text() : "not read";
}

// No reader for Standard 2 of 5 is at hand: decode the bar widths with the symbology's
// weights 1, 2, 4, 7 and 0 of the wide bars (4 + 7 stands for 0); every space is narrow.
std::string ReadStandard2of5(const std::string& modules) {
    std::vector<int> bars;
    int run = 0;
    for (const char module : modules + '0') {  // a space after the stop ends its last bar
        if (module == '1') {
            ++run;
        } else if (run > 0) {
            bars.push_back(std::exchange(run, 0));
        }
    }
    // Start: two wide bars (2 modules) and a narrow one; stop: wide, narrow, wide.
    const int start[] = {2, 2, 1}, stop[] = {2, 1, 2};
    if (modules.find("00") != std::string::npos || modules.front() != '1' ||
        modules.back() != '1' || bars.size() < 6 || (bars.size() - 6) % 5 != 0 ||
        !std::equal(start, start + 3, bars.begin()) ||
        !std::equal(stop, stop + 3, bars.end() - 3)) {
        return "bad frame";
    }
    constexpr int kWeights[5] = {1, 2, 4, 7, 0};
    std::string digits;
    for (std::size_t first = 3; first + 3 < bars.size(); first += 5) {
        int value = 0, wide = 0;
        for (std::size_t element = 0; element < 5; ++element) {
            const int width = bars[first + element];
            if (width != 1 && width != 3) return "bad bar";
            value += width == 3 ? kWeights[element] : 0;
            wide += width == 3;
        }
        if (wide != 2) return "bad digit";
        digits.push_back(static_cast<char>('0' + value % 11));
    }
    return digits;
}

TEST(RoundTrip, EveryEncoderIsReadBack) {
    using ZXing::BarcodeFormat;
    struct Case {
        BarcodeFormat format;  // None: Standard 2 of 5 and the reader above
        std::u16string_view input;
        bool calculateCheckDigit;
        std::string decoded;
    };
    const auto itf = BarcodeFormat::ITF, ean = BarcodeFormat::EAN13;
    const auto c39 = BarcodeFormat::Code39, s25 = BarcodeFormat::None;
    const Case cases[] = {
        {itf, u"12345", true, "123457"},
        {itf, u"00000000", false, "00000000"},  // spaces and bars of one pattern
        {itf, u"9876543210", false, "9876543210"},
        {itf, u"4006381333931", true, "40063813339314"},  // sum 86
        {ean, u"400638133393", true, "4006381333931"},    // parity row OEOOEE
        {ean, u"123456789012", true, "1234567890128"},
        {ean, u"0000000000000", false, "0000000000000"},  // all L codes
        {ean, u"978014300723", true, "9780143007234"},
        {ean, u"871234567890", true, "8712345678906"},  // parity row OEOEEO
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
        EXPECT_EQ(c.format == s25 ? ReadStandard2of5(encoding.modules)
                                  : ReadWithZxing(encoding.modules, c.format),
                  c.decoded);
    }
}

}  // namespace
}  // namespace qv::symbology
