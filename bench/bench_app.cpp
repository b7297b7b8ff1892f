// Start-up of the window up to the moment it is shown: on the demo log, on
// a generated log of 1,000,000 lines and on a vnStat database of 10 years of
// days for 3 interfaces.
#include <benchmark/benchmark.h>

#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/window.h"
#include "bench/ten_year_vnstat.h"
#include "tools/loggen.h"

namespace {

namespace fs = std::filesystem;

fs::path million_line_dir() {
    static const fs::path dir = [] {
        const fs::path d = fs::temp_directory_path() / "loglezer_bench_app_1m";
        fs::create_directories(d);
        loglezer::tools::LogShape shape;
        shape.first = {1000, 1, 1};
        shape.days = 1000000;
        shape.skip_per_mille = 0;
        shape.skip_new_year = false;
        std::ofstream(d / "log.csv", std::ios::binary) << loglezer::tools::generate_log(shape);
        std::ofstream(d / "log.ini") << "[path]\nlog=log.csv\n";
        return d;
    }();
    return dir;
}

void start_and_show(benchmark::State& state, const fs::path& dir) {
    loglezer::WindowSeams seams = loglezer::WindowSeams::real();
    seams.working_dir = dir;
    for (auto _ : state) {
        loglezer::MainWindow form(seams);
        form.show();
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&form));
    }
}

void BM_StartUpDemoLog(benchmark::State& state) { start_and_show(state, LOGLEZER_DEMO_DIR); }
BENCHMARK(BM_StartUpDemoLog)->Unit(benchmark::kMillisecond);

void BM_StartUpMillionLines(benchmark::State& state) { start_and_show(state, million_line_dir()); }
BENCHMARK(BM_StartUpMillionLines)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_StartUpVnstatDatabase(benchmark::State& state) {
    const fs::path dir = bench_support::ten_year_vnstat().dir;
    std::ofstream(dir / "log.ini") << "[path]\nlog=" << (dir / "db" / "vnstat.db").string() << "\ninterface=eth0\n";
    start_and_show(state, dir);
}
BENCHMARK(BM_StartUpVnstatDatabase)->Unit(benchmark::kMillisecond);

}  // namespace
