// SPDX-License-Identifier: MIT
// Reads any byte sequence as a batch list or CSV, with a fuzzed --text-column, --dpi,
// --separator and --encoding, and checks what the program relies on: records numbered without
// gaps in line order, each either settings or a reason or a skipped row of empty cells, one
// per line in a list of texts up to the first line that is no UTF-8 (read as UTF-8); a
// header's columns set exactly what they name, lengths at the resolution; quoting
// round-trips; and a record's text becomes a file name only when it is a safe one.
#include <unicode/utf8.h>

#include <sstream>

#include <qvbarcode/host/MemberTable.h>
#include "FuzzInput.h"
#include "input/BatchRecords.h"
#include "input/CsvCells.h"
#include "input/ListText.h"
#include "options/ValueParsing.h"
#include "output/OutputPattern.h"

namespace qv::fuzz {
namespace {

using cli::TrimCellSpaces;

// The settings a header's columns give a record's cells: each column that names a property
// (or the text column) sets it from its cell, in column order; an empty cell leaves it. A
// cell of a record that was read must parse: an empty optional's value() aborts the run.
cli::BarcodeSettings FromCells(const std::vector<std::string>& names,
                               const std::vector<std::string>& cells,
                               const cli::BatchSource& source) {
    static constexpr std::array<std::string_view, 8> kProperties{
        "Text",           "BarCodeType",     "BarWidth",  "BarHeight",
        "BarWidthSource", "BackgroundWhite", "ShowValue", "CalculateCheckDigit"};
    using S = cli::BarcodeSettings;
    static constexpr std::array kFlags{&S::barWidthSource, &S::backgroundWhite, &S::showValue,
                                       &S::calculateCheckDigit};
    cli::BarcodeSettings settings = source.defaults;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::string_view name = TrimCellSpaces(names[i]), cell = TrimCellSpaces(cells[i]);
        const auto named = [&](std::string_view n) { return host::NamesMatch(name, n); };
        const auto property = std::ranges::find_if(kProperties, named) - kProperties.begin();
        if (source.textColumn ? named(TrimCellSpaces(*source.textColumn)) : property == 0) {
            settings.text = cells[i];
        } else if (property == 1 && !cell.empty()) {
            settings.barCodeType = cli::ParseBarcodeType(cell).value();
        } else if ((property == 2 || property == 3) && !cell.empty()) {
            const auto pixels = cli::ToPixels(cli::ParseLength(cell).value(), source.dotsPerInch);
            (property == 2 ? settings.barWidth : settings.barHeight) = pixels.value();
            if (property == 2) settings.modulePixels.reset();
        } else if (property >= 4 && property < 8 && !cell.empty()) {
            settings.*kFlags[property - 4] = cli::ParseBoolean(cell).value();
        }
    }
    return settings;
}

// Whether a value may be a file name, by the rule the program documents.
// The code points of strict UTF-8, or nothing for bytes that are not.
std::optional<std::vector<char32_t>> CodePoints(std::string_view text) {
    std::vector<char32_t> points;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(text.size());) {
        UChar32 point = 0;
        U8_NEXT(text.data(), i, static_cast<std::int32_t>(text.size()), point);
        if (point < 0) return {};
        points.push_back(static_cast<char32_t>(point));
    }
    return points;
}

// A file name from a cell: not empty, no folder, no '/', nothing a terminal would act on or
// hide (controls, bidirectional controls, a byte-order mark) and nothing that is no UTF-8.
bool SafeFileName(std::string_view value) {
    const auto points = CodePoints(value);
    return points && !value.empty() && value != "." && value != ".." && value.size() <= 255 &&
           std::ranges::none_of(*points, [](char32_t c) {
               return c == '/' || c < 0x20 || (c >= 0x7F && c <= 0x9F) ||
                      (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
           });
}

void CheckRecords(std::string_view text, const cli::BatchSource& source) {
    std::istringstream input{std::string(text)};
    cli::BatchReader reader(input, source);
    if (reader.Start()) {
        QV_REQUIRE(!reader.Next());  // a list refused at its start gives no record
        return;
    }
    const std::vector<std::string>& names = reader.ColumnNames();
    // {Text} names a file exactly when its value is a safe name (other patterns: tests/cli).
    auto pattern = std::get<cli::OutputPattern>(cli::OutputPattern::Parse("{Text}"));
    const auto isText = [](const std::string& n) {
        return host::NamesMatch(TrimCellSpaces(n), "Text");
    };
    // Two columns named Text leave {Text} ambiguous: the batch refuses the pattern.
    const bool bound = pattern.Bind(names).empty();
    QV_REQUIRE(bound == (std::ranges::count_if(names, isText) < 2));
    if (!bound) return;
    const auto textColumn =
        static_cast<std::size_t>(std::ranges::find_if(names, isText) - names.begin());
    // The lines, ended by LF, CRLF or a CR alone, the byte-order mark removed as the reader does.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            lines.back() += text[i];
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.emplace_back();
    }
    if (lines.back().empty()) lines.pop_back();
    // Read as UTF-8, a list of texts ends before its first line that is no UTF-8.
    std::size_t readable = lines.size();
    if (source.encoding == cli::ListEncoding::Utf8) {
        readable =
            static_cast<std::size_t>(std::ranges::find_if_not(lines, cli::IsUtf8) - lines.begin());
    }
    const auto blank = [](std::string_view cell) { return TrimCellSpaces(cell).empty(); };
    std::int64_t count = 0, previousLine = reader.HasHeader() ? 1 : 0;
    while (const auto record = reader.Next()) {
        QV_REQUIRE(record->number == ++count);
        QV_REQUIRE(record->line > previousLine);  // a quoted cell may span lines
        previousLine = record->line;
        QV_REQUIRE(record->settings.has_value() == (record->error.empty() && !record->empty));
        if (record->empty) {
            // Nothing but separators, quotes and blanks; not drawn, so not named.
            QV_REQUIRE(record->text.find_first_not_of(std::string("\" \t\r\n") +
                                                      (reader.HasHeader() ? ",;\t|" : "")) ==
                       std::string::npos);
            continue;
        }
        QV_REQUIRE(!record->settings ||
                   !std::ranges::all_of(
                       reader.HasHeader() ? record->cells : std::vector{record->text}, blank));
        const auto name = pattern.Expand(record->number, record->text, record->cells);
        const std::string value = textColumn == names.size()          ? record->text
                                  : textColumn < record->cells.size() ? record->cells[textColumn]
                                                                      : "";
        QV_REQUIRE(name.error.empty() == SafeFileName(value));
        QV_REQUIRE(!name.error.empty() || name.path == value);
        if (reader.HasHeader()) {
            QV_REQUIRE(!record->settings || record->cells.size() <= names.size());
            QV_REQUIRE(!record->settings ||
                       *record->settings == FromCells(names, record->cells, source));
            continue;
        }
        // A plain list: the whole line is the text, everything else the defaults.
        cli::BarcodeSettings expected = source.defaults;
        cli::CsvRecord line;
        line.text = lines[static_cast<std::size_t>(record->line) - 1];
        QV_REQUIRE(cli::ToUtf8(line, source.encoding));
        expected.text = line.text;
        QV_REQUIRE(record->line == count && record->settings == expected);
    }
    QV_REQUIRE(reader.HasHeader() || count == static_cast<std::int64_t>(readable));
    QV_REQUIRE(reader.HasHeader() || reader.StoppedBy().empty() == (readable == lines.size()));
}

// Cells without line breaks come back unchanged from a line that quotes every one, a quote
// inside doubled.
void CheckQuotingRoundTrips(ByteReader& in) {
    std::vector<std::string> cells(in.InRange<std::size_t>(1, 6));
    std::string line;
    for (std::string& cell : cells) {
        for (std::size_t i = in.InRange<std::size_t>(0, 12); i > 0; --i) {
            static constexpr std::string_view kBytes = "a,\" \t1;\x80\xff\r";
            cell += kBytes[in.Byte() % kBytes.size()];
        }
        line += (line.empty() ? "\"" : ",\"");
        for (const char c : cell) line += c == '"' ? "\"\"" : std::string(1, c);
        line += '"';
    }
    std::istringstream input(line);
    cli::CsvRecord split;
    QV_REQUIRE(cli::CsvInput(input).ReadRecord(split) && !split.open && split.cells == cells);
}

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::fuzz::ByteReader in(data, size);
    qv::cli::BatchSource source;
    const std::uint8_t options = in.Byte();
    if (options & 1) {
        source.defaults = {.text = "DEFAULT", .barCodeType = 2, .barWidth = 300, .showValue = -1};
    }
    static constexpr std::array<const char*, 4> kTextColumns{"Code", " text ", "BarWidth", "x"};
    if (options & 2) source.textColumn = kTextColumns[options / 4 % 4];
    static constexpr std::array<double, 4> kDotsPerInch{96.0, 300.0, 203.2, 0.01};
    source.dotsPerInch = kDotsPerInch[options / 16 % 4];
    if (options & 64) source.encoding = qv::cli::ListEncoding::Latin1;
    if (options & 128) source.separator = ';';
    qv::fuzz::CheckQuotingRoundTrips(in);
    // Eight bytes the corpus keeps for choices no longer made, then the batch input as it comes.
    const std::string_view rest = in.Rest();
    qv::fuzz::CheckRecords(rest.substr(std::min<std::size_t>(rest.size(), 8)), source);
    return 0;
}
