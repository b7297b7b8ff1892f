#include <benchmark/benchmark.h>

#include <string>

#include "chart/chart_panel.h"
#include "chart/jpeg.h"

namespace {

// A month of days: 31 bars with marks, labels and legend entries.
void fill_month(loglezer::ChartPanel& panel) {
    panel.model().set_value_format("0.###,## GB");
    for (int i = 0; i < 31; ++i) panel.model().add_point(((i * 37) % 17) * 0.31, std::to_string(i + 1));
}

void BM_RenderAndEncode(benchmark::State& state) {
    loglezer::ChartPanel panel("Download per dag Januari 2005");
    panel.model().set_3d(state.range(0) != 0);
    fill_month(panel);
    for (auto _ : state) {
        const QImage picture = panel.render(1049, 249);
        benchmark::DoNotOptimize(loglezer::encode_jpeg(picture));
    }
}
BENCHMARK(BM_RenderAndEncode)->Arg(0)->Arg(1)->ArgName("3d")->Unit(benchmark::kMillisecond);

void BM_Render(benchmark::State& state) {
    loglezer::ChartPanel panel("Download per dag Januari 2005");
    fill_month(panel);
    for (auto _ : state) benchmark::DoNotOptimize(panel.render(1049, 249));
}
BENCHMARK(BM_Render)->Unit(benchmark::kMillisecond);

void BM_Encode(benchmark::State& state) {
    loglezer::ChartPanel panel("Download per dag Januari 2005");
    fill_month(panel);
    const QImage picture = panel.render(1049, 249);
    for (auto _ : state) benchmark::DoNotOptimize(loglezer::encode_jpeg(picture));
}
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);

}  // namespace
