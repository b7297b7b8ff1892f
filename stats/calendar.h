#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace loglezer {

// A day of the (proleptic Gregorian) calendar.
struct LogDate {
    int year;
    int month;  // 1..12
    int day;    // 1..31
};

// The date a line begins with, when its first 11 characters are
// "dd-Mon-yyyy": two digits, one of "Jan" .. "Dec" as the log writes them,
// four digits, and a day the month has (29 February in leap years only).
// Nothing otherwise; what follows the 11 characters is not looked at.
std::optional<LogDate> read_log_date(std::string_view line);

// Whether the form is "dd-Mon-yyyy" as above, whatever the day number.
bool has_log_date_form(std::string_view text);

// The number of days of the month: 28 to 31.
int days_in_month(int year, int month);

// Days since 1 January 1970 (negative before): one more for each next day.
long long day_number(const LogDate& date);

// "2023-03-14"
std::string iso_date(const LogDate& date);
// "2023-03"; "2023" with month 0.
std::string iso_month(int year, int month = 0);
// "14 June 2022"
std::string english_date(const LogDate& date);
// "14 Juni 2022", as the window writes a day.
std::string dutch_date(const LogDate& date);

// "January" .. "December" for 1 .. 12.
std::string_view english_month_name(int month);

// The month a command line names: a number 1 to 12 with or without a
// leading zero, a Dutch or an English month name, or an English three-letter
// abbreviation, in any letter case. Nothing for any other text.
std::optional<int> month_from_argument(std::string_view text);

}  // namespace loglezer
