#include "imagefile/NetpbmFile.h"

#include "imagefile/AtomicFile.h"

namespace qv::imagefile {

namespace {

std::uint8_t GreyOf(const std::uint8_t* rgb) {
    return static_cast<std::uint8_t>((299 * rgb[0] + 587 * rgb[1] + 114 * rgb[2] + 500) / 1000);
}

std::string Header(const char* magic, const surface::RasterSurface& surface, bool withMaximum) {
    std::string header = std::string(magic) + "\n" + std::to_string(surface.width()) + " " +
                         std::to_string(surface.height()) + "\n";
    return withMaximum ? header + "255\n" : header;
}

}  // namespace

std::string EncodePbm(const surface::RasterSurface& surface) {
    std::string bytes = Header("P4", surface, false);
    const std::size_t rowBytes = (static_cast<std::size_t>(surface.width()) + 7) / 8;
    const std::size_t start = bytes.size();
    bytes.resize(start + rowBytes * static_cast<std::size_t>(surface.height()), '\0');
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        const std::uint8_t* p = surface.RowData(y);
        char* row = bytes.data() + start + static_cast<std::size_t>(y) * rowBytes;
        for (std::int32_t x = 0; x < surface.width(); ++x, p += 3) {
            if (GreyOf(p) < 128) {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
    }
    return bytes;
}

std::string EncodePgm(const surface::RasterSurface& surface) {
    std::string bytes = Header("P5", surface, true);
    bytes.reserve(bytes.size() + static_cast<std::size_t>(surface.width()) *
                                     static_cast<std::size_t>(surface.height()));
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        const std::uint8_t* p = surface.RowData(y);
        for (std::int32_t x = 0; x < surface.width(); ++x, p += 3) {
            bytes.push_back(static_cast<char>(GreyOf(p)));
        }
    }
    return bytes;
}

void WritePbm(const surface::RasterSurface& surface, const std::filesystem::path& path) {
    WriteFileAtomically(path, EncodePbm(surface));
}

void WritePgm(const surface::RasterSurface& surface, const std::filesystem::path& path) {
    WriteFileAtomically(path, EncodePgm(surface));
}

}  // namespace qv::imagefile
