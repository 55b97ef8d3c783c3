// SPDX-License-Identifier: MIT
#pragma once

#include <cairo.h>

#include <map>
#include <string>

#include "output/DocumentFile.h"
#include "output/LabelDocument.h"

namespace qv::cli {

// A PostScript document drawn through cairo, the labels' shapes drawn on each page.
class PostScriptDocument final : public LabelDocument {
  public:
    explicit PostScriptDocument(const std::string& path);
    ~PostScriptDocument() override;
    PostScriptDocument(const PostScriptDocument&) = delete;
    PostScriptDocument& operator=(const PostScriptDocument&) = delete;

    void NewPage(double width, double height) override;
    void Draw(const LabelRecording& label, double left, double top, double scale) override;
    void Outline(std::span<const LabelBox> boxes, bool round) override;
    std::int64_t Pages() const override { return pages_; }
    std::optional<FileFailure> Finish() override;

  private:
    static cairo_status_t Write(void* closure, const unsigned char* data, unsigned int length);
    void Pass(std::string_view bytes);
    cairo_font_face_t* FaceOf(const surface::FreeTypeFont& font);

    DocumentFile file_;
    std::string header_;  // PostScript's comments, held until they are dated
    std::string date_;    // its %%CreationDate
    cairo_surface_t* document_ = nullptr;
    cairo_t* cr_ = nullptr;
    std::int64_t pages_ = 0;
    std::map<std::pair<std::string, int>, cairo_font_face_t*> faces_;
};

}  // namespace qv::cli
