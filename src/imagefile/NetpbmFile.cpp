// SPDX-License-Identifier: MIT
#include <qvbarcode/imagefile/NetpbmFile.h>

#include <cstring>

namespace qv::imagefile {

namespace {

// Rec. 601 luma, scaled by 1000.
std::uint32_t ScaledLuma(const std::uint8_t* rgb) {
    return 299u * rgb[0] + 587u * rgb[1] + 114u * rgb[2];
}

std::uint8_t GreyOf(const std::uint8_t* rgb) {
    return static_cast<std::uint8_t>((ScaledLuma(rgb) + 500) / 1000);
}

std::string Header(const char* magic, const surface::RasterSurface& surface, bool withMaximum) {
    std::string header = std::string(magic) + "\n" + std::to_string(surface.width()) + " " +
                         std::to_string(surface.height()) + "\n";
    return withMaximum ? header + "255\n" : header;
}

// The header, then each row as encodeRow writes it; a row equal to the one above (most rows
// of a barcode, often stored once by the surface) is copied instead.
template <typename EncodeRow>
std::string Encode(std::string header, const surface::RasterSurface& surface, std::size_t rowBytes,
                   EncodeRow encodeRow) {
    std::string bytes = std::move(header);
    const std::size_t start = bytes.size();
    bytes.resize(start + rowBytes * static_cast<std::size_t>(surface.height()), '\0');
    auto* out = reinterpret_cast<std::uint8_t*>(bytes.data() + start);
    for (std::int32_t y = 0; y < surface.height(); ++y, out += rowBytes) {
        if (y > 0 && surface.RowRepeatsAbove(y)) {
            std::memcpy(out, out - rowBytes, rowBytes);
            continue;
        }
        encodeRow(surface.RowData(y), out);
    }
    return bytes;
}

}  // namespace

std::string EncodePbm(const surface::RasterSurface& surface) {
    const auto width = static_cast<std::size_t>(surface.width());
    return Encode(Header("P4", surface, false), surface, (width + 7) / 8,
                  [width](const std::uint8_t* p, std::uint8_t* out) {
                      // Black below half grey: a rounded luma under 128. Eight pixels a byte,
                      // the first in the highest bit; the last byte is padded with white.
                      const auto black = [](const std::uint8_t* rgb) {
                          return unsigned{ScaledLuma(rgb) + 500 < 128000};
                      };
                      std::size_t x = 0;
                      for (; x + 8 <= width; x += 8, p += 24) {
                          unsigned bits = 0;
                          for (int i = 0; i < 8; ++i) bits = bits << 1 | black(p + 3 * i);
                          out[x / 8] = static_cast<std::uint8_t>(bits);
                      }
                      if (x < width) {
                          unsigned bits = 0;
                          for (std::size_t i = 0; x + i < width; ++i) {
                              bits |= black(p + 3 * i) << (7 - i);
                          }
                          out[x / 8] = static_cast<std::uint8_t>(bits);
                      }
                  });
}

std::string EncodePgm(const surface::RasterSurface& surface) {
    const auto width = static_cast<std::size_t>(surface.width());
    return Encode(Header("P5", surface, true), surface, width,
                  [width](const std::uint8_t* p, std::uint8_t* out) {
                      for (std::size_t x = 0; x < width; ++x, p += 3) out[x] = GreyOf(p);
                  });
}

}  // namespace qv::imagefile
