// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "output/DocumentFile.h"
#include "output/LabelDocument.h"

namespace qv::cli {

// A PDF document written directly: each page a content stream of the labels' rectangles and
// glyphs, the glyphs' outlines in Type 3 fonts of 255 glyphs written once at the end. Cairo
// costs a millisecond a page in its own bookkeeping; this costs microseconds, so a batch of
// labels is as fast into one document as into files.
class PdfDocument final : public LabelDocument {
  public:
    explicit PdfDocument(const std::string& path);

    void NewPage(double width, double height) override;
    void Draw(const LabelRecording& label, double left, double top, double scale) override;
    void Outline(std::span<const LabelBox> boxes, bool round) override;
    std::int64_t Pages() const override { return pages_; }
    std::optional<FileFailure> Finish() override;

  private:
    // A glyph of a face in a document's font: the font's number and the glyph's code.
    struct FontGlyph {
        std::size_t font = 0;
        unsigned code = 0;
    };
    using GlyphKey = std::tuple<std::string, int, std::uint32_t>;  // file, face, glyph

    void EndPage();
    void StartObject(int number);
    void DrawText(const RecordedText& text);
    FontGlyph GlyphOf(const std::shared_ptr<const surface::FreeTypeFont>& font,
                      const surface::PlacedGlyph& glyph);
    FontGlyph FindGlyph(const surface::FreeTypeFont& font, const surface::PlacedGlyph& glyph);
    void WriteFonts();

    DocumentFile file_;
    std::string content_;                // the page's operators
    std::string out_;                    // bytes on their way to the file
    std::vector<std::int64_t> offsets_;  // each object's, from 1
    std::int64_t pages_ = 0;
    double pageWidth_ = 0;
    double pageHeight_ = 0;
    std::map<GlyphKey, FontGlyph> glyphs_;
    // The last glyphs looked up: a caption's few, again and again.
    std::shared_ptr<const surface::FreeTypeFont> lastFont_;  // held, so never another's address
    std::unordered_map<std::uint32_t, FontGlyph> lastGlyphs_;
    // Each font's glyphs by code from 1: the key and the character it stands for.
    std::vector<std::vector<std::pair<GlyphKey, char32_t>>> fonts_;
};

}  // namespace qv::cli
