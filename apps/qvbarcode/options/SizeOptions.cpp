// SPDX-License-Identifier: MIT
#include "options/SizeOptions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include <qvbarcode/render/BarcodePlan.h>
#include <qvbarcode/symbology/Symbologies.h>
#include "options/ValueParsing.h"

namespace qv::cli {

namespace {

constexpr double kMaxDotsPerInch = 10000.0;
constexpr std::int32_t kMaxQuietZone = 1000;
constexpr double kMagnificationRange[] = {80.0, 200.0};
constexpr double kMillimetresPerInch = 25.4;

std::string Refused(std::string_view option, std::string_view value, std::string_view wanted) {
    return "invalid value '" + std::string(value) + "' for " + std::string(option) + ": " +
           std::string(wanted);
}

std::optional<std::string> SetDotsPerInch(Options& o, std::string_view value) {
    const auto dpi = ParsePositiveNumber(value);
    if (!dpi || *dpi > kMaxDotsPerInch) {
        return Refused("--dpi", value, "a resolution up to 10000 dots per inch");
    }
    o.dotsPerInch = *dpi;
    o.asked.dotsPerInchGiven = true;
    return std::nullopt;
}

std::optional<std::string> SetQuietZone(Options& o, std::string_view value) {
    o.standardQuietZones = value == "std";
    if (o.standardQuietZones) {
        o.quietZoneModules = 0;
        return std::nullopt;
    }
    const auto modules = ParseWholeNumber(value);
    if (!modules || *modules < 0 || *modules > kMaxQuietZone) {
        return Refused("--quiet-zone", value, "std, or a number of modules from 0 to 1000");
    }
    o.quietZoneModules = *modules;
    return std::nullopt;
}

std::optional<std::string> SetMagnification(Options& o, std::string_view value) {
    const auto percent =
        ParsePositiveNumber(value.ends_with('%') ? value.substr(0, value.size() - 1) : value);
    if (!percent || *percent < kMagnificationRange[0] || *percent > kMagnificationRange[1]) {
        return Refused("--magnification", value, "a percentage from 80% to 200%");
    }
    o.asked.magnification = *percent;
    return std::nullopt;
}

// A length, or a number of dots (1dot, 2dots) or of thousandths of an inch (1.2mil).
std::optional<Length> ParseReduction(std::string_view value) {
    for (const auto& [suffix, unit, scale] : {std::tuple{"dots", LengthUnit::Pixel, 1.0},
                                              {"dot", LengthUnit::Pixel, 1.0},
                                              {"mils", LengthUnit::Inch, 0.001},
                                              {"mil", LengthUnit::Inch, 0.001}}) {
        if (value.ends_with(suffix)) {
            const auto number = ParsePositiveNumber(
                value.substr(0, value.size() - std::string_view(suffix).size()));
            return number ? std::optional(Length{*number * scale, unit}) : std::nullopt;
        }
    }
    return ParseLength(value);
}

std::optional<std::string> SetBarReduction(Options& o, std::string_view value) {
    const auto reduction = ParseReduction(value);
    if (!reduction || reduction->value < 0.0) {
        return Refused("--bar-reduction", value,
                       "a width to take off every bar: 0.03mm, 1dot, 1.2mil");
    }
    o.barReduction = *reduction;
    return std::nullopt;
}

std::optional<std::string> SetExplain(Options& o, std::string_view) {
    o.explain = true;
    return std::nullopt;
}

constexpr std::array<SizeOption, 5> kSizeOptions{{
    {"", "--dpi", true, SetDotsPerInch},
    {"", "--quiet-zone", true, SetQuietZone},
    {"", "--magnification", true, SetMagnification},
    {"", "--bar-reduction", true, SetBarReduction},
    {"-v", "--explain", false, SetExplain},
}};

// A magnification's module and height: EAN-13's nominal ones scaled, in whole dots.
std::optional<std::string> Magnify(Options& o, const AskedLengths& asked) {
    BarcodeSettings& s = o.settings;
    if (asked.width || asked.height || asked.module || s.barWidthSource != kFalse) {
        return "--magnification sets the module and the height: give it without --width, "
               "--module, --height and --default-size";
    }
    if (s.barCodeType != symbology::QvTypeEan13) {
        return "--magnification scales EAN-13's nominal size: give -t ean13, or --module for "
               "the other symbologies";
    }
    const symbology::PrintedModule& nominal =
        symbology::FindSymbology(symbology::QvTypeEan13)->printed;
    const double scale = *o.asked.magnification / 100.0;
    const LengthUnit mm = LengthUnit::Millimetre;
    s.modulePixels = std::max(*ToPixels({nominal.nominalWidth * scale, mm}, o.dotsPerInch), 1);
    s.barHeight = *ToPixels({nominal.nominalBarHeight * scale, mm}, o.dotsPerInch) +
                  (s.backgroundWhite != kFalse ? 2 * render::kMargin : 0);
    return std::nullopt;
}

// The module in dots where the command line decides it without the text.
std::optional<std::int32_t> KnownModuleDots(const Options& o) {
    const BarcodeSettings& s = o.settings;
    if (s.modulePixels) return s.modulePixels;
    if (s.barWidthSource != kFalse) return 1;
    if (s.barWidth) return std::nullopt;
    // The default size: a module of 1/96 inch.
    return std::max(1,
                    static_cast<std::int32_t>(std::nearbyint(o.dotsPerInch / kScreenDotsPerInch)));
}

}  // namespace

std::span<const SizeOption> SizeOptions() {
    return kSizeOptions;
}

std::optional<std::string> SettleSizeOptions(Options& o, const AskedLengths& asked) {
    o.asked.width = asked.width;
    o.asked.height = asked.height;
    o.asked.module = asked.module;
    if (o.asked.magnification) {
        if (auto error = Magnify(o, asked)) return error;
    }
    if (o.explain && o.command == Command::Batch) {
        return "--explain describes one barcode: leave it out of a --batch";
    }
    if (o.standardQuietZones && o.onto) {
        return "--quiet-zone widens the picture, which --onto keeps at the image's size: "
               "leave the room with --x instead";
    }
    if (o.barReduction) {
        const double dots = ReductionDots(*o.barReduction, o.dotsPerInch, IsRaster(o.format));
        if (const auto module = KnownModuleDots(o)) {
            return ReductionRefusal(*o.barReduction, dots, *module, o.dotsPerInch);
        }
    }
    return std::nullopt;
}

double ExactDots(const Length& length, double dotsPerInch) {
    switch (length.unit) {
        case LengthUnit::Pixel:
            return length.value;
        case LengthUnit::Millimetre:
            return length.value / kMillimetresPerInch * dotsPerInch;
        case LengthUnit::Centimetre:
            return length.value * 10.0 / kMillimetresPerInch * dotsPerInch;
        case LengthUnit::Inch:
            return length.value * dotsPerInch;
        case LengthUnit::Point:
            return length.value / 72.0 * dotsPerInch;
    }
    return length.value;
}

std::string Decimals(double value, int decimals) {
    char buffer[64];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value,
                                      std::chars_format::fixed, decimals);
    return result.ec == std::errc{} ? std::string(buffer, result.ptr) : std::to_string(value);
}

std::string NumberText(double value) {
    std::string number = Decimals(value, 6);
    number.erase(number.find_last_not_of('0') + 1);
    if (number.ends_with('.')) number.pop_back();
    return number;
}

std::string LengthText(const Length& length) {
    constexpr std::string_view kUnits[] = {"px", "mm", "cm", "in", "pt"};
    return NumberText(length.value) + std::string(kUnits[static_cast<int>(length.unit)]);
}

double ReductionDots(const Length& reduction, double dotsPerInch, bool wholeDots) {
    const double dots = ExactDots(reduction, dotsPerInch);
    return wholeDots ? std::nearbyint(dots) : dots;
}

std::optional<std::string> ReductionRefusal(const Length& reduction, double reductionDots,
                                            std::int32_t moduleDots, double dotsPerInch) {
    if (moduleDots - reductionDots >= 1.0) {
        return std::nullopt;
    }
    return "--bar-reduction " + LengthText(reduction) + " takes " +
           NumberText(std::round(reductionDots * 100.0) / 100.0) +
           " dots off every bar, and bars of one module are " + std::to_string(moduleDots) +
           " dots wide at " + NumberText(dotsPerInch) + " dpi: less than one dot would be left";
}

}  // namespace qv::cli
