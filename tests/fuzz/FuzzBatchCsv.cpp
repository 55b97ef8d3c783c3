// Reads any byte sequence as a batch list or CSV, and checks what the program relies on: one
// record per line after an optional header, numbered without gaps, each either settings or a
// reason; a Text cell is data and never reaches a file name; quoting round-trips.
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "BatchRecords.h"
#include "ByteReader.h"
#include "CsvLine.h"
#include "FuzzCheck.h"
#include "OutputPattern.h"

namespace qv::fuzz {
namespace {

using cli::BarcodeSettings;

// The lines std::getline gives, trailing CR removed as the reader does.
std::vector<std::string> LinesOf(std::string_view text) {
    std::vector<std::string> lines;
    std::istringstream stream{std::string(text)};
    std::string line;
    while (std::getline(stream, line)) {
        if (line.ends_with('\r')) line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Quoted(std::string_view cell) {
    std::string quoted = "\"";
    for (const char c : cell) {
        quoted += c;
        if (c == '"') quoted += '"';  // a quote inside is doubled
    }
    return quoted + "\"";
}

void CheckRecords(std::string_view text, const BarcodeSettings& defaults) {
    std::istringstream input{std::string(text)};
    const std::vector<cli::BatchRecord> records = cli::ReadBatchRecords(input, defaults);
    const std::vector<std::string> lines = LinesOf(text);
    QV_REQUIRE(records.size() == lines.size() || records.size() + 1 == lines.size());
    const bool header = records.size() + 1 == lines.size();
    std::int64_t previousLine = header ? 1 : 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const cli::BatchRecord& record = records[i];
        QV_REQUIRE(record.number == static_cast<std::int64_t>(i) + 1);
        QV_REQUIRE(record.line == previousLine + 1);
        previousLine = record.line;
        QV_REQUIRE(record.settings.has_value() == record.error.empty());
        const std::string& line = lines[static_cast<std::size_t>(record.line) - 1];
        if (!header) {
            // A plain list: the whole line is the text, everything else the defaults.
            BarcodeSettings expected = defaults;
            expected.text = line;
            QV_REQUIRE(record.settings == expected);
        }
        // The file a record goes to depends on its number alone, whatever its Text says.
        const std::string path = cli::ExpandPattern("out/####.png", record.number);
        QV_REQUIRE(path.starts_with("out/") && path.ends_with(".png"));
        QV_REQUIRE(path.find("..") == std::string::npos);
        QV_REQUIRE(path.find('/', 4) == std::string::npos);
    }
}

// Cells without line breaks come back unchanged from a line that quotes every one.
void CheckQuotingRoundTrips(ByteReader& in) {
    std::vector<std::string> cells(in.InRange<std::size_t>(1, 6));
    for (std::string& cell : cells) {
        const std::size_t length = in.InRange<std::size_t>(0, 12);
        for (std::size_t i = 0; i < length; ++i) {
            static constexpr std::string_view kBytes = "a,\" \t1;\x80\xff\r";
            const std::uint8_t pick = in.Byte();
            cell += kBytes[pick % kBytes.size()];
        }
    }
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        line += (i ? "," : "") + Quoted(cells[i]);
    }
    const auto split = cli::SplitCsvLine(line);
    QV_REQUIRE(split.has_value());
    QV_REQUIRE(*split == cells);
}

// Every run of # becomes the number, padded to the run; the rest of the pattern is kept.
void CheckPattern(std::string_view pattern, std::int64_t number) {
    const std::string path = cli::ExpandPattern(pattern, number);
    const std::string digits = std::to_string(number);
    std::size_t at = 0;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern[i] != '#') {
            QV_REQUIRE(at < path.size() && path[at] == pattern[i]);
            ++at;
            ++i;
            continue;
        }
        std::size_t run = 0;
        while (i < pattern.size() && pattern[i] == '#') {
            ++run;
            ++i;
        }
        const std::size_t width = std::max(run, digits.size());
        QV_REQUIRE(path.compare(at, width, std::string(width - digits.size(), '0') + digits) == 0);
        at += width;
    }
    QV_REQUIRE(at == path.size());
}

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::fuzz::ByteReader in(data, size);
    qv::cli::BarcodeSettings defaults;
    if (in.Bool()) {
        defaults.text = "DEFAULT";
        defaults.barCodeType = 2;
        defaults.barWidth = 300;
        defaults.showValue = qv::cli::kTrue;
    }
    qv::fuzz::CheckQuotingRoundTrips(in);
    const std::int64_t number = in.InRange<std::int64_t>(1, 99'999'999);
    const std::size_t patternLength = in.InRange<std::size_t>(0, 16);
    std::string pattern;
    for (std::size_t i = 0; i < patternLength; ++i) {
        pattern += "#/a.#"[in.Byte() % 5];
    }
    qv::fuzz::CheckPattern(pattern, number);
    // The rest is the batch input, bytes as they come.
    const std::size_t consumed = size - in.remaining();
    qv::fuzz::CheckRecords(
        std::string_view(reinterpret_cast<const char*>(data) + consumed, in.remaining()), defaults);
    return 0;
}
