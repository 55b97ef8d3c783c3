// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "options/SheetLayout.h"
#include "output/LabelDocument.h"

namespace qv::cli {

// How the labels go onto the document's pages.
struct PagePlan {
    std::optional<SheetLayout> sheet;  // none: a page per label, the label's size
    std::int64_t firstLabel = 1;       // of the first sheet
    double offsetX = 0.0;              // points, everything moved by them
    double offsetY = 0.0;
    bool outline = false;
    double dotsPerInch = 96.0;  // of the drawings
};

// Puts drawings onto the pages of a document in the order they come: each on a page of its
// own size, or centred in the next label of a sheet, at its own size.
class LabelPages {
  public:
    LabelPages(LabelDocument& document, PagePlan plan)
        : document_(document), plan_(std::move(plan)), next_(plan_.firstLabel - 1) {}

    // Places copies of a drawing; why not when it is larger than
    // a label or the offset moves it off its own page (then nothing is placed).
    std::string Place(const LabelRecording& drawing, std::int32_t copies);
    std::int64_t Labels() const { return labels_; }
    // The largest page begun, in points, and whether any page was smaller: the media a
    // printer is given for the whole document.
    std::pair<double, double> Media() const { return {mediaWidth_, mediaHeight_}; }
    bool MixedSizes() const { return mixedSizes_; }

  private:
    void Paint(const LabelRecording& drawing, double left, double top);
    void StartSheet();
    void NewPage(double width, double height);

    LabelDocument& document_;
    PagePlan plan_;
    std::int64_t next_;        // the next label's index on the run of sheets
    std::int64_t sheet_ = -1;  // the sheet of the page begun
    std::int64_t labels_ = 0;
    double mediaWidth_ = 0;
    double mediaHeight_ = 0;
    bool mixedSizes_ = false;
};

}  // namespace qv::cli
