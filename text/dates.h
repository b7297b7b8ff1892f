#pragma once

// Days and months as the programs write them, in English and in Dutch, and
// a month as a command line names it.
#include <optional>
#include <string>
#include <string_view>

#include "log/calendar.h"

namespace loglezer {

// "2023-03-14"
std::string iso_date(const LogDate& date);
// "2023-03"; "2023" with month 0.
std::string iso_month(int year, int month = 0);
// "14 June 2022"
std::string english_date(const LogDate& date);
// A day as the window writes it: its number as given, the Dutch month
// name, and the year when one is given: "14 Juni 2022", "01 Januari 2005"
// (a log line's day, as the line writes its number), "19 Juni".
std::string dutch_day(std::string_view day, std::string_view month_name, std::string_view year = {});
// "14 Juni 2022": dutch_day of a date.
std::string dutch_date(const LogDate& date);

// "January" .. "December" for 1 .. 12.
std::string_view english_month_name(int month);

// The month a command line names: a number 1 to 12 with or without a
// leading zero, a Dutch or an English month name, or an English three-letter
// abbreviation, in any letter case. Nothing for any other text.
std::optional<int> month_from_argument(std::string_view text);
// The month whose Dutch name the text is, in any letter case ("maart");
// nothing for any other text.
std::optional<int> dutch_month_of(std::string_view text);

}  // namespace loglezer
