// The session: the viewer's state and events without a window.
#include <gtest/gtest.h>

#include "log/failure.h"
#include "session/log_state.h"
#include "tests/session/session_fixture.h"
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

using test::days_from;
using test::log_of;
using test::SessionTest;
namespace fs = std::filesystem;

TEST_F(SessionTest, ALogNamedOnTheCommandLineIsReadInsteadOfTheOneLogIniNames) {
    write("log.csv", log_of(days_from(2005, 1, 1, 2)));
    write("other.csv", log_of(days_from(2010, 3, 1, 2)));
    open("other.csv");
    EXPECT_EQ(screen().years, Lines{"2010"});
    EXPECT_FALSE(session_->log_missing());
}

// A missing log is told with the full path looked at; another may be
// chosen only when no log was named.
TEST_F(SessionTest, AMissingLogIsToldWithItsPath) {
    open();
    ASSERT_TRUE(outcome_.missing);
    EXPECT_EQ(outcome_.missing->path, (dir_ / "log.csv").string());
    EXPECT_TRUE(outcome_.missing->may_choose);
    EXPECT_TRUE(session_->log_missing());
    open("gone.csv");
    ASSERT_TRUE(outcome_.missing);
    EXPECT_EQ(outcome_.missing->path, (dir_ / "gone.csv").string());
    EXPECT_FALSE(outcome_.missing->may_choose) << "a log named is not replaced by another";
}

// Typed a digit at a time, a year is unfinished until it is whole: no
// failure on the way, and the months of the year at the end; a text that
// names no year empties the list but keeps the month chosen.
TEST_F(SessionTest, TypingAYearFillsTheMonthsOnceItIsWhole) {
    start(log_of(days_from(2022, 6, 1, 600)));
    session_->choose_option(PeriodOption::PerMonth);
    for (const char* typed : {"2", "20", "202"}) {
        EXPECT_TRUE(session_->type_year(typed).notices.empty()) << typed;
        EXPECT_TRUE(screen().months.empty()) << typed;
        EXPECT_EQ(screen().choice.month, "Januari") << typed;
    }
    EXPECT_TRUE(session_->type_year("2023").notices.empty());
    EXPECT_EQ(screen().months.size(), 12u);
    EXPECT_EQ(screen().choice.month, "Januari");
    // Picking the year already shown changes nothing; another refills.
    EXPECT_EQ(session_->pick_year("2023").changed, 0u);
    EXPECT_TRUE(session_->pick_year("2022").has(Outcome::Months));
    EXPECT_EQ(screen().months.front(), "Juni");
}

// A year the log has still reads the lines before it: a damaged one is the
// log's fault, and says so.
TEST_F(SessionTest, TypingAYearBehindADamagedLineTellsTheLinesFailure) {
    start("01-Jan-2005,1,2,\r\n02-Jan-20x5,1,2,\r\n01-Jan-2006,1,2,\r\n");
    EXPECT_EQ(told(session_->type_year("2006")), Lines{"log.csv, regel 2: '20x5' is not a valid integer value"});
}

TEST_F(SessionTest, MakeStatsInEachOption) {
    start(log_of(days_from(2005, 1, 1, 365 + 31)));
    const std::optional<std::string> totals = screen().total_download;
    session_->choose_option(PeriodOption::PerMonth);
    session_->set_year("2005");
    EXPECT_TRUE(session_->make_stats().notices.empty());
    EXPECT_EQ(labels(screen().download).size(), 12u);
    EXPECT_EQ(screen().download.titles(), Lines{"Download per maand 2005"});
    EXPECT_TRUE(screen().upload.is_3d());

    session_->choose_option(PeriodOption::PerDay);
    session_->set_month("Maart");
    session_->make_stats();
    EXPECT_EQ(labels(screen().upload).size(), 31u);
    EXPECT_EQ(screen().upload.titles(), Lines{"Upload per dag Maart 2005"});
    EXPECT_FALSE(screen().download.is_3d());

    // The totals are summed by the start-up's run alone.
    session_->choose_option(PeriodOption::PerYear);
    session_->make_stats();
    EXPECT_EQ(labels(screen().download), (Lines{"2005", "2006"}));
    EXPECT_TRUE(screen().download.is_3d());
    EXPECT_EQ(screen().total_download, totals);
}

struct SequenceCase {
    const char* name;
    std::vector<PeriodOption> options;  // each chosen and made after the start-up
    const char* download_title;
    const char* upload_title;
    const char* value_format;
};
void PrintTo(const SequenceCase& c, std::ostream* os) { *os << c.name; }

class OptionSequences : public SessionTest, public ::testing::WithParamInterface<SequenceCase> {};

// The titles and the value format are those of the last run, whatever ran
// before it.
TEST_P(OptionSequences, TheChartsCarryTheTitlesAndFormatOfTheLastRun) {
    start(log_of(days_from(2025, 12, 1, 45)));
    for (const PeriodOption option : GetParam().options) {
        session_->choose_option(option);
        EXPECT_TRUE(session_->make_stats().notices.empty());
    }
    EXPECT_EQ(screen().download.titles(), Lines{GetParam().download_title});
    EXPECT_EQ(screen().upload.titles(), Lines{GetParam().upload_title});
    EXPECT_EQ(screen().download.value_format(), GetParam().value_format);
    EXPECT_EQ(screen().upload.value_format(), GetParam().value_format);
}

constexpr const char* kYearlyDownload = "Download per jaar sinds 01 December 2025";
constexpr const char* kYearlyUpload = "Upload per jaar sinds 01 December 2025";
constexpr PeriodOption PerYear = PeriodOption::PerYear;
constexpr PeriodOption PerMonth = PeriodOption::PerMonth;
constexpr PeriodOption PerDay = PeriodOption::PerDay;

INSTANTIATE_TEST_SUITE_P(
    Runs, OptionSequences,
    ::testing::Values(
        SequenceCase{"StartUp", {}, kYearlyDownload, kYearlyUpload, kYearlyValueFormat},
        SequenceCase{"MonthThenYear", {PerMonth, PerYear}, kYearlyDownload, kYearlyUpload, kYearlyValueFormat},
        SequenceCase{"DayThenYear", {PerDay, PerYear}, kYearlyDownload, kYearlyUpload, kYearlyValueFormat},
        SequenceCase{"YearThenMonth",
                     {PerYear, PerMonth},
                     "Download per maand 2026",
                     "Upload per maand 2026",
                     kMonthlyValueFormat},
        SequenceCase{"DayThenMonth",
                     {PerDay, PerMonth},
                     "Download per maand 2026",
                     "Upload per maand 2026",
                     kMonthlyValueFormat},
        SequenceCase{"MonthThenDay",
                     {PerMonth, PerDay},
                     "Download per dag Januari 2026",
                     "Upload per dag Januari 2026",
                     kDailyValueFormat}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

struct FailureCase {
    const char* name;
    PeriodOption option;
    const char* year;
    const char* month;
    Lines told;
    const char* download_title;
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class FailureTexts : public SessionTest, public ::testing::WithParamInterface<FailureCase> {};

// 40 days from 1 January 2005, the 11th line without its download: the
// start-up stops there, and leaves the titles of the layout.
TEST_P(FailureTexts, SayWhereAndWhatInDutchAroundTheKeptMessage) {
    start(log_of(days_from(2005, 1, 1, 10)) + "11-Jan-2005,,1\r\n" + log_of(days_from(2005, 1, 12, 29)));
    const FailureCase& c = GetParam();
    session_->choose_option(c.option);
    session_->set_year(c.year);
    session_->set_month(c.month);
    EXPECT_EQ(told(session_->make_stats()), c.told);
    EXPECT_EQ(screen().download.titles(), Lines{c.download_title});
}

INSTANTIATE_TEST_SUITE_P(
    Runs, FailureTexts,
    ::testing::Values(FailureCase{"LineOfTheLog", PerDay, "2005", "Januari",
                                  Lines{"log.csv, regel 11: '' is not a valid floating point value"},
                                  "Download per dag Januari 2005"},
                      FailureCase{"YearNotInTheLog", PerMonth, "2019", "",
                                  Lines{"2019 staat niet in de log (List index out of "
                                        "bounds (40))"},
                                  "Download per maand 2019"},
                      FailureCase{"MonthNotInTheLog", PerDay, "2005", "maart",
                                  Lines{"Maart 2005 staat niet in de log (List index out of bounds (40))"}, "Download"},
                      FailureCase{
                          "MonthInAnyLetterCase", PerDay, "2005", "FEBRUARI", {}, "Download per dag Februari 2005"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

// A failure is told; the session goes on.
TEST_F(SessionTest, AFailureIsToldAndTheNextEventGoesOn) {
    start(log_of(days_from(2005, 1, 1, 40)));
    session_->choose_option(PeriodOption::PerMonth);
    session_->set_year("1999");
    const Outcome failed = session_->make_stats();
    EXPECT_EQ(told(failed), Lines{"1999 staat niet in de log (List index out of bounds (40))"});
    EXPECT_TRUE(failed.has(Outcome::Charts));
    EXPECT_EQ(screen().download.titles(), Lines{"Download per maand 1999"});
    session_->set_year("2005");
    EXPECT_TRUE(session_->make_stats().notices.empty());
    EXPECT_EQ(screen().download.points().size(), 2u);
}

// A session whose log.ini may carry an [allowance] section.
class Allowance : public SessionTest {
protected:
    void set_allowance(const std::string& section) {
        write("log.ini", "[path]\nlog=log.csv\n\n[allowance]\n" + section);
    }
};

TEST_F(Allowance, TheBoxGivesThePeriodWhatIsLeftAndTheDaysWithoutALine) {
    separators_ = Separators{',', '.'};
    set_allowance("limit=41,5 GiB\nstart_day=2\ncounts=both\n");
    start(log_of(days_from(2005, 6, 3, 9)));  // 3 to 11 June: day 10 of the period from 2 June
    ASSERT_TRUE(screen().allowance);
    EXPECT_EQ(screen().allowance->caption, "Bundel t/m 1 Juli");
    EXPECT_EQ(screen().allowance->tooltip,
              "Periode: 2 Juni 2005 t/m 1 Juli 2005\n"
              "Dag 10 van 30\n"
              "Bundel: 41,50 GiB, telt download en upload\n"
              "Nog over: 28,00 GiB, 1,40 GiB per dag\n"
              "Dagen zonder regel: 1");
}

// What log.ini holds that cannot be read is told; the rest goes on. Keys it
// does not know are told at the start only.
TEST_F(Allowance, SettingsThatCannotBeReadAreToldAndTheRestGoesOn) {
    set_allowance("limit=5OO GB\nstart-day=14\n\n[display]\nunits=kilo\n");
    start(log_of(days_from(2005, 6, 1, 10)));
    EXPECT_EQ(told(outcome_), (Lines{"log.ini: [allowance] unknown key 'start-day' is not read (its keys: limit, "
                                     "start_day, counts, warn)",
                                     "log.ini: [allowance] limit: '5OO GB' is not an amount",
                                     "log.ini: [display] units: 'kilo' is not binary or decimal"}));
    EXPECT_EQ(outcome_.notices.front().kind, Notice::Kind::Warning);
    EXPECT_FALSE(screen().allowance);
    EXPECT_EQ(screen().total_download, "10 GB");
    EXPECT_EQ(told(session_->reload()), (Lines{"log.ini: [allowance] limit: '5OO GB' is not an amount",
                                               "log.ini: [display] units: 'kilo' is not binary or decimal"}));
}

// [display] units=decimal: the GB of the figures and the bars are 10^9
// bytes; the allowance keeps the units of its limit.
TEST_F(Allowance, DecimalUnitsWriteTheFiguresInTheProvidersGigabytes) {
    set_allowance("limit=100 GiB\n\n[display]\nunits=decimal\n");
    start(log_of(days_from(2005, 6, 1, 10)));
    EXPECT_EQ(screen().total_download, "10.74 GB");
    EXPECT_EQ(screen().download.points().front().value, 10.74);
    EXPECT_EQ(screen().allowance->used, "15.00 GiB (15%)");
}

TEST_F(Allowance, AReloadReadsTheSettingsAndTheLogAgain) {
    set_allowance("limit=100 GiB\n");
    start(log_of(days_from(2005, 6, 1, 10)));
    set_allowance("limit=10 GiB\n");
    append("log.csv", log_of({"11-Jun-2005"}));
    EXPECT_TRUE(session_->reload().has(Outcome::Everything));
    EXPECT_EQ(screen().allowance->used, "16.50 GiB (165%)");
    EXPECT_TRUE(screen().allowance->used_over);
}

// Another log: one that fails (no log, an empty one, one gone) is told and
// leaves everything as it was; one that works is remembered for the next
// start, and a failure to remember it leaves it open.
TEST_F(SessionTest, ASwitchTakesOnlyALogThatStartsUp) {
    start(log_of(days_from(2005, 1, 1, 40)));
    write("notes.txt", "boodschappen\n");
    write("empty.csv", "");
    EXPECT_EQ(told(session_->switch_to((dir_ / "notes.txt").string())), Lines{"'' is not a valid integer value"});
    EXPECT_EQ(told(session_->switch_to((dir_ / "empty.csv").string())), Lines{"List index out of bounds (0)"});
    const Outcome gone = session_->switch_to((dir_ / "gone.csv").string());
    ASSERT_TRUE(gone.missing);
    EXPECT_EQ(gone.missing->path, (dir_ / "gone.csv").string());
    EXPECT_EQ(screen().years, Lines{"2005"});
    EXPECT_EQ(session_->log().path, dir_ / "log.csv");
    EXPECT_EQ(remembered(), std::nullopt);

    write("other.csv", log_of(days_from(2010, 3, 1, 2)));
    EXPECT_TRUE(session_->switch_to((dir_ / "other.csv").string()).notices.empty());
    EXPECT_EQ(screen().years, Lines{"2010"});
    EXPECT_EQ(remembered(), (dir_ / "other.csv").string());
    // Ctrl+R reads the log switched to.
    append("other.csv", log_of({"01-Jan-2011"}));
    session_->reload();
    EXPECT_EQ(screen().years, (Lines{"2010", "2011"}));

    fs::remove_all(dir_ / "config");
    write("config", "a file where the folder should be");
    EXPECT_EQ(told(session_->switch_to((dir_ / "log.csv").string())),
              Lines{"Cannot create file \"" + user_ini().string() + "\". Not a directory"});
    EXPECT_EQ(screen().years, Lines{"2005"});
}

}  // namespace
}  // namespace loglezer
