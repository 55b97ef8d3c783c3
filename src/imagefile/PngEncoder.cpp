// PNG encoding of a surface, tuned for barcodes: few colours, long runs, many equal rows.
#include <isa-l/igzip_lib.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "host/FailedCall.h"
#include "imagefile/GreyBarcodeCode.h"
#include "imagefile/PngFile.h"

namespace qv::imagefile {

using host::FailedCall;
using host::FailureReason;

namespace {

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

// Whether every pixel is grey, and its levels: all of them while there are at most two, else
// three (which is all that decides the format). Each row that does not repeat the one above
// is copied to grey, its row of width bytes.
bool GreyLevels(const surface::RasterSurface& surface, const RepeatedRows& repeated,
                std::array<bool, 256>& seen, std::uint8_t* grey) {
    const auto width = static_cast<std::size_t>(surface.width());
    int levels = 0;
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        if (repeated[static_cast<std::size_t>(y)]) continue;
        std::uint8_t* row = grey + static_cast<std::size_t>(y) * width;
        if (!ExtractGreyRow(surface.RowData(y), width, row)) return false;
        for (std::size_t x = 0; levels < 3 && x < width; ++x) {
            levels += !seen[row[x]];
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

// The image data as PNG filters it: every row after the first by its difference from the
// row above (the Up filter), which makes a repeated row all zeros without looking at it.
void FilterRows(const surface::RasterSurface& surface, const Format& format,
                const RowSources& sources, const RepeatedRows& repeated,
                std::vector<std::uint8_t>& filtered) {
    const std::size_t rowBytes = format.rowBytes;
    const std::size_t line = rowBytes + 1;
    filtered.resize(line * static_cast<std::size_t>(surface.height()));
    // The packed row above and the one being filtered.
    std::vector<std::uint8_t> packed(2 * rowBytes);
    std::uint8_t* current = packed.data();
    const std::uint8_t* above = nullptr;
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        std::uint8_t* out = filtered.data() + static_cast<std::size_t>(y) * line;
        if (repeated[static_cast<std::size_t>(y)]) {
            out[0] = PNG_FILTER_VALUE_UP;
            std::memset(out + 1, 0, rowBytes);
            continue;
        }
        const std::uint8_t* row = PackRow(surface, format, sources, y, current);
        if (above == nullptr) {
            out[0] = PNG_FILTER_VALUE_NONE;
            std::memcpy(out + 1, row, rowBytes);
        } else {
            out[0] = PNG_FILTER_VALUE_UP;
            for (std::size_t i = 0; i < rowBytes; ++i) {
                out[i + 1] = static_cast<std::uint8_t>(row[i] - above[i]);
            }
        }
        above = row;
        current = current == packed.data() ? packed.data() + rowBytes : packed.data();
    }
}

// One compression stream per thread, reset for every image instead of set up anew. Its
// fastest level that still fits a Huffman code to each image writes smaller barcodes than
// zlib's fastest at a fraction of the cost, Adler-32 included. Given a code made in
// advance, it writes with that instead, three times as fast again.
class Deflater {
  public:
    Deflater() : stream_(std::make_unique<isal_zstream>()), levelBuffer_(ISAL_DEF_LVL1_SMALL) {
        isal_deflate_init(stream_.get());
    }

    // The zlib stream of data into compressed; returns its size.
    std::size_t Compress(const std::vector<std::uint8_t>& data, const isal_hufftables* code,
                         std::unique_ptr<std::uint8_t[]>& compressed) {
        isal_zstream& stream = *stream_;
        isal_deflate_reset(&stream);
        if (code != nullptr) {
            stream.level = 0;
            stream.level_buf = nullptr;
            stream.level_buf_size = 0;
            // ISA-L only reads the code.
            isal_deflate_set_hufftables(&stream, const_cast<isal_hufftables*>(code),
                                        IGZIP_HUFFTABLE_CUSTOM);
        } else {
            stream.level = 1;
            stream.level_buf = levelBuffer_.data();
            stream.level_buf_size = static_cast<std::uint32_t>(levelBuffer_.size());
            isal_deflate_set_hufftables(&stream, nullptr, IGZIP_HUFFTABLE_DEFAULT);
        }
        stream.gzip_flag = IGZIP_ZLIB;
        stream.end_of_stream = 1;
        stream.hist_bits = kWindowBits;
        stream.next_in = const_cast<std::uint8_t*>(data.data());
        stream.avail_in = static_cast<std::uint32_t>(data.size());
        // A barcode shrinks to a small part of its filtered rows; a picture that does not
        // gets more room as it needs it, up to far more than stored blocks would take.
        std::size_t room = data.size() / 4 + 1024;
        const std::size_t most = 2 * data.size() + 1024;
        compressed = std::make_unique_for_overwrite<std::uint8_t[]>(room);
        stream.next_out = compressed.get();
        stream.avail_out = static_cast<std::uint32_t>(room);
        for (;;) {
            if (isal_deflate(&stream) != COMP_OK) break;
            if (stream.internal_state.state == ZSTATE_END) return stream.total_out;
            if (room >= most) break;
            auto larger = std::make_unique_for_overwrite<std::uint8_t[]>(2 * room);
            std::memcpy(larger.get(), compressed.get(), stream.total_out);
            compressed = std::move(larger);
            stream.next_out = compressed.get() + stream.total_out;
            stream.avail_out = static_cast<std::uint32_t>(2 * room - stream.total_out);
            room *= 2;
        }
        throw FailedCall(FailureReason::PlatformFailure, "PNG compression");
    }

  private:
    // A 1 KB window. Filtered by the row above, a barcode has nothing farther back worth
    // finding, and with the default 32 KB the long runs of zeros of repeated rows come out
    // as matches at distances that cost extra bits: up to 1.6 times the file at 2400 dpi.
    static constexpr int kWindowBits = 10;

    std::unique_ptr<isal_zstream> stream_;
    std::vector<std::uint8_t> levelBuffer_;
};

// The most filtered bytes written with the code made in advance: far above any label, and
// where building a code of its own costs little beside compressing the picture.
constexpr std::size_t kMostForBarcodeCode = std::size_t{1} << 20;

struct Output {
    std::string bytes;
    bool failed = false;
};

void AppendBytes(png_structp png, png_bytep data, png_size_t size) {
    auto* output = static_cast<Output*>(png_get_io_ptr(png));
    try {
        output->bytes.append(reinterpret_cast<const char*>(data), size);
    } catch (const std::bad_alloc&) {
        output->failed = true;
    }
    if (output->failed) png_error(png, "out of memory");
}

void FlushNothing(png_structp) {}

void StoreMessage(png_structp png, png_const_charp message) {
    auto* text = static_cast<char*>(png_get_error_ptr(png));
    std::strncat(text, message, 127 - std::strlen(text));
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

struct Header {
    std::uint32_t width;
    std::uint32_t height;
    PixelLayout layout;
    const png_color* palette;
    int paletteSize;
    double dotsPerInch;
};

// libpng reports failures by longjmp to here. Everything this function owns is trivial,
// so the jump skips no destructor; the caller owns the data and the output.
bool WriteChunks(const Header& header, const std::uint8_t* compressed, std::size_t size,
                 Output& output, char (&message)[128]) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, message, StoreMessage, IgnoreWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &output, AppendBytes, FlushNothing);
    const bool bits = header.layout == PixelLayout::TwoColours;
    const int colourType = bits                                 ? PNG_COLOR_TYPE_PALETTE
                           : header.layout == PixelLayout::Grey ? PNG_COLOR_TYPE_GRAY
                           : header.layout == PixelLayout::Rgba ? PNG_COLOR_TYPE_RGBA
                                                                : PNG_COLOR_TYPE_RGB;
    png_set_IHDR(png, info, header.width, header.height, bits ? 1 : 8, colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    if (bits) png_set_PLTE(png, info, header.palette, header.paletteSize);
    if (header.dotsPerInch > 0.0) {
        const auto perMetre = static_cast<png_uint_32>(std::lround(header.dotsPerInch / 0.0254));
        png_set_pHYs(png, info, perMetre, perMetre, PNG_RESOLUTION_METER);
    }
    png_write_info(png, info);
    // The image data is filtered and compressed by the caller, where repeated rows are
    // known, and libpng frames it as the one IDAT chunk.
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), compressed, size);
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    png_destroy_write_struct(&png, &info);
    return true;
}

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
    Output output;
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
        FilterRows(surface, format, {grey.data(), details.alpha.data()}, repeated, filtered);
        // A captioned barcode is written with the code made for such pictures; a large
        // picture repays building its own, and so does one of other colours.
        const bool barcodeCode =
            format.layout == PixelLayout::Grey && filtered.size() <= kMostForBarcodeCode;
        compressedSize =
            deflater.Compress(filtered, barcodeCode ? &GreyBarcodeCode() : nullptr, compressed);
        // The chunks around the image data are a few dozen bytes.
        output.bytes.reserve(compressedSize + 128);
    } catch (const std::bad_alloc&) {
        throw FailedCall(FailureReason::OutOfMemory, "PNG encoding");
    }
    png_color palette[2] = {};
    for (int i = 0; i < format.paletteSize; ++i) {
        palette[i] = {surface::RedOf(format.palette[i]), surface::GreenOf(format.palette[i]),
                      surface::BlueOf(format.palette[i])};
    }
    const Header header{static_cast<std::uint32_t>(surface.width()),
                        static_cast<std::uint32_t>(surface.height()),
                        format.layout,
                        palette,
                        format.paletteSize,
                        details.dotsPerInch};
    char message[128] = "";
    if (!WriteChunks(header, compressed.get(), compressedSize, output, message)) {
        if (output.failed) throw FailedCall(FailureReason::OutOfMemory, "PNG encoding");
        throw FailedCall(FailureReason::PlatformFailure, std::string("PNG encoding: ") + message);
    }
    return std::move(output.bytes);
}

}  // namespace qv::imagefile
