#include "host/Guid.h"

#include <cctype>
#include <cstdio>

namespace qv::host {
namespace {

std::string Format(const Guid& g, const char* pattern) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, pattern, static_cast<unsigned>(g.data1),
                  static_cast<unsigned>(g.data2), static_cast<unsigned>(g.data3), g.data4[0],
                  g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6],
                  g.data4[7]);
    return buffer;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
    return -1;
}

}  // namespace

std::string ToRegistryForm(const Guid& guid) {
    return Format(guid, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}");
}

std::string ToIdlForm(const Guid& guid) {
    return Format(guid, "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x");
}

std::optional<Guid> ParseGuid(std::string_view text) {
    if (text.size() == 38 && text.front() == '{' && text.back() == '}') {
        text = text.substr(1, 36);
    }
    if (text.size() != 36) return std::nullopt;
    // 32 hex digits with dashes after the 8th, 12th, 16th and 20th.
    std::array<std::uint8_t, 16> bytes{};
    std::size_t digit = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-') return std::nullopt;
            continue;
        }
        const int value = HexValue(text[i]);
        if (value < 0) return std::nullopt;
        bytes[digit / 2] = static_cast<std::uint8_t>(bytes[digit / 2] << 4 | value);
        ++digit;
    }
    Guid guid;
    guid.data1 = std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
                 std::uint32_t{bytes[2]} << 8 | bytes[3];
    guid.data2 = static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]);
    guid.data3 = static_cast<std::uint16_t>(bytes[6] << 8 | bytes[7]);
    for (std::size_t i = 0; i < 8; ++i) guid.data4[i] = bytes[8 + i];
    return guid;
}

}  // namespace qv::host
