// Draws each encoder's module string as pixels and reads it back with an independent
// barcode reader, so a table error that the module-string tests would copy is still found.
#include <gtest/gtest.h>

#include <ZXing/ReadBarcode.h>

#include <functional>
#include <string>
#include <vector>

#include "surface/RasterSurface.h"
#include "symbology/Encoders.h"

namespace qv::symbology {
namespace {

constexpr std::int32_t kModulePixels = 3;
constexpr std::int32_t kQuietModules = 12;
constexpr std::int32_t kBarHeight = 60;

surface::RasterSurface Render(const std::string& modules) {
    const auto width =
        static_cast<std::int32_t>(modules.size() + 2 * kQuietModules) * kModulePixels;
    surface::RasterSurface surface(width, kBarHeight, surface::kWhite);
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const auto left = (static_cast<std::int32_t>(i) + kQuietModules) * kModulePixels;
        if (modules[i] == '1')
            surface.FillRect({left, 0, left + kModulePixels, kBarHeight}, surface::kBlack);
    }
    return surface;
}

using Reader = std::function<std::string(const surface::RasterSurface&)>;

Reader Zxing(ZXing::BarcodeFormat format) {
    return [format](const surface::RasterSurface& surface) -> std::string {
        const std::vector<std::uint8_t> pixels = surface.ContiguousPixels();
        const ZXing::ImageView image(pixels.data(), surface.width(), surface.height(),
                                     ZXing::ImageFormat::RGB, static_cast<int>(surface.RowBytes()));
        ZXing::DecodeHints hints;
        hints.setFormats(format);
        const ZXing::Result result = ZXing::ReadBarcode(image, hints);
        return result.isValid() && result.format() == format ? result.text() : "not read";
    };
}

struct Case {
    std::u16string input;
    bool calculateCheckDigit;
    std::string decoded;
    const char* why;
};

// Numeric symbologies encode the prepared text, as the control runs them.
template <typename Encoder>
void ExpectRoundTrips(Encoder encode, bool numeric, const Reader& read,
                      std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const PreparedText prepared = PrepareTextToEncode(c.input, c.calculateCheckDigit);
        ASSERT_TRUE(!numeric || prepared.code == kDrawn);
        const Encoding encoding = encode(numeric ? prepared.textToEncode : c.input);
        ASSERT_EQ(encoding.code, kDrawn);
        EXPECT_EQ(read(Render(encoding.modules)), c.decoded);
    }
}

TEST(RoundTrip, Interleaved2of5) {
    ExpectRoundTrips(EncodeInterleaved2of5, true, Zxing(ZXing::BarcodeFormat::ITF),
                     {
                         {u"123457", false, "123457", "six digits as given"},
                         {u"12345", true, "123457", "check digit appended"},
                         {u"00000000", false, "00000000", "all spaces and bars of one pattern"},
                         {u"9876543210", false, "9876543210", "every digit once"},
                         {u"4006381333931", true, "40063813339314", "sum 86, check digit 4"},
                     });
}

TEST(RoundTrip, Ean13) {
    ExpectRoundTrips(EncodeEan13, true, Zxing(ZXing::BarcodeFormat::EAN13),
                     {
                         {u"400638133393", true, "4006381333931", "check digit 1"},
                         {u"123456789012", true, "1234567890128", "check digit 8"},
                         {u"0000000000000", false, "0000000000000", "first digit 0: all L codes"},
                         {u"5901234123457", false, "5901234123457", "13 digits as given"},
                         {u"978014300723", true, "9780143007234", "a book number"},
                         {u"871234567890", true, "8712345678906", "parity row OEOEEO"},
                     });
}

TEST(RoundTrip, Code39) {
    ExpectRoundTrips(
        EncodeCode39, false, Zxing(ZXing::BarcodeFormat::Code39),
        {
            {u"A", false, "A", "one letter"},
            {u"qvbarcode", false, "QVBARCODE", "lower case read back as upper case"},
            {u"  CODE-39 . 0123456789 ", false, "CODE-39 . 0123456789", "trimmed; digits"},
            {u"KLMNOPQRSTUVWXYZ", false, "KLMNOPQRSTUVWXYZ", "the rest of the alphabet"},
            {u"BDEFGHIJ", false, "BDEFGHIJ", "letters not covered above"},
        });
}

// No reader for Standard 2 of 5 is at hand: read the pixels back into bar widths and decode
// them with the symbology's weights 1, 2, 4, 7 and 0 of the wide bars (4 + 7 stands for 0).
std::string ReadStandard2of5(const surface::RasterSurface& surface) {
    std::vector<int> bars{0};
    for (std::int32_t x = 0; x < surface.width(); x += kModulePixels) {
        if (surface.PixelAt(x, kBarHeight / 2) == surface::kBlack) {
            ++bars.back();
        } else if (bars.back() > 0) {
            bars.push_back(0);
        }
    }
    bars.pop_back();  // the quiet zone ends every symbol
    // Start: two wide bars (2 modules) and a narrow one; stop: wide, narrow, wide.
    const int start[] = {2, 2, 1}, stop[] = {2, 1, 2};
    if (bars.size() < 6 || (bars.size() - 6) % 5 != 0 ||
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

TEST(RoundTrip, Standard2of5) {
    ExpectRoundTrips(EncodeStandard2of5, true, ReadStandard2of5,
                     {
                         {u"1", false, "1", "one digit"},
                         {u"12345", true, "123457", "check digit appended"},
                         {u"0123456789", false, "0123456789", "every digit once"},
                         {u"1234", true, "12348", "odd length after the check digit"},
                     });
}

}  // namespace
}  // namespace qv::symbology
