// SPDX-License-Identifier: MIT
#include <qvbarcode/imagefile/PngChunks.h>

#include <isa-l/crc.h>

#include <cmath>
#include <cstring>
#include <new>

#include <qvbarcode/host/FailedCall.h>

namespace qv::imagefile {

namespace {

// Appends to a string sized in advance; each chunk's CRC covers its type and data.
class ChunkWriter {
  public:
    explicit ChunkWriter(std::string& bytes) : bytes_(bytes) {}

    void Raw(const void* data, std::size_t size) {
        std::memcpy(bytes_.data() + end_, data, size);
        end_ += size;
    }
    void Word(std::uint32_t value) {
        const std::uint8_t big[4] = {
            static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
        Raw(big, 4);
    }
    void Chunk(const char (&type)[5], const std::uint8_t* data, std::size_t size) {
        Word(static_cast<std::uint32_t>(size));
        const std::size_t start = end_;
        Raw(type, 4);
        if (size > 0) Raw(data, size);
        const auto* covered = reinterpret_cast<const unsigned char*>(bytes_.data() + start);
        Word(crc32_gzip_refl(0, covered, end_ - start));
    }

  private:
    std::string& bytes_;
    std::size_t end_ = 0;
};

void PutWord(std::uint8_t* out, std::uint32_t value) {
    out[0] = static_cast<std::uint8_t>(value >> 24);
    out[1] = static_cast<std::uint8_t>(value >> 16);
    out[2] = static_cast<std::uint8_t>(value >> 8);
    out[3] = static_cast<std::uint8_t>(value);
}

}  // namespace

std::string AssemblePng(const PngHeader& header, const std::uint8_t* zlibStream, std::size_t size) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const std::size_t paletteBytes = 3 * static_cast<std::size_t>(header.paletteSize);
    const bool physical = header.dotsPerInch > 0.0;
    // Every chunk has 12 bytes around its data.
    const std::size_t total = sizeof kSignature + (12 + 13) +
                              (paletteBytes ? 12 + paletteBytes : 0) + (physical ? 12 + 9 : 0) +
                              (12 + size) + 12;
    std::string bytes;
    try {
        bytes.resize(total);
    } catch (const std::bad_alloc&) {
        throw host::FailedCall(host::FailureReason::OutOfMemory, "PNG encoding");
    }
    ChunkWriter writer(bytes);
    writer.Raw(kSignature, sizeof kSignature);
    std::uint8_t ihdr[13] = {};
    PutWord(ihdr, header.width);
    PutWord(ihdr + 4, header.height);
    ihdr[8] = header.bitDepth;
    ihdr[9] = header.colourType;  // compression, filter and interlace methods 0
    writer.Chunk("IHDR", ihdr, sizeof ihdr);
    if (paletteBytes) writer.Chunk("PLTE", header.palette, paletteBytes);
    if (physical) {
        const auto perMetre = static_cast<std::uint32_t>(std::lround(header.dotsPerInch / 0.0254));
        std::uint8_t phys[9] = {};
        PutWord(phys, perMetre);
        PutWord(phys + 4, perMetre);
        phys[8] = 1;  // the unit is the metre
        writer.Chunk("pHYs", phys, sizeof phys);
    }
    writer.Chunk("IDAT", zlibStream, size);
    writer.Chunk("IEND", nullptr, 0);
    return bytes;
}

}  // namespace qv::imagefile
