// SPDX-License-Identifier: MIT
#include <qvbarcode/imagefile/PngDeflater.h>

#include <cstring>

#include <qvbarcode/host/FailedCall.h>

namespace qv::imagefile {

std::size_t Deflater::Compress(const std::vector<std::uint8_t>& data, std::uint32_t adler,
                               const isal_hufftables* code,
                               std::unique_ptr<std::uint8_t[]>& compressed) {
    isal_zstream& stream = *stream_;
    isal_deflate_reset(&stream);
    // The zlib header and checksum are written here: the caller has the checksum already.
    stream.gzip_flag = IGZIP_DEFLATE;
    stream.hist_bits = kWindowBits;
    stream.next_in = const_cast<std::uint8_t*>(data.data());
    stream.avail_in = static_cast<std::uint32_t>(data.size());
    if (code != nullptr) {
        stream.level = 0;
        stream.level_buf = nullptr;
        stream.level_buf_size = 0;
        // ISA-L only reads the code.
        isal_deflate_set_hufftables(&stream, const_cast<isal_hufftables*>(code),
                                    IGZIP_HUFFTABLE_CUSTOM);
    } else {
        StartFittedCode(data);
    }
    stream.end_of_stream = 1;
    // A barcode shrinks to a small part of its filtered rows; a picture that does not
    // gets more room as it needs it, up to far more than stored blocks would take.
    // Room is kept for the zlib header before and the checksum after.
    std::size_t room = data.size() / 4 + 1024;
    const std::size_t most = 2 * data.size() + 1024;
    compressed = std::make_unique_for_overwrite<std::uint8_t[]>(room);
    stream.next_out = compressed.get() + kHeaderBytes;
    stream.avail_out = static_cast<std::uint32_t>(room - kHeaderBytes - kTrailerBytes);
    for (;;) {
        if (isal_deflate(&stream) != COMP_OK) break;
        if (stream.internal_state.state == ZSTATE_END) {
            return Wrap(compressed.get(), stream.total_out, adler);
        }
        if (room >= most) break;
        auto larger = std::make_unique_for_overwrite<std::uint8_t[]>(2 * room);
        std::memcpy(larger.get(), compressed.get(), kHeaderBytes + stream.total_out);
        compressed = std::move(larger);
        stream.next_out = compressed.get() + kHeaderBytes + stream.total_out;
        stream.avail_out =
            static_cast<std::uint32_t>(2 * room - kHeaderBytes - stream.total_out - kTrailerBytes);
        room *= 2;
    }
    throw host::FailedCall(host::FailureReason::PlatformFailure, "PNG compression");
}

// ISA-L 2.30's fitting levels 1 and 2, in each processor's variant, hash the third byte of a
// stream from a register that still holds the stream's address, not from the data: which
// earlier bytes they find then depends on where the stream lies in memory, and the same
// picture came out as different (equally valid) bytes from run to run. They take that path
// only when they start a stream with more than its first byte to take. With more input to
// come they leave ISAL_LOOK_AHEAD bytes for later, so the first call gets one byte more and
// takes exactly the first. Data that short never reaches that code at level 3, whose final
// pass, the only one it runs then, is sound (and faster than level 1's for so little).
void Deflater::StartFittedCode(const std::vector<std::uint8_t>& data) {
    isal_zstream& stream = *stream_;
    stream.level_buf = levelBuffer_.data();
    isal_deflate_set_hufftables(&stream, nullptr, IGZIP_HUFFTABLE_DEFAULT);
    if (data.size() <= ISAL_LOOK_AHEAD) {
        stream.level = 3;
        stream.level_buf_size = ISAL_DEF_LVL3_MIN;
        return;
    }
    stream.level = 1;
    stream.level_buf_size = ISAL_DEF_LVL1_SMALL;
    stream.end_of_stream = 0;
    stream.avail_in = ISAL_LOOK_AHEAD + 1;
    // No room for output: it may not copy what it leaves into buffers of its own either.
    stream.next_out = nullptr;
    stream.avail_out = 0;
    if (isal_deflate(&stream) != COMP_OK) {
        throw host::FailedCall(host::FailureReason::PlatformFailure, "PNG compression");
    }
    const auto taken = static_cast<std::size_t>(stream.next_in - data.data());
    stream.avail_in = static_cast<std::uint32_t>(data.size() - taken);
    // It keeps a copy of what it took as the history of the next input, which it would then
    // compress from its own buffer; the next input follows that history in this one, so it
    // reads on here instead.
    isal_zstate& state = stream.internal_state;
    if (state.b_bytes_valid == state.b_bytes_processed) {
        state.b_bytes_valid = 0;
        state.b_bytes_processed = 0;
    }
}

std::size_t Deflater::Wrap(std::uint8_t* zlib, std::size_t deflated, std::uint32_t adler) {
    zlib[0] = static_cast<std::uint8_t>((kWindowBits - 8) << 4 | 8);
    zlib[1] = static_cast<std::uint8_t>(31 - zlib[0] * 256 % 31);
    std::uint8_t* end = zlib + kHeaderBytes + deflated;
    for (int i = 0; i < 4; ++i) end[i] = static_cast<std::uint8_t>(adler >> (24 - 8 * i));
    return kHeaderBytes + deflated + kTrailerBytes;
}

}  // namespace qv::imagefile
