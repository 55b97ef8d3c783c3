// SPDX-License-Identifier: MIT
#pragma once

namespace qv::cli {

// A length as people give it: a number and a unit, px (the default), mm, cm, in or pt.
enum class LengthUnit { Pixel, Millimetre, Centimetre, Inch, Point };
struct Length {
    double value = 0.0;
    LengthUnit unit = LengthUnit::Pixel;
    friend bool operator==(const Length&, const Length&) = default;
};

}  // namespace qv::cli
