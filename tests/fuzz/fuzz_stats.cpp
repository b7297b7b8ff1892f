// The whole statistics command on any log: the session's start-up, then every option
// with any year and month texts, and the marks of every bar.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "session/log_state.h"
#include "stats/chart_model.h"
#include "stats/startup.h"
#include "stats/statistics.h"
#include "text/value_format.h"

using namespace loglezer;
using fuzz::require;
using fuzz::run_checked;

namespace {

// The next text up to a line feed, taken off the input.
std::string take_line(std::string_view& input) {
    const auto end = input.find('\n');
    std::string text(input.substr(0, end));
    // Widget texts hold no NUL.
    text.resize(std::min(text.size(), text.find('\0')));
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    return text;
}

void check_marks(const ChartModel& chart, const Separators& seps) {
    for (const ChartPoint& point : chart.points()) {
        require(point.value == point.value, "a bar value is a number");
        for (const char* pattern : {ChartModel::kInitialValueFormat, kMonthlyValueFormat, kDailyValueFormat}) {
            const std::string mark = format_value(point.value, pattern, seps);
            require(mark.size() >= 3 && mark.compare(mark.size() - 3, 3, " GB") == 0, "a mark ends in its unit");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // First byte: the separators; then the year text and the month text,
    // each ended by a line feed; the rest is the log.
    const Separators seps = data[0] & 1 ? Separators{',', '.'} : Separators{'.', ','};
    std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string year_text = take_line(input);
    const std::string month_text = take_line(input);

    LogState state;
    state.lines = LineList::from_content(std::string(input));
    run_checked([&] { start_up(state, seps); });
    ChartModel& download = state.screen.download;
    ChartModel& upload = state.screen.upload;
    check_marks(download, seps);

    StatsInput in;
    in.year_items = year_list(state.lines);
    in.year_text = year_text;
    in.month_text = month_text;
    for (const PeriodOption option : {PeriodOption::None, PeriodOption::PerYear, PeriodOption::PerMonth,
                                      PeriodOption::PerDay, PeriodOption::PerYear}) {
        in.option = option;
        run_checked([&] {
            const auto figures = show_stats(state.lines, in, state.month_name, seps, download, upload);
            require(figures.has_value() == (option == PeriodOption::PerYear), "figures from the yearly option only");
        });
        require(download.points().size() == upload.points().size(), "both charts have as many bars");
        check_marks(download, seps);
        check_marks(upload, seps);
    }
    run_checked([&] { collect_months(state.lines, year_text, state.month_name); });
    return 0;
}
