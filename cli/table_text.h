#pragma once

// The texts of loglezer-stats' table forms, which line up in columns.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace loglezer::cli {

// A log text as the table and CSV show it: UTF-8 with control characters as '?'.
std::string shown_text(std::string_view log_text);

// Characters of a UTF-8 text, for lining up columns.
std::size_t display_width(std::string_view text);
// Pads a UTF-8 text with blanks to `width` characters.
std::string pad_left(const std::string& text, std::size_t width);
std::string pad_right(const std::string& text, std::size_t width);

// Rows of three columns, one line each: the first column padded on the
// right, the others on the left, each as wide as its widest text, two
// blanks between them.
using TableRow = std::array<std::string, 3>;
std::string table_lines(const std::vector<TableRow>& rows);

// Rows of any number of columns, lined up the same way: a column whose
// letter in `align` is 'L' padded on the right, any other on the left;
// no blank at the end of a line.
std::string column_lines(const std::vector<std::vector<std::string>>& rows, std::string_view align);

}  // namespace loglezer::cli
