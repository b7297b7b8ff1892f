#pragma once

#include <functional>
#include <optional>
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

// The day after `date`, and the month after year/month.
LogDate next_day(LogDate date);
void next_month(int& year, int& month);

// Today's date on the system's clock, in local time.
LogDate system_today();
// What tells the programs today's date: system_today, or in a test a day of
// its own.
using Clock = std::function<LogDate()>;

}  // namespace loglezer
