// SPDX-License-Identifier: MIT
#include "options/SheetLayout.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace qv::cli {

namespace {

constexpr double kPointsPerMillimetre = 72.0 / 25.4;

std::optional<double> Number(std::string_view text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at - from));
        if (at == std::string_view::npos) return parts;
        from = at + 1;
    }
}

// "63.5x33.9mm" in points; every number positive unless zeroAllowed.
std::optional<std::pair<double, double>> MillimetrePair(std::string_view text, bool zeroAllowed) {
    if (!text.ends_with("mm")) return std::nullopt;
    const auto parts = Split(text.substr(0, text.size() - 2), 'x');
    if (parts.size() != 2) return std::nullopt;
    const auto a = Number(parts[0]);
    const auto b = Number(parts[1]);
    if (!a || !b || *a < 0 || *b < 0 || (!zeroAllowed && (*a == 0 || *b == 0))) {
        return std::nullopt;
    }
    return std::pair{*a * kPointsPerMillimetre, *b * kPointsPerMillimetre};
}

std::optional<std::pair<double, double>> PageSize(std::string_view text) {
    if (text == "a4" || text == "A4")
        return std::pair{210 * kPointsPerMillimetre, 297 * kPointsPerMillimetre};
    if (text == "letter") return std::pair{612.0, 792.0};
    return MillimetrePair(text, false);
}

}  // namespace

std::int64_t SheetLayout::LabelsPerSheet() const {
    std::int64_t count = 0;
    for (const LabelGrid& grid : grids) count += std::int64_t{grid.columns} * grid.rows;
    return count;
}

LabelPlace PlaceOf(const SheetLayout& layout, std::int64_t index) {
    const std::int64_t perSheet = layout.LabelsPerSheet();
    LabelPlace place{index / perSheet};
    std::int64_t left = index % perSheet;
    for (const LabelGrid& grid : layout.grids) {
        const std::int64_t count = std::int64_t{grid.columns} * grid.rows;
        if (left < count) {
            place.left = grid.left + static_cast<double>(left % grid.columns) * grid.pitchX;
            place.top = grid.top + static_cast<double>(left / grid.columns) * grid.pitchY;
            break;
        }
        left -= count;
    }
    return place;
}

std::optional<double> TemplateLength(std::string_view text) {
    struct Unit {
        std::string_view name;
        double points;
    };
    static constexpr Unit kUnits[] = {{"in", 72.0},
                                      {"mm", kPointsPerMillimetre},
                                      {"cm", 10 * kPointsPerMillimetre},
                                      {"pt", 1.0},
                                      {"pc", 12.0}};
    double scale = 1.0;
    for (const Unit& unit : kUnits) {
        if (text.ends_with(unit.name)) {
            text.remove_suffix(unit.name.size());
            scale = unit.points;
            break;
        }
    }
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    const auto value = Number(text);
    return value ? std::optional(*value * scale) : std::nullopt;
}

std::optional<std::variant<SheetLayout, std::string>> ParseSheetGeometry(std::string_view text) {
    const auto fields = Split(text, ':');
    if (fields.size() == 1) return std::nullopt;
    const std::string wanted =
        "a sheet is PAGE:COLUMNSxROWS:WxHmm:LEFTxTOPmm:PITCHXxPITCHYmm, PAGE a4, letter or "
        "WxHmm, e.g. a4:3x8:63.5x33.9mm:7.21x12.9mm:66.04x33.9mm";
    if (fields.size() != 5) return wanted;
    const auto page = PageSize(fields[0]);
    const auto counts = Split(fields[1], 'x');
    const auto label = MillimetrePair(fields[2], false);
    const auto corner = MillimetrePair(fields[3], true);
    const auto pitch = MillimetrePair(fields[4], true);
    LabelGrid grid;
    if (counts.size() == 2) {
        grid.columns = static_cast<std::int32_t>(Number(counts[0]).value_or(0));
        grid.rows = static_cast<std::int32_t>(Number(counts[1]).value_or(0));
    }
    if (!page || !label || !corner || !pitch || grid.columns < 1 || grid.rows < 1 ||
        grid.columns > kMostLabelsEachWay || grid.rows > kMostLabelsEachWay) {
        return wanted;
    }
    grid.left = corner->first;
    grid.top = corner->second;
    grid.pitchX = pitch->first;
    grid.pitchY = pitch->second;
    SheetLayout layout{std::string(text), page->first, page->second, label->first,
                       label->second,     0.0,         false,        {grid}};
    return layout;
}

std::string MillimetreSize(double widthPoints, double heightPoints) {
    char text[80];
    std::snprintf(text, sizeof text, "%.1f x %.1f mm", widthPoints / kPointsPerMillimetre,
                  heightPoints / kPointsPerMillimetre);
    return text;
}

}  // namespace qv::cli

namespace qv::cli {

double PointsOf(const Length& length, double dotsPerInch) {
    switch (length.unit) {
        case LengthUnit::Pixel:
            return length.value * 72.0 / dotsPerInch;
        case LengthUnit::Millimetre:
            return length.value * kPointsPerMillimetre;
        case LengthUnit::Centimetre:
            return length.value * 10 * kPointsPerMillimetre;
        case LengthUnit::Inch:
            return length.value * 72.0;
        case LengthUnit::Point:
            return length.value;
    }
    return 0.0;
}

}  // namespace qv::cli
