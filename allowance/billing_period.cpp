#include "allowance/billing_period.h"

#include <algorithm>

namespace loglezer {
namespace {

// The day a period starts on in year/month: the start day, or the month's
// last day when it is shorter.
int start_in(int year, int month, int start_day) { return std::min(start_day, days_in_month(year, month)); }

// The period that starts in year/month: up to the day before the next
// one starts.
BillingPeriod period_from(int year, int month, int start_day) {
    const LogDate start{year, month, start_in(year, month, start_day)};
    const int month_days = days_in_month(year, month);
    next_month(year, month);
    const int next_start = start_in(year, month, start_day);
    if (next_start == 1) return {start, {start.year, start.month, month_days}};
    return {start, {year, month, next_start - 1}};
}

}  // namespace

int BillingPeriod::days() const { return static_cast<int>(day_number(end) - day_number(start)) + 1; }

bool BillingPeriod::holds(const LogDate& day) const {
    const long long n = day_number(day);
    return n >= day_number(start) && n <= day_number(end);
}

int BillingPeriod::day_of(const LogDate& day) const {
    return static_cast<int>(day_number(day) - day_number(start)) + 1;
}

BillingPeriod billing_period(const LogDate& day, int start_day) {
    int year = day.year;
    int month = day.month;
    // Before the period starts in this month it began in the month before.
    if (day.day < start_in(year, month, start_day) && --month < 1) {
        month = 12;
        --year;
    }
    return period_from(year, month, start_day);
}

BillingPeriod next_billing_period(const BillingPeriod& period, int start_day) {
    int year = period.start.year;
    int month = period.start.month;
    next_month(year, month);
    return period_from(year, month, start_day);
}

}  // namespace loglezer
