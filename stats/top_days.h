#pragma once

#include <optional>
#include <vector>

#include "log/calendar.h"
#include "log/line_list.h"
#include "log/separators.h"
#include "text/number_format.h"

namespace loglezer {

struct TopDay {
    long long line;  // index from 0
    LogDate date;
    long double bytes;  // as read
    double gigabytes;   // as the daily chart shows it, in its units
};

struct TopDays {
    std::vector<TopDay> download, upload;  // largest first
};

// The `count` days with the largest download and, apart, those with the
// largest upload, of the whole log or of the lines whose year (characters 8
// to 11) reads as `year`; ties in log order. A line is read as the daily view
// reads it, and a date that is no day of the calendar fails like a date
// the view cannot read; a failure names the line.
TopDays top_days(const LineList& lines, long long count, std::optional<int> year, const Separators& seps,
                 UnitMode units);

}  // namespace loglezer
