#pragma once

#include <string>
#include <string_view>

#include "log/separators.h"

namespace loglezer {

// Writes `value` by a number pattern such as "#,##0.### GB": 0 and # are
// digit places, the first "." places the decimal separator and fixes the
// number of decimals, any "," asks for thousands grouping, every other
// character is copied after the digits. The regional separators are written
// instead of the pattern's own.
std::string format_value(double value, std::string_view pattern, const Separators& seps);

// An amount in bytes in GB with two decimals and the separators:
// "1,234.57 GB".
std::string gigabytes_text(long double bytes, const Separators& seps);

}  // namespace loglezer
