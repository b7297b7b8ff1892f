#include "text/dates.h"

#include <cstdio>

#include "log/month_names.h"
#include "log/plain_text.h"

namespace loglezer {
namespace {

constexpr std::string_view kEnglishMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                                 "July",    "August",   "September", "October", "November", "December"};

bool is_digit(char c) { return c >= '0' && c <= '9'; }
int digit(char c) { return c - '0'; }

}  // namespace

std::string iso_date(const LogDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::string iso_month(int year, int month) {
    char text[32];
    if (month == 0) {
        std::snprintf(text, sizeof text, "%04d", year);
    } else {
        std::snprintf(text, sizeof text, "%04d-%02d", year, month);
    }
    return text;
}

std::string english_date(const LogDate& date) {
    return std::to_string(date.day) + " " + std::string(english_month_name(date.month)) + " " +
           std::to_string(date.year);
}

std::string dutch_day(std::string_view day, std::string_view month_name, std::string_view year) {
    std::string text(day);
    text += ' ';
    text += month_name;
    if (!year.empty()) {
        text += ' ';
        text += year;
    }
    return text;
}

std::string dutch_date(const LogDate& date) {
    return dutch_day(std::to_string(date.day), dutch_month_name(date.month), std::to_string(date.year));
}

std::string_view english_month_name(int month) { return kEnglishMonths[month - 1]; }

std::optional<int> month_from_argument(std::string_view text) {
    if (!text.empty() && text.size() <= 2 && is_digit(text[0]) && is_digit(text.back())) {
        const int number = text.size() == 1 ? digit(text[0]) : digit(text[0]) * 10 + digit(text[1]);
        if (number >= 1 && number <= 12) return number;
        return std::nullopt;
    }
    for (int month = 1; month <= 12; ++month) {
        const std::string_view english = english_month_name(month);
        if (same_letters(text, english) || same_letters(text, english.substr(0, 3)) ||
            same_letters(text, dutch_month_name(month))) {
            return month;
        }
    }
    return std::nullopt;
}

std::optional<int> dutch_month_of(std::string_view text) {
    for (int month = 1; month <= 12; ++month) {
        if (same_letters(text, dutch_month_name(month))) return month;
    }
    return std::nullopt;
}

}  // namespace loglezer
