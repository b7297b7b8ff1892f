#include <gtest/gtest.h>

#include "log/failure.h"
#include "log/number_text.h"
#include "stats/startup.h"
#include "stats/statistics.h"
#include "stats_test_util.h"

namespace loglezer {
namespace {

using test::days;
using test::operator+;
using test::kGiB;
using test::labels;
using test::log_line;
using test::values;
using Lines = std::vector<std::string>;

const Separators kDutch{',', '.'};
const Separators kEnglish{'.', ','};

// The charts, the current month name and what the last yearly run found,
// as they are kept between runs.
struct Viewer {
    LineList lines;
    std::string month_name;
    ChartModel download{"Download"};
    ChartModel upload{"Upload"};
    std::vector<std::string> years;
    Separators seps = kDutch;
    std::optional<YearFigures> figures;  // of the last yearly run
    CaptionUnits units;
    std::optional<LabelCaptions> captions;

    explicit Viewer(const Lines& text) : lines(LineList::from_lines(text)), years(year_list(lines)) {}

    void run(PeriodOption option, std::string year = {}, std::string month = {}) {
        StatsInput input;
        input.option = option;
        input.year_items = years;
        input.year_text = std::move(year);
        input.month_text = std::move(month);
        if (auto result = show_stats(lines, input, month_name, seps, download, upload)) {
            figures = result;
            captions = year_captions(*result, units, seps, UnitMode::Binary);
        }
    }
    void yearly() { run(PeriodOption::PerYear); }
    void monthly(const std::string& year) { run(PeriodOption::PerMonth, year); }
    void daily(const std::string& year, const std::string& month) { run(PeriodOption::PerDay, year, month); }
};

// Expects the run to fail with exactly this message.
template <class F>
void expect_failure(F&& run, const std::string& message) {
    try {
        run();
        ADD_FAILURE() << "no failure, expected: " << message;
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()), message);
    }
}

// The same, and the failure names the line at `index`, or no line.
template <class F>
void expect_failure_on(F&& run, const std::string& message, std::optional<long long> index) {
    try {
        run();
        ADD_FAILURE() << "no failure, expected: " << message;
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()), message);
        EXPECT_EQ(f.line(), index) << message;
    }
}

// ---------------------------------------------------------------- common head

TEST(ShowStats, NoOptionOnlyClearsThePoints) {
    Viewer v(days({2005, 1, 1}, 3, kGiB, kGiB));
    v.yearly();
    ASSERT_EQ(v.download.points().size(), 1u);
    v.download.set_3d(false);
    v.run(PeriodOption::None);
    EXPECT_TRUE(v.download.points().empty());
    EXPECT_TRUE(v.upload.points().empty());
    EXPECT_FALSE(v.download.is_3d());  // nothing else is touched
}

// ---------------------------------------------------------------- per year

TEST(PerYear, OneYearGivesOnePointLabelledWithIt) {
    Viewer v(days({2005, 3, 1}, 10, kGiB / 2, kGiB / 4));
    v.yearly();
    EXPECT_EQ(labels(v.download), Lines{"2005"});
    EXPECT_EQ(labels(v.upload), Lines{"2005"});
    EXPECT_EQ(values(v.download), std::vector<double>{5});
    EXPECT_EQ(values(v.upload), std::vector<double>{2.5});
}

// Each bar keeps the bytes it stands for, as summed from the log.
TEST(Bars, CarryTheirBytes) {
    Viewer v(days({2005, 12, 30}, 2, 3, 5) + days({2006, 1, 1}, 1, 7, 11));
    auto bytes = [](const ChartModel& chart) {
        std::vector<long double> out;
        for (const auto& p : chart.points()) out.push_back(p.bytes);
        return out;
    };
    v.yearly();
    EXPECT_EQ(bytes(v.download), (std::vector<long double>{6, 7}));
    v.monthly("2005");
    EXPECT_EQ(bytes(v.upload), (std::vector<long double>{10}));
    v.daily("2006", "Januari");
    EXPECT_EQ(bytes(v.download), (std::vector<long double>{7}));
}

TEST(PerYear, YearValuesAreGigabytesRoundedToHundredths) {
    Viewer v({log_line("01-Jan-2005", 3 * kGiB / 2, 1000000000), log_line("01-Jan-2006", 1, 0)});
    v.yearly();
    EXPECT_EQ(values(v.download), (std::vector<double>{1.5, 0}));
    EXPECT_EQ(values(v.upload), (std::vector<double>{0.93, 0}));
}

// Whole amounts are summed as integers: sums and records must be those of
// long double arithmetic line by line, past 64 bits and among other forms.
struct SumCase {
    const char* name;
    Lines downloads;     // the download texts of one year's lines
    const char* record;  // the record caption, or nullptr
};

class PerYearSums : public ::testing::TestWithParam<SumCase> {};

void PrintTo(const SumCase& c, std::ostream* os) { *os << c.name; }

TEST_P(PerYearSums, EqualLongDoubleAdditionLineByLine) {
    Lines log;
    long double expected = 0;
    for (const std::string& text : GetParam().downloads) {
        log.push_back(tools::date_field(tools::add_days({2005, 1, 1}, static_cast<int>(log.size()))) + "," + text +
                      ",0,");
        expected += text_to_float(text, kEnglish);
    }
    Viewer v(log);
    v.seps = kEnglish;
    v.yearly();
    EXPECT_EQ(v.figures->total_download, expected);
    if (GetParam().record) {
        EXPECT_EQ(v.captions->record_down, GetParam().record);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PerYearSums,
    ::testing::Values(SumCase{"PastSixtyFourBits", {"9999999999999999999", "9999999999999999999", "7"}, nullptr},
                      SumCase{"FractionBeforeAHugeAmount", {"0.5", "18446744073709551615", "1"}, nullptr},
                      SumCase{"OtherFormsAmongWholeAmounts", {"5", "9.5", " 7", "9", "1e0"}, "9.5"},
                      SumCase{"LaterWholeRecord", {"9", "8", "9.25", "10"}, "10"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

TEST(PerYear, NonConsecutiveLinesOfOneYearGiveTwoPoints) {
    Viewer v(days({2005, 12, 30}, 2, kGiB, 0) + days({2006, 1, 1}, 1, 2 * kGiB, 0) + days({2005, 6, 1}, 3, kGiB, 0));
    ASSERT_EQ(v.years, (Lines{"2005", "2006", "2005"}));
    v.yearly();
    EXPECT_EQ(labels(v.download), (Lines{"2005", "2006", "2005"}));
    EXPECT_EQ(values(v.download), (std::vector<double>{2, 2, 3}));
}

TEST(PerYear, FirstLabelFromLineZeroLaterLabelsFromTheSelector) {
    Viewer v(days({2005, 12, 31}, 3, kGiB, kGiB));
    v.years = {"item0", "item1"};  // item 0 is never read
    v.yearly();
    EXPECT_EQ(labels(v.download), (Lines{"2005", "item1"}));
    // the line where group 0 stopped counts for item 1 without a comparison;
    // the next line's year 2006 is no "item1", so the group ends there
    EXPECT_EQ(values(v.download), (std::vector<double>{1, 1}));
}

TEST(PerYear, EmptySelectorGivesNoPointsAndZeroLabels) {
    Viewer v(days({2005, 1, 1}, 3, 5000, 5000));
    v.years.clear();
    v.yearly();
    EXPECT_TRUE(v.download.points().empty());
    ASSERT_TRUE(v.captions);
    EXPECT_EQ(v.captions->record_down, "0");
    EXPECT_EQ(v.captions->record_up, "0");
    EXPECT_EQ(v.captions->total_down, "0");
    EXPECT_EQ(v.captions->total_up, "0");
}

struct CaptionCase {
    const char* name;
    long long download, upload;  // the amounts of the log's one line
    const char* record_down;
    const char* record_up;
};

void PrintTo(const CaptionCase& c, std::ostream* os) { *os << c.name; }

class PerYearRecords : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(PerYearRecords, ScaledTogetherAndWrittenWithTheDecimalComma) {
    const CaptionCase& c = GetParam();
    Viewer v({log_line("01-Jan-2005", c.download, c.upload)});
    v.yearly();
    ASSERT_TRUE(v.captions);
    EXPECT_EQ(v.captions->record_down, c.record_down);
    EXPECT_EQ(v.captions->record_up, c.record_up);
    // one line: the totals are the records
    EXPECT_EQ(v.captions->total_down, c.record_down);
    EXPECT_EQ(v.captions->total_up, c.record_up);
}

INSTANTIATE_TEST_SUITE_P(Examples, PerYearRecords,
                         ::testing::Values(CaptionCase{"Exactly1024", 1024, 1000, "1024", "1000"},
                                           CaptionCase{"Just1025", 1025, 0, "1 KB", "0 KB"},
                                           CaptionCase{"GigabytesAndHalf", 5 * kGiB, 500LL * 1024 * 1024, "5 GB",
                                                       "0,49 GB"},
                                           CaptionCase{"UploadDecides", 10, 3 * 1024 * 1024, "0 MB", "3 MB"},
                                           CaptionCase{"Terabytes", 1536 * kGiB, 0, "1,5 TB", "0 TB"}),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

TEST(PerYear, ASecondRunGivesTheSameBarsTotalsAndRecords) {
    Viewer v(days({2005, 1, 1}, 4, kGiB, kGiB / 2) + days({2006, 1, 1}, 2, kGiB, 0));
    v.yearly();
    ASSERT_TRUE(v.captions);
    EXPECT_EQ(v.captions->total_down, "6 GB");
    EXPECT_EQ(v.captions->total_up, "2 GB");
    EXPECT_EQ(v.figures->total_download, 6.0L * kGiB);
    const auto bars = values(v.download);
    const auto first = *v.captions;
    v.yearly();
    EXPECT_EQ(values(v.download), bars);
    EXPECT_EQ(v.captions->total_down, first.total_down);
    EXPECT_EQ(v.captions->total_up, first.total_up);
    EXPECT_EQ(v.captions->record_down, first.record_down);
    EXPECT_EQ(v.captions->record_up, first.record_up);
}

TEST(PerYear, RecordsAreRebuiltFromTheLinesOnEveryRun) {
    Viewer v({log_line("01-Jan-2005", 5 * kGiB, 500LL * 1024 * 1024), log_line("02-Jan-2005", 7, 3)});
    v.yearly();
    EXPECT_EQ(v.captions->record_down, "5 GB");
    EXPECT_EQ(v.units.records, " GB");
    v.yearly();
    EXPECT_EQ(v.captions->record_down, "5 GB");
    EXPECT_EQ(v.captions->record_up, "0,49 GB");
}

// Totals are kept in bytes: a total above 1024 TB reads the same on every
// run, where dividing the stored figure again would show 2 KB.
TEST(PerYear, TotalAbove1024TerabytesIsNotDividedAgainByLaterRuns) {
    const long long two_thousand_tb = 2048LL * 1024 * kGiB;
    Viewer v({log_line("01-Jan-2005", two_thousand_tb, 0)});
    v.yearly();
    EXPECT_EQ(v.captions->total_down, "2048 TB");
    EXPECT_EQ(v.captions->total_up, "0 TB");
    v.yearly();
    EXPECT_EQ(v.captions->total_down, "2048 TB");
    EXPECT_EQ(v.units.totals, " TB");
    EXPECT_EQ(v.figures->total_download, static_cast<long double>(two_thousand_tb));
}

TEST(PerYear, YearlyAfterDailySwitches3DOnButKeepsTitlesAndFormat) {
    Viewer v(days({2005, 1, 1}, 40, kGiB, kGiB));
    v.daily("2005", "Februari");
    ASSERT_FALSE(v.download.is_3d());
    v.yearly();
    EXPECT_TRUE(v.download.is_3d());
    EXPECT_TRUE(v.upload.is_3d());
    EXPECT_EQ(v.download.titles(), Lines{"Download per dag Februari 2005"});
    EXPECT_EQ(v.upload.titles(), Lines{"Upload per dag Februari 2005"});
    EXPECT_EQ(v.download.value_format(), kDailyValueFormat);
    EXPECT_EQ(v.upload.value_format(), kDailyValueFormat);
    EXPECT_EQ(labels(v.download), Lines{"2005"});
}

TEST(PerYear, BadAmountKeepsFinishedGroupsAndLabels) {
    Viewer v(days({2005, 1, 1}, 2, kGiB, kGiB) + days({2006, 1, 1}, 2, 2 * kGiB, 3 * kGiB) +
             Lines{"03-Jan-2006,12x,5,"} + days({2006, 1, 4}, 1, 9 * kGiB, 0));
    expect_failure_on([&] { v.yearly(); }, "'12x' is not a valid floating point value", 4);
    EXPECT_EQ(labels(v.download), Lines{"2005"});
    EXPECT_EQ(values(v.download), std::vector<double>{2});
    EXPECT_FALSE(v.captions);  // nothing written
}

// A line with a bad amount fails on that line in every option; when both
// amounts are bad, the download's text is the one named.
struct BadAmountCase {
    const char* name;
    const char* line;  // after three good lines of January 2005
    const char* text;  // the text named
};

class BadAmounts : public ::testing::TestWithParam<BadAmountCase> {};

void PrintTo(const BadAmountCase& c, std::ostream* os) { *os << c.name; }

TEST_P(BadAmounts, EveryOptionFailsAtTheLineNamingTheFirstBadText) {
    const std::string message = std::string("'") + GetParam().text + "' is not a valid floating point value";
    const Lines log = days({2005, 1, 1}, 3, 5, 6) + Lines{GetParam().line};
    Viewer yearly(log);
    yearly.seps = kEnglish;
    expect_failure_on([&] { yearly.yearly(); }, message, 3);
    Viewer monthly(log);
    monthly.seps = kEnglish;
    expect_failure_on([&] { monthly.monthly("2005"); }, message, 3);
    Viewer daily(log);
    daily.seps = kEnglish;
    expect_failure_on([&] { daily.daily("2005", "Januari"); }, message, 3);
}

INSTANTIATE_TEST_SUITE_P(Lines, BadAmounts,
                         ::testing::Values(BadAmountCase{"bad_upload", "04-Jan-2005,9,x,", "x"},
                                           BadAmountCase{"bad_upload_after_a_fraction", "04-Jan-2005,1.5,x,", "x"},
                                           BadAmountCase{"bad_download", "04-Jan-2005,y,8,", "y"},
                                           BadAmountCase{"both_bad", "04-Jan-2005,y,x,", "y"}),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

TEST(PerYear, EmptyLogFailsOnLineZero) {
    Viewer v(Lines{});
    v.download.set_3d(false);
    expect_failure_on([&] { v.yearly(); }, "List index out of bounds (0)", std::nullopt);
    EXPECT_TRUE(v.download.points().empty());
    EXPECT_TRUE(v.download.is_3d());
}

TEST(PerYear, SelectorItemBeyondTheLastLineReadsWhatIsLeftOfIt) {
    Viewer v({"01-Jan-2005,1,2,"});
    v.years = {"2005", "2006"};
    // nothing of the last line is left for the extra item: its download text is empty
    expect_failure_on([&] { v.yearly(); }, "'' is not a valid floating point value", 0);
    EXPECT_EQ(labels(v.download), Lines{"2005"});
}

// ---------------------------------------------------------------- per month

TEST(PerMonth, FullYearGivesTwelveBarsAndTitles) {
    Viewer v(days({2005, 1, 1}, 366, kGiB / 2, kGiB / 4));
    v.monthly("2005");
    EXPECT_EQ(labels(v.download), test::dutch_months());
    EXPECT_EQ(labels(v.upload), test::dutch_months());
    EXPECT_EQ(v.download.titles(), Lines{"Download per maand 2005"});
    EXPECT_EQ(v.upload.titles(), Lines{"Upload per maand 2005"});
    EXPECT_TRUE(v.download.is_3d());
    EXPECT_EQ(v.download.value_format(), kMonthlyValueFormat);
    EXPECT_EQ(v.upload.value_format(), kMonthlyValueFormat);
    // each month is its own lines' sum
    EXPECT_EQ(values(v.download)[0], 15.5);
    EXPECT_EQ(values(v.download)[1], 14);
    EXPECT_EQ(values(v.download)[11], 15.5);
    EXPECT_EQ(values(v.upload)[1], 7);
}

TEST(PerMonth, LogStartingMidYearAndMissingMonths) {
    Viewer v(days({2005, 3, 31}, 2, kGiB, 0) + days({2005, 6, 1}, 3, kGiB, 0) + days({2006, 1, 1}, 1, 1, 1));
    v.monthly("2005");
    EXPECT_EQ(labels(v.download), (Lines{"Maart", "April", "Juni"}));
    EXPECT_EQ(values(v.download), (std::vector<double>{1, 1, 3}));
}

TEST(PerMonth, MonthInTwoSeparateRunsGivesTwoBars) {
    Viewer v(days({2005, 1, 1}, 2, kGiB, 0) + days({2005, 2, 1}, 1, kGiB, 0) + days({2005, 1, 20}, 1, kGiB, 0) +
             days({2006, 1, 1}, 1, 0, 0));
    v.monthly("2005");
    EXPECT_EQ(labels(v.download), (Lines{"Januari", "Februari", "Januari"}));
    EXPECT_EQ(values(v.download), (std::vector<double>{2, 1, 1}));
}

TEST(PerMonth, StopsAtTheFirstJanuaryLineOfTheNextYear) {
    Viewer v(days({2005, 11, 1}, 62, kGiB, 0) + days({2006, 2, 1}, 2, kGiB, 0));
    v.monthly("2005");
    EXPECT_EQ(labels(v.download), (Lines{"November", "December"}));
}

// Without the 1 January line the walk would append January and February of
// 2006 under the same names.
TEST(PerMonth, MissingFirstJanuaryLineStopsAtTheNextYear) {
    Viewer v(days({2005, 11, 1}, 61, kGiB, 0) + days({2006, 1, 2}, 40, kGiB, 0));
    v.monthly("2005");
    EXPECT_EQ(labels(v.download), (Lines{"November", "December"}));
    EXPECT_EQ(values(v.download), (std::vector<double>{30, 31}));
}

// The last line as the only line of its month: with the end of the log
// reached it still gets its bar.
TEST(PerMonth, LastMonthWithOnlyTheLastLineGetsItsBar) {
    Viewer v(days({2005, 3, 30}, 2, kGiB, 0) + days({2005, 4, 1}, 1, 2 * kGiB, kGiB));
    v.monthly("2005");
    EXPECT_EQ(labels(v.download), (Lines{"Maart", "April"}));
    EXPECT_EQ(values(v.download), (std::vector<double>{2, 2}));
    EXPECT_EQ(values(v.upload), (std::vector<double>{0, 1}));
}

TEST(PerMonth, LastLineAsTheOnlyLineOfTheYearGivesOneBar) {
    Viewer v(days({2005, 12, 30}, 2, kGiB, 0) + days({2006, 1, 1}, 1, 3 * kGiB, 0));
    v.monthly("2006");
    EXPECT_EQ(labels(v.download), Lines{"Januari"});
    EXPECT_EQ(values(v.download), std::vector<double>{3});
}

TEST(PerMonth, LastMonthOfTheLogWithSeveralLines) {
    Viewer v(days({2005, 3, 30}, 5, kGiB, 0));
    v.monthly("2005");
    EXPECT_EQ(labels(v.download), (Lines{"Maart", "April"}));
    EXPECT_EQ(values(v.download), (std::vector<double>{2, 3}));
}

TEST(PerMonth, MonthYearTextEndAtTheEndOfTheLogEndsTheWalk) {
    Viewer v(days({2005, 12, 30}, 2, kGiB, 0) + Lines{"01-end,1073741824,0,"});
    expect_failure([&] { v.monthly("2005"); }, "'01-end' is not a valid date");
    EXPECT_EQ(labels(v.download), (Lines{"December"}));
}

TEST(PerMonth, SmallAndZeroMonths) {
    Viewer v(days({2005, 1, 1}, 31, 0, 0) + days({2005, 2, 1}, 28, kGiB / 56, 1000) + days({2006, 1, 1}, 1, 0, 0));
    v.monthly("2005");
    EXPECT_EQ(values(v.download), (std::vector<double>{0, 0.5}));
    EXPECT_EQ(values(v.upload), (std::vector<double>{0, 0}));
}

TEST(PerMonth, YearTextNotANumberFailsAfterThe3DView) {
    Viewer v(days({2005, 1, 1}, 3, kGiB, 0));
    v.download.set_3d(false);
    v.yearly();  // 3D on again; reset it to see the monthly run set it
    v.download.set_3d(false);
    expect_failure([&] { v.monthly("20o5"); }, "'20o5' is not a valid integer value");
    EXPECT_TRUE(v.download.is_3d());
    EXPECT_EQ(v.download.value_format(), ChartModel::kInitialValueFormat);
    EXPECT_EQ(v.download.titles(), Lines{"Download"});
    EXPECT_TRUE(v.download.points().empty());
}

TEST(PerMonth, YearNotInTheLogFailsAfterTheTitles) {
    Viewer v(days({2005, 1, 1}, 3, kGiB, 0));
    expect_failure_on([&] { v.monthly("2007"); }, "List index out of bounds (3)", std::nullopt);
    EXPECT_EQ(v.download.titles(), Lines{"Download per maand 2007"});
    EXPECT_EQ(v.download.value_format(), kMonthlyValueFormat);
    EXPECT_TRUE(v.download.points().empty());
}

TEST(PerMonth, LineBeforeTheYearWithoutYearNumberFails) {
    Viewer v(days({2005, 1, 1}, 3, kGiB, 0) + Lines{"01-Jan-20o6,1,1,"} + days({2006, 1, 2}, 3, kGiB, 0));
    expect_failure_on([&] { v.monthly("2006"); }, "'20o6' is not a valid integer value", 3);
}

TEST(PerMonth, BadAmountKeepsTheMonthsBefore) {
    Viewer v(days({2005, 1, 1}, 33, kGiB, 0) + Lines{"03-Feb-2005,1,"});
    expect_failure_on([&] { v.monthly("2005"); }, "'' is not a valid floating point value", 33);
    EXPECT_EQ(labels(v.download), Lines{"Januari"});
}

// ---------------------------------------------------------------- per day

TEST(PerDay, ThirtyOneDaysGiveThirtyOneFlatBars) {
    Viewer v(days({2004, 12, 31}, 1, 0, 0) + days({2005, 1, 1}, 31, kGiB / 2, kGiB / 4) +
             days({2005, 2, 1}, 3, kGiB, kGiB));
    v.daily("2005", "Januari");
    Lines expected;
    for (int d = 1; d <= 31; ++d) expected.push_back((d < 10 ? "0" : "") + std::to_string(d));
    EXPECT_EQ(labels(v.download), expected);
    EXPECT_EQ(labels(v.upload), expected);
    EXPECT_EQ(values(v.download), std::vector<double>(31, 0.5));
    EXPECT_EQ(values(v.upload), std::vector<double>(31, 0.25));
    EXPECT_EQ(v.download.titles(), Lines{"Download per dag Januari 2005"});
    EXPECT_EQ(v.upload.titles(), Lines{"Upload per dag Januari 2005"});
    EXPECT_FALSE(v.download.is_3d());
    EXPECT_FALSE(v.upload.is_3d());
    EXPECT_EQ(v.download.value_format(), kDailyValueFormat);
    EXPECT_EQ(v.month_name, "Januari");
}

TEST(PerDay, MonthsWithoutTheirAbbreviationInTheName) {
    Viewer v(days({2005, 1, 1}, 365, kGiB, 0));
    for (const char* month : {"Maart", "Mei", "Oktober"}) {
        v.daily("2005", month);
        EXPECT_EQ(v.download.points().size(), 31u) << month;
        EXPECT_EQ(v.download.titles(), Lines{std::string("Download per dag ") + month + " 2005"});
    }
}

TEST(PerDay, LastMonthRunsToTheLastLine) {
    Viewer v(days({2005, 4, 25}, 10, kGiB, 0));
    v.daily("2005", "Mei");
    EXPECT_EQ(labels(v.download), (Lines{"01", "02", "03", "04"}));
}

// The search begins at the first line: the first day of the log is shown.
TEST(PerDay, FirstMonthIncludesLineZero) {
    Viewer v(days({2005, 3, 30}, 4, kGiB, 0));
    v.daily("2005", "Maart");
    EXPECT_EQ(labels(v.download), (Lines{"30", "31"}));
}

TEST(PerDay, MonthWhoseOnlyLineIsLineZeroShowsItsBar) {
    Viewer v(days({2005, 3, 31}, 3, 2 * kGiB, 0));
    v.daily("2005", "Maart");
    EXPECT_EQ(labels(v.download), Lines{"31"});
    EXPECT_EQ(values(v.download), std::vector<double>{2});
}

TEST(PerDay, OnlyTheFirstRunOfTheMonthIsShown) {
    Viewer v(days({2005, 1, 1}, 2, kGiB, 0) + days({2005, 2, 1}, 1, 0, 0) + days({2005, 1, 9}, 2, kGiB, 0));
    v.daily("2005", "Januari");
    EXPECT_EQ(labels(v.download), (Lines{"01", "02"}));
}

TEST(PerDay, MonthTextWithoutMonthNameBuildsTheKeyFromTheCurrentName) {
    Viewer v({log_line("01-Feb-2005", 0, 1), log_line("02-Feb-2005", kGiB / 2, 5000000)});
    // "2" holds no Dutch month name and the current month name is empty: "-2005"
    expect_failure([&] { v.daily("2005", "2"); }, "List index out of bounds (2)");
    v.month_name = "Feb";
    v.daily("2005", "2");
    EXPECT_EQ(labels(v.download), (Lines{"01", "02"}));
}

TEST(PerDay, DayValues) {
    Viewer v({log_line("01-Feb-2005", 0, 1), log_line("02-Feb-2005", kGiB / 2, 5000000),
              log_line("03-Feb-2005", 1000000000, 3 * kGiB / 2)});
    v.daily("2005", "Februari");
    EXPECT_EQ(values(v.download), (std::vector<double>{0, 0.5, 0.93}));
    EXPECT_EQ(values(v.upload), (std::vector<double>{0, 0, 1.5}));
}

TEST(PerDay, YearNotANumberFailsAfterFormatAndFlatView) {
    Viewer v(days({2005, 1, 1}, 3, kGiB, 0));
    expect_failure([&] { v.daily("", "Januari"); }, "'' is not a valid integer value");
    EXPECT_FALSE(v.download.is_3d());
    EXPECT_EQ(v.download.value_format(), kDailyValueFormat);
    EXPECT_EQ(v.download.titles(), Lines{"Download"});
}

TEST(PerDay, MonthNotFoundFailsPastTheLastLine) {
    Viewer v(days({2005, 1, 1}, 5, kGiB, 0));
    v.monthly("2005");
    expect_failure_on([&] { v.daily("2005", "Februari"); }, "List index out of bounds (5)", std::nullopt);
    EXPECT_EQ(v.download.titles(), Lines{"Download per maand 2005"});  // unchanged
    EXPECT_TRUE(v.download.points().empty());
    // a text without a Dutch month name: the key is built from the current
    // month name, which no line carries here
    expect_failure([&] { v.daily("2005", "januari"); }, "List index out of bounds (5)");
}

TEST(PerDay, BadAmountKeepsTheDaysBeforeAndTheirTitles) {
    Viewer v(days({2005, 1, 1}, 2, kGiB, 0) + Lines{"03-Jan-2005,1,x,"});
    expect_failure_on([&] { v.daily("2005", "Januari"); }, "'x' is not a valid floating point value", 2);
    EXPECT_EQ(labels(v.download), (Lines{"01", "02"}));
    EXPECT_EQ(v.download.titles(), Lines{"Download per dag Januari 2005"});
}

TEST(PerDay, TitlesAreWrittenOnEveryPass) {
    Viewer v(days({2005, 1, 1}, 3, kGiB, 0));
    int title_writes = 0;
    std::size_t last_count = v.download.titles().size();
    v.download.set_on_change([&] {
        if (v.download.titles().size() != last_count || v.download.titles().empty()) ++title_writes;
        last_count = v.download.titles().size();
    });
    v.daily("2005", "Januari");
    EXPECT_EQ(title_writes, 6);  // a clear and an add per day
}

}  // namespace
}  // namespace loglezer

namespace loglezer {
namespace {

// ---------------------------------------------------------------- dates

// A date out of its place would be read by position from the wrong
// characters: a one-digit day makes the yearly and daily options read "00"
// of "100", a lower-case month matches no month, a letter in the year is no
// year. Every option fails at such a line, naming it in its message and by
// its index, and keeps what it showed before it.
struct BadDateCase {
    const char* name;
    const char* line;
    const char* date;
    bool own_year;  // its year text differs from "2005": the year list gives it a group of its own
};

class BadDates : public ::testing::TestWithParam<BadDateCase> {};

void PrintTo(const BadDateCase& c, std::ostream* os) { *os << c.name; }

TEST_P(BadDates, EveryOptionFailsAtTheLine) {
    const std::string message = std::string("'") + GetParam().date + "' is not a valid date";
    const Lines log = days({2005, 1, 1}, 3, kGiB, 0) + days({2005, 2, 1}, 2, kGiB, 0) + Lines{GetParam().line} +
                      days({2005, 2, 4}, 2, kGiB, 0);

    Viewer yearly(log);
    expect_failure_on([&] { yearly.yearly(); }, message, 5);
    EXPECT_EQ(labels(yearly.download), GetParam().own_year ? Lines{"2005"} : Lines{});

    Viewer monthly(log);
    expect_failure_on([&] { monthly.monthly("2005"); }, message, 5);
    EXPECT_EQ(labels(monthly.download), (Lines{"Januari", "Februari"}));

    Viewer daily(log);
    expect_failure_on([&] { daily.daily("2005", "Februari"); }, message, 5);
    EXPECT_EQ(labels(daily.download), (Lines{"01", "02"}));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BadDates,
    ::testing::Values(BadDateCase{"one_digit_day", "3-Feb-2005,100,200,", "3-Feb-2005", true},
                      BadDateCase{"lower_case_month", "03-feb-2005,100,200,", "03-feb-2005", false},
                      BadDateCase{"three_digit_day", "003-Feb-2005,100,200,", "003-Feb-2005", true},
                      BadDateCase{"slashes", "03/Feb/2005,100,200,", "03/Feb/2005", false},
                      BadDateCase{"english_name", "03-Fbr-2005,100,200,", "03-Fbr-2005", false},
                      BadDateCase{"letter_in_year", "03-Feb-20x5,100,200,", "03-Feb-20x5", true},
                      BadDateCase{"byte_order_mark_inside",
                                  "\xEF\xBB\xBF"
                                  "03-Feb-2005,1,2,",
                                  "\xEF\xBB\xBF"
                                  "03-Feb-2005",
                                  true},
                      BadDateCase{"cut_off_date", "03-Feb-20", "03-Feb-20", true},
                      BadDateCase{"empty_line", "", "", true}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

}  // namespace
}  // namespace loglezer
