// Loading and reading a large log: a generated log of 1,000,000 lines
// (about 2,740 years of days) in a temporary file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "log/line_format.h"
#include "log/log_file.h"
#include "log/number_text.h"
#include "tools/loggen.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLines = 1000000;

const fs::path& million_line_log() {
    static const fs::path path = [] {
        const fs::path p = fs::temp_directory_path() / "loglezer_bench_1m.csv";
        const loglezer::tools::LogShape shape = loglezer::tools::bench_shape(kLines);
        std::ofstream(p, std::ios::binary) << loglezer::tools::generate_log(shape);
        return p;
    }();
    return path;
}

void BM_LoadAndSplit(benchmark::State& state) {
    const fs::path& path = million_line_log();
    const auto bytes = static_cast<std::int64_t>(fs::file_size(path));
    for (auto _ : state) {
        auto lines = loglezer::load_log(fs::current_path(), path.string());
        benchmark::DoNotOptimize(lines.count());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_LoadAndSplit)->Unit(benchmark::kMillisecond);

void BM_ReadBothAmounts(benchmark::State& state) {
    const auto lines = loglezer::load_log(fs::current_path(), million_line_log().string());
    const loglezer::Separators seps;
    for (auto _ : state) {
        long double sum = 0;
        for (int i = 0; i < lines.count(); ++i) {
            const auto texts = loglezer::amount_texts(lines.at(i), loglezer::DateSkip::FirstTwelve);
            sum += loglezer::text_to_float(texts.download, seps);
            sum += loglezer::text_to_float(texts.upload, seps);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * lines.count());
}
BENCHMARK(BM_ReadBothAmounts)->Unit(benchmark::kMillisecond);

}  // namespace
