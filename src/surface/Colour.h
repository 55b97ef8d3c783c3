// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace qv::surface {

// A 24-bit RGB colour in the 0x00BBGGRR layout.
using Colour = std::uint32_t;

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;

constexpr Colour MakeColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return Colour{red} | (Colour{green} << 8) | (Colour{blue} << 16);
}
constexpr std::uint8_t RedOf(Colour c) {
    return static_cast<std::uint8_t>(c & 0xFF);
}
constexpr std::uint8_t GreenOf(Colour c) {
    return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
constexpr std::uint8_t BlueOf(Colour c) {
    return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}

}  // namespace qv::surface
