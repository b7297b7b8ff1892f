#pragma once

#include <cstdint>
#include <string>

namespace loglezer::tools {

// A calendar day.
struct Date {
    int year;
    int month;  // 1..12
    int day;    // 1..31
};

struct LogShape {
    Date first;                 // the date of the first line
    int days;                   // number of calendar days covered
    std::uint64_t seed = 1;     // same seed, same log
    int skip_per_mille = 3;     // chance per day (in 1/1000) that the day has no line
    bool skip_new_year = true;  // leave out 1 January of the second new year in the log
    const char* line_break = "\r\n";
};

// A traffic log in the metering program's layout,
// "dd-Mon-yyyy,download,upload,total," per day: a few hundred MB to several
// GB a day, busier weekends, slow growth over the years, a few days missing.
std::string generate_log(const LogShape& shape);

// The demo log's shape: about four years from 14 June 2022, with the line of
// 1 January 2024 missing.
LogShape demo_shape();

// The benchmarks' shape: `days` lines, one for every day from 1 January
// 1000 (1,000,000 days reach into the year 3737), none missing.
LogShape bench_shape(int days);

// Date arithmetic used by the generator (and by tests that build logs).
Date add_days(Date d, int days);
int weekday(Date d);  // 0 = Monday .. 6 = Sunday
// "dd-Mon-yyyy"
std::string date_field(Date d);

}  // namespace loglezer::tools
