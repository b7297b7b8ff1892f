// loglezer-stats per year as a user runs it, a child process from start to
// exit: on a vnStat database of 10 years of days for 3 interfaces, and on a
// log of the same days of one interface. The database is made by vnStat.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "bench/ten_year_vnstat.h"

namespace {

void run_stats(benchmark::State& state, const std::string& args) {
    const std::string command = "'" LOGLEZER_STATS_EXE "' " + args + " >/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("loglezer-stats failed");
    }
}

void BM_PerYearOfVnstatDatabase(benchmark::State& state) {
    run_stats(state,
              "--log '" + (bench_support::ten_year_vnstat().dir / "db" / "vnstat.db").string() + "' --interface eth0");
}
BENCHMARK(BM_PerYearOfVnstatDatabase)->Unit(benchmark::kMillisecond);

void BM_PerYearOfTheSameDaysAsALog(benchmark::State& state) {
    run_stats(state, "--log '" + bench_support::ten_year_vnstat().dir.string() + ".csv'");
}
BENCHMARK(BM_PerYearOfTheSameDaysAsALog)->Unit(benchmark::kMillisecond);

}  // namespace
