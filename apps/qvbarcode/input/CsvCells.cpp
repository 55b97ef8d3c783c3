// SPDX-License-Identifier: MIT
#include "input/CsvCells.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <utility>

namespace qv::cli {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

CsvInput::CsvInput(std::istream& input, char separator)
    : buffer_(input.rdbuf()), separator_(separator) {}

int CsvInput::Next() {
    if (!held_.empty()) {
        const int c = static_cast<unsigned char>(held_.front());
        held_.erase(0, 1);
        return c;
    }
    const int c = buffer_->sbumpc();
    if (c == std::char_traits<char>::eof()) {
        return kEnd;
    }
    if (c == '\r') {
        ++linesEnded_;
        if (buffer_->sgetc() != '\n') {
            return kLoneCr;
        }
        buffer_->sbumpc();
        return '\n';
    }
    linesEnded_ += c == '\n';
    return c;
}

bool CsvInput::Begin(CsvRecord& record) {
    record = {{}, {std::string()}, linesEnded_ + 1};
    if (!started_) {
        started_ = true;
        // Only a whole mark is skipped; the start of one is text, kept for Next.
        for (const char mark : kByteOrderMark) {
            if (buffer_->sgetc() != static_cast<unsigned char>(mark)) break;
            held_ += static_cast<char>(buffer_->sbumpc());
        }
        if (held_ == kByteOrderMark) held_.clear();
    }
    return !held_.empty() || buffer_->sgetc() != std::char_traits<char>::eof();
}

void CsvInput::Add(CsvRecord& record, char c, std::optional<char> cell) {
    if (record.tooLong) {
        return;
    }
    if (record.text.size() >= kMaxRecordBytes) {
        record.tooLong = true;
        record.text.resize(80);
        record.cells.clear();
        record.cells.shrink_to_fit();
        return;
    }
    record.text += c;
    if (cell) {
        record.cells.back() += *cell;
    }
}

bool CsvInput::ReadLine(CsvRecord& record) {
    if (!Begin(record)) {
        return false;
    }
    for (int c = Next(); c != kEnd && c != '\n' && c != kLoneCr; c = Next()) {
        Add(record, static_cast<char>(c), static_cast<char>(c));
    }
    return true;
}

bool CsvInput::ReadRecord(CsvRecord& record) {
    if (!Begin(record)) {
        return false;
    }
    enum class State { CellStart, Unquoted, Quoted, QuoteInQuoted, AfterQuote };
    State state = State::CellStart;
    for (int c = Next(); c != kEnd; c = Next()) {
        if (state == State::QuoteInQuoted) {
            state = c == '"' ? State::Quoted : State::AfterQuote;
            if (c == '"') {
                Add(record, '"', '"');  // the pair's first quote is in the text already
                continue;
            }
        }
        if (state == State::Quoted) {
            if (c == '"') {
                Add(record, '"', {});
                state = State::QuoteInQuoted;
            } else {
                // A line break in a quoted cell is data; a CR alone stays a CR.
                const char data = c == kLoneCr ? '\r' : static_cast<char>(c);
                Add(record, c == kLoneCr ? '\n' : data, data);
            }
            continue;
        }
        if (c == '\n' || c == kLoneCr) {
            break;
        }
        if (c == separator_) {
            Add(record, separator_, {});
            if (!record.tooLong) record.cells.emplace_back();
            state = State::CellStart;
        } else if (c == '"' && state == State::CellStart) {
            Add(record, '"', {});
            if (!record.tooLong) record.cells.back().clear();
            state = State::Quoted;
        } else {
            Add(record, static_cast<char>(c), static_cast<char>(c));
            if (state == State::CellStart && c != ' ' && c != '\t') {
                state = State::Unquoted;
            }
        }
    }
    record.open = state == State::Quoted;
    return true;
}

CsvRecord SplitLine(std::string_view line, char separator) {
    std::istringstream text{std::string(line)};
    CsvInput input(text, separator);
    input.started_ = true;  // a line read already: a mark in it is its text
    CsvRecord record;
    if (!input.ReadRecord(record)) {
        record.cells = {std::string()};
    }
    record.line = 1;
    return record;
}

char FindSeparator(std::string_view headerLine) {
    std::array<std::pair<char, std::size_t>, 3> counts{{{',', 0}, {';', 0}, {'\t', 0}}};
    bool quoted = false;
    for (const char c : headerLine) {
        quoted = quoted != (c == '"');
        for (auto& [separator, count] : counts) count += !quoted && c == separator;
    }
    // The first of the most: a comma when none is more frequent.
    return std::ranges::max(counts, {}, [](const auto& c) { return c.second; }).first;
}

std::string_view TrimCellSpaces(std::string_view cell) {
    const auto first = cell.find_first_not_of(" \t");
    return first == std::string_view::npos
               ? std::string_view{}
               : cell.substr(first, cell.find_last_not_of(" \t") - first + 1);
}

}  // namespace qv::cli
