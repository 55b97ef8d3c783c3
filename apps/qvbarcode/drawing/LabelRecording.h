// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <qvbarcode/surface/DrawingSurface.h>
#include <qvbarcode/surface/FreeTypeFont.h>
#include "drawing/OutlineFont.h"

namespace qv::cli {

// A rectangle filled with one colour, in the drawing's pixels from its top-left.
struct RecordedFill {
    double left = 0, top = 0, right = 0, bottom = 0;
    surface::Colour colour = surface::kBlack;
};

// One line of text: its glyphs at their origins on one baseline, clipped to a rectangle.
struct RecordedText {
    std::shared_ptr<const surface::FreeTypeFont> font;
    std::vector<surface::PlacedGlyph> glyphs;  // x from the drawing's left edge
    double baseline = 0;
    surface::Colour colour = surface::kBlack;
    RecordedFill clip;  // its colour unused
};

// A label drawn as the shapes a document page is made of, for a document to put anywhere
// at any scale: what the control draws on a vector surface, kept instead of drawn. Each
// shape is what the cairo surface would draw; the texts come after the fills before them.
class LabelRecording final : public surface::PenAndModeState {
  public:
    // White, width x height pixels; what is drawn is shifted right by originX.
    LabelRecording(std::int32_t width, std::int32_t height, std::int32_t originX);

    void SetFont(std::shared_ptr<const surface::Font> font) { font_ = std::move(font); }

    surface::Colour GetBkColor() const override { return surface::kWhite; }
    void FillRect(const surface::Rect& rect, surface::Colour brushColour) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    void DrawColumns(std::int32_t left, std::int32_t right, std::int32_t top,
                     std::int32_t bottom) override;
    void DrawNarrowedRuns(std::span<const surface::ColumnRun> runs, double reduction,
                          std::int32_t top, std::int32_t bottom) override;
    void DrawText(std::string_view windows1252Text, const surface::Rect& rect,
                  unsigned format) override;

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    // The fills in order; texts()[i] goes after the first textsAfter()[i] of them.
    const std::vector<RecordedFill>& Fills() const { return fills_; }
    const std::vector<RecordedText>& Texts() const { return texts_; }
    const std::vector<std::size_t>& TextsAfter() const { return textsAfter_; }
    // Once drawn, on the drawing's own thread: the fills as PDF operators ("r g b rg",
    // "x y w h re f"), a piece before each text and one after the last, so that a document
    // written on one thread only copies them.
    void Seal();
    // Raises the failed call when the recording was not sealed.
    const std::vector<std::string>& Operators() const;

  private:
    void Fill(double left, double top, double right, double bottom, surface::Colour colour);

    std::int32_t width_;
    std::int32_t height_;
    std::int32_t originX_;
    std::shared_ptr<const surface::Font> font_;
    std::vector<RecordedFill> fills_;
    std::vector<RecordedText> texts_;
    std::vector<std::size_t> textsAfter_;
    std::vector<std::string> operators_;
};

}  // namespace qv::cli
