#pragma once

// The figures of the allowance: what the current billing period has used,
// what is left and where its pace leads, and the periods of the log.
#include <optional>
#include <string_view>
#include <vector>

#include "allowance/allowance.h"
#include "allowance/billing_period.h"
#include "log/calendar.h"
#include "log/line_list.h"
#include "log/separators.h"

namespace loglezer {

// The dates of the log's first and last line, and the earliest date of any
// line, which lies before the first line's in a log out of order. Reads
// every line's date: the first that is no date of the calendar in the form
// dd-Mon-yyyy fails with the viewer's message ("'1-Jan-2005' is not a valid
// date") and names its line; an empty log fails with "List index out of
// bounds (0)".
struct LogSpan {
    LogDate first;
    LogDate last;
    LogDate earliest;
};
LogSpan log_span(const LineList& lines);

// How long the log has had no new line: a metering program that has
// stopped writes none, and its pace then looks low.
struct Staleness {
    static constexpr long long kStaleDays = 2;  // from this many days on, the log is stale

    LogDate last_line;   // the date of the log's last line
    long long days = 0;  // from that date to today: 0 for a line of today
    bool stale() const { return days >= kStaleDays; }
};
Staleness log_staleness(const LogDate& last_line, const LogDate& today);

// Where the use of a period stands against the limit.
enum class AllowanceStatus {
    Under,  // neither of the two below
    Pace,   // the estimate for the whole period is more than the limit
    Over,   // the use is more than the limit
};
// "under", "pace" or "over".
std::string_view status_name(AllowanceStatus status);

// The traffic of one day: the sums of its lines, in bytes.
struct DayTraffic {
    long double download = 0;
    long double upload = 0;
    bool has_line = false;
};

// The bytes that count of a day's (or a period's) download and upload.
long double counted_bytes(long double download, long double upload, Counted counts);

// The current period of an allowance on the reference day `today` (the
// date of the log's last line, or a day the user names). Bytes are the
// exact sums of the lines' amounts; every figure is unrounded.
struct AllowanceFigures {
    LogDate today;
    BillingPeriod period;       // the one holding today
    int day = 0;                // today's place in the period, from 1
    int days_left = 0;          // the days of the period after today
    int days_without_line = 0;  // from the period's start to today, also those before the log or after it
    long double limit = 0;
    long double download = 0, upload = 0;
    long double used = 0;     // what counts of the two
    long double percent = 0;  // used, in percent of the limit
    long double left = 0;     // limit - used; negative when over
    // What may still be used per day after today: left (0 when over) over
    // the days left; nothing when no day is left.
    std::optional<long double> per_day_left;
    long double estimate = 0;  // the whole period at the pace so far: used / day * days
    AllowanceStatus status = AllowanceStatus::Under;
    // Each day from the period's start up to today, for the picture of the
    // period: its traffic, and the running total of what counts up to and
    // with that day.
    std::vector<DayTraffic> days;
    std::vector<long double> running_totals;
};

// The figures of the period that holds `today`, for the limit of
// `settings` (which must be set), its start day and what it counts. Reads
// every line's date and the amounts of the lines dated from the period's
// start up to today only (lines after today are left out); a line that
// cannot be read fails with the viewer's message and names the line.
AllowanceFigures allowance_figures(const LineList& lines, const AllowanceSettings& settings, const LogDate& today,
                                   const Separators& seps);

// Whether the use has reached `percent` of the limit.
bool has_reached(const AllowanceFigures& figures, long double percent);

// One billing period of the log, counted up to the reference day.
struct PeriodTotals {
    BillingPeriod period;
    long double download = 0, upload = 0;
    long double used = 0;    // what counts of the two
    int days_with_line = 0;  // the days of the period with a line, up to the reference day
    bool current = false;    // it holds the reference day
};

// The periods starting on `settings.start_day` from the one that holds the
// earliest date of the lines (`span`, their log_span) up to the one that
// holds `today`, in order, each line counted in the period of its date, so
// that none is lost when the log is out of order. Reads the lines as
// allowance_figures does.
std::vector<PeriodTotals> period_totals(const LineList& lines, const AllowanceSettings& settings, const LogSpan& span,
                                        const LogDate& today, const Separators& seps);

}  // namespace loglezer
