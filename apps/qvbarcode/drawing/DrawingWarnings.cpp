// SPDX-License-Identifier: MIT
#include "drawing/DrawingWarnings.h"

#include <algorithm>

#include <qvbarcode/symbology/Encoders.h>
#include <qvbarcode/symbology/Symbologies.h>

namespace qv::cli {

namespace {

// A half-open range of pixel rows or columns.
struct Span {
    std::int64_t start;
    std::int64_t end;
    std::int64_t Length() const { return end - start; }
};

// The rows vertical lines from row top to row bottom cover: a line drawn upwards covers its
// start, not its end.
Span LineRows(std::int32_t top, std::int32_t bottom) {
    return top <= bottom ? Span{top, bottom}
                         : Span{std::int64_t{bottom} + 1, std::int64_t{top} + 1};
}

// The pixels of span outside [0, limit).
std::int64_t Outside(Span span, std::int64_t limit) {
    const std::int64_t inside = std::max<std::int64_t>(
        0, std::min(span.end, limit) - std::max<std::int64_t>(span.start, 0));
    return span.Length() - inside;
}

}  // namespace

std::vector<std::string> DrawingWarnings(const control::QvBarCode& control,
                                         const render::BarcodePlan& plan) {
    std::vector<std::string> warnings;
    // Only a drawn barcode is warned about, and its type is a symbology's.
    const symbology::Symbology& symbology = *symbology::FindSymbology(control.BarCodeType());
    // Encoded again rather than read from TextToEncode, which a drawing only planned leaves
    // as the last drawing set it.
    const std::u16string encoded =
        symbology.endsInCheckDigit && control.CalculateCheckDigit() == 0
            ? symbology::EncodeText(symbology, control.Text(), false).textToEncode
            : std::u16string();
    if (!encoded.empty()) {
        // The control draws the last digit as given; the check digit of the others is the one
        // it would have appended.
        const auto expected =
            symbology::CheckDigitOf(std::u16string_view(encoded).substr(0, encoded.size() - 1));
        if (expected && *expected != encoded.back()) {
            warnings.push_back("drawn as given; its check digit would be " +
                               std::string(1, static_cast<char>(*expected)));
        }
    }
    if (symbology.startStop != 0 &&
        control.Text().find(symbology.startStop) != std::u16string::npos) {
        warnings.push_back("a '" + std::string(1, static_cast<char>(symbology.startStop)) +
                           "' in a " + std::string(symbology.displayName) +
                           " text reads as a start or stop character to most scanners");
    }
    if (plan.captionBox) {
        const Span bars = LineRows(plan.bars.top, plan.bars.bottom);
        const std::int32_t captionHeight = plan.captionBox->bottom - plan.captionBox->top;
        if (plan.captionBox->top <= bars.start && plan.captionBox->bottom >= bars.end) {
            warnings.push_back("the caption (" + std::to_string(captionHeight) +
                               " pixels high) covers every row of the " +
                               std::to_string(bars.Length()) +
                               "-pixel bars, leaving none for a scanner: give a larger height");
        }
    }
    return warnings;
}

std::optional<std::string> CutOffWarning(const render::BarcodePlan& plan, std::int32_t imageWidth,
                                         std::int32_t imageHeight) {
    const surface::Rect& frame = plan.frame;
    // A frame of negative height is not filled: the bars alone show.
    const Span columns{frame.left, frame.right};
    const Span rows = frame.top <= frame.bottom ? Span{frame.top, frame.bottom}
                                                : LineRows(plan.bars.top, plan.bars.bottom);
    const std::int64_t columnsCut = Outside(columns, imageWidth);
    const std::int64_t rowsCut = Outside(rows, imageHeight);
    if (columnsCut == 0 && rowsCut == 0) {
        return std::nullopt;
    }
    return "the barcode runs off the --onto image: " + std::to_string(columnsCut) + " of its " +
           std::to_string(columns.Length()) + " columns and " + std::to_string(rowsCut) +
           " of its " + std::to_string(rows.Length()) + " rows are cut";
}

}  // namespace qv::cli
