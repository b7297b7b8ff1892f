// loglezer-stats per year as a user runs it, a child process from start to
// exit: on a vnStat database of 10 years of days for 3 interfaces, and on a
// log of the same days of one interface. The database is made by vnStat.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/log/vnstat_database.h"
#include "tools/loggen.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDays = 3653;

struct Scratch {
    fs::path dir = fs::temp_directory_path() / ("loglezer_bench_vnstat_" + std::to_string(::getpid()));
    Scratch() {
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
    ~Scratch() {
        fs::remove_all(dir);
        fs::remove(dir.string() + ".csv");
    }
};

const Scratch& scratch() {
    static const Scratch s;
    return s;
}

void run_stats(benchmark::State& state, const std::string& args) {
    const std::string command = "'" LOGLEZER_STATS_EXE "' " + args + " >/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("loglezer-stats failed");
    }
}

void BM_PerYearOfVnstatDatabase(benchmark::State& state) {
    run_stats(state, "--log '" + (scratch().dir / "db" / "vnstat.db").string() + "' --interface eth0");
}
BENCHMARK(BM_PerYearOfVnstatDatabase)->Unit(benchmark::kMillisecond);

void BM_PerYearOfTheSameDaysAsALog(benchmark::State& state) {
    run_stats(state, "--log '" + scratch().dir.string() + ".csv'");
}
BENCHMARK(BM_PerYearOfTheSameDaysAsALog)->Unit(benchmark::kMillisecond);

}  // namespace
