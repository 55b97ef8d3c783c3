// PNG encoding of a surface, tuned for barcodes: few colours, long runs, many equal rows.
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

#include "host/FailedCall.h"
#include "imagefile/PngFile.h"

namespace qv::imagefile {

using host::FailedCall;
using host::FailureReason;

namespace {

// How few bits per pixel the picture needs. Barcodes are mostly two-colour, written as a
// 1-bit palette; a caption's antialiasing on black and white stays 8-bit grey.
enum class PixelLayout { TwoColours, Grey, Rgb, Rgba };

struct PackedImage {
    PixelLayout layout = PixelLayout::TwoColours;
    surface::Colour palette[2] = {0, 0};
    int paletteSize = 0;
    std::size_t rowBytes = 0;
    std::vector<std::uint8_t> rows;  // empty for RGB: the surface's own rows are written
};

// A picture with transparency: its colours and opacities interleaved, row by row.
PackedImage PackWithAlpha(const surface::RasterSurface& surface,
                          const std::vector<std::uint8_t>& alpha) {
    PackedImage image;
    image.layout = PixelLayout::Rgba;
    image.rowBytes = static_cast<std::size_t>(surface.width()) * 4;
    image.rows.resize(image.rowBytes * static_cast<std::size_t>(surface.height()));
    std::uint8_t* out = image.rows.data();
    const std::uint8_t* opacity = alpha.data();
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        const std::uint8_t* p = surface.RowData(y);
        for (std::int32_t x = 0; x < surface.width(); ++x, p += 3, out += 4) {
            std::memcpy(out, p, 3);
            out[3] = *opacity++;
        }
    }
    return image;
}

// Most rows of a barcode repeat the one above; comparing them once is far cheaper than
// looking at their pixels in every pass.
using RepeatedRows = std::vector<bool>;
RepeatedRows FindRepeatedRows(const surface::RasterSurface& surface) {
    RepeatedRows repeated(static_cast<std::size_t>(surface.height()), false);
    for (std::int32_t y = 1; y < surface.height(); ++y) {
        // Rows the surface stores once share a pointer.
        const std::uint8_t* row = surface.RowData(y);
        const std::uint8_t* above = surface.RowData(y - 1);
        repeated[static_cast<std::size_t>(y)] =
            row == above || std::memcmp(row, above, surface.RowBytes()) == 0;
    }
    return repeated;
}

// One pass over the bytes decides whether every pixel is grey and which levels occur; it
// is the whole cost of classifying a barcode, so it avoids branches per pixel.
bool GreyLevels(const surface::RasterSurface& surface, const RepeatedRows& repeated,
                std::array<bool, 256>& seen) {
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        if (repeated[static_cast<std::size_t>(y)]) continue;
        const std::uint8_t* p = surface.RowData(y);
        unsigned difference = 0;
        for (std::int32_t x = 0; x < surface.width(); ++x, p += 3) {
            difference |= static_cast<unsigned>(p[0] ^ p[1]) | static_cast<unsigned>(p[0] ^ p[2]);
            seen[p[0]] = true;
        }
        if (difference != 0) return false;
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

// Index 0 is the colour of the top-left pixel; bits are packed most significant first.
void PackBits(const surface::RasterSurface& surface, const RepeatedRows& repeated,
              PackedImage& image) {
    image.rowBytes = (static_cast<std::size_t>(surface.width()) + 7) / 8;
    image.rows.assign(image.rowBytes * static_cast<std::size_t>(surface.height()), 0);
    const surface::Colour zero = image.palette[0];
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        std::uint8_t* out = image.rows.data() + image.rowBytes * static_cast<std::size_t>(y);
        if (repeated[static_cast<std::size_t>(y)]) {
            std::memcpy(out, out - image.rowBytes, image.rowBytes);
            continue;
        }
        const std::uint8_t* p = surface.RowData(y);
        for (std::int32_t x = 0; x < surface.width(); ++x, p += 3) {
            const unsigned bit = surface::MakeColour(p[0], p[1], p[2]) != zero;
            out[x >> 3] |= static_cast<std::uint8_t>(bit << (7 - (x & 7)));
        }
    }
}

void PackGrey(const surface::RasterSurface& surface, const RepeatedRows& repeated,
              PackedImage& image) {
    image.rowBytes = static_cast<std::size_t>(surface.width());
    image.rows.resize(image.rowBytes * static_cast<std::size_t>(surface.height()));
    std::uint8_t* out = image.rows.data();
    for (std::int32_t y = 0; y < surface.height(); ++y, out += image.rowBytes) {
        if (repeated[static_cast<std::size_t>(y)]) {
            std::memcpy(out, out - image.rowBytes, image.rowBytes);
            continue;
        }
        const std::uint8_t* p = surface.RowData(y);
        for (std::size_t x = 0; x < image.rowBytes; ++x) out[x] = p[3 * x];
    }
}

PackedImage Pack(const surface::RasterSurface& surface, const RepeatedRows& repeated) {
    PackedImage image;
    std::array<bool, 256> seen{};
    if (GreyLevels(surface, repeated, seen)) {
        const std::uint8_t first = surface.RowData(0)[0];
        image.palette[0] = surface::MakeColour(first, first, first);
        image.paletteSize = 1;
        for (int level = 0; level < 256; ++level) {
            if (!seen[level] || level == first) continue;
            if (image.paletteSize == 2) {
                image.layout = PixelLayout::Grey;
                PackGrey(surface, repeated, image);
                return image;
            }
            const auto value = static_cast<std::uint8_t>(level);
            image.palette[image.paletteSize++] = surface::MakeColour(value, value, value);
        }
        PackBits(surface, repeated, image);
        return image;
    }
    if (TwoColours(surface, repeated, image.palette, image.paletteSize)) {
        PackBits(surface, repeated, image);
        return image;
    }
    image.layout = PixelLayout::Rgb;
    image.rowBytes = surface.RowBytes();
    return image;
}

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

struct RowSource {
    std::uint32_t width;
    std::uint32_t height;
    PixelLayout layout;
    const png_color* palette;
    int paletteSize;
    const std::uint8_t* const* rows;
    std::size_t rowBytes;
    const RepeatedRows* repeated;
    double dotsPerInch;
};

// One deflate stream per thread, reset for every image instead of set up anew: its tables
// are larger than a barcode's compressed data.
class Deflater {
  public:
    Deflater() {
        // Runs of equal bytes are all a barcode has: run-length deflate at the fastest level
        // finds them at a fraction of the default cost. It uses no hash table, so a smaller
        // one costs nothing in size.
        if (deflateInit2(&stream_, 1, Z_DEFLATED, 15, 5, Z_RLE) != Z_OK) {
            throw FailedCall(FailureReason::OutOfMemory, "PNG compression");
        }
    }
    ~Deflater() { deflateEnd(&stream_); }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // The zlib stream of data, replacing what compressed held.
    void Compress(const std::vector<std::uint8_t>& data, std::vector<std::uint8_t>& compressed) {
        deflateReset(&stream_);
        compressed.resize(deflateBound(&stream_, data.size()));
        stream_.next_in = const_cast<Bytef*>(data.data());
        stream_.avail_in = static_cast<uInt>(data.size());
        stream_.next_out = compressed.data();
        stream_.avail_out = static_cast<uInt>(compressed.size());
        if (deflate(&stream_, Z_FINISH) != Z_STREAM_END) {
            throw FailedCall(FailureReason::PlatformFailure, "PNG compression");
        }
        compressed.resize(stream_.total_out);
    }

  private:
    z_stream stream_{};
};

// The image data as PNG filters it: every row after the first by its difference from the
// row above (the Up filter), which makes a repeated row all zeros without looking at it.
void FilterRows(const RowSource& source, std::vector<std::uint8_t>& filtered) {
    const std::size_t line = source.rowBytes + 1;
    filtered.resize(line * source.height);
    for (std::size_t y = 0; y < source.height; ++y) {
        std::uint8_t* out = filtered.data() + y * line;
        const std::uint8_t* row = source.rows[y];
        if (y == 0) {
            out[0] = PNG_FILTER_VALUE_NONE;
            std::memcpy(out + 1, row, source.rowBytes);
            continue;
        }
        out[0] = PNG_FILTER_VALUE_UP;
        if ((*source.repeated)[y]) {
            std::memset(out + 1, 0, source.rowBytes);
            continue;
        }
        const std::uint8_t* above = source.rows[y - 1];
        for (std::size_t i = 0; i < source.rowBytes; ++i) {
            out[i + 1] = static_cast<std::uint8_t>(row[i] - above[i]);
        }
    }
}

// libpng reports failures by longjmp to here. Everything this function owns is trivial,
// so the jump skips no destructor; the caller owns the row table and the output.
bool WriteRows(const RowSource& source, const std::vector<std::uint8_t>& compressed, Output& output,
               char (&message)[128]) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, message, StoreMessage, IgnoreWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &output, AppendBytes, FlushNothing);
    const bool bits = source.layout == PixelLayout::TwoColours;
    const int colourType = bits                                 ? PNG_COLOR_TYPE_PALETTE
                           : source.layout == PixelLayout::Grey ? PNG_COLOR_TYPE_GRAY
                           : source.layout == PixelLayout::Rgba ? PNG_COLOR_TYPE_RGBA
                                                                : PNG_COLOR_TYPE_RGB;
    png_set_IHDR(png, info, source.width, source.height, bits ? 1 : 8, colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    if (bits) png_set_PLTE(png, info, source.palette, source.paletteSize);
    if (source.dotsPerInch > 0.0) {
        const auto perMetre = static_cast<png_uint_32>(std::lround(source.dotsPerInch / 0.0254));
        png_set_pHYs(png, info, perMetre, perMetre, PNG_RESOLUTION_METER);
    }
    png_write_info(png, info);
    // The image data is filtered and compressed here, where repeated rows are known, and
    // libpng frames it as the one IDAT chunk.
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), compressed.data(),
                    compressed.size());
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
    // Rows with equal colours may differ in opacity: with alpha, every row is filtered.
    const RepeatedRows repeated = transparent
                                      ? RepeatedRows(static_cast<std::size_t>(surface.height()))
                                      : FindRepeatedRows(surface);
    const PackedImage image =
        transparent ? PackWithAlpha(surface, details.alpha) : Pack(surface, repeated);
    std::vector<const std::uint8_t*> rows(static_cast<std::size_t>(surface.height()));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        rows[y] = image.rows.empty() ? surface.RowData(static_cast<std::int32_t>(y))
                                     : image.rows.data() + y * image.rowBytes;
    }
    png_color palette[2] = {};
    for (int i = 0; i < image.paletteSize; ++i) {
        palette[i] = {surface::RedOf(image.palette[i]), surface::GreenOf(image.palette[i]),
                      surface::BlueOf(image.palette[i])};
    }
    Output output;
    // Compressed barcodes are a small fraction of their pixels; one reserve usually suffices.
    output.bytes.reserve(image.rowBytes * rows.size() / 4 + 256);
    char message[128] = "";
    const RowSource source{static_cast<std::uint32_t>(surface.width()),
                           static_cast<std::uint32_t>(surface.height()),
                           image.layout,
                           palette,
                           image.paletteSize,
                           rows.data(),
                           image.rowBytes,
                           &repeated,
                           details.dotsPerInch};
    thread_local Deflater deflater;
    thread_local std::vector<std::uint8_t> filtered;
    std::vector<std::uint8_t> compressed;
    try {
        FilterRows(source, filtered);
        deflater.Compress(filtered, compressed);
    } catch (const std::bad_alloc&) {
        throw FailedCall(FailureReason::OutOfMemory, "PNG encoding");
    }
    if (!WriteRows(source, compressed, output, message)) {
        if (output.failed) throw FailedCall(FailureReason::OutOfMemory, "PNG encoding");
        throw FailedCall(FailureReason::PlatformFailure, std::string("PNG encoding: ") + message);
    }
    return std::move(output.bytes);
}

}  // namespace qv::imagefile
