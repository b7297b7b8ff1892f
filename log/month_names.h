#pragma once

#include <optional>
#include <string_view>

namespace loglezer {

// Translates between the log's English month abbreviations and the Dutch
// month names. Runs 24 tests in order ("Jan" -> "Januari" ... "Dec" ->
// "December", then "Januari" -> "Jan" ... "December" -> "Dec") and returns
// the result of the last test whose search text occurs in `text` (exact
// case); nothing when none does. The caller stores a result in the current
// month name and leaves that name as it was when there is none.
std::optional<std::string_view> look_up_month(std::string_view text);

// The month (1 to 12) of one of the log's twelve abbreviations "Jan" ..
// "Dec", letter case as shown; 0 for any other text.
int month_of_abbrev(std::string_view text);

// The Dutch name of month 1 to 12 ("Januari" .. "December").
std::string_view dutch_month_name(int month);

}  // namespace loglezer
