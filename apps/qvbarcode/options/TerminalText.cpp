// SPDX-License-Identifier: MIT
#include "options/TerminalText.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>

namespace qv::cli {

namespace {

// The character that starts at text[i] and its length in bytes; length 0 when the bytes
// there are no UTF-8 (overlong, a surrogate, beyond U+10FFFF, cut short).
struct Decoded {
    char32_t code = 0;
    std::size_t length = 0;
};
Decoded DecodeAt(std::string_view text, std::size_t i) {
    // A character is at most 4 bytes: ICU reads no further than that window.
    const auto window = static_cast<std::int32_t>(std::min<std::size_t>(4, text.size() - i));
    std::int32_t length = 0;
    UChar32 code = 0;
    U8_NEXT(text.data() + i, length, window, code);
    if (code < 0) return {};
    return {static_cast<char32_t>(code), static_cast<std::size_t>(length)};
}

bool MovesTheTerminal(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

void AppendHex(std::string& out, const char* lead, std::uint32_t value, int digits) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += lead;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kHex[(value >> shift) & 15];
}

}  // namespace

std::string TerminalText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Decoded c = DecodeAt(text, i);
        if (c.length == 0) {
            AppendHex(shown, "\\x", static_cast<std::uint8_t>(text[i]), 2);
            ++i;
            continue;
        }
        if (!MovesTheTerminal(c.code)) {
            shown.append(text, i, c.length);
        } else if (c.code < 0x80) {
            AppendHex(shown, "\\x", c.code, 2);
        } else {
            AppendHex(shown, "\\u", c.code, 4);
        }
        i += c.length;
    }
    return shown;
}

std::string_view UnshownCharacter(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const Decoded c = DecodeAt(text, i);
        if (c.length == 0) return "it is not valid UTF-8";
        if (c.code == 0xFEFF) return "it holds a byte-order mark";
        if (c.code >= 0x202A && MovesTheTerminal(c.code)) return "it holds a bidirectional control";
        if (MovesTheTerminal(c.code)) return "it holds a control character";
        i += c.length;
    }
    return {};
}

}  // namespace qv::cli
