// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace qv::imagefile {

// What the PNG chunks before the image data say.
struct PngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint8_t bitDepth = 8;
    std::uint8_t colourType = 0;            // 0 grey, 2 RGB, 3 palette, 6 RGBA
    const std::uint8_t* palette = nullptr;  // paletteSize red, green, blue triples
    int paletteSize = 0;
    double dotsPerInch = 0.0;  // the pHYs chunk; none when 0
};

// A whole PNG file: signature, header chunks, the zlib stream as one IDAT chunk, IEND.
// Raises the failed call (out of memory) when the bytes cannot be had.
std::string AssemblePng(const PngHeader& header, const std::uint8_t* zlibStream, std::size_t size);

}  // namespace qv::imagefile
