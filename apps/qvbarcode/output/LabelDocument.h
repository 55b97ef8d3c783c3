// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "drawing/LabelRecording.h"
#include "output/DocumentKind.h"
#include "output/FileAccess.h"

namespace qv::cli {

// A label's border on a sheet, in points from the page's top-left.
struct LabelBox {
    double left = 0, top = 0, width = 0, height = 0;
};

// A document of many pages, each of its own size in points, written to its file as the pages
// come, so that memory stays the same whatever their number; the fonts of its text are
// embedded once, when it ends. The file takes its name only once the document is whole
// (DocumentFile.h). Dated by SOURCE_DATE_EPOCH or 1970 (DocumentDate.h), so the same pages
// give the same bytes.
class LabelDocument {
  public:
    virtual ~LabelDocument() = default;

    // Starts a page of width x height points.
    virtual void NewPage(double width, double height) = 0;
    // A label's drawing on the page begun, its top-left corner at left, top, each of its
    // pixels scale points wide.
    virtual void Draw(const LabelRecording& label, double left, double top, double scale) = 0;
    // Thin grey borders around the boxes, or the circles in them, for a test print.
    virtual void Outline(std::span<const LabelBox> boxes, bool round) = 0;
    virtual std::int64_t Pages() const = 0;
    // Ends the document and gives it its name; nothing when written, else why not.
    virtual std::optional<FileFailure> Finish() = 0;
};

// PDF written directly, PostScript through cairo. Makes the folders on the way, as a batch's
// files do. Raises the failed call when the file cannot be made; nothing is written then.
std::unique_ptr<LabelDocument> MakeLabelDocument(const std::string& path, DocumentKind kind);

}  // namespace qv::cli
