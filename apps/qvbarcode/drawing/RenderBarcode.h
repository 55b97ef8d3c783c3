// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <qvbarcode/control/ControlPlanning.h>
#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/surface/RasterSurface.h>
#include "drawing/EpsLabel.h"
#include "drawing/LabelRecording.h"
#include "drawing/SizeReport.h"
#include "options/CliOptions.h"
#include "options/UserMessages.h"

namespace qv::cli {

// What one drawing gives: the result code and the control's description of it with what it
// means for the text, or the program's refusal of the text before drawing; and, when drawn,
// the picture encoded in the output format and what a scanner may not take in it.
struct Drawing {
    std::int16_t code = 0;
    std::u16string description;
    std::string explanation;  // of the code, in the user's language; may be empty
    std::string refusal;      // of the text before drawing, in the user's language
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::string bytes;
    std::vector<std::string> warnings;
    std::vector<RunNote> runNotes;  // said once per run
    std::string explainReport;      // --explain's text
    std::string reductionRefusal;   // a bar reduction the drawn bars cannot take: not written
    // For a document's page (RenderOptions::recording): the drawing, width x height pixels,
    // to be painted where its page puts it.
    std::shared_ptr<const LabelRecording> recording;

    bool Failed() const { return code != 0 || !refusal.empty(); }
    // A drawing the control made without a single pixel (no height given): nothing to write.
    bool IsEmpty() const { return !Failed() && (width <= 0 || height <= 0); }
};

// A picture that every barcode is drawn onto a copy of, at a position.
struct OntoBase {
    std::shared_ptr<const surface::RasterSurface> image;
    // Its opacities, one per pixel, when it has any below full; kept in a PNG output.
    std::shared_ptr<const std::vector<std::uint8_t>> alpha;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct RenderOptions {
    OutputFormat format = OutputFormat::Png;
    double dotsPerInch = kScreenDotsPerInch;
    std::int32_t quietZoneModules = 0;
    std::optional<OntoBase> onto = {};
    bool standardQuietZones = false;  // each symbology's own, instead of quietZoneModules
    bool explain = false;
    SizeSettings size = {};
    bool recording = false;  // a recording of the drawing, for a document, not a file
};

// The command line's, without the --onto picture, which output/ reads.
RenderOptions RenderOptionsFor(const Options& options);

// Draws barcodes with one control, reused from one to the next so that a batch costs no
// more per barcode than a single drawing. The control measures and draws its caption in its
// font at the output's resolution.
class BarcodeRenderer {
  public:
    // A renderer beside others, on threads of their own, takes a font of its own: a font
    // serves one caller at a time, so renderers would wait for one another. They share the
    // --onto picture, which they only read.
    explicit BarcodeRenderer(RenderOptions options, bool besideOthers = false);

    // A failed call from the control or the encoding reaches the caller. A recording has
    // the caption, when there is one, as a line of its own under the barcode.
    Drawing Render(const BarcodeSettings& settings, std::string_view caption = {});

  private:
    Drawing FromResult(std::int16_t code) const;
    std::optional<control::PlannedBarcode> PictureSizePlan();
    Drawing RenderPicture(bool commandLineSize, std::string_view caption);
    std::shared_ptr<LabelRecording> StartRecording(Drawing& drawing, std::string_view caption,
                                                   surface::Rect& captionBox);
    Drawing RenderOnto(bool commandLineSize);
    std::int16_t DrawOn(const std::shared_ptr<surface::DrawingSurface>& target, double reduction);
    symbology::QuietZone QuietZoneModules() const;  // added left and right
    double ReductionDots() const;
    bool Refuse(Drawing& drawing, const render::BarcodePlan& plan, double reduction) const;
    void Describe(Drawing& drawing, const render::BarcodePlan& plan, symbology::QuietZone zone,
                  double reduction, bool commandLineSize) const;
    std::string EncodeRaster(const surface::RasterSurface& picture,
                             std::vector<std::uint8_t> alpha = {}) const;
    std::vector<std::uint8_t> AlphaAfterDrawing(double reduction);

    RenderOptions options_;
    Language language_ = UserLanguage();
    std::shared_ptr<const surface::Font> font_;
    GlyphOutlines outlines_;  // the caption's, for EPS files
    std::optional<control::QvBarCode> control_;
    std::thread::id controlThread_;  // the thread control_ belongs to
};

}  // namespace qv::cli
