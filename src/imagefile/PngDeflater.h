// SPDX-License-Identifier: MIT
#pragma once

#include <isa-l/igzip_lib.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace qv::imagefile {

// A compression stream, reset for every image instead of set up anew (keep one per thread).
// Its fastest level that still fits a Huffman code to each image writes smaller barcodes
// than zlib's fastest at a fraction of the cost. Given a code made in advance, it writes
// with that instead, three times as fast again. The caller computes the Adler-32, which for
// filtered rows it can do far faster than over the bytes. The same data always gives the
// same bytes.
class Deflater {
  public:
    Deflater() : stream_(std::make_unique<isal_zstream>()), levelBuffer_(kLevelBufferBytes) {
        isal_deflate_init(stream_.get());
    }

    // The zlib stream of data, whose Adler-32 is adler, into compressed; returns its size.
    std::size_t Compress(const std::vector<std::uint8_t>& data, std::uint32_t adler,
                         const isal_hufftables* code, std::unique_ptr<std::uint8_t[]>& compressed);

  private:
    // Sets the stream to fit a code of its own to data, and has it take the first byte.
    void StartFittedCode(const std::vector<std::uint8_t>& data);

    static constexpr std::size_t kLevelBufferBytes =
        ISAL_DEF_LVL1_SMALL > ISAL_DEF_LVL3_MIN ? ISAL_DEF_LVL1_SMALL : ISAL_DEF_LVL3_MIN;
    static constexpr std::size_t kHeaderBytes = 2;
    static constexpr std::size_t kTrailerBytes = 4;

    // The zlib header (deflate with the window below, the fastest level) and the checksum
    // around the deflated bytes; returns the whole size.
    static std::size_t Wrap(std::uint8_t* zlib, std::size_t deflated, std::uint32_t adler);

    // A 1 KB window. Filtered by the row above, a barcode has nothing farther back worth
    // finding, and with the default 32 KB the long runs of zeros of repeated rows come out
    // as matches at distances that cost extra bits: up to 1.6 times the file at 2400 dpi.
    static constexpr int kWindowBits = 10;

    std::unique_ptr<isal_zstream> stream_;
    std::vector<std::uint8_t> levelBuffer_;
};

}  // namespace qv::imagefile
