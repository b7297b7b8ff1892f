// loglezer-stats --check as a user runs it, a child process from start to
// exit: its time and its peak memory (the child's maximum resident set),
// on a log of 1,000,000 empty lines, each a problem, and on the benchmarks'
// log of 1,000,000 sound lines. The report goes to a file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/loggen.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLines = 1000000;

// The folder of the logs and the reports, removed when the benchmarks end.
struct Scratch {
    fs::path dir = fs::temp_directory_path() / ("loglezer_bench_check_" + std::to_string(::getpid()));
    Scratch() {
        fs::create_directories(dir);
        std::ofstream(dir / "empty.csv", std::ios::binary) << std::string(kLines, '\n');
        const loglezer::tools::LogShape shape = loglezer::tools::bench_shape(kLines);
        std::ofstream(dir / "bench.csv", std::ios::binary) << loglezer::tools::generate_log(shape);
    }
    ~Scratch() { fs::remove_all(dir); }
};

const Scratch& scratch() {
    static const Scratch s;
    return s;
}

// Runs loglezer-stats with the arguments, its output into `out`; returns its
// peak resident set in kilobytes, or -1 when it did not exit with 0 or 1.
long run_stats(const std::vector<std::string>& args, const fs::path& out) {
    std::vector<char*> argv{const_cast<char*>(LOGLEZER_STATS_EXE)};
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0 || ::dup2(fd, STDOUT_FILENO) < 0) ::_exit(127);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child) return -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) return -1;
    return usage.ru_maxrss;
}

void check_command(benchmark::State& state, const char* log, const char* form) {
    const fs::path dir = scratch().dir;
    std::vector<std::string> args{"--check", "--log", (dir / log).string()};
    if (*form) args.emplace_back(form);
    long peak_kb = 0;
    for (auto _ : state) {
        const long kb = run_stats(args, dir / "report.txt");
        if (kb < 0) {
            state.SkipWithError("loglezer-stats --check failed");
            return;
        }
        peak_kb = std::max(peak_kb, kb);
    }
    state.counters["peak_MB"] = static_cast<double>(peak_kb) / 1024;
    state.counters["report_MB"] = static_cast<double>(fs::file_size(dir / "report.txt")) / (1 << 20);
}

void BM_CheckEmptyLines(benchmark::State& state) { check_command(state, "empty.csv", ""); }
void BM_CheckEmptyLinesJson(benchmark::State& state) { check_command(state, "empty.csv", "--json"); }
void BM_CheckBenchLog(benchmark::State& state) { check_command(state, "bench.csv", ""); }
BENCHMARK(BM_CheckEmptyLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CheckEmptyLinesJson)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CheckBenchLog)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
