// Reads any byte sequence as a batch list or CSV, with a fuzzed --text-column and --dpi, and
// checks what the program relies on: records numbered without gaps in line order, each either
// settings or a reason, one per line in a list of texts; a header's columns set exactly what
// they name, lengths at the resolution; quoting round-trips; an output name is the pattern
// with the record number and the columns' cells in place, and a cell becomes part of a name
// only when it is a safe file name.
#include <cctype>
#include <sstream>

#include "input/BatchRecords.h"
#include "input/CsvCells.h"
#include "FuzzInput.h"
#include "output/OutputPattern.h"
#include "options/ValueParsing.h"
#include "host/MemberTable.h"

namespace qv::fuzz {
namespace {

using cli::TrimCellSpaces;

template <typename T>
T Valid(const std::optional<T>& value) {
    QV_REQUIRE(value.has_value());
    return *value;
}

// The settings a header's columns give a record's cells: each column that names a property
// (or the text column) sets it from its cell, in column order; an empty cell leaves it.
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
            settings.barCodeType = Valid(cli::ParseBarcodeType(cell));
        } else if ((property == 2 || property == 3) && !cell.empty()) {
            const auto pixels =
                Valid(cli::ToPixels(Valid(cli::ParseLength(cell)), source.dotsPerInch));
            (property == 2 ? settings.barWidth : settings.barHeight) = pixels;
            if (property == 2) settings.modulePixels.reset();
        } else if (property >= 4 && property < 8 && !cell.empty()) {
            settings.*kFlags[property - 4] = Valid(cli::ParseBoolean(cell));
        }
    }
    return settings;
}

// Why a value may not be a file name, by the rule the program documents.
bool SafeFileName(std::string_view value) {
    return !value.empty() && value != "." && value != ".." && value.size() <= 255 &&
           std::ranges::none_of(value, [](char c) {
               return c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
           });
}

// A batch pattern from the input: literals, runs of # and columns by the header's names in
// another letter case, {Text} or a name of none.
struct Pattern {
    struct Part {
        std::string literal;
        std::size_t run = 0;
        std::optional<std::string> column;
    };
    std::vector<Part> parts;
    std::string text;

    Pattern(ByteReader& in, const std::vector<std::string>& names) {
        static constexpr std::array<std::string_view, 6> kLiterals{"/", "a", ".", "..", "x/", "-"};
        for (std::size_t i = in.InRange<std::size_t>(0, 6); i > 0; --i) {
            const std::uint8_t pick = in.Byte();
            Part part;
            if (pick % 3 == 0) part.literal = kLiterals[pick / 3 % kLiterals.size()];
            if (pick % 3 == 1) part.run = pick / 3 % 6 + 1;
            if (pick % 3 == 2) {
                // A name the pattern can hold: not empty, no braces.
                const std::size_t at = pick / 3 % (names.size() + 2);
                const std::string_view name = at < names.size()    ? TrimCellSpaces(names[at])
                                              : at == names.size() ? "tEXT"
                                                                   : "Nope";
                const bool fits = !name.empty() && name.find_first_of("{}") == name.npos;
                part.column = fits ? name : "Nope";
                const bool upper = in.Bool();
                for (char& c : *part.column)
                    c = upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
            }
            // Two literals in a row are one; a run of # right after another is the same run.
            if (!parts.empty() && ((part.run && parts.back().run) ||
                                   (!part.literal.empty() && !parts.back().literal.empty()))) {
                continue;
            }
            text += part.column ? "{" + *part.column + "}"
                    : part.run  ? std::string(part.run, '#')
                                : part.literal;
            parts.push_back(std::move(part));
        }
    }

    // The first column a part names, -1 for the record's text, nothing for none.
    static std::optional<std::int64_t> Column(const std::string& name,
                                              const std::vector<std::string>& names) {
        const auto found = std::ranges::find_if(
            names, [&](const std::string& n) { return host::NamesMatch(TrimCellSpaces(n), name); });
        if (found != names.end()) return found - names.begin();
        return host::NamesMatch(name, "Text") ? std::optional<std::int64_t>(-1) : std::nullopt;
    }

    // Checks a record's file name: the number and the safe cells in place, or a reason.
    void CheckName(const cli::OutputPattern& pattern, const std::vector<std::string>& names,
                   const cli::BatchRecord& record) const {
        const cli::OutputPattern::Name name =
            pattern.Expand(record.number, record.text, record.cells);
        const std::string digits = std::to_string(record.number);
        std::string expected;
        bool safe = true;
        for (const Part& part : parts) {
            expected += part.literal;
            if (part.run)
                expected += std::string(part.run - std::min(part.run, digits.size()), '0') + digits;
            if (!part.column) continue;
            const auto column = static_cast<std::size_t>(*Column(*part.column, names));
            const std::string value = column == std::size_t(-1)      ? record.text
                                      : column < record.cells.size() ? record.cells[column]
                                                                     : "";
            safe = safe && SafeFileName(value);
            expected += value;
        }
        QV_REQUIRE(name.error.empty() == safe);
        QV_REQUIRE(!safe || name.path == expected);
    }
};

void CheckRecords(std::string_view text, const cli::BatchSource& source, ByteReader& in) {
    std::istringstream input{std::string(text)};
    cli::BatchReader reader(input, source);
    if (reader.Start()) {
        QV_REQUIRE(!reader.Next());  // a list refused at its start gives no record
        return;
    }
    const std::vector<std::string>& names = reader.ColumnNames();
    const Pattern pattern(in, names);
    auto parsed = std::get<cli::OutputPattern>(cli::OutputPattern::Parse(pattern.text));
    const bool bound = parsed.Bind(names).empty();
    QV_REQUIRE(bound == std::ranges::all_of(pattern.parts, [&](const Pattern::Part& part) {
                   return !part.column || Pattern::Column(*part.column, names);
               }));
    // The lines std::getline gives, byte-order mark and trailing CR removed as the reader does.
    std::vector<std::string> lines;
    std::istringstream again{std::string(text)};
    for (std::string line; std::getline(again, line);) {
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    }
    if (!lines.empty() && lines[0].starts_with("\xEF\xBB\xBF")) lines[0].erase(0, 3);
    std::int64_t count = 0, previousLine = reader.HasHeader() ? 1 : 0;
    while (const auto record = reader.Next()) {
        QV_REQUIRE(record->number == ++count);
        QV_REQUIRE(record->line > previousLine);  // a quoted cell may span lines
        previousLine = record->line;
        QV_REQUIRE(record->settings.has_value() == record->error.empty());
        if (bound) pattern.CheckName(parsed, names, *record);
        if (reader.HasHeader()) {
            QV_REQUIRE(!record->settings || record->cells.size() <= names.size());
            QV_REQUIRE(!record->settings ||
                       *record->settings == FromCells(names, record->cells, source));
            continue;
        }
        // A plain list: the whole line is the text, everything else the defaults.
        cli::BarcodeSettings expected = source.defaults;
        expected.text = lines[static_cast<std::size_t>(record->line) - 1];
        QV_REQUIRE(record->line == count && record->settings == expected);
    }
    QV_REQUIRE(reader.HasHeader() || count == static_cast<std::int64_t>(lines.size()));
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
    const cli::CsvCells split = cli::SplitCsvRecord(line);
    QV_REQUIRE(!split.open && split.cells == cells);
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
    qv::fuzz::CheckQuotingRoundTrips(in);
    // The pattern's choices, then the batch input, bytes as they come.
    const std::string_view pattern = in.Rest();
    const std::size_t split = std::min<std::size_t>(pattern.size(), 8);
    qv::fuzz::ByteReader patternIn(reinterpret_cast<const std::uint8_t*>(pattern.data()), split);
    qv::fuzz::CheckRecords(pattern.substr(split), source, patternIn);
    return 0;
}
