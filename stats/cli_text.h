#pragma once

// The text helpers of loglezer-stats' output forms.
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "stats/terminal_text.h"

namespace loglezer::cli {

// A log text as the table and CSV show it: UTF-8 with control characters as '?'.
std::string shown_text(std::string_view log_text);

// Pads a UTF-8 text with blanks to `width` characters.
std::string pad_left(const std::string& text, std::size_t width);
std::string pad_right(const std::string& text, std::size_t width);
// Characters of a UTF-8 text, for lining up columns.
std::size_t display_width(std::string_view text);

// A CSV field, quoted when it holds a separator, a quote or a line break.
std::string csv_field(const std::string& text);

// A chart value as a JSON number, at the 15 significant digits a mark is
// written with: 1.40 GB is 1.4, not the 1.4000000000000001 that the rounding
// leaves in the double. JSON has no infinity: null.
nlohmann::ordered_json json_number(double value);

// An amount in bytes as read from the log: a whole number below 2^63 as an
// integer, written without exponent; any other as a number (null when it
// is no finite number).
nlohmann::ordered_json json_bytes(long double bytes);
// The same as the CSV writes it.
std::string bytes_text(long double bytes);

}  // namespace loglezer::cli
