// SPDX-License-Identifier: MIT
#include <qvbarcode/imagefile/PngFile.h>

#include <png.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <vector>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/imagefile/AtomicFile.h>

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

namespace {

// Decodes the file as 8-bit samples, channels per pixel as the format says; transparency
// composed onto white unless the format keeps alpha.
std::vector<std::uint8_t> DecodePng(const std::filesystem::path& path, std::uint32_t format,
                                    std::int32_t& width, std::int32_t& height) {
    PngImage image;
    if (!png_image_begin_read_from_file(image.get(), path.c_str())) {
        throw FailedCall(FailureReason::PlatformFailure, path.string() + ": " + image.message());
    }
    if (std::uint64_t{image->width} * image->height >
        static_cast<std::uint64_t>(surface::RasterSurface::kMaxPixels)) {
        throw FailedCall(FailureReason::OutOfMemory,
                         path.string() + ": image larger than 64 million pixels");
    }
    image->format = format;
    width = static_cast<std::int32_t>(image->width);
    height = static_cast<std::int32_t>(image->height);
    const std::size_t rowBytes = PNG_IMAGE_ROW_STRIDE(*image.get());
    std::vector<std::uint8_t> pixels(rowBytes * image->height);
    const png_color white{0xFF, 0xFF, 0xFF};
    if (!png_image_finish_read(image.get(), &white, pixels.data(),
                               static_cast<png_int_32>(rowBytes), nullptr)) {
        throw FailedCall(FailureReason::PlatformFailure, path.string() + ": " + image.message());
    }
    return pixels;
}

// Every channels-th byte triple of pixels, as a surface.
surface::RasterSurface ToSurface(const std::vector<std::uint8_t>& pixels, std::int32_t width,
                                 std::int32_t height, std::size_t channels) {
    surface::RasterSurface surface(width, height);
    const std::uint8_t* p = pixels.data();
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x, p += channels) {
            surface.SetPixel(x, y, surface::MakeColour(p[0], p[1], p[2]));
        }
    }
    return surface;
}

}  // namespace

surface::RasterSurface ReadPng(const std::filesystem::path& path) {
    std::int32_t width = 0, height = 0;
    const std::vector<std::uint8_t> pixels = DecodePng(path, PNG_FORMAT_RGB, width, height);
    return ToSurface(pixels, width, height, 3);
}

PngWithAlpha ReadPngWithAlpha(const std::filesystem::path& path) {
    std::int32_t width = 0, height = 0;
    const std::vector<std::uint8_t> pixels = DecodePng(path, PNG_FORMAT_RGBA, width, height);
    PngWithAlpha result{ToSurface(pixels, width, height, 4), {}};
    bool transparent = false;
    for (std::size_t i = 3; i < pixels.size() && !transparent; i += 4)
        transparent = pixels[i] != 255;
    if (transparent) {
        result.alpha.reserve(pixels.size() / 4);
        for (std::size_t i = 3; i < pixels.size(); i += 4) result.alpha.push_back(pixels[i]);
    }
    return result;
}

}  // namespace qv::imagefile
