#include "log/calendar.h"

#include <ctime>

#include "log/month_names.h"

namespace loglezer {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
int digit(char c) { return c - '0'; }

bool is_leap_year(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// The month of a text of the form "dd-Mon-yyyy" (what follows its first 11
// characters aside), or 0 for another text.
int form_month(std::string_view text) {
    if (text.size() < 11 || text[2] != '-' || text[6] != '-') return 0;
    for (const std::size_t i : {0, 1, 7, 8, 9, 10}) {
        if (!is_digit(text[i])) return 0;
    }
    return month_of_abbrev(text.substr(3, 3));
}

}  // namespace

int days_in_month(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && is_leap_year(year) ? 29 : kDays[month - 1];
}

bool has_log_date_form(std::string_view text) { return form_month(text) != 0; }

std::optional<LogDate> read_log_date(std::string_view line) {
    LogDate date{};
    date.month = form_month(line);
    if (date.month == 0) return std::nullopt;
    date.day = digit(line[0]) * 10 + digit(line[1]);
    date.year = ((digit(line[7]) * 10 + digit(line[8])) * 10 + digit(line[9])) * 10 + digit(line[10]);
    if (date.day < 1 || date.day > days_in_month(date.year, date.month)) return std::nullopt;
    return date;
}

long long day_number(const LogDate& date) {
    // Counted from 1 March of year 0, so that the leap day ends a year.
    const long long year = date.month <= 2 ? date.year - 1LL : date.year;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long year_of_era = year - era * 400;
    const long long day_of_year = (153 * (date.month > 2 ? date.month - 3 : date.month + 9) + 2) / 5 + date.day - 1;
    const long long day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

LogDate next_day(LogDate date) {
    if (++date.day <= days_in_month(date.year, date.month)) return date;
    date.day = 1;
    next_month(date.year, date.month);
    return date;
}

void next_month(int& year, int& month) {
    if (++month > 12) {
        month = 1;
        ++year;
    }
}

LogDate system_today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace loglezer
