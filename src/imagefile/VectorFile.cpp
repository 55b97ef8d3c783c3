// SPDX-License-Identifier: MIT
#include <qvbarcode/imagefile/VectorFile.h>

#include <cairo-pdf.h>
#include <cairo-ps.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <new>
#include <string_view>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/imagefile/DocumentDate.h>

namespace qv::imagefile {

using host::FailedCall;
using host::FailureReason;

namespace {

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
    try {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
        return CAIRO_STATUS_SUCCESS;
    } catch (const std::bad_alloc&) {
        return CAIRO_STATUS_NO_MEMORY;
    }
}

[[noreturn]] void Fail(cairo_status_t status) {
    throw FailedCall(status == CAIRO_STATUS_NO_MEMORY ? FailureReason::OutOfMemory
                                                      : FailureReason::PlatformFailure,
                     std::string("PDF or EPS document: ") + cairo_status_to_string(status));
}

}  // namespace

VectorFile::VectorFile(VectorFormat format, std::int32_t width, std::int32_t height,
                       double dotsPerInch) {
    if (width <= 0 || height <= 0 || !(dotsPerInch > 0.0) || !std::isfinite(dotsPerInch)) {
        throw FailedCall(FailureReason::InvalidValue,
                         "a document needs pixels and a positive resolution");
    }
    const double points = 72.0 / dotsPerInch;
    const std::int64_t made = DocumentSeconds(std::getenv("SOURCE_DATE_EPOCH"));
    if (format == VectorFormat::Pdf) {
        document_ = cairo_pdf_surface_create_for_stream(AppendBytes, &bytes_, width * points,
                                                        height * points);
        cairo_pdf_surface_set_metadata(document_, CAIRO_PDF_METADATA_CREATE_DATE,
                                       PdfDate(made).c_str());
    } else {
        document_ = cairo_ps_surface_create_for_stream(AppendBytes, &bytes_, width * points,
                                                       height * points);
        cairo_ps_surface_set_eps(document_, true);
        // printf's "%.4f", but to_chars keeps the point whatever the C locale's decimal mark
        // (a Qt program sets the user's, whose mark may be a comma).
        const auto number = [](double value) {
            char buffer[400];  // any double in fixed notation
            char* end = std::to_chars(std::begin(buffer), std::end(buffer), value,
                                      std::chars_format::fixed, 4)
                            .ptr;
            return std::string(buffer, end);
        };
        hiResBox_ = "%%HiResBoundingBox: 0 0 " + number(width * points) + " " +
                    number(height * points) + "\n";
        creationDate_ = PostScriptDate(made);
    }
    cr_ = cairo_create(document_);
    if (const cairo_status_t status = cairo_status(cr_); status != CAIRO_STATUS_SUCCESS) {
        cairo_destroy(cr_);
        cairo_surface_destroy(document_);
        Fail(status);
    }
    cairo_scale(cr_, points, points);
    // Painted, not left empty: an EPS bounding box is what the page shows, and the white
    // around the bars (a quiet zone) belongs to the picture.
    cairo_rectangle(cr_, 0, 0, width, height);
    cairo_set_source_rgb(cr_, 1, 1, 1);
    cairo_fill(cr_);
    surface_ = std::make_shared<surface::CairoSurface>(cr_);
}

VectorFile::~VectorFile() {
    surface_.reset();
    cairo_destroy(cr_);
    cairo_surface_destroy(document_);
}

std::string VectorFile::Finish() {
    cairo_show_page(cr_);
    cairo_surface_finish(document_);
    if (const cairo_status_t status = cairo_surface_status(document_);
        status != CAIRO_STATUS_SUCCESS) {
        Fail(status);
    }
    if (!hiResBox_.empty()) {
        // Cairo rounds the box out to whole points; the exact one follows it, for programs
        // that place the picture at its size.
        constexpr std::string_view kBox = "%%BoundingBox:";
        if (const auto box = bytes_.find(kBox); box != std::string::npos) {
            bytes_.insert(bytes_.find('\n', box) + 1, hiResBox_);
        }
        // Cairo dates the comment by the clock; the header has no offsets to keep.
        constexpr std::string_view kDate = "%%CreationDate: ";
        if (const auto date = bytes_.find(kDate); date != std::string::npos) {
            const auto from = date + kDate.size();
            bytes_.replace(from, bytes_.find('\n', from) - from, creationDate_);
        }
    }
    return std::move(bytes_);
}

}  // namespace qv::imagefile
