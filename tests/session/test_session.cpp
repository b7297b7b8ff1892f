// The session: the viewer's state and events without a window.
#include <gtest/gtest.h>

#include "log/failure.h"
#include "session/log_state.h"
#include "tests/stats/stats_test_util.h"

namespace loglezer {
namespace {

using test::days;
using test::kGiB;
using test::labels;
using test::operator+;
using test::values;
using Lines = std::vector<std::string>;

// The start-up on a log of the test's lines.
struct StartUp : ::testing::Test {
    LogState state;
    const Separators seps{',', '.'};
    const ChartModel& download = state.screen.download;
    const ChartModel& upload = state.screen.upload;

    void start(const Lines& lines) {
        state.lines = LineList::from_lines(lines);
        start_up(state, seps);
    }
};

TEST_F(StartUp, YearlyBarsTotalsPeriodAndTitles) {
    start(days({2005, 1, 1}, 365, kGiB, kGiB / 2) + days({2006, 1, 1}, 31, kGiB, 0));
    EXPECT_EQ(state.screen.years, (Lines{"2005", "2006"}));
    EXPECT_EQ(state.screen.choice.year, "2006");
    EXPECT_EQ(state.screen.choice.option, PeriodOption::PerYear);
    EXPECT_EQ(state.screen.months, (Lines{"Januari"}));
    EXPECT_EQ(labels(download), (Lines{"2005", "2006"}));
    EXPECT_EQ(values(download), (std::vector<double>{365, 31}));
    EXPECT_EQ(state.screen.total_download, "396 GB");
    EXPECT_EQ(state.screen.total_upload, "182,5 GB");
    // 1 GB is 1024 MB, and exactly 1024 is not divided again
    EXPECT_EQ(state.screen.record_download, "1024 MB");
    EXPECT_EQ(state.screen.record_upload, "512 MB");
    EXPECT_EQ(state.screen.record_download_day, "01 Januari 2005");
    EXPECT_EQ(state.period_text, "sinds 01 Januari 2005");
    EXPECT_EQ(download.titles(), Lines{"Download per jaar sinds 01 Januari 2005"});
    EXPECT_EQ(upload.titles(), Lines{"Upload per jaar sinds 01 Januari 2005"});
    EXPECT_EQ(download.value_format(), ChartModel::kInitialValueFormat);
    EXPECT_TRUE(download.is_3d());
    EXPECT_EQ(state.month_name, "Januari");
}

// With the year list filled from line 0, a log that begins on 31 December
// shows every year under its own label.
TEST_F(StartUp, LogStartingOnNewYearsEveShowsEveryYear) {
    start(days({2004, 12, 31}, 1, kGiB, 0) + days({2005, 1, 1}, 365, kGiB, 0) + days({2006, 1, 1}, 2, kGiB, 0));
    EXPECT_EQ(labels(download), (Lines{"2004", "2005", "2006"}));
    EXPECT_EQ(values(download), (std::vector<double>{1, 365, 2}));
    EXPECT_EQ(state.period_text, "sinds 31 December 2004");
}

TEST_F(StartUp, OneLineLogShowsItsBar) {
    start({"14-Jun-2022,1073741824,0,"});
    EXPECT_EQ(state.screen.choice.year, "2022");
    EXPECT_EQ(labels(download), Lines{"2022"});
    EXPECT_EQ(download.titles(), Lines{"Download per jaar sinds 14 Juni 2022"});
}

TEST_F(StartUp, EmptyLogFailsInTheYearlyRunAndKeepsTheLayoutTitles) {
    try {
        start({});
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), "List index out of bounds (0)");
    }
    EXPECT_EQ(download.titles(), Lines{"Download"});
    EXPECT_TRUE(state.period_text.empty());
    EXPECT_EQ(state.screen.total_download, "");
    EXPECT_EQ(state.screen.record_download, std::nullopt);
}

}  // namespace
}  // namespace loglezer
