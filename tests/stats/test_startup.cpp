#include <gtest/gtest.h>

#include "log/failure.h"
#include "stats/startup.h"
#include "stats/statistics.h"
#include "stats_test_util.h"

namespace loglezer {
namespace {

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

TEST(PeriodText, KeepsTheMonthNameWhenLineZeroHasNone) {
    std::string month_name = "Mei";
    EXPECT_EQ(build_period_text(LineList::from_lines({"01-xyz-2005,1,2,"}), month_name), "sinds 01 Mei 2005");
}

}  // namespace
}  // namespace loglezer
