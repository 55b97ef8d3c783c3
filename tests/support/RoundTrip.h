// SPDX-License-Identifier: MIT
#pragma once

// Random valid barcodes drawn by the control and read back by an independent reader: how a
// case is made, when a caption leaves a barcode readable, and the reading. The round-trip
// unit test and fuzz target share it; both link ZXing and define ZX_USE_UTF8.
#include <ZXing/ReadBarcode.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/surface/RasterSurface.h>

namespace qv::testing {

// One drawing as a host sets it up. The barcode gets a quiet zone of kQuietModules on the
// left and right; on a caller's surface of paper colour, or on the own surface copied onto
// white paper.
struct RoundTripCase {
    std::int32_t type = control::QvTypeInterleaved2of5;
    std::u16string text;
    bool checkDigit = false;
    int moduleWidth = 2;  // pixels, through BarWidth
    int spareWidth = 0;   // pixels of BarWidth beyond whole modules
    int barRows = 1;      // the bars' height; BarHeight adds the white margins
    bool white = false, caption = false, ownSurface = false;
    surface::Colour paper = surface::kWhite;
    int top = 0;  // rows of paper above the barcode
};

inline constexpr int kQuietModules = 11;
// Light only: a reader needs dark bars on light paper.
inline constexpr std::array<surface::Colour, 4> kPapers{0xFFFFFF, 0xC0C0C0, 0xE0FFFF, 0xFFD0D0};
// What Code 39 encodes, lower case too; the space last, so a first character can avoid it.
// No asterisk: inside a text it draws the stop character, which ends any reading there.
inline constexpr std::u16string_view kCode39Characters =
    u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-.$/+% ";

// Modulo 10 with weights 3 and 1 from the right, worked out apart from the control.
inline char16_t CheckDigitOf(std::u16string_view digits) {
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        sum += (digits[digits.size() - 1 - i] - u'0') * (i % 2 ? 1 : 3);
    }
    return static_cast<char16_t>(u'0' + (10 - sum % 10) % 10);
}

// pick(low, high) is a whole number in [low, high] from whatever drives the case. Lengths
// stay short, pictures small.
template <typename Pick>
RoundTripCase MakeRoundTripCase(Pick&& pick) {
    RoundTripCase c;
    c.type = pick(0, 3);
    c.checkDigit = pick(0, 1) == 1;
    std::u16string core;
    const auto digits = [&](int count) {
        while (count-- > 0) core.push_back(static_cast<char16_t>(u'0' + pick(0, 9)));
    };
    switch (c.type) {
        case control::QvTypeInterleaved2of5:  // an even count to encode; ZXing wants 6 at least
            digits(2 * pick(3, 8) - c.checkDigit);
            break;
        case control::QvTypeStandard2of5:
            digits(pick(1, 12));
            break;
        case control::QvTypeCode39:
            for (int i = 0, n = pick(1, 12); i < n; ++i) {
                const int last = static_cast<int>(kCode39Characters.size()) - (i == 0 ? 2 : 1);
                core.push_back(kCode39Characters[static_cast<std::size_t>(pick(0, last))]);
            }
            break;
        default:  // EAN-13: a reader checks the last digit, so without the option it is right
            digits(12);
            if (!c.checkDigit) core.push_back(CheckDigitOf(core));
    }
    c.text = std::u16string(static_cast<std::size_t>(pick(0, 2)), u' ') + core +
             std::u16string(static_cast<std::size_t>(pick(0, 2)), u' ');
    c.moduleWidth = pick(2, 6);
    c.spareWidth = pick(0, 20);  // below every module count, so the module width stays
    c.barRows = pick(8, 40);
    c.white = pick(0, 1) == 1;
    c.caption = pick(0, 1) == 1;
    c.ownSurface = pick(0, 1) == 1;
    c.paper = kPapers[static_cast<std::size_t>(pick(0, kPapers.size() - 1))];
    c.top = pick(0, 4);
    return c;
}

inline std::string Utf8(std::u16string_view text) {  // the texts here are ASCII
    return {text.begin(), text.end()};
}

// Enough to recognise a case; its seed or fuzz input makes it again.
inline std::string Describe(const RoundTripCase& c) {
    return "type " + std::to_string(c.type) + " text \"" + Utf8(c.text) + "\"";
}

// Standard 2 of 5 as published: only the bars carry data, five to a digit, two of them wide
// ("1"), weighted 1, 2, 4, 7 and parity; start bars wide, wide, narrow; stop wide, narrow,
// wide; every space narrow. Wide is three modules in a digit and two in start and stop, as
// this control draws them.
inline std::string Standard2of5Modules(std::string_view digits) {
    static constexpr std::array<std::string_view, 10> kBars{
        "00110", "10001", "01001", "11000", "00101", "10100", "01100", "00011", "10010", "01010"};
    std::string modules = "11011010";
    for (const char digit : digits) {
        for (const char bar : kBars[static_cast<std::size_t>(digit - '0')]) {
            modules += bar == '1' ? "1110" : "10";
        }
    }
    return modules + "1101011";
}

// What the round trip broke, or nothing; and whether the bars' middle row was clear to read.
struct RoundTripOutcome {
    std::string fault;
    bool middleRowClear = false;
};

// Draws the case with a control, whatever it drew before, and reads the picture back: ZXing
// for the three it reads, the modules under the middle row of the bars for Standard 2 of 5.
inline RoundTripOutcome DrawAndRead(control::QvBarCode& control, const RoundTripCase& c) {
    using namespace control;
    std::u16string_view trimmed = c.text;
    trimmed.remove_prefix(std::min(trimmed.find_first_not_of(u' '), trimmed.size()));
    trimmed.remove_suffix(trimmed.size() - (trimmed.find_last_not_of(u' ') + 1));
    std::u16string expected(trimmed);
    if (c.type == QvTypeCode39) {
        for (char16_t& ch : expected) ch = ch >= u'a' && ch <= u'z' ? ch - u'a' + u'A' : ch;
    } else if (c.checkDigit) {
        expected.push_back(CheckDigitOf(expected));
    }
    const int n = c.type == QvTypeInterleaved2of5 ? 7 * static_cast<int>(expected.size()) + 8
                  : c.type == QvTypeStandard2of5  ? 14 * static_cast<int>(expected.size()) + 15
                  : c.type == QvTypeCode39        ? 13 * static_cast<int>(expected.size()) + 25
                                                  : 95;
    const int margin = c.white ? 5 : 0, quiet = kQuietModules * c.moduleWidth;
    const int barWidth = n * c.moduleWidth + c.spareWidth + 2 * margin;
    const auto paper = std::make_shared<surface::RasterSurface>(barWidth + 2 * quiet,
                                                                c.top + c.barRows + 2 * margin + 4,
                                                                c.ownSurface ? 0xFFFFFF : c.paper);
    paper->SetFont(surface::ControlFont());

    control.SetText(c.text);
    control.SetBarCodeType(c.type);
    control.SetCalculateCheckDigit(c.checkDigit ? kTrue : kFalse);
    control.SetBarWidth(barWidth);
    control.SetBarHeight(c.barRows + 2 * margin);
    control.SetBackgroundWhite(c.white ? kTrue : kFalse);
    control.SetShowValue(c.caption ? kTrue : kFalse);
    std::int16_t code = 0;
    if (c.ownSurface) {
        code = control.Draw().AsInt16();
        paper->Blit(control.Pic1().Image(), quiet, c.top);
    } else {
        const surface::ScopedSurfaceHandle handle(paper);
        surface::SurfaceHandle hdc = handle.get();
        control.SetPositionX(quiet);
        control.SetPositionY(c.top);
        code = control.Draw(hdc).AsInt16();
    }
    if (code != 0) return {"Draw returned " + std::to_string(code)};
    if (c.type != QvTypeCode39 && control.TextToEncode() != expected) {
        return {"TextToEncode " + Utf8(control.TextToEncode())};
    }
    // The caption box covers the lowest rows of the bars, as many as the caption measures in
    // the control's font; the bars' middle row is clear when the box ends below it.
    const std::u16string& caption = c.type == QvTypeCode39 ? c.text : control.TextToEncode();
    const auto captionRows =
        c.caption
            ? static_cast<int>(std::nearbyint(surface::ControlFont()->Measure(caption).height))
            : 0;
    if (c.barRows - captionRows <= c.barRows / 2) return {};
    std::string read, expectedRead = Utf8(expected);
    if (c.type == QvTypeStandard2of5) {
        expectedRead = Standard2of5Modules(expectedRead);
        const int middle = c.top + margin + c.barRows / 2;
        for (int i = 0; i < n; ++i) {
            const int x = quiet + margin + i * c.moduleWidth + c.moduleWidth / 2;
            read.push_back(paper->PixelAt(x, middle) == surface::kBlack ? '1' : '0');
        }
    } else {
        const auto format = c.type == QvTypeInterleaved2of5 ? ZXing::BarcodeFormat::ITF
                            : c.type == QvTypeCode39        ? ZXing::BarcodeFormat::Code39
                                                            : ZXing::BarcodeFormat::EAN13;
        const std::vector<std::uint8_t> pixels = paper->ContiguousPixels();
        // Only the rows above the caption: through it, glyphs standing in for cleared bars can
        // read as another valid symbol (Code 39 "H" as "8"), and the bars beside the box as a
        // shorter Interleaved 2 of 5. The threshold is fixed halfway, as a verifier draws it: the
        // adaptive ones take grey paper beside the white frame for dark and miss the quiet zone.
        const ZXing::ImageView image(pixels.data(), paper->width(),
                                     c.top + margin + c.barRows - captionRows,
                                     ZXing::ImageFormat::RGB);
        const ZXing::Result result =
            ZXing::ReadBarcode(image, ZXing::DecodeHints()
                                          .setFormats(format)
                                          .setTryRotate(false)
                                          .setBinarizer(ZXing::Binarizer::FixedThreshold)
                                          .setValidateITFCheckSum(c.checkDigit));
        read = result.isValid() ? result.text() : "nothing";
    }
    return {read == expectedRead ? "" : "read " + read + " instead of " + expectedRead, true};
}

}  // namespace qv::testing
