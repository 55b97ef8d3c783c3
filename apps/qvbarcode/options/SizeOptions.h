// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "options/CliOptions.h"

namespace qv::cli {

// The options that decide how large a barcode prints: the printer's resolution, the quiet
// zones, EAN-13's magnification, the bar reduction and the explanation of the size.
struct SizeOption {
    std::string_view shortName;  // empty when there is none
    std::string_view longName;
    bool takesValue;
    // Why the value is refused, or nothing once it is in the options.
    std::optional<std::string> (*apply)(Options& options, std::string_view value);
};
std::span<const SizeOption> SizeOptions();

// The lengths of the command line as given, before they became pixels.
struct AskedLengths {
    std::optional<Length> width, height, module;
};

// Once every option is read and the lengths are pixels: keeps what was asked, gives the
// module and height a magnification asks for, and refuses what does not go together (or a
// bar reduction that leaves a bar under one dot, where the module is known without the
// text). Returns why.
std::optional<std::string> SettleSizeOptions(Options& options, const AskedLengths& asked);

// A length in dots (pixels) at the resolution, unrounded.
double ExactDots(const Length& length, double dotsPerInch);
// A length as it is typed: 0.03mm, 1.5in, 3px.
std::string LengthText(const Length& length);
// A number with that many decimals, a point whatever the locale: 0.339.
std::string Decimals(double value, int decimals);
// A number with no more decimals than it needs: 203.2, 300.
std::string NumberText(double value);

// The bar reduction in dots: whole ones (halves to even) for a picture of pixels, else exact.
double ReductionDots(const Length& reduction, double dotsPerInch, bool wholeDots);
// Why bars one module of moduleDots wide cannot be narrowed by reductionDots: they would
// keep less than one dot.
std::optional<std::string> ReductionRefusal(const Length& reduction, double reductionDots,
                                            std::int32_t moduleDots, double dotsPerInch);

}  // namespace qv::cli
