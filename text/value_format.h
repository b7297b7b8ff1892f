#pragma once

#include <string>
#include <string_view>

#include "log/separators.h"
#include "text/number_format.h"

namespace loglezer {

// Writes `value` by a number pattern such as "#,##0.### GB": 0 and # are
// digit places, the first "." places the decimal separator and fixes the
// number of decimals, any "," asks for thousands grouping, every other
// character is copied after the digits. The regional separators are written
// instead of the pattern's own.
std::string format_value(double value, std::string_view pattern, const Separators& seps);

// A figure already in GB with two decimals and the separators, as a bar's
// tooltip and the largest days write it: "1,234.57 GB".
std::string gigabytes_text(double gigabytes, const Separators& seps);

// The unit an amount of the allowance is written in: a gigabyte below a
// terabyte, from there a terabyte; of 10^9 and 10^12 bytes (GB, TB) or of
// 2^30 and 2^40 bytes (GiB, TiB), as the limit was written.
struct AmountUnit {
    long double bytes;
    const char* name;  // "GB", "TB", "GiB" or "TiB"
};
AmountUnit amount_unit(long double bytes, UnitMode units);

// An amount of the allowance in its unit with two decimals: "412.30 GB",
// "1.02 TiB".
std::string amount_text(long double bytes, UnitMode units, const Separators& seps);

}  // namespace loglezer
