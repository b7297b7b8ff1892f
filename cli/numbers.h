#pragma once

// The numbers of loglezer-stats' output forms.
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace loglezer::cli {

// Whether the text is decimal digits alone (true for the empty text).
bool all_digits(std::string_view text);

// The numbers of CSV and JSON, with "." as the decimal point and no digit
// grouping under every locale: written with std::to_chars and nlohmann's
// own double writer, never with printf, whose decimal point follows the
// locale the program runs in.

// A number with a fixed count of decimals: 1.5 with 2 is "1.50".
std::string fixed_text(double value, int decimals);

// A chart value as a JSON number, at the 15 significant digits a mark is
// written with: 1.40 GB is 1.4, not the 1.4000000000000001 that the rounding
// leaves in the double. JSON has no infinity: null.
nlohmann::ordered_json json_number(double value);

// An amount in bytes as read from the log: a whole number below 2^63 as an
// integer, written without exponent; any other as a number (null when it
// is no finite number).
nlohmann::ordered_json json_bytes(long double bytes);
// The same as the CSV writes it; a sum beyond the range of a double with
// 17 significant digits ("3.1e+308").
std::string bytes_text(long double bytes);

// Sets object[key] to a chart value or an amount in bytes. One beyond the
// range of a double, which JSON readers cannot hold, is written as the
// largest double (or its negative) and gives true: its object then gets
// "overflow": true after its other fields (mark_overflow), so that a script
// reads a number wherever it expects one and can tell it from the figure.
bool set_value(nlohmann::ordered_json& object, const char* key, double value);
bool set_bytes(nlohmann::ordered_json& object, const char* key, long double bytes);
void mark_overflow(nlohmann::ordered_json& object, bool overflow);

}  // namespace loglezer::cli
