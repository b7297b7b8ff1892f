#include <gtest/gtest.h>

#include "log/failure.h"
#include "stats/startup.h"

using namespace loglezer;

namespace {

LineList lines_of(const std::vector<std::string>& dates) {
    std::vector<std::string> lines;
    for (const auto& d : dates) lines.push_back(d.empty() ? d : d + ",1,2,");
    return LineList::from_lines(lines);
}

struct MonthCase {
    const char* name;
    std::vector<std::string> dates;
    const char* year;
    std::vector<std::string> months;
};

class Months : public ::testing::TestWithParam<MonthCase> {};

void PrintTo(const MonthCase& c, std::ostream* os) { *os << c.name; }

TEST_P(Months, ListsTheMonthsFromTheFirstLineOfTheYear) {
    std::string month_name;
    const LineList lines = lines_of(GetParam().dates);
    const std::string year = GetParam().year;
    EXPECT_EQ(collect_months(lines, year, month_name), GetParam().months);
}

const std::vector<std::string> kTwelve = {"Januari", "Februari", "Maart",     "April",   "Mei",      "Juni",
                                          "Juli",    "Augustus", "September", "Oktober", "November", "December"};

std::vector<std::string> first_of_each_month(int from_year, int to_year) {
    static const char* abbrevs[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::vector<std::string> out;
    for (int y = from_year; y <= to_year; ++y) {
        for (const char* m : abbrevs) {
            out.push_back(std::string("01-") + m + "-" + std::to_string(y));
            out.push_back(std::string("15-") + m + "-" + std::to_string(y));
        }
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Logs, Months,
    ::testing::Values(
        MonthCase{"two_full_years_first", first_of_each_month(2005, 2006), "2005", kTwelve},
        MonthCase{"two_full_years_second", first_of_each_month(2005, 2006), "2006", kTwelve},
        MonthCase{"starts_in_march", {"31-Mar-2005", "01-Apr-2005", "01-Jan-2006"}, "2005", {"Maart", "April"}},
        MonthCase{"ends_in_april", {"01-Dec-2005", "01-Jan-2006", "01-Apr-2006"}, "2006", {"Januari", "April"}},
        MonthCase{"only_last_line", {"01-Dec-2005", "01-Jan-2006"}, "2006", {"Januari"}},
        // A year without a December line ends at the next year's first line.
        MonthCase{"skips_december",
                  {"01-Jun-2005", "01-Jul-2005", "01-Aug-2005", "01-Sep-2005", "01-Oct-2005", "01-Nov-2005",
                   "01-Jan-2006", "01-Feb-2006", "01-Mar-2006"},
                  "2005",
                  {"Juni", "Juli", "Augustus", "September", "Oktober", "November"}},
        // A year that is no number does not end it.
        MonthCase{"year_no_number", {"01-Nov-2005", "01-Jan-20x6", "01-Feb-2006"}, "2005", {"November", "Januari"}},
        // An empty line repeats the month before it, and the month after it
        // is listed again.
        MonthCase{"empty_line",
                  {"01-Jan-2005", "02-Jan-2005", "", "03-Jan-2005", "01-Feb-2005"},
                  "2005",
                  {"Januari", "Januari", "Januari", "Februari"}},
        MonthCase{"month_comes_back",
                  {"01-Jan-2005", "01-Feb-2005", "02-Jan-2005"},
                  "2005",
                  {"Januari", "Februari", "Januari"}},
        MonthCase{"year_with_blank", first_of_each_month(2005, 2005), " 2005", kTwelve}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

TEST(Months, FailuresNameTheTextOrTheLineCount) {
    const LineList lines = lines_of({"01-Jan-2005", "01-Feb-2005", "01-Mar-2006"});
    const std::pair<std::string, std::string> cases[] = {
        {"", "'' is not a valid integer value"},
        {"20x5", "'20x5' is not a valid integer value"},
        {"2", "List index out of bounds (3)"},
        {"2007", "List index out of bounds (3)"},
    };
    for (const auto& [year, message] : cases) {
        std::string month_name;
        try {
            collect_months(lines, year, month_name);
            ADD_FAILURE() << year;
        } catch (const Failure& e) {
            EXPECT_EQ(e.what(), message);
            EXPECT_EQ(month_name, "");
        }
    }
    // A malformed line before the year's first line stops the search.
    std::string month_name;
    EXPECT_THROW(collect_months(lines_of({"", "01-Jan-2005"}), "2005", month_name), Failure);
}

}  // namespace
