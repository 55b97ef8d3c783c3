// SPDX-License-Identifier: MIT
// PNG encoding of a surface, tuned for barcodes: few colours, long runs, many equal rows.
#include <isa-l/igzip_lib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/imagefile/GreyBarcodeCode.h>
#include <qvbarcode/imagefile/PngChunks.h>
#include <qvbarcode/imagefile/PngDeflater.h>
#include <qvbarcode/imagefile/PngFile.h>

namespace qv::imagefile {

using host::FailedCall;
using host::FailureReason;

namespace {

// PNG's row filters: none, and the difference from the row above.
constexpr std::uint8_t kFilterNone = 0;
constexpr std::uint8_t kFilterUp = 2;

// How few bits per pixel the picture needs. Barcodes are mostly two-colour, written as a
// 1-bit palette; a caption's antialiasing on black and white stays 8-bit grey.
enum class PixelLayout { TwoColours, Grey, Rgb, Rgba };

struct Format {
    PixelLayout layout = PixelLayout::TwoColours;
    surface::Colour palette[2] = {0, 0};
    int paletteSize = 0;
    std::size_t rowBytes = 0;
};

// Most rows of a barcode repeat the one above; comparing them once is far cheaper than
// looking at their pixels in every pass.
using RepeatedRows = std::vector<bool>;
RepeatedRows FindRepeatedRows(const surface::RasterSurface& surface) {
    RepeatedRows repeated(static_cast<std::size_t>(surface.height()), false);
    for (std::int32_t y = 1; y < surface.height(); ++y) {
        repeated[static_cast<std::size_t>(y)] = surface.RowRepeatsAbove(y);
    }
    return repeated;
}

// Copies a row's red bytes to grey, one per pixel; returns whether every pixel is grey. The
// compiler makes vector operations of this loop where the processor can shuffle bytes.
[[gnu::always_inline]] inline bool CopyGreyRow(const std::uint8_t* __restrict p, std::size_t width,
                                               std::uint8_t* __restrict grey) {
    std::uint8_t difference = 0;
    for (std::size_t x = 0; x < width; ++x) {
        const std::uint8_t red = p[3 * x];
        difference |= static_cast<std::uint8_t>((p[3 * x + 1] ^ red) | (p[3 * x + 2] ^ red));
        grey[x] = red;
    }
    return difference == 0;
}

#if defined(__x86_64__)
[[gnu::target("avx2")]] bool CopyGreyRowAvx2(const std::uint8_t* p, std::size_t width,
                                             std::uint8_t* grey) {
    return CopyGreyRow(p, width, grey);
}
#endif

bool ExtractGreyRow(const std::uint8_t* p, std::size_t width, std::uint8_t* grey) {
#if defined(__x86_64__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) return CopyGreyRowAvx2(p, width, grey);
#endif
    return CopyGreyRow(p, width, grey);
}

// Whether every byte of a row is one of two levels (which may be the same), in a loop that
// becomes vector code.
bool OnlyLevels(const std::uint8_t* row, std::size_t width, std::uint8_t first,
                std::uint8_t second) {
    std::uint8_t other = 0;
    for (std::size_t x = 0; x < width; ++x) other |= (row[x] != first) & (row[x] != second);
    return other == 0;
}

// Whether every pixel is grey, and its levels: all of them while there are at most two, else
// three (which is all that decides the format). Each row that does not repeat the one above
// is copied to grey, its row of width bytes.
bool GreyLevels(const surface::RasterSurface& surface, const RepeatedRows& repeated,
                std::array<bool, 256>& seen, std::uint8_t* grey) {
    const auto width = static_cast<std::size_t>(surface.width());
    int levels = 0;
    std::uint8_t known[3] = {};
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        if (repeated[static_cast<std::size_t>(y)]) continue;
        std::uint8_t* row = grey + static_cast<std::size_t>(y) * width;
        if (!ExtractGreyRow(surface.RowData(y), width, row)) return false;
        if (levels == 3 || (levels > 0 && OnlyLevels(row, width, known[0], known[levels - 1])))
            continue;
        for (std::size_t x = 0; levels < 3 && x < width; ++x) {
            if (!seen[row[x]]) known[levels++] = row[x];
            seen[row[x]] = true;
        }
    }
    return true;
}

// Coloured pictures with two colours still pack to one bit; anything else is RGB.
bool TwoColours(const surface::RasterSurface& surface, const RepeatedRows& repeated,
                surface::Colour (&palette)[2], int& count) {
    count = 0;
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        if (repeated[static_cast<std::size_t>(y)]) continue;
        const std::uint8_t* p = surface.RowData(y);
        for (std::int32_t x = 0; x < surface.width(); ++x, p += 3) {
            const surface::Colour colour = surface::MakeColour(p[0], p[1], p[2]);
            if ((count > 0 && colour == palette[0]) || (count > 1 && colour == palette[1]))
                continue;
            if (count == 2) return false;
            palette[count++] = colour;
        }
    }
    return true;
}

// Index 0 of a palette is the colour of the top-left pixel.
// Grey pictures leave their rows in grey, as GreyLevels does.
Format ChooseFormat(const surface::RasterSurface& surface, const RepeatedRows& repeated,
                    std::uint8_t* grey) {
    const auto width = static_cast<std::size_t>(surface.width());
    Format format;
    format.rowBytes = (width + 7) / 8;
    std::array<bool, 256> seen{};
    if (GreyLevels(surface, repeated, seen, grey)) {
        const std::uint8_t first = surface.RowData(0)[0];
        format.palette[0] = surface::MakeColour(first, first, first);
        format.paletteSize = 1;
        for (int level = 0; level < 256; ++level) {
            if (!seen[level] || level == first) continue;
            if (format.paletteSize == 2) {
                format.layout = PixelLayout::Grey;
                format.rowBytes = width;
                return format;
            }
            const auto value = static_cast<std::uint8_t>(level);
            format.palette[format.paletteSize++] = surface::MakeColour(value, value, value);
        }
        return format;
    }
    if (!TwoColours(surface, repeated, format.palette, format.paletteSize)) {
        format.layout = PixelLayout::Rgb;
        format.rowBytes = surface.RowBytes();
    }
    return format;
}

// What a row is packed from besides the surface: the grey rows ChooseFormat left, one byte
// per pixel, and the opacities (one per pixel) of a transparent picture.
struct RowSources {
    const std::uint8_t* grey;
    const std::uint8_t* alpha;
};

// Row y as the format stores it; bits are packed most significant first. RGB and grey rows
// need no packing: the surface's own bytes or the grey row are returned.
const std::uint8_t* PackRow(const surface::RasterSurface& surface, const Format& format,
                            const RowSources& sources, std::int32_t y, std::uint8_t* out) {
    const std::uint8_t* p = surface.RowData(y);
    const auto width = static_cast<std::size_t>(surface.width());
    switch (format.layout) {
        case PixelLayout::TwoColours: {
            const surface::Colour zero = format.palette[0];
            unsigned bits = 0;
            for (std::size_t x = 0; x < width; ++x, p += 3) {
                bits = bits << 1 | (surface::MakeColour(p[0], p[1], p[2]) != zero);
                if ((x & 7) == 7) out[x >> 3] = static_cast<std::uint8_t>(bits);
            }
            if (width % 8 != 0)
                out[width >> 3] = static_cast<std::uint8_t>(bits << (8 - width % 8));
            return out;
        }
        case PixelLayout::Grey:
            return sources.grey + width * static_cast<std::size_t>(y);
        case PixelLayout::Rgb:
            return p;
        case PixelLayout::Rgba: {
            const std::uint8_t* alpha = sources.alpha + width * static_cast<std::size_t>(y);
            for (std::size_t x = 0; x < width; ++x, p += 3) {
                std::memcpy(out + 4 * x, p, 3);
                out[4 * x + 3] = alpha[x];
            }
            return out;
        }
    }
    return out;
}

// The Adler-32 of a repeated row after the bytes that gave adler: its filter byte, then n
// zeros, which leave the first sum as it is and add n times it to the second.
std::uint32_t AdlerOfRepeatedRow(std::uint32_t adler, std::uint8_t filter, std::size_t n) {
    constexpr std::uint64_t kModulus = 65521;
    const std::uint64_t a = ((adler & 0xFFFF) + filter) % kModulus;
    const std::uint64_t b = (adler >> 16) + a + (n % kModulus) * a;
    return static_cast<std::uint32_t>((b % kModulus) << 16 | a);
}

// The image data as PNG filters it: every row after the first by its difference from the
// row above (the Up filter), which makes a repeated row all zeros without looking at it.
// Returns the data's Adler-32, which for those zeros costs nothing either.
std::uint32_t FilterRows(const surface::RasterSurface& surface, const Format& format,
                         const RowSources& sources, const RepeatedRows& repeated,
                         std::vector<std::uint8_t>& filtered) {
    const std::size_t rowBytes = format.rowBytes;
    const std::size_t line = rowBytes + 1;
    filtered.resize(line * static_cast<std::size_t>(surface.height()));
    // The packed row above and the one being filtered.
    std::vector<std::uint8_t> packed(2 * rowBytes);
    std::uint8_t* current = packed.data();
    const std::uint8_t* above = nullptr;
    std::uint32_t adler = 1;
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        std::uint8_t* out = filtered.data() + static_cast<std::size_t>(y) * line;
        if (repeated[static_cast<std::size_t>(y)]) {
            out[0] = kFilterUp;
            std::memset(out + 1, 0, rowBytes);
            adler = AdlerOfRepeatedRow(adler, kFilterUp, rowBytes);
            continue;
        }
        const std::uint8_t* row = PackRow(surface, format, sources, y, current);
        if (above == nullptr) {
            out[0] = kFilterNone;
            std::memcpy(out + 1, row, rowBytes);
        } else {
            out[0] = kFilterUp;
            for (std::size_t i = 0; i < rowBytes; ++i) {
                out[i + 1] = static_cast<std::uint8_t>(row[i] - above[i]);
            }
        }
        adler = isal_adler32(adler, out, line);
        above = row;
        current = current == packed.data() ? packed.data() + rowBytes : packed.data();
    }
    return adler;
}

// The most filtered bytes written with the code made in advance: far above any label, and
// where building a code of its own costs little beside compressing the picture.
constexpr std::size_t kMostForBarcodeCode = std::size_t{1} << 20;
// The most filtered bytes a thread keeps between pictures.
constexpr std::size_t kMostRowBytesKept = std::size_t{4} << 20;

}  // namespace

std::string EncodePng(const surface::RasterSurface& surface) {
    return EncodePng(surface, PngDetails{});
}

std::string EncodePng(const surface::RasterSurface& surface, const PngDetails& details) {
    if (surface.width() == 0 || surface.height() == 0) {
        throw FailedCall(FailureReason::InvalidValue, "a PNG image needs at least one pixel");
    }
    const std::size_t pixels =
        static_cast<std::size_t>(surface.width()) * static_cast<std::size_t>(surface.height());
    if (!details.alpha.empty() && details.alpha.size() != pixels) {
        throw FailedCall(FailureReason::InvalidValue, "PNG alpha: one opacity per pixel needed");
    }
    const bool transparent = std::ranges::any_of(details.alpha, [](auto a) { return a != 255; });
    std::unique_ptr<std::uint8_t[]> compressed;
    std::size_t compressedSize = 0;
    Format format;
    try {
        // Rows with equal colours may differ in opacity: with alpha, every row is filtered.
        const RepeatedRows repeated = transparent
                                          ? RepeatedRows(static_cast<std::size_t>(surface.height()))
                                          : FindRepeatedRows(surface);
        thread_local Deflater deflater;
        thread_local std::vector<std::uint8_t> filtered;
        thread_local std::vector<std::uint8_t> grey;
        if (transparent) {
            format.layout = PixelLayout::Rgba;
            format.rowBytes = static_cast<std::size_t>(surface.width()) * 4;
        } else {
            if (grey.size() < pixels) grey.resize(pixels);
            format = ChooseFormat(surface, repeated, grey.data());
        }
        const std::uint32_t adler =
            FilterRows(surface, format, {grey.data(), details.alpha.data()}, repeated, filtered);
        // A captioned barcode is written with the code made for such pictures; a large
        // picture repays building its own, and so does one of other colours.
        const bool barcodeCode =
            format.layout == PixelLayout::Grey && filtered.size() <= kMostForBarcodeCode;
        compressedSize = deflater.Compress(filtered, adler,
                                           barcodeCode ? &GreyBarcodeCode() : nullptr, compressed);
        // The rows stay for this thread's next picture, unless they are a large picture's.
        if (filtered.size() > kMostRowBytesKept) {
            filtered = {};
            grey = {};
        }
    } catch (const std::bad_alloc&) {
        throw FailedCall(FailureReason::OutOfMemory, "PNG encoding");
    }
    std::uint8_t palette[6] = {};
    for (int i = 0; i < format.paletteSize; ++i) {
        palette[3 * i] = surface::RedOf(format.palette[i]);
        palette[3 * i + 1] = surface::GreenOf(format.palette[i]);
        palette[3 * i + 2] = surface::BlueOf(format.palette[i]);
    }
    PngHeader header;
    header.width = static_cast<std::uint32_t>(surface.width());
    header.height = static_cast<std::uint32_t>(surface.height());
    header.bitDepth = format.layout == PixelLayout::TwoColours ? 1 : 8;
    header.colourType = format.layout == PixelLayout::TwoColours ? 3
                        : format.layout == PixelLayout::Grey     ? 0
                        : format.layout == PixelLayout::Rgba     ? 6
                                                                 : 2;
    header.palette = palette;
    header.paletteSize = format.layout == PixelLayout::TwoColours ? format.paletteSize : 0;
    header.dotsPerInch = details.dotsPerInch;
    return AssemblePng(header, compressed.get(), compressedSize);
}

}  // namespace qv::imagefile
