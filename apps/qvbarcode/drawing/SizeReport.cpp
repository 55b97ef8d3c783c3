// SPDX-License-Identifier: MIT
#include "drawing/SizeReport.h"

#include <cmath>
#include <cstdlib>

#include "options/SizeOptions.h"

namespace qv::cli {

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr std::int32_t kSmallestEvenDots = 2;  // one dot's spread is a module's whole width

double Millimetres(double dots, double dotsPerInch) {
    return dots / dotsPerInch * kMillimetresPerInch;
}

std::string Mm(double dots, double dotsPerInch, int decimals = 2) {
    return Decimals(Millimetres(dots, dotsPerInch), decimals) + " mm";
}

// Dots in a unit as people write it: 33.02 mm, 1.300 in, 390 px. A module (fine) gets one
// decimal more.
std::string InUnit(double dots, LengthUnit unit, double dotsPerInch, bool fine = false) {
    const double inches = dots / dotsPerInch;
    const int more = fine ? 1 : 0;
    switch (unit) {
        case LengthUnit::Pixel:
            return NumberText(dots) + " px";
        case LengthUnit::Millimetre:
            return Decimals(inches * kMillimetresPerInch, 2 + more) + " mm";
        case LengthUnit::Centimetre:
            return Decimals(inches * kMillimetresPerInch / 10.0, 3 + more) + " cm";
        case LengthUnit::Inch:
            return Decimals(inches, 3 + more) + " in";
        case LengthUnit::Point:
            return Decimals(inches * 72.0, 1 + more) + " pt";
    }
    return NumberText(dots) + " px";
}

std::string Dots(std::int64_t count) {
    return std::to_string(count) + (count == 1 ? " dot" : " dots");
}

// The module in whole dots nearest on the other side of the exact one than the drawn one.
std::optional<std::int32_t> OtherModule(std::int32_t drawn, double exact) {
    const std::int32_t other = exact > drawn ? drawn + 1 : drawn - 1;
    return other >= 1 ? std::optional(other) : std::nullopt;
}

bool PrintIsAsked(const SizeRequest& asked) {
    for (const auto& length : {asked.width, asked.height, asked.module}) {
        if (length && length->unit != LengthUnit::Pixel) return true;
    }
    return asked.dotsPerInchGiven || asked.magnification;
}

std::optional<RunNote> WidthMissed(const PrintedDrawing& d, const SizeSettings& s) {
    const double dpi = s.dotsPerInch;
    const double halfModule = d.moduleDots / 2.0;
    const auto module = [&](std::int32_t dots) {
        return "--module " + std::to_string(dots) + "px";
    };
    if (s.asked.width) {
        const double asked = ExactDots(*s.asked.width, dpi);
        if (std::abs(d.barcodeWidth - asked) <= halfModule) return std::nullopt;
        const LengthUnit unit = s.asked.width->unit;
        std::string text = "the barcode is " + InUnit(d.barcodeWidth, unit, dpi) +
                           " wide, not the " + InUnit(asked, unit, dpi) +
                           " asked: " + Dots(d.moduleDots) + " per module (" +
                           Mm(d.moduleDots, dpi, 3) + ") at " + NumberText(dpi) + " dpi";
        if (const auto other =
                OtherModule(d.moduleDots, (asked - d.margins) / std::max(d.modules, 1))) {
            text += "; " + module(*other) + " would make it " +
                    InUnit(std::int64_t{*other} * d.modules + d.margins, unit, dpi);
        }
        return RunNote{RunNote::SizeMissed, true, text};
    }
    if (s.asked.module) {
        const double asked = ExactDots(*s.asked.module, dpi);
        if (std::abs(d.moduleDots - asked) * d.modules <= halfModule) return std::nullopt;
        const LengthUnit unit = s.asked.module->unit;
        const double change = (d.moduleDots / asked - 1.0) * 100.0;
        std::string text = "modules of " + InUnit(d.moduleDots, unit, dpi, true) + ", not the " +
                           InUnit(asked, unit, dpi, true) + " asked (" + (change > 0 ? "+" : "") +
                           Decimals(change, 1) + "%), make the barcode " +
                           InUnit(d.barcodeWidth, unit, dpi) + " wide instead of " +
                           InUnit(asked * d.modules + d.margins, unit, dpi) + ": " +
                           Dots(d.moduleDots) + " per module at " + NumberText(dpi) + " dpi";
        if (const auto other = OtherModule(d.moduleDots, asked)) {
            text += "; " + module(*other) + " would make them " + InUnit(*other, unit, dpi, true);
        }
        return RunNote{RunNote::SizeMissed, true, text};
    }
    return std::nullopt;
}

std::optional<RunNote> HeightMissed(const PrintedDrawing& d, const SizeSettings& s) {
    if (!s.asked.height) return std::nullopt;
    const double asked = ExactDots(*s.asked.height, s.dotsPerInch);
    if (std::abs(d.barcodeHeight - asked) <= d.moduleDots / 2.0) return std::nullopt;
    const LengthUnit unit = s.asked.height->unit;
    return RunNote{RunNote::SizeMissed, true,
                   "the barcode is " + InUnit(d.barcodeHeight, unit, s.dotsPerInch) +
                       " high, not the " + InUnit(asked, unit, s.dotsPerInch) + " asked"};
}

std::optional<RunNote> SmallModule(const PrintedDrawing& d, const SizeSettings& s) {
    const double dpi = s.dotsPerInch;
    const symbology::PrintedModule& printed = d.symbology->printed;
    std::string reasons;
    if (Millimetres(d.moduleDots, dpi) < printed.smallestWidth) {
        reasons = "under the " + Decimals(printed.smallestWidth, 3) + " mm that " +
                  std::string(d.symbology->displayName) + " scanners are commonly built for";
        if (printed.nominalWidth > 0) {
            reasons += " (" + NumberText(printed.smallestWidth / printed.nominalWidth * 100.0) +
                       "% of the nominal " + NumberText(printed.nominalWidth) + " mm)";
        }
    }
    if (d.moduleDots < kSmallestEvenDots) {
        reasons += std::string(reasons.empty() ? "" : " and ") +
                   "under 2 dots, which a printer cannot print evenly";
    }
    if (reasons.empty()) return std::nullopt;
    const auto smallest = std::max<std::int32_t>(
        kSmallestEvenDots, static_cast<std::int32_t>(std::ceil(
                               printed.smallestWidth / kMillimetresPerInch * dpi - 1e-9)));
    return RunNote{RunNote::SmallModule, true,
                   "modules of " + Dots(d.moduleDots) + ", " + Mm(d.moduleDots, dpi, 3) + " at " +
                       NumberText(dpi) + " dpi, are " + reasons + ": the smallest module that " +
                       "scans reliably is --module " + std::to_string(smallest) + "px (" +
                       Mm(smallest, dpi, 3) + ")"};
}

// The module as a share of the symbology's nominal one, where it has one: " (102.6% ...)".
std::string OfNominal(const PrintedDrawing& d, double dotsPerInch) {
    const double nominal = d.symbology->printed.nominalWidth;
    if (nominal <= 0) return "";
    return " (" + Decimals(Millimetres(d.moduleDots, dotsPerInch) / nominal * 100.0, 1) +
           "% of the nominal " + NumberText(nominal) + " mm)";
}

}  // namespace

std::vector<RunNote> SizeNotes(const PrintedDrawing& d, const SizeSettings& s,
                               bool commandLineSize) {
    std::vector<RunNote> notes;
    const double dpi = s.dotsPerInch;
    if (s.asked.magnification) {
        const double nominal = d.symbology->printed.nominalWidth;
        const double scaled = nominal * *s.asked.magnification / 100.0;
        notes.push_back(
            {RunNote::Magnification, false,
             "--magnification " + NumberText(*s.asked.magnification) + "% is " +
                 Decimals(Millimetres(d.moduleDots, dpi) / nominal * 100.0, 1) + "% at " +
                 NumberText(dpi) + " dpi: a module of " + Decimals(scaled, 3) + " mm is " +
                 Decimals(scaled / kMillimetresPerInch * dpi, 2) + " dots, drawn as " +
                 std::to_string(d.moduleDots) + " (" + Mm(d.moduleDots, dpi, 3) + "); bars " +
                 Dots(d.barsHeight) + " (" + Mm(d.barsHeight, dpi) + ") high"});
    }
    if (PrintIsAsked(s.asked)) {
        if (commandLineSize) {
            for (auto missed : {WidthMissed(d, s), HeightMissed(d, s)}) {
                if (missed) notes.push_back(std::move(*missed));
            }
        }
        if (auto small = SmallModule(d, s)) notes.push_back(std::move(*small));
    }
    if (s.barReduction && s.wholeDots && d.reductionDots == 0 && s.barReduction->value > 0) {
        notes.push_back({RunNote::ReductionRounded, true,
                         "--bar-reduction " + LengthText(*s.barReduction) + " is " +
                             Decimals(ExactDots(*s.barReduction, dpi), 2) + " dots at " +
                             NumberText(dpi) +
                             " dpi, and a picture of pixels takes whole dots off: none here "
                             "(PDF, EPS and SVG take the exact width off)"});
    }
    return notes;
}

std::string Explanation(const PrintedDrawing& d, const SizeSettings& s) {
    const double dpi = s.dotsPerInch;
    const auto size = [dpi](std::int32_t width, std::int32_t height) {
        return std::to_string(width) + " x " + std::to_string(height) +
               " dots = " + Decimals(Millimetres(width, dpi), 2) + " x " + Mm(height, dpi);
    };
    std::string text = "symbology      " + std::string(d.symbology->displayName) + ", " +
                       std::to_string(d.modules) + " modules\n";
    text += "module         " + Dots(d.moduleDots) + " at " + NumberText(dpi) +
            " dpi = " + Mm(d.moduleDots, dpi, 3) + OfNominal(d, dpi) + "\n";
    text += "quiet zones    " + std::to_string(d.zoneModules.left) + " modules left, " +
            std::to_string(d.zoneModules.right) + " right: " + std::to_string(d.whiteLeft) +
            " and " + Dots(d.whiteRight) +
            " of white = " + Decimals(Millimetres(d.whiteLeft, dpi), 2) + " and " +
            Mm(d.whiteRight, dpi) + "\n";
    text += "bar reduction  " +
            (d.reductionDots == 0 ? std::string("none")
                                  : NumberText(std::round(d.reductionDots * 1000.0) / 1000.0) +
                                        (d.reductionDots == 1 ? " dot" : " dots") + " = " +
                                        Mm(d.reductionDots, dpi, 3) + " off every bar") +
            "\n";
    text += "bars           " + size(d.barsWidth, d.barsHeight) + "\n";
    text += "picture        " + size(d.pictureWidth, d.pictureHeight) + "\n";
    return text;
}

}  // namespace qv::cli
