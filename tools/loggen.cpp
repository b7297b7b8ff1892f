#include "tools/loggen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace loglezer::tools {
namespace {

constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Days since 1970-01-01 and back (H. Hinnant's civil calendar algorithms).
long long days_from_civil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

Date civil_from_days(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// A small fixed generator (splitmix64), so the log is the same on every
// machine and library version.
struct Random {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
};

}  // namespace

Date add_days(Date d, int days) { return civil_from_days(days_from_civil(d.year, d.month, d.day) + days); }

int weekday(Date d) {
    const long long z = days_from_civil(d.year, d.month, d.day);
    return static_cast<int>(((z + 3) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
}

std::string date_field(Date d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d-%s-%04d", d.day, kMonths[d.month - 1], d.year);
    return buf;
}

std::string generate_log(const LogShape& shape) {
    Random rnd{shape.seed};
    std::string out;
    out.reserve(static_cast<std::size_t>(shape.days) * 48);
    int new_years = 0;
    for (int i = 0; i < shape.days; ++i) {
        const Date d = add_days(shape.first, i);
        const bool new_year = d.month == 1 && d.day == 1;
        if (new_year) ++new_years;
        const double skip = rnd.uniform();
        if (shape.skip_new_year && new_year && new_years == 2) continue;
        if (!new_year && skip * 1000 < shape.skip_per_mille) continue;

        // About 0.9 GB a weekday in the first year, growing ~25 % a year for
        // ten years and level after that (very long logs are for benchmarks);
        // weekends half again as busy; a day varies from a third to three
        // times the usual.
        const double years = std::min(i / 365.25, 10.0);
        const bool weekend = weekday(d) >= 5;
        const double base = 0.9e9 * std::pow(1.25, years) * (weekend ? 1.5 : 1.0);
        const double spread = std::exp((rnd.uniform() - 0.5) * 2.2);
        const auto down = static_cast<std::uint64_t>(base * spread);
        const auto up = static_cast<std::uint64_t>(down * (0.06 + 0.12 * rnd.uniform()));
        char buf[96];
        std::snprintf(buf, sizeof buf, "%s,%llu,%llu,%llu,%s", date_field(d).c_str(),
                      static_cast<unsigned long long>(down), static_cast<unsigned long long>(up),
                      static_cast<unsigned long long>(down + up), shape.line_break);
        out += buf;
    }
    return out;
}

LogShape demo_shape() {
    LogShape shape;
    shape.first = {2022, 6, 14};
    shape.days = 4 * 365 + 1;
    shape.seed = 20220614;
    return shape;
}

LogShape bench_shape(int days) {
    LogShape shape;
    shape.first = {1000, 1, 1};
    shape.days = days;
    shape.skip_per_mille = 0;
    shape.skip_new_year = false;
    return shape;
}

}  // namespace loglezer::tools
