#include "stats/billing_period.h"

namespace loglezer {
namespace {

// The month after year/month.
void next_month(int& year, int& month) {
    if (++month > 12) {
        month = 1;
        ++year;
    }
}

// The period that starts on `start_day` of year/month.
BillingPeriod period_from(int year, int month, int start_day) {
    const LogDate start{year, month, start_day};
    if (start_day == 1) return {start, {year, month, days_in_month(year, month)}};
    next_month(year, month);
    return {start, {year, month, start_day - 1}};
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
    // Before the start day the period began in the month before.
    if (day.day < start_day && --month < 1) {
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
