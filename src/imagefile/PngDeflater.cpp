#include "imagefile/PngDeflater.h"

#include <cstring>

#include "host/FailedCall.h"

namespace qv::imagefile {

std::size_t Deflater::Compress(const std::vector<std::uint8_t>& data, std::uint32_t adler,
                               const isal_hufftables* code,
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
    // The zlib header and checksum are written here: the caller has the checksum already.
    stream.gzip_flag = IGZIP_DEFLATE;
    stream.end_of_stream = 1;
    stream.hist_bits = kWindowBits;
    stream.next_in = const_cast<std::uint8_t*>(data.data());
    stream.avail_in = static_cast<std::uint32_t>(data.size());
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

std::size_t Deflater::Wrap(std::uint8_t* zlib, std::size_t deflated, std::uint32_t adler) {
    zlib[0] = static_cast<std::uint8_t>((kWindowBits - 8) << 4 | 8);
    zlib[1] = static_cast<std::uint8_t>(31 - zlib[0] * 256 % 31);
    std::uint8_t* end = zlib + kHeaderBytes + deflated;
    for (int i = 0; i < 4; ++i) end[i] = static_cast<std::uint8_t>(adler >> (24 - 8 * i));
    return kHeaderBytes + deflated + kTrailerBytes;
}

}  // namespace qv::imagefile
