#pragma once

// A scratch vnStat database of 10 years of days for 3 interfaces (eth0,
// wlan0, wwan0), made by vnStat, and a log of the same days of one
// interface beside it; both removed at the end of the run.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/log/vnstat_database.h"
#include "tools/loggen.h"

namespace bench_support {

namespace fs = std::filesystem;

inline constexpr int kDays = 3653;

struct TenYearVnstat {
    fs::path dir = fs::temp_directory_path() / ("loglezer_bench_vnstat_" + std::to_string(::getpid()));
    TenYearVnstat() {
        std::vector<loglezer::test::VnstatDayRow> days;
        std::ofstream log(dir.string() + ".csv", std::ios::binary);
        for (int i = 0; i < kDays; ++i) {
            const loglezer::tools::Date d = loglezer::tools::add_days({2015, 1, 1}, i);
            const auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
            const std::string iso = std::to_string(d.year) + "-" + two(d.month) + "-" + two(d.day);
            const long long rx = 1000000007LL * (i % 97 + 1);
            const long long tx = 300000011LL * (i % 13 + 1);
            for (const char* name : {"eth0", "wlan0", "wwan0"}) days.push_back({name, iso, rx, tx});
            log << loglezer::tools::date_field(d) << "," << rx << "," << tx << ",\r\n";
        }
        loglezer::test::make_vnstat_database(dir, true, {{"eth0", ""}, {"wlan0", ""}, {"wwan0", ""}}, days);
    }
    ~TenYearVnstat() {
        fs::remove_all(dir);
        fs::remove(dir.string() + ".csv");
    }
};

inline const TenYearVnstat& ten_year_vnstat() {
    static const TenYearVnstat s;
    return s;
}

}  // namespace bench_support
