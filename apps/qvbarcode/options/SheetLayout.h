// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qv::cli {

// Where the labels of a sheet sit, every length in points (1/72 in) from the page's
// top-left corner: one or more grids of labels of one size, filled across then down.
struct LabelGrid {
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    double left = 0.0;  // the first label's top-left corner
    double top = 0.0;
    double pitchX = 0.0;  // from one label's corner to the next
    double pitchY = 0.0;
    friend bool operator==(const LabelGrid&, const LabelGrid&) = default;
};

// The most labels a grid may have each way, and a sheet in all, whether given on the command
// line (one grid) or read from a template.
constexpr std::int32_t kMostLabelsEachWay = 1000;
constexpr std::int64_t kMostLabelsPerSheet = std::int64_t{kMostLabelsEachWay} * kMostLabelsEachWay;

struct SheetLayout {
    std::string name;  // as the user finds it: "Avery 5160", or the geometry given
    double pageWidth = 0.0;
    double pageHeight = 0.0;
    double labelWidth = 0.0;
    double labelHeight = 0.0;
    double cornerRadius = 0.0;
    bool round = false;  // a round label or a disc: labelWidth is its diameter
    std::vector<LabelGrid> grids;
    friend bool operator==(const SheetLayout&, const SheetLayout&) = default;

    std::int64_t LabelsPerSheet() const;
};

// A label's place on its sheet.
struct LabelPlace {
    std::int64_t sheet = 0;  // from 0
    double left = 0.0;
    double top = 0.0;
    friend bool operator==(const LabelPlace&, const LabelPlace&) = default;
};

// The place of label `index` (from 0) of a run of sheets.
LabelPlace PlaceOf(const SheetLayout& layout, std::int64_t index);

// A length as label templates write it: a number and in, mm, cm, pt or pc (points when
// none), in points; nothing when it is none of these.
std::optional<double> TemplateLength(std::string_view text);

// A sheet written out: PAGE:COLUMNSxROWS:WxHmm:LEFTxTOPmm:PITCHXxPITCHYmm, PAGE a4, letter
// or WIDTHxHEIGHTmm. The reason it is not one, or nothing for a text that is no geometry
// (a template's name).
std::optional<std::variant<SheetLayout, std::string>> ParseSheetGeometry(std::string_view text);

// "63.5 x 33.9 mm", for messages.
std::string MillimetreSize(double widthPoints, double heightPoints);

}  // namespace qv::cli

#include "options/Length.h"

namespace qv::cli {

// A length in points; pixels are the resolution's.
double PointsOf(const Length& length, double dotsPerInch);

}  // namespace qv::cli
