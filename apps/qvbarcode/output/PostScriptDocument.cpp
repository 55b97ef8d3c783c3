// SPDX-License-Identifier: MIT
#include "output/PostScriptDocument.h"

#include <cairo-ft.h>
#include <cairo-ps.h>
#include <fontconfig/fontconfig.h>
#include <unicode/utf8.h>

#include <cstdlib>
#include <numbers>
#include <vector>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/imagefile/DocumentDate.h>
#include "output/PdfDocument.h"

namespace qv::cli {

namespace {

constexpr std::string_view kDate = "%%CreationDate: ";
constexpr std::string_view kEndComments = "%%EndComments";

void SetColour(cairo_t* cr, surface::Colour colour) {
    cairo_set_source_rgb(cr, surface::RedOf(colour) / 255.0, surface::GreenOf(colour) / 255.0,
                         surface::BlueOf(colour) / 255.0);
}

}  // namespace

std::unique_ptr<LabelDocument> MakeLabelDocument(const std::string& path, DocumentKind kind) {
    if (kind == DocumentKind::Pdf) return std::make_unique<PdfDocument>(path);
    return std::make_unique<PostScriptDocument>(path);
}

PostScriptDocument::PostScriptDocument(const std::string& path) : file_(path) {
    date_ = imagefile::PostScriptDate(imagefile::DocumentSeconds(std::getenv("SOURCE_DATE_EPOCH")));
    // The first page's size, which every page sets again.
    document_ = cairo_ps_surface_create_for_stream(Write, this, 72, 72);
    cr_ = cairo_create(document_);
    if (const cairo_status_t status = cairo_status(cr_); status != CAIRO_STATUS_SUCCESS) {
        throw host::FailedCall(host::FailureReason::PlatformFailure,
                               path + ": " + cairo_status_to_string(status));
    }
}

PostScriptDocument::~PostScriptDocument() {
    cairo_destroy(cr_);
    cairo_surface_destroy(document_);
    for (auto& [key, face] : faces_) cairo_font_face_destroy(face);
}

void PostScriptDocument::NewPage(double width, double height) {
    if (pages_++ > 0) cairo_show_page(cr_);
    cairo_ps_surface_set_size(document_, width, height);
}

cairo_font_face_t* PostScriptDocument::FaceOf(const surface::FreeTypeFont& font) {
    auto& face = faces_[{font.path(), font.faceIndex()}];
    if (face == nullptr) {
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(font.path().c_str()));
        FcPatternAddInteger(pattern, FC_INDEX, font.faceIndex());
        face = cairo_ft_font_face_create_for_pattern(pattern);
        FcPatternDestroy(pattern);
    }
    return face;
}

void PostScriptDocument::Draw(const LabelRecording& label, double left, double top, double scale) {
    cairo_save(cr_);
    cairo_translate(cr_, left, top);
    cairo_scale(cr_, scale, scale);
    cairo_rectangle(cr_, 0, 0, label.Width(), label.Height());
    cairo_clip(cr_);
    const auto& fills = label.Fills();
    std::size_t next = 0;
    const auto fillTo = [&](std::size_t end) {
        for (; next < end; ++next) {
            const RecordedFill& f = fills[next];
            SetColour(cr_, f.colour);
            cairo_rectangle(cr_, f.left, f.top, f.right - f.left, f.bottom - f.top);
            cairo_fill(cr_);
        }
    };
    for (std::size_t t = 0; t < label.Texts().size(); ++t) {
        fillTo(label.TextsAfter()[t]);
        const RecordedText& text = label.Texts()[t];
        std::string utf8;
        std::vector<cairo_glyph_t> glyphs;
        std::vector<cairo_text_cluster_t> clusters;
        for (const surface::PlacedGlyph& placed : text.glyphs) {
            char bytes[U8_MAX_LENGTH];
            int length = 0;
            U8_APPEND_UNSAFE(bytes, length, placed.code);
            utf8.append(bytes, static_cast<std::size_t>(length));
            glyphs.push_back({placed.index, placed.x, text.baseline});
            clusters.push_back({length, 1});
        }
        cairo_save(cr_);
        cairo_rectangle(cr_, text.clip.left, text.clip.top, text.clip.right - text.clip.left,
                        text.clip.bottom - text.clip.top);
        cairo_clip(cr_);
        cairo_set_font_face(cr_, FaceOf(*text.font));
        cairo_set_font_size(cr_, text.font->pixelSize());
        SetColour(cr_, text.colour);
        cairo_show_text_glyphs(cr_, utf8.data(), static_cast<int>(utf8.size()), glyphs.data(),
                               static_cast<int>(glyphs.size()), clusters.data(),
                               static_cast<int>(clusters.size()), cairo_text_cluster_flags_t{});
        cairo_restore(cr_);
    }
    fillTo(fills.size());
    cairo_restore(cr_);
}

void PostScriptDocument::Outline(std::span<const LabelBox> boxes, bool round) {
    cairo_save(cr_);
    cairo_set_source_rgb(cr_, 0.6, 0.6, 0.6);
    cairo_set_line_width(cr_, 0.25);
    for (const LabelBox& box : boxes) {
        if (round) {
            cairo_new_sub_path(cr_);
            cairo_arc(cr_, box.left + box.width / 2, box.top + box.height / 2, box.width / 2, 0,
                      2 * std::numbers::pi);
        } else {
            cairo_rectangle(cr_, box.left, box.top, box.width, box.height);
        }
    }
    cairo_stroke(cr_);
    cairo_restore(cr_);
}

cairo_status_t PostScriptDocument::Write(void* closure, const unsigned char* data,
                                         unsigned int length) {
    auto* self = static_cast<PostScriptDocument*>(closure);
    self->Pass({reinterpret_cast<const char*>(data), length});
    return CAIRO_STATUS_SUCCESS;  // a failed write is the file's to report when it ends
}

// Cairo dates PostScript's comments by the clock: they are held until they end and dated
// as the document is.
void PostScriptDocument::Pass(std::string_view bytes) {
    if (!date_.empty()) {
        header_.append(bytes);
        if (header_.find(kEndComments) == std::string::npos) return;
        if (const auto at = header_.find(kDate); at != std::string::npos) {
            const auto from = at + kDate.size();
            header_.replace(from, header_.find('\n', from) - from, date_);
        }
        date_.clear();
        bytes = header_;
    }
    file_.Write(bytes);
    header_.clear();
}

std::optional<FileFailure> PostScriptDocument::Finish() {
    if (pages_ > 0) cairo_show_page(cr_);
    cairo_surface_finish(document_);
    const cairo_status_t status = cairo_surface_status(document_);
    return file_.Finish(status == CAIRO_STATUS_SUCCESS ? "" : cairo_status_to_string(status));
}

}  // namespace qv::cli
