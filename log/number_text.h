#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "log/separators.h"

namespace loglezer {

// Converts a decimal amount text: blanks, an optional sign, digits, optionally
// the regional decimal separator and more digits, optionally an exponent (E or
// e, optional sign, digits), blanks. Anything else, and a value beyond the
// range of a double, fails with "'text' is not a valid floating point value".
long double text_to_float(std::string_view text, const Separators& seps);

// The value of a text of 1 to 19 decimal digits and nothing else (no blank,
// sign, fraction or exponent), the form of every byte count in a log; false
// for any other text. Such a value is exact in 64 bits, and text_to_float
// gives the same value, exactly, in the 64-bit significand of long double.
bool plain_digits_value(std::string_view text, std::uint64_t& value);

// Converts blanks, an optional sign and decimal digits into a whole number;
// anything else, and a number outside the int range, fails with
// "'text' is not a valid integer value".
int text_to_int(std::string_view text);
// The same rules without the failure: nothing when the text is no whole
// number in the int range.
std::optional<int> parse_int(std::string_view text);

}  // namespace loglezer
