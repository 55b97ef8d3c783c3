// SPDX-License-Identifier: MIT
#pragma once

// The standard headers the harnesses share.
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::fuzz {

// A broken invariant is a finding: report it and abort so libFuzzer keeps the input.
[[noreturn]] inline void Broken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "invariant broken at %s:%d: %s\n", file, line, what);
    std::abort();
}
#define QV_REQUIRE(condition) \
    ((condition) ? void() : ::qv::fuzz::Broken(#condition, __FILE__, __LINE__))

// The entry point of a harness that runs one session, constructed from a reader, per input.
#define QV_FUZZ_SESSIONS(Session)                                                       \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
        ::qv::fuzz::ByteReader in(data, size);                                          \
        Session(in).Run();                                                              \
        return 0;                                                                       \
    }

// A table of names written as one string, one blank between two (a trailing blank adds an
// empty name): a count that does not match fails the build.
template <std::size_t N>
consteval std::array<std::string_view, N> Words(std::string_view words) {
    std::array<std::string_view, N> table{};
    for (std::size_t i = 0; i < N; ++i) {
        const std::size_t end = i + 1 < N ? words.find(' ') : words.size();
        if (end == words.npos || (i + 1 == N && words.find(' ') != words.npos)) throw "miscounted";
        table[i] = words.substr(0, end);
        words.remove_prefix(i + 1 < N ? end + 1 : end);
    }
    return table;
}

// Reads a fuzz input front to back, so hand-written seed inputs stay easy to write: integers
// are little-endian, and a read past the end gives zeros.
class ByteReader {
  public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t remaining() const { return size_ - position_; }

    template <typename T>  // a number
    T Read() {
        unsigned char bytes[sizeof(T)] = {};
        for (auto& byte : bytes) byte = position_ < size_ ? data_[position_++] : 0;
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }
    std::uint8_t Byte() { return Read<std::uint8_t>(); }
    bool Bool() { return (Byte() & 1) != 0; }

    // A value in [low, high], from as few bytes as the range needs (ranges stay within 32 bits).
    template <typename T>
    T InRange(T low, T high) {
        const auto span = static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low);
        const std::uint64_t raw = span <= 0xFF     ? Byte()
                                  : span <= 0xFFFF ? Read<std::uint16_t>()
                                                   : Read<std::uint32_t>();
        return static_cast<T>(static_cast<std::uint64_t>(low) + raw % (span + 1));
    }

    // Everything not read yet, bytes as they come.
    std::string_view Rest() {
        const std::string_view rest(reinterpret_cast<const char*>(data_) + position_, remaining());
        position_ = size_;
        return rest;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// Where the overflow rules must hold: the edges of 16 and 32 bits, and what the white
// margins take from them.
inline constexpr std::array<std::int32_t, 14> kInt32Edges{
    INT32_MIN, INT32_MIN + 9, -32769,        -32768,        -1,       0, 32767, 32768, 65535,
    65536,     1 << 24,       INT32_MAX - 9, INT32_MAX - 1, INT32_MAX};

// Mostly small values, where the drawing does real work, and sometimes an edge or any 32-bit
// value (one in eight: widths there draw up to 32,767 columns).
inline std::int32_t ConsumeInt32(ByteReader& in) {
    const int kind = in.Byte() % 8;
    if (kind == 0) return in.Bool() ? in.Read<std::int32_t>() : kInt32Edges[in.Byte() % 14];
    return kind < 4 ? in.InRange<std::int32_t>(-20, 20) : in.InRange<std::int32_t>(-64, 1500);
}

// A drawing costs its width times its height, and a narrow one reaches every limit a tall
// one does; so heights stay small but for the ends of 32 bits, which overflow or are refused.
inline std::int32_t ConsumeHeight(ByteReader& in) {
    static constexpr std::array<std::int32_t, 6> kEnds{INT32_MIN,     INT32_MIN + 9, -32768,
                                                       INT32_MAX - 9, INT32_MAX - 1, INT32_MAX};
    return in.Byte() % 4 == 0 ? kEnds[in.Byte() % 6] : in.InRange<std::int32_t>(-20, 64);
}

// Booleans other than 0 and -1 are stored as they come and must read as True.
inline std::int16_t ConsumeBool(ByteReader& in) {
    const int kind = in.Byte() % 4;
    return kind == 0 ? 0 : kind == 1 ? -1 : in.Read<std::int16_t>();
}

// A short seed, repeated so texts of thousands of units cost only a few input bytes.
// A header byte: the seed's length in its low five bits, or with bit 6 a seed from kEdges
// that those bits choose; its top bit asks for repeats: a byte saying how many, up to 16 or
// (odd) up to 12,000 units, then that count.
inline std::u16string ConsumeText(ByteReader& in) {
    // What a number conversion has to look at closely: signs, blanks, fractions on the
    // rounding edge, values just beyond 32 bits, and near misses.
    static constexpr std::array<std::u16string_view, 14> kEdges{
        u"2147483647", u"2147483648", u"-2147483648", u"-2147483649", u"0.5", u"1.5",  u" -2.5 ",
        u"+7",         u"1e3",        u"0x10",        u".",           u"- 1", u"True", u" fAlSe "};
    // Units biased towards what the symbologies accept and what trimming looks at; otherwise
    // anything: controls, Latin-1, lone surrogates, non-characters.
    static constexpr std::u16string_view kCommon =
        u" 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*az\t";
    const std::uint8_t header = in.Byte();
    std::u16string seed(header & 0x40 ? kEdges[(header & 0x1F) % kEdges.size()] : u"");
    for (std::size_t i = 0; !(header & 0x40) && i < (header & 0x1Fu) && in.remaining(); ++i) {
        const std::uint8_t pick = in.Byte();
        seed.push_back(pick < 240 ? kCommon[pick % kCommon.size()] : in.Read<char16_t>());
    }
    // Mostly a few repeats; sometimes enough to pass every 16-bit limit (32,767 modules take
    // under 4,000 digits, a caption that wide under 6,000 wide letters); longer ones only
    // cost time.
    std::size_t repeats = 1;
    if (header & 0x80 && !seed.empty()) {
        repeats = in.InRange<std::size_t>(1, in.Bool() ? 12000 / seed.size() : 16);
    }
    std::u16string text;
    for (std::size_t i = 0; i < repeats; ++i) text += seed;
    return text;
}

}  // namespace qv::fuzz
