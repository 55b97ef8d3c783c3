#include "drawing/DrawingWarnings.h"

#include <algorithm>
#include <cmath>

#include "drawing/BarcodeSize.h"
#include "symbology/Encoders.h"

namespace qv::cli {

namespace {

// Columns of [start, start + length) outside [0, limit).
std::int64_t Outside(std::int64_t start, std::int64_t length, std::int64_t limit) {
    const std::int64_t end = start + length;
    const std::int64_t inside =
        std::max<std::int64_t>(0, std::min(end, limit) - std::max<std::int64_t>(start, 0));
    return length - inside;
}

}  // namespace

std::vector<std::string> DrawingWarnings(const control::QvBarCode& control,
                                         const surface::Font& font, std::int32_t pictureHeight) {
    std::vector<std::string> warnings;
    const std::u16string_view encoded = control.TextToEncode();
    const bool numeric = control.BarCodeType() != control::QvTypeCode39;
    if (control.BarCodeType() == control::QvTypeEan13 && control.CalculateCheckDigit() == 0 &&
        encoded.size() == 13) {
        // The control draws a 13th digit as given; the check digit of the other twelve is
        // the one it would have appended.
        const auto expected = symbology::PrepareTextToEncode(encoded.substr(0, 12), true);
        if (expected.code == symbology::kDrawn && expected.textToEncode.back() != encoded.back()) {
            warnings.push_back("drawn as given; its check digit would be " +
                               std::string(1, static_cast<char>(expected.textToEncode.back())));
        }
    }
    if (!numeric && control.Text().find(u'*') != std::u16string::npos) {
        warnings.push_back(
            "a '*' in a Code 39 text reads as a start or stop character to most scanners");
    }
    if (control.ShowValue() != 0) {
        const std::u16string& caption = numeric ? control.TextToEncode() : control.Text();
        const auto captionHeight = std::lround(font.Measure(caption).height);
        const std::int32_t bars =
            pictureHeight - (control.BackgroundWhite() != 0 ? kWhiteMargins : 0);
        if (captionHeight >= bars) {
            warnings.push_back("the caption (" + std::to_string(captionHeight) +
                               " pixels high) covers every row of the " + std::to_string(bars) +
                               "-pixel bars, leaving none for a scanner: give a larger height");
        }
    }
    return warnings;
}

std::optional<std::string> CutOffWarning(std::int32_t x, std::int32_t y, std::int32_t width,
                                         std::int32_t height, std::int32_t imageWidth,
                                         std::int32_t imageHeight) {
    const std::int64_t columns = Outside(x, width, imageWidth);
    const std::int64_t rows = Outside(y, height, imageHeight);
    if (columns == 0 && rows == 0) {
        return std::nullopt;
    }
    return "the barcode runs off the --onto image: " + std::to_string(columns) + " of its " +
           std::to_string(width) + " columns and " + std::to_string(rows) + " of its " +
           std::to_string(height) + " rows are cut";
}

}  // namespace qv::cli
