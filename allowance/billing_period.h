#pragma once

#include "log/calendar.h"

namespace loglezer {

// The days a provider's allowance holds for: from the start day of one
// month up to the day before the start day of the next month. A period that
// starts on the 1st is a calendar month; one that starts on the 14th runs
// from 14 November to 13 December. In a month without the start day (the
// 29th to the 31st) the period starts on the month's last day: with the
// 31st, 31 January to 27 February, 28 February to 30 March, 31 March to
// 29 April.
struct BillingPeriod {
    LogDate start;
    LogDate end;  // its last day

    // The number of its days: 28 to 31.
    int days() const;
    // Whether the day lies in it, its first and last day included.
    bool holds(const LogDate& day) const;
    // The day's place in it: 1 for its start, days() for its end; below 1
    // before it and above days() after it.
    int day_of(const LogDate& day) const;
};

// The days of the month a period may start on.
inline constexpr int kFirstStartDay = 1;
inline constexpr int kLastStartDay = 31;

// The period that holds `day`, for periods that start on `start_day`
// (kFirstStartDay to kLastStartDay).
BillingPeriod billing_period(const LogDate& day, int start_day);

// The period right after `period`, which starts on `start_day`.
BillingPeriod next_billing_period(const BillingPeriod& period, int start_day);

}  // namespace loglezer
