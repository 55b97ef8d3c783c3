#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ByteReader.h"

namespace qv::fuzz {

// Texts stay within what a host realistically passes; longer ones only cost time.
constexpr std::size_t kMaxTextUnits = 40000;

// Mostly small values, where the drawing does real work, and sometimes any 32-bit value,
// where the overflow rules must hold.
inline std::int32_t ConsumeInt32(ByteReader& in) {
    const int kind = in.Byte() % 4;
    if (kind == 0) return in.Read<std::int32_t>();
    return kind == 1 ? in.InRange<std::int32_t>(-20, 20) : in.InRange<std::int32_t>(-64, 1500);
}

// Booleans other than 0 and -1 are stored as they come and must read as True.
inline std::int16_t ConsumeBool(ByteReader& in) {
    const int kind = in.Byte() % 4;
    return kind == 0 ? 0 : kind == 1 ? -1 : in.Read<std::int16_t>();
}

// One UTF-16 unit, biased towards what the symbologies accept and what trimming looks at;
// otherwise anything: controls, Latin-1, lone surrogates, non-characters.
inline char16_t ConsumeUnit(ByteReader& in) {
    static constexpr std::u16string_view kCommon =
        u" 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*az";
    const std::uint8_t pick = in.Byte();
    return pick < 240 ? kCommon[pick % kCommon.size()] : in.Read<char16_t>();
}

// A short seed repeated, so texts of tens of thousands of units cost only a few input bytes:
// a length byte (its top bit asks for repeats), the units, then a 16-bit repeat count.
inline std::u16string ConsumeText(ByteReader& in) {
    const std::uint8_t header = in.Byte();
    std::u16string seed;
    for (std::size_t i = 0; i < (header & 0x1Fu) && in.remaining() > 0; ++i) {
        seed.push_back(ConsumeUnit(in));
    }
    std::size_t repeats = 1;
    if ((header & 0x80) && !seed.empty()) {
        repeats = in.InRange<std::size_t>(1, kMaxTextUnits / seed.size());
    }
    std::u16string text;
    for (std::size_t i = 0; i < repeats; ++i) text += seed;
    return text;
}

// A float as given, or a modest one.
inline float ConsumeFloat(ByteReader& in, float modestMax) {
    if (in.Byte() % 4 == 0) return in.Read<float>();
    return static_cast<float>(in.Read<std::uint16_t>()) * modestMax / 65535.0f;
}

}  // namespace qv::fuzz
