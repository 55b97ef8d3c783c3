// SPDX-License-Identifier: MIT
#include "output/OutputPattern.h"

#include <algorithm>
#include <cctype>
#include <span>

#include <qvbarcode/host/MemberTable.h>
#include "input/CsvCells.h"
#include "options/TerminalText.h"

namespace qv::cli {

std::string_view UnsafeFileName(std::string_view value) {
    if (value.empty()) return "it is empty";
    if (value == "." || value == "..") return "it names a folder";
    if (value.size() > 255) return "it is longer than 255 bytes";
    for (const char c : value) {
        if (c == '/') return "it holds a '/'";
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return "it holds a control character";
    }
    return UnshownCharacter(value);
}

std::variant<OutputPattern, std::string> OutputPattern::Parse(std::string_view pattern) {
    OutputPattern parsed;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '#') {
            const std::size_t end = pattern.find_first_not_of('#', i);
            const std::size_t run = (end == std::string_view::npos ? pattern.size() : end) - i;
            parsed.parts_.push_back({Part::Kind::Number, {}, run});
            i += run;
        } else if (c == '{') {
            const std::size_t close = pattern.find('}', i);
            if (close == std::string_view::npos) {
                return std::string("the output pattern has a { without its }");
            }
            if (close == i + 1) {
                return std::string("the output pattern has an empty {}: name a column in it");
            }
            parsed.parts_.push_back(
                {Part::Kind::Column, std::string(pattern.substr(i + 1, close - i - 1))});
            i = close + 1;
        } else {
            if (parsed.parts_.empty() || parsed.parts_.back().kind != Part::Kind::Literal) {
                parsed.parts_.push_back({Part::Kind::Literal, {}});
            }
            parsed.parts_.back().text += c;
            ++i;
        }
    }
    return parsed;
}

bool OutputPattern::NamesRecords() const {
    return std::ranges::any_of(parts_, [](const Part& p) { return p.kind != Part::Kind::Literal; });
}

bool OutputPattern::NamesColumns() const {
    return std::ranges::any_of(parts_, [](const Part& p) { return p.kind == Part::Kind::Column; });
}

std::string OutputPattern::Bind(const std::vector<std::string>& columns) {
    for (Part& part : parts_) {
        if (part.kind != Part::Kind::Column) continue;
        const auto named = [&](const std::string& name) {
            return host::NamesMatch(TrimCellSpaces(name), part.text);
        };
        const auto found = std::ranges::find_if(columns, named);
        if (std::ranges::count_if(columns, named) > 1) {
            return "the output pattern's {" + part.text +
                   "} names two columns of the list: keep one of them";
        }
        if (found != columns.end()) {
            part.column = found - columns.begin();
        } else if (host::NamesMatch(part.text, "Text")) {
            part.column = -1;
        } else {
            return "the output pattern's {" + part.text + "} names no column of the list" +
                   (columns.empty() ? std::string(": a list of texts has only {Text}") : "");
        }
    }
    return {};
}

bool OutputPattern::UsesColumn(std::size_t column) const {
    return std::ranges::any_of(parts_, [&](const Part& p) {
        return p.kind == Part::Kind::Column && p.column == static_cast<std::int64_t>(column);
    });
}

std::string OutputPattern::FixedFolder() const {
    const std::string fixed =
        !parts_.empty() && parts_.front().kind == Part::Kind::Literal ? parts_.front().text : "";
    const std::size_t slash = fixed.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : fixed.substr(0, slash);
}

namespace {

// Whether text is what parts name: a literal as it is, a number as at least its width of
// digits, a cell as any text but empty.
template <typename Part>
bool Matches(std::span<const Part> parts, std::string_view text) {
    if (parts.empty()) return text.empty();
    const Part& part = parts.front();
    const auto rest = parts.subspan(1);
    if (part.kind == Part::Kind::Literal) {
        return text.starts_with(part.text) && Matches(rest, text.substr(part.text.size()));
    }
    const bool digits = part.kind == Part::Kind::Number;
    for (std::size_t taken = 1; taken <= text.size(); ++taken) {
        if (digits && !std::isdigit(static_cast<unsigned char>(text[taken - 1]))) return false;
        if ((!digits || taken >= part.width) && Matches(rest, text.substr(taken))) return true;
    }
    return false;
}

}  // namespace

bool OutputPattern::MatchesLeaf(std::string_view leaf) const {
    std::vector<Part> last;
    for (auto part = parts_.rbegin(); part != parts_.rend(); ++part) {
        const std::size_t slash =
            part->kind == Part::Kind::Literal ? part->text.rfind('/') : std::string::npos;
        if (slash == std::string::npos) {
            last.insert(last.begin(), *part);
            continue;
        }
        last.insert(last.begin(), {Part::Kind::Literal, part->text.substr(slash + 1)});
        break;
    }
    return Matches(std::span<const Part>(last), leaf);
}

std::string OutputPattern::FixedEnding() const {
    return !parts_.empty() && parts_.back().kind == Part::Kind::Literal ? parts_.back().text : "";
}

OutputPattern::Name OutputPattern::Expand(std::int64_t number, std::string_view text,
                                          const std::vector<std::string>& cells) const {
    Name name;
    const std::string digits = std::to_string(number);
    for (const Part& part : parts_) {
        switch (part.kind) {
            case Part::Kind::Literal:
                name.path += part.text;
                break;
            case Part::Kind::Number:
                name.path.append(part.width > digits.size() ? part.width - digits.size() : 0, '0');
                name.path += digits;
                break;
            case Part::Kind::Column: {
                const auto column = static_cast<std::size_t>(part.column);
                std::string_view value = text;
                if (part.column >= 0) {
                    value = column < cells.size() ? std::string_view(cells[column]) : "";
                }
                if (const std::string_view why = UnsafeFileName(value); !why.empty()) {
                    name.error =
                        "{" + part.text + "} cannot be part of a file name: " + std::string(why);
                    return name;
                }
                name.path += value;
                break;
            }
        }
    }
    return name;
}

}  // namespace qv::cli
