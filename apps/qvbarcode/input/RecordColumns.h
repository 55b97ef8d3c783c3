// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qv::cli {

// The column of the list named name, in any letter case; or why there is none.
std::variant<std::size_t, std::string> FindColumn(const std::vector<std::string>& columns,
                                                  std::string_view name, std::string_view option);

// A line of text with the record's cells in it: every {NAME} is the cell of the column NAME
// ({Text} the text drawn when no column has that name); the rest is as written.
class CellText {
  public:
    // The text bound to the list's columns, or why a {NAME} names none.
    static std::variant<CellText, std::string> Bind(std::string_view text,
                                                    const std::vector<std::string>& columns);
    std::string Expand(std::string_view recordText, const std::vector<std::string>& cells) const;
    bool UsesColumn(std::size_t column) const;

  private:
    struct Part {
        std::string literal;
        std::optional<std::size_t> column;  // none: the literal; npos: the record's text
    };
    std::vector<Part> parts_;
};

// A record's copies from its cell: a whole number from 0 (a record printed none of) to
// 100000; nothing when the cell is none.
std::optional<std::int32_t> CopiesOf(std::string_view cell);

}  // namespace qv::cli
