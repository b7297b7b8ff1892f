// The statistics over a generated log of 1,000,000 lines (about 2,740 years
// of days, from 1 January 1000): one yearly run, the whole start-up, one
// monthly run of a middle year, one daily run of a month of that year, and
// the check of every line.
#include <benchmark/benchmark.h>

#include "session/log_state.h"
#include "stats/chart_model.h"
#include "stats/check.h"
#include "stats/startup.h"
#include "stats/statistics.h"
#include "tools/loggen.h"

namespace {

constexpr int kLines = 1000000;
constexpr const char* kMiddleYear = "2369";

const loglezer::LineList& million_lines() {
    static const loglezer::LineList lines = [] {
        const loglezer::tools::LogShape shape = loglezer::tools::bench_shape(kLines);
        return loglezer::LineList::from_content(loglezer::tools::generate_log(shape));
    }();
    return lines;
}

void run_option(benchmark::State& state, loglezer::PeriodOption option, const char* month) {
    const loglezer::LineList& lines = million_lines();
    loglezer::StatsInput input;
    input.option = option;
    input.year_items = loglezer::year_list(lines);
    input.year_text = kMiddleYear;
    input.month_text = month;
    const loglezer::Separators seps;
    std::string month_name;
    loglezer::ChartModel download("Download");
    loglezer::ChartModel upload("Upload");
    for (auto _ : state) {
        auto figures = loglezer::show_stats(lines, input, month_name, seps, download, upload);
        benchmark::DoNotOptimize(figures);
    }
    state.counters["bars"] = static_cast<double>(download.points().size());
}

void BM_Yearly(benchmark::State& state) { run_option(state, loglezer::PeriodOption::PerYear, ""); }
BENCHMARK(BM_Yearly)->Unit(benchmark::kMillisecond);

// What loglezer-stats does between loading the log and writing the figures:
// the year list, the yearly run, the months of the last year, the period.
void BM_StartUp(benchmark::State& state) {
    const loglezer::Separators seps;
    loglezer::LogState log;
    log.lines = loglezer::LineList::from_content(loglezer::tools::generate_log(loglezer::tools::bench_shape(kLines)));
    for (auto _ : state) {
        log.screen = loglezer::Screen{};
        loglezer::start_up(log, seps);
        benchmark::DoNotOptimize(log.screen);
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

// What loglezer-stats --check does after loading the log: every line read
// for its layout, its date's order and its year's run.
void BM_Check(benchmark::State& state) {
    const loglezer::LineList& lines = million_lines();
    const loglezer::Separators seps;
    long long problems = 0;
    const loglezer::ProblemSink count = [&problems](const loglezer::CheckProblem&) { ++problems; };
    for (auto _ : state) {
        auto counts = loglezer::check_log(lines, seps, count);
        benchmark::DoNotOptimize(counts);
    }
    benchmark::DoNotOptimize(problems);
}
BENCHMARK(BM_Check)->Unit(benchmark::kMillisecond);

void BM_MonthlyMiddleYear(benchmark::State& state) { run_option(state, loglezer::PeriodOption::PerMonth, ""); }
BENCHMARK(BM_MonthlyMiddleYear)->Unit(benchmark::kMillisecond);

void BM_DailyMiddleYear(benchmark::State& state) { run_option(state, loglezer::PeriodOption::PerDay, "Juli"); }
BENCHMARK(BM_DailyMiddleYear)->Unit(benchmark::kMillisecond);

}  // namespace
