#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "CliOptions.h"
#include "control/QvBarCode.h"
#include "surface/RasterSurface.h"

namespace qv::cli {

// What one drawing gives: the result code and the control's description of it, and, when
// drawn, the picture encoded in the output format.
struct Drawing {
    std::int16_t code = 0;
    std::u16string description;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::string bytes;

    // A drawing the control made without a single pixel (no height given): nothing to write.
    bool IsEmpty() const { return code == 0 && (width <= 0 || height <= 0); }
};

// A picture that every barcode is drawn onto a copy of, at a position.
struct OntoBase {
    std::shared_ptr<const surface::RasterSurface> image;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Draws barcodes with one control, reused from one to the next so that a batch costs no
// more per barcode than a single drawing.
class BarcodeRenderer {
  public:
    BarcodeRenderer(OutputFormat format, std::optional<OntoBase> onto);

    // A failed call from the control or the encoding reaches the caller.
    Drawing Render(const BarcodeSettings& settings);

  private:
    Drawing FromResult(const host::Variant& result) const;
    Drawing RenderOwnSurface();
    Drawing RenderSvg();
    Drawing RenderOnto();

    OutputFormat format_;
    std::optional<OntoBase> onto_;
    control::QvBarCode control_;
};

}  // namespace qv::cli
