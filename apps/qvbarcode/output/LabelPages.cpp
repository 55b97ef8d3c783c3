// SPDX-License-Identifier: MIT
#include "output/LabelPages.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qv::cli {

std::string LabelPages::Place(const LabelRecording& drawing, std::int32_t copies) {
    const double scale = 72.0 / plan_.dotsPerInch;
    const double w = drawing.Width() * scale;
    const double h = drawing.Height() * scale;
    if (!plan_.sheet) {
        // A page of the label's size: an offset as large puts nothing on it.
        if (std::abs(plan_.offsetX) >= w || std::abs(plan_.offsetY) >= h) {
            return "--offset moves the label of " + MillimetreSize(w, h) +
                   " off its page, which is the label's size: give an offset smaller than "
                   "the label";
        }
        for (std::int32_t i = 0; i < copies; ++i, ++labels_) {
            NewPage(w, h);
            Paint(drawing, plan_.offsetX, plan_.offsetY);
        }
        return {};
    }
    const SheetLayout& sheet = *plan_.sheet;
    // A thousandth of a point spares a label whose size the template rounds.
    if (w > sheet.labelWidth + 1e-3 || h > sheet.labelHeight + 1e-3) {
        return "the barcode is " + MillimetreSize(w, h) + " and the label " +
               MillimetreSize(sheet.labelWidth, sheet.labelHeight) +
               ": it does not fit, and a barcode is never scaled (a smaller --module or "
               "--height, or a larger label)";
    }
    for (std::int32_t i = 0; i < copies; ++i, ++labels_) {
        const LabelPlace place = PlaceOf(sheet, next_++);
        if (place.sheet != sheet_) {
            sheet_ = place.sheet;
            StartSheet();
        }
        Paint(drawing, place.left + (sheet.labelWidth - w) / 2 + plan_.offsetX,
              place.top + (sheet.labelHeight - h) / 2 + plan_.offsetY);
    }
    return {};
}

void LabelPages::NewPage(double width, double height) {
    if (document_.Pages() > 0 && (width != mediaWidth_ || height != mediaHeight_)) {
        mixedSizes_ = true;
    }
    mediaWidth_ = std::max(mediaWidth_, width);
    mediaHeight_ = std::max(mediaHeight_, height);
    document_.NewPage(width, height);
}

void LabelPages::Paint(const LabelRecording& drawing, double left, double top) {
    document_.Draw(drawing, left, top, 72.0 / plan_.dotsPerInch);
}

// A new page for the next sheet, with its labels' borders when asked: a thin grey line on
// each label's edge, for a test print held against a sheet.
void LabelPages::StartSheet() {
    const SheetLayout& sheet = *plan_.sheet;
    NewPage(sheet.pageWidth, sheet.pageHeight);
    if (!plan_.outline) return;
    std::vector<LabelBox> boxes;
    for (std::int64_t i = 0; i < sheet.LabelsPerSheet(); ++i) {
        const LabelPlace place = PlaceOf(sheet, i);
        boxes.push_back({place.left + plan_.offsetX, place.top + plan_.offsetY, sheet.labelWidth,
                         sheet.labelHeight});
    }
    document_.Outline(boxes, sheet.round);
}

}  // namespace qv::cli
