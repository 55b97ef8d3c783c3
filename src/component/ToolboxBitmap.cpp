// SPDX-License-Identifier: MIT
#include <qvbarcode/component/ToolboxBitmap.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace qv::component {
namespace {

// One row a line, left to right: '#' bar, '.' paper, '-' frame, 'o' the caption's dots.
constexpr std::array<std::string_view, kToolboxBitmapHeight> kPixels = {
    "----------------", "-..............-", "-.#.##.#..##.#.-", "-.#.##.#..##.#.-",
    "-.#.##.#..##.#.-", "-.#.##.#..##.#.-", "-.#.##.#..##.#.-", "-.#.##.#..##.#.-",
    "-.#.##.#..##.#.-", "-.#.##.#..##.#.-", "-.#..........#.-", "-.#.oo.oo.oo.#.-",
    "-.#..........#.-", "-..............-", "----------------",
};
static_assert(std::ranges::all_of(kPixels, [](std::string_view row) {
    return row.size() == kToolboxBitmapWidth;
}));

constexpr std::uint32_t kBar = 0x000000;
constexpr std::uint32_t kPaper = 0xFFFFFF;
constexpr std::uint32_t kFrame = 0x808080;
constexpr std::uint32_t kCaption = 0x800000;  // navy, in 0x00BBGGRR

std::uint32_t ColourOf(char pixel) {
    switch (pixel) {
        case '#':
            return kBar;
        case '-':
            return kFrame;
        case 'o':
            return kCaption;
        default:
            return kPaper;
    }
}

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string ToolboxBitmapFile() {
    constexpr std::uint32_t kRowBytes = (kToolboxBitmapWidth * 3 + 3) / 4 * 4;
    constexpr std::uint32_t kHeaderBytes = 14 + 40;
    constexpr std::uint32_t kImageBytes = kRowBytes * kToolboxBitmapHeight;
    std::string out;
    out.reserve(kHeaderBytes + kImageBytes);
    out += "BM";
    PutLittleEndian(out, kHeaderBytes + kImageBytes, 4);
    PutLittleEndian(out, 0, 4);  // reserved
    PutLittleEndian(out, kHeaderBytes, 4);
    PutLittleEndian(out, 40, 4);  // the information header's own size
    PutLittleEndian(out, kToolboxBitmapWidth, 4);
    PutLittleEndian(out, kToolboxBitmapHeight, 4);  // positive: bottom-up
    PutLittleEndian(out, 1, 2);                     // planes
    PutLittleEndian(out, kToolboxBitmapBitsPerPixel, 2);
    PutLittleEndian(out, 0, 4);  // uncompressed
    PutLittleEndian(out, kImageBytes, 4);
    PutLittleEndian(out, 3780, 4);  // 96 dpi as pixels per metre, both ways
    PutLittleEndian(out, 3780, 4);
    PutLittleEndian(out, 0, 4);  // no palette
    PutLittleEndian(out, 0, 4);
    for (auto row = kPixels.rbegin(); row != kPixels.rend(); ++row) {
        const std::size_t start = out.size();
        for (char pixel : *row) {
            const std::uint32_t colour = ColourOf(pixel);
            out.push_back(static_cast<char>((colour >> 16) & 0xFF));  // blue
            out.push_back(static_cast<char>((colour >> 8) & 0xFF));   // green
            out.push_back(static_cast<char>(colour & 0xFF));          // red
        }
        out.append(kRowBytes - (out.size() - start), '\0');
    }
    return out;
}

}  // namespace qv::component
