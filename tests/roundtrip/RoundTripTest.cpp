// Draws each encoder's module string as pixels and reads it back with an independent
// barcode reader, so a table error that the module-string tests would copy is still found.
#include <gtest/gtest.h>

#include <ZXing/ReadBarcode.h>

#include <string>
#include <vector>

#include "symbology/Encoders.h"
#include "symbology/RasterSurface.h"

namespace qv::symbology {
namespace {

constexpr std::int32_t kModulePixels = 3;
constexpr std::int32_t kQuietModules = 12;
constexpr std::int32_t kBarHeight = 60;

RasterSurface Render(const std::string& modules) {
    const auto width =
        static_cast<std::int32_t>(modules.size() + 2 * kQuietModules) * kModulePixels;
    RasterSurface surface(width, kBarHeight, kWhite);
    for (std::size_t i = 0; i < modules.size(); ++i) {
        if (modules[i] != '1') {
            continue;
        }
        const auto left = (static_cast<std::int32_t>(i) + kQuietModules) * kModulePixels;
        for (std::int32_t x = left; x < left + kModulePixels; ++x) {
            for (std::int32_t y = 0; y < kBarHeight; ++y) {
                surface.SetPixel(x, y, kBlack);
            }
        }
    }
    return surface;
}

ZXing::Result Decode(const RasterSurface& surface, ZXing::BarcodeFormat format) {
    const ZXing::ImageView image(surface.RowData(0), surface.width(), surface.height(),
                                 ZXing::ImageFormat::RGB, static_cast<int>(surface.RowBytes()));
    ZXing::DecodeHints hints;
    hints.setFormats(format);
    return ZXing::ReadBarcode(image, hints);
}

std::string Narrow(std::u16string_view text) {
    return std::string(text.begin(), text.end());
}

struct Case {
    std::u16string input;
    bool calculateCheckDigit;
    std::string decoded;
    const char* why;
};

template <typename Encoder>
void ExpectRoundTrip(Encoder encode, ZXing::BarcodeFormat format, const Case& c) {
    const PreparedText prepared = PrepareTextToEncode(c.input, c.calculateCheckDigit);
    ASSERT_EQ(prepared.code, kDrawn) << c.why;
    const Encoding encoding = encode(prepared.textToEncode);
    ASSERT_EQ(encoding.code, kDrawn) << c.why;
    const ZXing::Result result = Decode(Render(encoding.modules), format);
    ASSERT_TRUE(result.isValid()) << c.why;
    EXPECT_EQ(result.format(), format) << c.why;
    EXPECT_EQ(result.text(), c.decoded) << c.why;
    EXPECT_EQ(result.text(), Narrow(prepared.textToEncode)) << c.why;
}

TEST(RoundTrip, Interleaved2of5) {
    const Case cases[] = {
        {u"123457", false, "123457", "six digits as given"},
        {u"12345", true, "123457", "check digit appended"},
        {u"00000000", false, "00000000", "all spaces and bars of one pattern"},
        {u"9876543210", false, "9876543210", "every digit once"},
        {u"4006381333931", true, "40063813339314", "sum 86, check digit 4"},
    };
    for (const Case& c : cases) {
        ExpectRoundTrip(EncodeInterleaved2of5, ZXing::BarcodeFormat::ITF, c);
    }
}

TEST(RoundTrip, Ean13) {
    const Case cases[] = {
        {u"400638133393", true, "4006381333931", "check digit 1"},
        {u"123456789012", true, "1234567890128", "check digit 8"},
        {u"0000000000000", false, "0000000000000", "first digit 0: all L codes"},
        {u"5901234123457", false, "5901234123457", "13 digits as given"},
        {u"978014300723", true, "9780143007234", "a book number"},
        {u"871234567890", true, "8712345678906", "parity row OEOEEO"},
    };
    for (const Case& c : cases) {
        ExpectRoundTrip(EncodeEan13, ZXing::BarcodeFormat::EAN13, c);
    }
}

TEST(RoundTrip, Code39) {
    const Case cases[] = {
        {u"A", false, "A", "one letter"},
        {u"qvbarcode", false, "QVBARCODE", "lower case read back as upper case"},
        {u"  CODE-39 . 0123456789 ", false, "CODE-39 . 0123456789", "trimmed; digits"},
        {u"KLMNOPQRSTUVWXYZ", false, "KLMNOPQRSTUVWXYZ", "the rest of the alphabet"},
        {u"BDEFGHIJ", false, "BDEFGHIJ", "letters not covered above"},
    };
    for (const Case& c : cases) {
        const Encoding encoding = EncodeCode39(c.input);
        ASSERT_EQ(encoding.code, kDrawn) << c.why;
        const ZXing::Result result = Decode(Render(encoding.modules), ZXing::BarcodeFormat::Code39);
        ASSERT_TRUE(result.isValid()) << c.why;
        EXPECT_EQ(result.format(), ZXing::BarcodeFormat::Code39) << c.why;
        EXPECT_EQ(result.text(), c.decoded) << c.why;
    }
}

// No reader for Standard 2 of 5 is at hand: read the pixels back into bar widths and decode
// them with the symbology's weights 1, 2, 4, 7 and 0 of the wide bars (4 + 7 stands for 0).
std::string ReadStandard2of5(const RasterSurface& surface) {
    std::vector<int> bars;
    int run = 0;
    for (std::int32_t x = 0; x < surface.width(); x += kModulePixels) {
        if (surface.PixelAt(x, kBarHeight / 2) == kBlack) {
            ++run;
        } else if (run > 0) {
            bars.push_back(run);
            run = 0;
        }
    }
    if (run > 0) {
        bars.push_back(run);
    }
    // Start: two wide bars (2 modules) and a narrow one; stop: wide, narrow, wide.
    const std::vector<int> start = {2, 2, 1};
    const std::vector<int> stop = {2, 1, 2};
    if (bars.size() < 6 || (bars.size() - 6) % 5 != 0 ||
        !std::equal(start.begin(), start.end(), bars.begin()) ||
        !std::equal(stop.begin(), stop.end(), bars.end() - 3)) {
        return "bad frame";
    }
    constexpr int kWeights[5] = {1, 2, 4, 7, 0};
    std::string digits;
    for (std::size_t first = 3; first + 3 < bars.size(); first += 5) {
        int value = 0;
        int wide = 0;
        for (int element = 0; element < 5; ++element) {
            const int width = bars[first + static_cast<std::size_t>(element)];
            if (width == 3) {
                value += kWeights[element];
                ++wide;
            } else if (width != 1) {
                return "bad bar";
            }
        }
        if (wide != 2) {
            return "bad digit";
        }
        digits.push_back(static_cast<char>('0' + (value == 11 ? 0 : value)));
    }
    return digits;
}

TEST(RoundTrip, Standard2of5) {
    const Case cases[] = {
        {u"1", false, "1", "one digit"},
        {u"12345", true, "123457", "check digit appended"},
        {u"0123456789", false, "0123456789", "every digit once"},
        {u"1234", true, "12348", "odd length after the check digit"},
    };
    for (const Case& c : cases) {
        const PreparedText prepared = PrepareTextToEncode(c.input, c.calculateCheckDigit);
        const Encoding encoding = EncodeStandard2of5(prepared.textToEncode);
        ASSERT_EQ(encoding.code, kDrawn) << c.why;
        EXPECT_EQ(ReadStandard2of5(Render(encoding.modules)), c.decoded) << c.why;
    }
}

}  // namespace
}  // namespace qv::symbology
