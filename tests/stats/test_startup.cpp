#include <gtest/gtest.h>

#include "log/failure.h"
#include "stats/startup.h"
#include "stats_test_util.h"

namespace loglezer {
namespace {

using test::days;
using test::operator+;
using test::kGiB;
using test::labels;
using test::values;
using Lines = std::vector<std::string>;

struct YearListCase {
    const char* name;
    Lines lines;
    Lines expected;
};

void PrintTo(const YearListCase& c, std::ostream* os) { *os << c.name; }

class YearList : public ::testing::TestWithParam<YearListCase> {};

TEST_P(YearList, OneItemPerRunOfYearTexts) {
    EXPECT_EQ(year_list(LineList::from_lines(GetParam().lines)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, YearList,
    ::testing::Values(
        YearListCase{"Empty", {}, {}}, YearListCase{"OneLine", {"01-Jan-2005,1,2,"}, {"2005"}},
        // the first line's year is listed even when the second lies in another year
        YearListCase{"FirstLineOnNewYearsEve", {"31-Dec-2004,1,2,", "01-Jan-2005,1,2,"}, {"2004", "2005"}},
        YearListCase{
            "YearComesBack", {"31-Dec-2005,1,2,", "01-Jan-2006,1,2,", "01-Jun-2005,1,2,"}, {"2005", "2006", "2005"}},
        YearListCase{"LineWithoutComma", {"01-Jan-2005,1,2,", "garbage", "02-Jan-2005,1,2,"}, {"2005", "", "2005"}},
        YearListCase{"LeadingEmptyYearTextNotAppended", {"garbage", "01-Jan-2005,1,2,"}, {"2005"}}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

struct StartUp : ::testing::Test {
    SharedState shared;
    ChartModel download{"Download"};
    ChartModel upload{"Upload"};
    const Separators seps{',', '.'};

    StartUpState start(const Lines& lines) {
        return run_start_up(LineList::from_lines(lines), shared, seps, UnitMode::Binary, download, upload);
    }
};

TEST_F(StartUp, YearlyBarsTotalsPeriodAndTitles) {
    const auto state = start(days({2005, 1, 1}, 365, kGiB, kGiB / 2) + days({2006, 1, 1}, 31, kGiB, 0));
    EXPECT_EQ(state.year_items, (Lines{"2005", "2006"}));
    EXPECT_EQ(state.year_text, "2006");
    EXPECT_EQ(labels(download), (Lines{"2005", "2006"}));
    EXPECT_EQ(values(download), (std::vector<double>{365, 31}));
    EXPECT_EQ(state.captions.total_down, "396 GB");
    EXPECT_EQ(state.captions.total_up, "182,5 GB");
    // 1 GB is 1024 MB, and exactly 1024 is not divided again
    EXPECT_EQ(state.captions.record_down, "1024 MB");
    EXPECT_EQ(state.captions.record_up, "512 MB");
    EXPECT_EQ(shared.period_text, "sinds 01 Januari 2005");
    EXPECT_EQ(download.titles(), Lines{"Download per jaar sinds 01 Januari 2005"});
    EXPECT_EQ(upload.titles(), Lines{"Upload per jaar sinds 01 Januari 2005"});
    EXPECT_EQ(download.value_format(), ChartModel::kInitialValueFormat);
    EXPECT_TRUE(download.is_3d());
    EXPECT_EQ(shared.current_month_name, "Januari");
}

// With the year list filled from line 0, a log that begins on 31 December
// shows every year under its own label.
TEST_F(StartUp, LogStartingOnNewYearsEveShowsEveryYear) {
    start(days({2004, 12, 31}, 1, kGiB, 0) + days({2005, 1, 1}, 365, kGiB, 0) + days({2006, 1, 1}, 2, kGiB, 0));
    EXPECT_EQ(labels(download), (Lines{"2004", "2005", "2006"}));
    EXPECT_EQ(values(download), (std::vector<double>{1, 365, 2}));
    EXPECT_EQ(shared.period_text, "sinds 31 December 2004");
}

TEST_F(StartUp, OneLineLogShowsItsBar) {
    const auto state = start({"14-Jun-2022,1073741824,0,"});
    EXPECT_EQ(state.year_text, "2022");
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
    EXPECT_TRUE(shared.period_text.empty());
}

TEST_F(StartUp, PeriodTextKeepsTheMonthNameWhenLineZeroHasNone) {
    shared.current_month_name = "Mei";
    EXPECT_EQ(build_period_text(LineList::from_lines({"01-xyz-2005,1,2,"}), shared), "sinds 01 Mei 2005");
}

}  // namespace
}  // namespace loglezer
