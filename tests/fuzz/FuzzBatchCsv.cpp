// Reads any byte sequence as a batch list or CSV, and checks what the program relies on:
// records numbered without gaps in line order, each either settings or a reason, one per line
// in a list of texts; an output name is the pattern with the record number in place; quoting
// round-trips.
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "BatchRecords.h"
#include "CsvCells.h"
#include "FuzzInput.h"
#include "OutputPattern.h"

namespace qv::fuzz {
namespace {

void CheckRecords(std::string_view text, const cli::BarcodeSettings& defaults) {
    std::istringstream input{std::string(text)};
    cli::BatchReader reader(input, {defaults, std::nullopt, 96.0});
    if (reader.Start()) {
        QV_REQUIRE(!reader.Next());  // a list refused at its start gives no record
        return;
    }
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
        // A plain list: the whole line is the text, everything else the defaults.
        cli::BarcodeSettings expected = defaults;
        expected.text = lines[static_cast<std::size_t>(record->line) - 1];
        QV_REQUIRE(reader.HasHeader() || (record->line == count && record->settings == expected));
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

// Every run of # becomes the number, padded to the run; the rest of the pattern is kept.
void CheckPattern(ByteReader& in) {
    const std::int64_t number = in.InRange<std::int64_t>(1, 99'999'999);
    const std::string digits = std::to_string(number);
    std::string pattern, expected;
    for (std::size_t i = in.InRange<std::size_t>(0, 8); i > 0; --i) {
        // A run of up to seven #, and a character that ends it except perhaps at the end.
        const std::uint8_t pick = in.Byte();
        const std::size_t run = pick % 8;
        const std::string end = i == 1 && pick >= 0x80 ? "" : std::string(1, "/a."[pick / 8 % 3]);
        pattern += std::string(run, '#') + end;
        const std::size_t zeros = run > digits.size() ? run - digits.size() : 0;
        expected += (run > 0 ? std::string(zeros, '0') + digits : "") + end;
    }
    const auto parsed = cli::OutputPattern::Parse(pattern);
    QV_REQUIRE(std::get<cli::OutputPattern>(parsed).Expand(number, "", {}).path == expected);
}

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::fuzz::ByteReader in(data, size);
    qv::cli::BarcodeSettings defaults;
    if (in.Bool()) {
        defaults = {.text = "DEFAULT", .barCodeType = 2, .barWidth = 300, .showValue = -1};
    }
    qv::fuzz::CheckQuotingRoundTrips(in);
    qv::fuzz::CheckPattern(in);
    // The rest is the batch input, bytes as they come.
    qv::fuzz::CheckRecords(in.Rest(), defaults);
    return 0;
}
