// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <qvbarcode/host/Export.h>
#include <qvbarcode/surface/CairoSurface.h>

namespace qv::imagefile {

enum class VectorFormat { Pdf, Eps };

// A one-page PDF or EPS document of a picture of width x height pixels printed at
// dotsPerInch: the page, or the bounding box, is the picture's physical size, and its
// surface draws in pixels. The page starts white, as a raster picture does. Its creation date
// is SOURCE_DATE_EPOCH's or 1970's (DocumentDate.h), so the same drawing gives the same bytes.
class QV_EXPORT VectorFile {
  public:
    // Raises the failed call (invalid value) for a size without pixels or a resolution that
    // is not positive.
    VectorFile(VectorFormat format, std::int32_t width, std::int32_t height, double dotsPerInch);
    ~VectorFile();
    VectorFile(const VectorFile&) = delete;
    VectorFile& operator=(const VectorFile&) = delete;

    const std::shared_ptr<surface::CairoSurface>& Surface() const { return surface_; }
    // Ends the document and gives the file's bytes; raises the failed call when cairo
    // could not make it. Only once.
    std::string Finish();

  private:
    std::string bytes_;
    std::string hiResBox_;      // EPS: the exact bounding box's comment line
    std::string creationDate_;  // EPS: its %%CreationDate
    cairo_surface_t* document_ = nullptr;
    cairo_t* cr_ = nullptr;
    std::shared_ptr<surface::CairoSurface> surface_;
};

}  // namespace qv::imagefile
