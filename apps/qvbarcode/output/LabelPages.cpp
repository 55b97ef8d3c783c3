// SPDX-License-Identifier: MIT
#include "output/LabelPages.h"

#include <algorithm>
#include <cmath>

namespace qv::cli {

std::string LabelPages::Place(cairo_surface_t* drawing, std::int32_t width, std::int32_t height,
                              std::int32_t copies) {
    const double scale = 72.0 / plan_.dotsPerInch;
    const double w = width * scale;
    const double h = height * scale;
    if (!plan_.sheet) {
        // A page of the label's size: an offset as large puts nothing on it.
        if (std::abs(plan_.offsetX) >= w || std::abs(plan_.offsetY) >= h) {
            return "--offset moves the label of " + MillimetreSize(w, h) +
                   " off its page, which is the label's size: give an offset smaller than "
                   "the label";
        }
        for (std::int32_t i = 0; i < copies; ++i, ++labels_) {
            page_ = NewPage(w, h);
            Paint(drawing, width, height, plan_.offsetX, plan_.offsetY);
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
        Paint(drawing, width, height, place.left + (sheet.labelWidth - w) / 2 + plan_.offsetX,
              place.top + (sheet.labelHeight - h) / 2 + plan_.offsetY);
    }
    return {};
}

cairo_t* LabelPages::NewPage(double width, double height) {
    if (document_.Pages() > 0 && (width != mediaWidth_ || height != mediaHeight_)) {
        mixedSizes_ = true;
    }
    mediaWidth_ = std::max(mediaWidth_, width);
    mediaHeight_ = std::max(mediaHeight_, height);
    return document_.NewPage(width, height);
}

void LabelPages::Paint(cairo_surface_t* drawing, std::int32_t width, std::int32_t height,
                       double left, double top) {
    cairo_save(page_);
    cairo_translate(page_, left, top);
    cairo_scale(page_, 72.0 / plan_.dotsPerInch, 72.0 / plan_.dotsPerInch);
    cairo_set_source_surface(page_, drawing, 0, 0);
    cairo_rectangle(page_, 0, 0, width, height);
    cairo_fill(page_);
    cairo_restore(page_);
}

// A new page for the next sheet, with its labels' borders when asked: a thin grey line on
// each label's edge, for a test print held against a sheet.
void LabelPages::StartSheet() {
    const SheetLayout& sheet = *plan_.sheet;
    page_ = NewPage(sheet.pageWidth, sheet.pageHeight);
    if (!plan_.outline) return;
    cairo_save(page_);
    cairo_set_source_rgb(page_, 0.6, 0.6, 0.6);
    cairo_set_line_width(page_, 0.25);
    for (std::int64_t i = 0; i < sheet.LabelsPerSheet(); ++i) {
        const LabelPlace place = PlaceOf(sheet, i);
        const double x = place.left + plan_.offsetX;
        const double y = place.top + plan_.offsetY;
        if (sheet.round) {
            cairo_new_sub_path(page_);
            cairo_arc(page_, x + sheet.labelWidth / 2, y + sheet.labelHeight / 2,
                      sheet.labelWidth / 2, 0, 2 * 3.14159265358979);
        } else {
            cairo_rectangle(page_, x, y, sheet.labelWidth, sheet.labelHeight);
        }
    }
    cairo_stroke(page_);
    cairo_restore(page_);
}

}  // namespace qv::cli
