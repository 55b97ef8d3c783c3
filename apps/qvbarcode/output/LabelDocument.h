// SPDX-License-Identifier: MIT
#pragma once

#include <cairo.h>

#include <cstdio>
#include <optional>
#include <string>

#include "output/FileAccess.h"

#include "output/DocumentKind.h"

namespace qv::cli {

// A document of many pages, each of its own size in points, written to its file as the pages
// come, so that memory stays the same whatever their number; the fonts of its text are
// embedded once, when it ends. The file takes its name only once the document is whole: a
// failed or interrupted run leaves any earlier file as it was. A device or FIFO named is
// written through instead, never replaced. Dated by SOURCE_DATE_EPOCH
// or 1970 (DocumentDate.h), so the same pages give the same bytes.
class LabelDocument {
  public:
    // Makes the folders on the way, as a batch's files do. Raises the failed call when the
    // file or cairo's document cannot be made; nothing is written then.
    LabelDocument(std::string path, DocumentKind kind);
    ~LabelDocument();
    LabelDocument(const LabelDocument&) = delete;
    LabelDocument& operator=(const LabelDocument&) = delete;

    // Starts a page: its context draws in points from the page's top-left corner.
    cairo_t* NewPage(double width, double height);
    std::int64_t Pages() const { return pages_; }
    // Ends the document and gives it its name; nothing when written, else why not.
    std::optional<FileFailure> Finish();

  private:
    static cairo_status_t Write(void* closure, const unsigned char* data, unsigned int length);
    void Pass(std::string_view bytes);

    std::string path_;
    DocumentKind kind_;
    std::string temporary_;  // the file written, named path_ once whole
    std::FILE* file_ = nullptr;
    int error_ = 0;       // the first write's failure
    std::string header_;  // PostScript's comments, held until they are dated
    std::string date_;    // its %%CreationDate
    cairo_surface_t* document_ = nullptr;
    cairo_t* cr_ = nullptr;
    std::int64_t pages_ = 0;
};

}  // namespace qv::cli
