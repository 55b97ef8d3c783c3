// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include <qvbarcode/control/PropertyTable.h>
#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/surface/Font.h>
#include "options/Length.h"

namespace qv::cli {

using control::AutomationBool;
using control::kFalse;
using control::kTrue;

// How the program takes a numeric text's check digit, beyond CalculateCheckDigit (which adds
// one): as given, an EAN-13's last digit verified; or, where the length tells, added to a
// text one digit short and verified otherwise (Auto); or verified for every numeric
// symbology.
enum class CheckDigitMode { AsGiven, Auto, Verify };

// The control's properties as the command line (and, in a batch, a CSV record) gives them,
// sizes already in pixels. A size left unset takes the default size (BarcodeSize.h).
struct BarcodeSettings {
    std::optional<std::string> text = {};  // UTF-8
    std::optional<std::int32_t> barCodeType = {};
    std::optional<std::int32_t> barWidth = {};
    std::optional<std::int32_t> barHeight = {};
    // Instead of a width: BarWidth is made so that every module is this many pixels wide.
    std::optional<std::int32_t> modulePixels = {};
    AutomationBool barWidthSource = kFalse;
    AutomationBool backgroundWhite = kFalse;
    AutomationBool showValue = kFalse;
    AutomationBool calculateCheckDigit = kFalse;
    CheckDigitMode checkDigit = CheckDigitMode::AsGiven;  // where calculateCheckDigit is False
    // A last digit known to be a check digit (EAN-13's, or as Auto takes it) that is not the
    // check digit of the others fails; false draws it as given.
    bool verifyCheckDigit = true;
    friend bool operator==(const BarcodeSettings&, const BarcodeSettings&) = default;
};

// The settings' member for a Boolean property the command line or a CSV column sets;
// nullptr for any other property.
constexpr AutomationBool BarcodeSettings::*FlagOf(control::Property property) {
    switch (property) {
        case control::Property::BarWidthSource:
            return &BarcodeSettings::barWidthSource;
        case control::Property::BackgroundWhite:
            return &BarcodeSettings::backgroundWhite;
        case control::Property::ShowValue:
            return &BarcodeSettings::showValue;
        case control::Property::CalculateCheckDigit:
            return &BarcodeSettings::calculateCheckDigit;
        default:
            return nullptr;
    }
}

static_assert(std::ranges::all_of(control::kProperties,
                                  [](const control::PropertyRow& row) {
                                      return row.type != host::ValueType::Boolean ||
                                             !(row.option.Exists() || row.csvColumn) ||
                                             FlagOf(row.property) != nullptr;
                                  }),
              "every Boolean the program sets has its settings member");

enum class Command { Render, Batch, Help, Version, TypeLibrary, ListSheets };
// PostScript (Ps) is a batch's one document of many pages only.
enum class OutputFormat { Png, Svg, Pbm, Pgm, Pdf, Eps, Ps };

// A format of pixels, which --onto can draw on and the control's picture is written as.
constexpr bool IsRaster(OutputFormat format) {
    return format == OutputFormat::Png || format == OutputFormat::Pbm ||
           format == OutputFormat::Pgm;
}

// Drawing onto a copy of an existing PNG at a position, instead of on the own surface.
struct OntoImage {
    std::string path;
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const OntoImage&, const OntoImage&) = default;
};

// How a batch list's text that is not UTF-8 is read: refused, or as Windows-1252 (which
// ISO-8859-1 text reads as, but for the C1 controls no export writes).
enum class ListEncoding { Utf8, Latin1 };

// The control's own resolution: its pixels are a 96 dpi screen's.
using surface::kScreenDotsPerInch;

// What the command line asked of the printed size, as given, so that the program can say
// how near the drawing comes to it.
struct SizeRequest {
    bool dotsPerInchGiven = false;
    std::optional<Length> width = {};
    std::optional<Length> height = {};
    std::optional<Length> module = {};
    std::optional<double> magnification = {};  // in percent of EAN-13's nominal size
    friend bool operator==(const SizeRequest&, const SizeRequest&) = default;
};

// How a batch's labels go into one document: a page each, or laid out on sheets.
struct LabelLayout {
    std::string sheet;            // a template's name or a geometry; empty: a page per label
    std::int64_t firstLabel = 1;  // of the first sheet, from 1 (--first)
    std::int32_t copies = 1;      // of every record
    std::string copiesColumn;     // the column that gives each record's copies instead
    Length offsetX = {};          // everything moved right and down by them
    Length offsetY = {};
    bool outline = false;  // the labels' borders drawn
    std::string caption;   // a line under each barcode, {COLUMN} taking the record's cell
    friend bool operator==(const LabelLayout&, const LabelLayout&) = default;
};

struct Options {
    Command command = Command::Render;
    BarcodeSettings settings;
    std::string output;  // a file, "-" for standard output, or a batch pattern
    OutputFormat format = OutputFormat::Png;
    std::optional<OntoImage> onto;
    std::string batchInput;                 // a file or "-" for standard input
    std::optional<std::string> textColumn;  // the batch list's column that gives Text
    char separator = 0;  // between a batch list's cells; 0: found from the header line
    ListEncoding encoding = ListEncoding::Utf8;
    double dotsPerInch = kScreenDotsPerInch;
    std::int32_t quietZoneModules = 0;   // white modules added left and right
    bool standardQuietZones = false;     // instead, the symbology's own (--quiet-zone std)
    std::optional<Length> barReduction;  // every bar drawn narrower by it; pixels are dots
    bool explain = false;                // say how large the barcode prints
    SizeRequest asked;
    std::int32_t jobs = 0;         // a batch's drawing threads; 0 for one per core
    std::int64_t firstRecord = 1;  // a batch's first record drawn (--from)
    bool oneDocument = false;      // a batch into one PDF or PostScript document
    LabelLayout labels;            // its pages
    // The printer queue the document is sent to, "" for the default one (--print).
    std::optional<std::string> printQueue;
    friend bool operator==(const Options&, const Options&) = default;
};

}  // namespace qv::cli
