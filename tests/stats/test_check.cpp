#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "stats/check.h"

namespace loglezer {
namespace {

struct DamageCase {
    const char* name;
    std::string log;
    std::vector<std::string> problems;  // "LINE: text", lines counted from 1
};

void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

class Damages : public ::testing::TestWithParam<DamageCase> {};

TEST_P(Damages, EachProblemOnItsLine) {
    std::vector<std::string> problems;
    const CheckCounts counts =
        check_log(LineList::from_content(GetParam().log), Separators{'.', ','},
                  [&](const CheckProblem& p) { problems.push_back(std::to_string(p.line + 1) + ": " + p.text); });
    EXPECT_EQ(problems, GetParam().problems);
    EXPECT_EQ(counts.problems, static_cast<long long>(problems.size()));
}

const std::string kMar1 = "01-Mar-2024,100,200,300,\r\n";
const std::string kMar2 = "02-Mar-2024,100,200,300,\r\n";

INSTANTIATE_TEST_SUITE_P(
    Logs, Damages,
    ::testing::Values(
        DamageCase{"clean", "28-Feb-2024,1,2,\n29-Feb-2024,1.5,2E3,\n01-Mar-2024,0,0,x,y\n", {}},
        DamageCase{"no_lines", "", {"1: the log has no lines"}},
        DamageCase{"bad_amounts",
                   "01-Mar-2024,12a,5,\n02-Mar-2024,1,,\n03-Mar-2024,1,2,5\n04-Mar-2024,1,2\n05-Mar-2024,1\n"
                   "06-Mar-2024\n",
                   {"1: the download '12a' is not a number", "2: the upload '' is not a number",
                    "5: no ',' after the download '1'", "6: no ',' after the date '06-Mar-2024'"}},
        DamageCase{
            "dates",
            "29-Feb-2023,1,2,\n31-Apr-2024,1,2,\n00-May-2024,1,2,\n1-Jun-2024,1,2,\n01-jun-2024,1,2,\n"
            "2024-06-01,1,2,\n\x1b[2J,1,2,\n29-Feb-1900,1,2,\n",
            {"1: '29-Feb-2023' is not a day of the calendar", "2: '31-Apr-2024' is not a day of the calendar",
             "3: '00-May-2024' is not a day of the calendar", "4: '1-Jun-2024' is not a date of the form dd-Mon-yyyy",
             "5: '01-jun-2024' is not a date of the form dd-Mon-yyyy",
             "6: '2024-06-01' is not a date of the form dd-Mon-yyyy",
             "7: '\x1b[2J' is not a date of the form dd-Mon-yyyy", "8: '29-Feb-1900' is not a day of the calendar"}},
        DamageCase{
            "empty_lines", kMar1 + "\r\n" + kMar2 + "\r\n", {"2: empty line", "4: empty line at the end of the log"}},
        DamageCase{"nul_bytes",
                   kMar1 + std::string("\0\0", 2) + kMar2 + std::string("x\0", 2),
                   {"2: 2 NUL bytes, which the viewer skips", "3: 1 NUL byte, which the viewer skips",
                    "3: 'x' is not a date of the form dd-Mon-yyyy"}},
        // A line that fails is passed over: the next is compared with the one before it.
        DamageCase{"order",
                   kMar2 + kMar2 + kMar1 + "x\n" + kMar1,
                   {"2: '02-Mar-2024' is the date on line 1 too", "3: '01-Mar-2024' is before '02-Mar-2024' on line 2",
                    "4: 'x' is not a date of the form dd-Mon-yyyy", "5: '01-Mar-2024' is the date on line 3 too"}},
        DamageCase{"year_in_two_runs",
                   "31-Dec-2023,1,2,\n01-Jan-2024,1,2,\n30-Dec-2023,1,2,\n02-Jan-2024,1,2,\n",
                   {"3: '30-Dec-2023' is before '01-Jan-2024' on line 2",
                    "3: 2023 starts again (its earlier lines end on line 1): the viewer shows the year twice",
                    "4: 2024 starts again (its earlier lines end on line 2): the viewer shows the year twice"}}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

TEST(Check, CountsLinesAndMissingDaysWhichAreNoProblem) {
    const ProblemSink ignore = [](const CheckProblem&) {};
    const CheckCounts counts = check_log(
        LineList::from_content("27-Feb-2024,1,2,\n01-Mar-2024,1,2,\n05-Mar-2024,1,2,\n"), Separators{}, ignore);
    EXPECT_EQ(counts.lines, 3);
    EXPECT_EQ(counts.problems, 0);
    EXPECT_EQ(counts.missing_days, 5);  // 28 and 29 February, 2 to 4 March
    // A line ahead of its place jumps over no day that has a line.
    const std::string log = "01-Mar-2024,1,2,\n04-Mar-2024,1,2,\n02-Mar-2024,1,x,\n03-Mar-2024,1,2,\n";
    EXPECT_EQ(check_log(LineList::from_content(log), Separators{}, ignore).missing_days, 0);
}

}  // namespace
}  // namespace loglezer
