// SPDX-License-Identifier: MIT
#include "input/ListText.h"

#include <unicode/utf8.h>

#include <array>

#include <qvbarcode/host/TextConversion.h>
#include <qvbarcode/surface/Windows1252.h>

namespace qv::cli {

bool IsUtf8(std::string_view text) {
    const auto length = static_cast<std::int32_t>(text.size());
    for (std::int32_t i = 0; i < length;) {
        UChar32 c = 0;
        U8_NEXT(text.data(), i, length, c);
        if (c < 0) return false;
    }
    return true;
}

bool ToUtf8(CsvRecord& record, ListEncoding encoding) {
    if (IsUtf8(record.text)) {
        return true;
    }
    if (encoding == ListEncoding::Utf8) {
        return false;
    }
    // The separators, quotes and line ends are ASCII, alike in both: each cell converts alone.
    const auto convert = [](std::string& text) {
        text = host::Utf16ToUtf8(surface::DecodeWindows1252(text));
    };
    convert(record.text);
    for (std::string& cell : record.cells) convert(cell);
    return true;
}

std::string NotUtf8Line(const CsvRecord& line) {
    constexpr std::size_t kShown = 40;
    return "line " + std::to_string(line.line) + " is not UTF-8 (\"" + line.text.substr(0, kShown) +
           (line.text.size() > kShown ? "...\")" : "\")") +
           ": give --encoding latin1 for a list saved as ISO-8859-1 or Windows-1252";
}

ListScan ScanList(std::istream& input) {
    ListScan scan;
    std::array<char, 1 << 16> buffer;
    char last = '\n';
    bool ascii = true;
    while (input.read(buffer.data(), buffer.size()) || input.gcount() > 0) {
        const auto count = static_cast<std::size_t>(input.gcount());
        for (std::size_t i = 0; i < count; ++i) {
            // LF, CRLF and a CR alone each end a line.
            scan.lines += buffer[i] == '\n' ? last != '\r' : buffer[i] == '\r';
            ascii = ascii && (buffer[i] & 0x80) == 0;
            last = buffer[i];
        }
    }
    scan.lines += last != '\n' && last != '\r';
    input.clear();
    input.seekg(0);
    if (ascii) {
        return scan;  // as most lists of numbers are: UTF-8 with nothing to check
    }
    CsvInput lines(input);
    for (CsvRecord line; !scan.notUtf8 && lines.ReadLine(line);) {
        // A line over 1 MB keeps only its start, maybe cut inside a character: it fails anyway.
        if (!line.tooLong && !IsUtf8(line.text)) scan.notUtf8 = std::move(line);
    }
    input.clear();
    input.seekg(0);
    return scan;
}

}  // namespace qv::cli
