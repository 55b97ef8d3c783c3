#include "symbology/PngFile.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <vector>

#include "component/FailedCall.h"
#include "symbology/AtomicFile.h"

namespace qv::symbology {

using component::FailedCall;
using component::FailureReason;

namespace {

// libpng's simplified interface keeps its own setjmp inside, so no longjmp crosses our
// frames; this owner releases whatever libpng still holds when the image goes.
class PngImage {
  public:
    PngImage() {
        std::memset(&image_, 0, sizeof image_);
        image_.version = PNG_IMAGE_VERSION;
    }
    ~PngImage() { png_image_free(&image_); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;

    png_image* get() { return &image_; }
    png_image* operator->() { return &image_; }
    std::string message() const { return image_.message; }

  private:
    png_image image_;
};

}  // namespace

namespace {

// How few bytes per pixel the picture needs. Barcodes are mostly two-colour, which libpng
// writes as a 1-bit palette; a caption's antialiasing on black and white stays grey.
enum class PixelLayout { TwoColours, Grey, Rgb };

struct Classified {
    PixelLayout layout = PixelLayout::TwoColours;
    Colour colours[2] = {0, 0};
    int colourCount = 0;
};

Classified Classify(const RasterSurface& surface) {
    Classified result;
    bool grey = true;
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        const std::uint8_t* p = surface.RowData(y);
        for (std::int32_t x = 0; x < surface.width(); ++x, p += 3) {
            grey = grey && p[0] == p[1] && p[1] == p[2];
            if (result.layout != PixelLayout::TwoColours) {
                continue;
            }
            const Colour colour = MakeColour(p[0], p[1], p[2]);
            if (result.colourCount > 0 && colour == result.colours[0]) {
                continue;
            }
            if (result.colourCount > 1 && colour == result.colours[1]) {
                continue;
            }
            if (result.colourCount < 2) {
                result.colours[result.colourCount++] = colour;
            } else {
                result.layout = PixelLayout::Grey;  // decided below
            }
        }
        if (!grey && result.layout != PixelLayout::TwoColours) {
            result.layout = PixelLayout::Rgb;
            return result;
        }
    }
    return result;
}

// One byte per pixel: the palette index or the grey level.
std::vector<std::uint8_t> Narrow(const RasterSurface& surface, const Classified& classified) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(surface.width()) *
                                    static_cast<std::size_t>(surface.height()));
    std::uint8_t* out = bytes.data();
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        const std::uint8_t* p = surface.RowData(y);
        for (std::int32_t x = 0; x < surface.width(); ++x, p += 3) {
            *out++ = classified.layout == PixelLayout::Grey
                         ? p[0]
                         : static_cast<std::uint8_t>(MakeColour(p[0], p[1], p[2]) !=
                                                     classified.colours[0]);
        }
    }
    return bytes;
}

}  // namespace

std::string EncodePng(const RasterSurface& surface) {
    if (surface.width() == 0 || surface.height() == 0) {
        throw FailedCall(FailureReason::InvalidValue, "a PNG image needs at least one pixel");
    }
    const Classified classified = Classify(surface);
    PngImage image;
    image->width = static_cast<png_uint_32>(surface.width());
    image->height = static_cast<png_uint_32>(surface.height());
    // No filtering and fast deflate: the pictures are small and mostly runs.
    image->flags = PNG_IMAGE_FLAG_FAST;
    std::vector<std::uint8_t> narrow;
    png_byte palette[6] = {};
    const void* pixels = surface.RowData(0);  // the rows are contiguous
    png_int_32 stride = static_cast<png_int_32>(surface.RowBytes());
    const void* colormap = nullptr;
    if (classified.layout == PixelLayout::Rgb) {
        image->format = PNG_FORMAT_RGB;
    } else {
        narrow = Narrow(surface, classified);
        pixels = narrow.data();
        stride = static_cast<png_int_32>(surface.width());
        if (classified.layout == PixelLayout::Grey) {
            image->format = PNG_FORMAT_GRAY;
        } else {
            image->format = PNG_FORMAT_RGB_COLORMAP;
            image->colormap_entries = static_cast<png_uint_32>(std::max(classified.colourCount, 1));
            for (int i = 0; i < classified.colourCount; ++i) {
                palette[3 * i] = RedOf(classified.colours[i]);
                palette[3 * i + 1] = GreenOf(classified.colours[i]);
                palette[3 * i + 2] = BlueOf(classified.colours[i]);
            }
            colormap = palette;
        }
    }
    // Sized for the worst case, so one pass suffices.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(*image.get());
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(image.get(), bytes.data(), &size, 0, pixels, stride, colormap)) {
        throw FailedCall(FailureReason::PlatformFailure, "PNG encoding: " + image.message());
    }
    bytes.resize(size);
    return bytes;
}

void WritePng(const RasterSurface& surface, std::ostream& out) {
    const std::string bytes = EncodePng(surface);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
        throw FailedCall(FailureReason::PlatformFailure, "PNG output: write failed");
    }
}

void WritePng(const RasterSurface& surface, const std::filesystem::path& path) {
    WriteFileAtomically(path, EncodePng(surface));
}

RasterSurface ReadPng(const std::filesystem::path& path) {
    PngImage image;
    if (!png_image_begin_read_from_file(image.get(), path.c_str())) {
        throw FailedCall(FailureReason::PlatformFailure, path.string() + ": " + image.message());
    }
    if (std::uint64_t{image->width} * image->height >
        static_cast<std::uint64_t>(RasterSurface::kMaxPixels)) {
        throw FailedCall(FailureReason::OutOfMemory,
                         path.string() + ": image larger than 64 million pixels");
    }
    image->format = PNG_FORMAT_RGB;
    RasterSurface surface(static_cast<std::int32_t>(image->width),
                          static_cast<std::int32_t>(image->height));
    std::vector<std::uint8_t> pixels(surface.RowBytes() * image->height);
    const png_color white{0xFF, 0xFF, 0xFF};
    if (!png_image_finish_read(image.get(), &white, pixels.data(),
                               static_cast<png_int_32>(surface.RowBytes()), nullptr)) {
        throw FailedCall(FailureReason::PlatformFailure, path.string() + ": " + image.message());
    }
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        const std::uint8_t* p = pixels.data() + static_cast<std::size_t>(y) * surface.RowBytes();
        for (std::int32_t x = 0; x < surface.width(); ++x, p += 3) {
            surface.SetPixel(x, y, MakeColour(p[0], p[1], p[2]));
        }
    }
    return surface;
}

}  // namespace qv::symbology
