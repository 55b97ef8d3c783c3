// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <qvbarcode/symbology/Symbologies.h>
#include "options/CliOptions.h"

namespace qv::cli {

// What a run asked of the printed size.
struct SizeSettings {
    double dotsPerInch = kScreenDotsPerInch;
    SizeRequest asked = {};
    std::optional<Length> barReduction = {};
    bool wholeDots = true;  // a picture of pixels: the bar reduction in whole dots
    // The command line's size properties: a record whose cells set others asked for others.
    std::optional<std::int32_t> barWidth = {}, barHeight = {}, modulePixels = {};
};

// What one drawing came to, in dots.
struct PrintedDrawing {
    const symbology::Symbology* symbology = nullptr;
    std::int32_t modules = 0;
    std::int32_t moduleDots = 0;
    std::int32_t barsWidth = 0, barsHeight = 0;
    std::int32_t barcodeWidth = 0, barcodeHeight = 0;  // the control's, margins included
    std::int32_t margins = 0;                          // the control's white margins, across
    symbology::QuietZone zoneModules = {};
    std::int32_t whiteLeft = 0, whiteRight = 0;  // beside the bars: quiet zone and margin
    std::int32_t pictureWidth = 0, pictureHeight = 0;
    double reductionDots = 0.0;
};

// What is said once per run however many barcodes it draws; a batch says each kind once.
struct RunNote {
    enum Kind { SizeMissed, SmallModule, Magnification, ReductionRounded } kind;
    bool warning;
    std::string text;
};

// The printed size said aloud, when the run asked for a printed size (--dpi or a length in
// a unit of print): a width, height or module missed by more than half a module, a module
// smaller than scanners or printers manage, what a magnification came to, and a bar
// reduction that whole dots lose. commandLineSize: the drawing's size properties are the
// command line's, so what it asked is what the drawing was asked.
std::vector<RunNote> SizeNotes(const PrintedDrawing& drawing, const SizeSettings& settings,
                               bool commandLineSize);

// --explain: the symbology, modules, module in dots and millimetres, quiet zones, bar
// reduction and sizes, one line each.
std::string Explanation(const PrintedDrawing& drawing, const SizeSettings& settings);

}  // namespace qv::cli
