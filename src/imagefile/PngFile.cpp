#include "imagefile/PngFile.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <vector>

#include "host/FailedCall.h"
#include "imagefile/AtomicFile.h"

namespace qv::imagefile {

using host::FailedCall;
using host::FailureReason;

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

void WritePng(const surface::RasterSurface& surface, std::ostream& out) {
    const std::string bytes = EncodePng(surface);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
        throw FailedCall(FailureReason::PlatformFailure, "PNG output: write failed");
    }
}

void WritePng(const surface::RasterSurface& surface, const std::filesystem::path& path) {
    WriteFileAtomically(path, EncodePng(surface));
}

surface::RasterSurface ReadPng(const std::filesystem::path& path) {
    PngImage image;
    if (!png_image_begin_read_from_file(image.get(), path.c_str())) {
        throw FailedCall(FailureReason::PlatformFailure, path.string() + ": " + image.message());
    }
    if (std::uint64_t{image->width} * image->height >
        static_cast<std::uint64_t>(surface::RasterSurface::kMaxPixels)) {
        throw FailedCall(FailureReason::OutOfMemory,
                         path.string() + ": image larger than 64 million pixels");
    }
    image->format = PNG_FORMAT_RGB;
    surface::RasterSurface surface(static_cast<std::int32_t>(image->width),
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
            surface.SetPixel(x, y, surface::MakeColour(p[0], p[1], p[2]));
        }
    }
    return surface;
}

}  // namespace qv::imagefile
