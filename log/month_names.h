#pragma once

#include <string_view>

#include "log/shared_state.h"

namespace loglezer {

// Translates between the log's English month abbreviations and the Dutch
// month names. Runs 24 tests in order ("Jan" -> "Januari" ... "Dec" ->
// "December", then "Januari" -> "Jan" ... "December" -> "Dec"); every test
// whose search text occurs in `text` (exact case) writes its result into the
// current month name, so the last match wins. No match leaves it unchanged.
void setmonth(std::string_view text, SharedState& shared);

// Whether the text is one of the twelve abbreviations "Jan" .. "Dec",
// letter case as shown.
bool is_month_abbrev(std::string_view text);

// The Dutch name of month 1 to 12 ("Januari" .. "December").
std::string_view dutch_month_name(int month);

}  // namespace loglezer
