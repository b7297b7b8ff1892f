#pragma once

#include <optional>
#include <string_view>

namespace loglezer {

// The month a command-line argument names, 1 to 12: its number (with or
// without a leading zero), its Dutch name, its English name or the English
// three-letter abbreviation the log uses, in any letter case ("3", "03",
// "maart", "March", "MAR"). Nothing for anything else.
std::optional<int> month_argument(std::string_view text);

}  // namespace loglezer
