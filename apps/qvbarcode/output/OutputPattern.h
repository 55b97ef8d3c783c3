// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qv::cli {

// How a batch names its files: every run of # is the record number padded with zeros to the
// run's length (labels/####.png gives labels/0007.png), every {NAME} the record's cell of the
// column NAME, in any letter case ({Text} is the text drawn when no column has that name).
// A cell becomes a file name only when it is a safe one, so nothing is written outside the
// pattern's folders.
class OutputPattern {
  public:
    // The pattern, or why it is none: a { without its }, an empty {}.
    static std::variant<OutputPattern, std::string> Parse(std::string_view pattern);

    // Whether every record gets a name of its own from a number or a column.
    bool NamesRecords() const;
    bool NamesColumns() const;
    // Finds every {NAME} among the list's columns; why not when one names none.
    std::string Bind(const std::vector<std::string>& columns);
    bool UsesColumn(std::size_t column) const;
    // The folder every record's file lies in, however deep below: the pattern up to the last
    // '/' before its first # or {}; "." when there is none.
    std::string FixedFolder() const;
    // Whether a file name could be one of the pattern's, as its part after the last '/'
    // names them.
    bool MatchesLeaf(std::string_view leaf) const;
    // The text the pattern ends in after its last # or {}: what every name ends in.
    std::string FixedEnding() const;

    // The record's file, or why it has none (error set).
    struct Name {
        std::string path;
        std::string error;
    };
    Name Expand(std::int64_t number, std::string_view text,
                const std::vector<std::string>& cells) const;

  private:
    struct Part {
        enum class Kind { Literal, Number, Column } kind;
        std::string text;          // the literal, or the column's name
        std::size_t width = 0;     // a number's run of #
        std::int64_t column = -1;  // bound column, -1 for the record's text
    };
    std::vector<Part> parts_;
};

// Why a value cannot be a file name (empty, ".", "..", a '/', a control or bidirectional
// character, a byte-order mark, no UTF-8, longer than 255 bytes), or nothing when it can.
std::string_view UnsafeFileName(std::string_view value);

}  // namespace qv::cli
