#include "allowance/allowance_figures.h"

#include <bitset>
#include <cstdint>

#include "log/failure.h"
#include "log/line_format.h"
#include "log/number_text.h"

namespace loglezer {
namespace {

// The date of the line at `index`, read as the viewer reads it: a failure
// names the line.
LogDate read_date(const LineList& lines, long long index) {
    return lines.noting_line(index, [&] {
        const std::string_view line = lines.at(index);
        check_date(line);
        const std::optional<LogDate> date = read_log_date(line);
        if (!date) fail_date(up_to_comma(line));
        return *date;
    });
}

// Reads every line's date and calls add(date, its day number, download,
// upload) for each line dated from day number `from` to `to`, whose
// amounts alone are read.
template <class Add>
void add_lines(const LineList& lines, long long from, long long to, const Separators& seps, Add&& add) {
    for (long long index = 0; index < lines.count(); ++index) {
        const LogDate date = read_date(lines, index);
        const long long day = day_number(date);
        if (day < from || day > to) continue;
        lines.noting_line(index, [&] {
            const AmountTexts texts = amount_texts(lines.at(index), DateSkip::FirstTwelve);
            const long double download = text_to_float(texts.download, seps);
            add(date, day, download, text_to_float(texts.upload, seps));
        });
    }
}

// The days of the period up to today as read, and the sums of the figures.
void add_days(AllowanceFigures& f, const LineList& lines, Counted counts, const Separators& seps) {
    const long long start = day_number(f.period.start);
    f.days.resize(static_cast<std::size_t>(f.day));
    add_lines(lines, start, day_number(f.today), seps,
              [&](const LogDate&, long long day, long double download, long double upload) {
                  DayTraffic& traffic = f.days[static_cast<std::size_t>(day - start)];
                  traffic.download += download;
                  traffic.upload += upload;
                  traffic.has_line = true;
              });
    for (const DayTraffic& traffic : f.days) {
        f.download += traffic.download;
        f.upload += traffic.upload;
        f.days_without_line += traffic.has_line ? 0 : 1;
        f.running_totals.push_back(counted_bytes(f.download, f.upload, counts));
    }
    f.used = counted_bytes(f.download, f.upload, counts);
}

}  // namespace

LogSpan log_span(const LineList& lines) {
    const LogDate first = read_date(lines, 0);
    LogSpan span{first, first, first};
    for (long long index = 1; index < lines.count(); ++index) {
        span.last = read_date(lines, index);
        if (day_number(span.last) < day_number(span.earliest)) span.earliest = span.last;
    }
    return span;
}

std::string_view status_name(AllowanceStatus status) {
    switch (status) {
        case AllowanceStatus::Pace:
            return "pace";
        case AllowanceStatus::Over:
            return "over";
        case AllowanceStatus::Under:
            break;
    }
    return "under";
}

long double counted_bytes(long double download, long double upload, Counted counts) {
    switch (counts) {
        case Counted::Download:
            return download;
        case Counted::Upload:
            return upload;
        case Counted::Both:
            break;
    }
    return download + upload;
}

AllowanceFigures allowance_figures(const LineList& lines, const AllowanceSettings& settings, const LogDate& today,
                                   const Separators& seps) {
    AllowanceFigures f;
    f.today = today;
    f.period = billing_period(today, settings.start_day);
    f.day = f.period.day_of(today);
    f.days_left = f.period.days() - f.day;
    f.limit = settings.limit.value_or(0);
    add_days(f, lines, settings.counts, seps);
    f.percent = f.used * 100 / f.limit;
    f.left = f.limit - f.used;
    if (f.days_left > 0) f.per_day_left = (f.left > 0 ? f.left : 0) / f.days_left;
    const int days = f.period.days();
    f.estimate = f.used * days / f.day;
    // Compared without the division, which could round an estimate of
    // exactly the limit to just above it.
    if (f.used > f.limit) {
        f.status = AllowanceStatus::Over;
    } else if (f.used * days > f.limit * f.day) {
        f.status = AllowanceStatus::Pace;
    }
    return f;
}

bool has_reached(const AllowanceFigures& figures, long double percent) {
    return figures.used * 100 >= percent * figures.limit;
}

std::vector<PeriodTotals> period_totals(const LineList& lines, const AllowanceSettings& settings, const LogSpan& span,
                                        const LogDate& today, const Separators& seps) {
    std::vector<PeriodTotals> periods;
    const long long last_day = day_number(today);
    for (BillingPeriod period = billing_period(span.earliest, settings.start_day); day_number(period.start) <= last_day;
         period = next_billing_period(period, settings.start_day)) {
        periods.push_back({period, 0, 0, 0, 0, period.holds(today)});
    }
    if (periods.empty()) return periods;
    // Each period starts in the month after the one before, so a period's
    // place is its start's month counted from the first's.
    const LogDate& start = periods.front().period.start;
    const int first_month = start.year * 12 + start.month;
    // The days with a line of each period, one bit per day: 31 at most.
    std::vector<std::uint32_t> days_seen(periods.size());
    add_lines(lines, day_number(start), last_day, seps,
              [&](const LogDate& date, long long, long double download, long double upload) {
                  const BillingPeriod period = billing_period(date, settings.start_day);
                  const auto i = static_cast<std::size_t>(period.start.year * 12 + period.start.month - first_month);
                  periods[i].download += download;
                  periods[i].upload += upload;
                  days_seen[i] |= std::uint32_t{1} << (period.day_of(date) - 1);
              });
    for (std::size_t i = 0; i < periods.size(); ++i) {
        periods[i].used = counted_bytes(periods[i].download, periods[i].upload, settings.counts);
        periods[i].days_with_line = static_cast<int>(std::bitset<32>(days_seen[i]).count());
    }
    return periods;
}

Staleness log_staleness(const LogDate& last_line, const LogDate& today) {
    return {last_line, day_number(today) - day_number(last_line)};
}

}  // namespace loglezer
