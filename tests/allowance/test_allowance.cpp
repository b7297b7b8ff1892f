// The allowance's core: its settings, the billing periods and the figures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "allowance/allowance.h"
#include "allowance/allowance_figures.h"
#include "log/failure.h"
#include "tests/stats/stats_test_util.h"
#include "text/dates.h"

namespace loglezer {
namespace {

namespace fs = std::filesystem;
using test::days;
using test::kGiB;
using test::operator+;
using ::testing::HasSubstr;
using ::testing::Property;
using ::testing::ThrowsMessage;
using Lines = std::vector<std::string>;

const Separators kSeps{'.', ','};

AllowanceSettings settings(long double limit, int start_day = 1, Counted counts = Counted::Both) {
    AllowanceSettings s;
    s.limit = limit;
    s.start_day = start_day;
    s.counts = counts;
    return s;
}

// "start..end, day D of N, L left, M without a line"
std::string period_text(const AllowanceFigures& f) {
    return iso_date(f.period.start) + ".." + iso_date(f.period.end) + ", day " + std::to_string(f.day) + " of " +
           std::to_string(f.period.days()) + ", " + std::to_string(f.days_left) + " left, " +
           std::to_string(f.days_without_line) + " without a line";
}

struct PeriodCase {
    const char* name;
    Lines log;
    int start_day;
    LogDate today;
    const char* expected;
};
void PrintTo(const PeriodCase& c, std::ostream* os) { *os << c.name; }

class BillingPeriods : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(BillingPeriods, HoldTheReferenceDay) {
    const PeriodCase& c = GetParam();
    const AllowanceFigures f =
        allowance_figures(LineList::from_lines(c.log), settings(kGiB, c.start_day), c.today, kSeps);
    EXPECT_EQ(period_text(f), c.expected);
    EXPECT_EQ(f.days.size(), static_cast<std::size_t>(f.day));
}

// A line for every day of 2022 to 2027.
const Lines kEveryDay = days({2022, 1, 1}, 6 * 365 + 1, 1, 1);

INSTANTIATE_TEST_SUITE_P(
    Days, BillingPeriods,
    ::testing::Values(PeriodCase{"StartDay1In31DayMonth",
                                 kEveryDay,
                                 1,
                                 {2026, 1, 15},
                                 "2026-01-01..2026-01-31, day 15 of 31, 16 left, 0 without a line"},
                      PeriodCase{"StartDay1OnFirstDay",
                                 kEveryDay,
                                 1,
                                 {2026, 3, 1},
                                 "2026-03-01..2026-03-31, day 1 of 31, 30 left, 0 without a line"},
                      PeriodCase{"StartDay1LeapFebruaryLastDay",
                                 kEveryDay,
                                 1,
                                 {2024, 2, 29},
                                 "2024-02-01..2024-02-29, day 29 of 29, 0 left, 0 without a line"},
                      PeriodCase{"StartDay1CommonFebruaryLastDay",
                                 kEveryDay,
                                 1,
                                 {2023, 2, 28},
                                 "2023-02-01..2023-02-28, day 28 of 28, 0 left, 0 without a line"},
                      PeriodCase{"StartDay14BeforeItsDay",
                                 kEveryDay,
                                 14,
                                 {2026, 12, 8},
                                 "2026-11-14..2026-12-13, day 25 of 30, 5 left, 0 without a line"},
                      PeriodCase{"StartDay14OnFirstDayOverNewYear",
                                 kEveryDay,
                                 14,
                                 {2026, 12, 14},
                                 "2026-12-14..2027-01-13, day 1 of 31, 30 left, 0 without a line"},
                      PeriodCase{"StartDay14OnLastDayOverNewYear",
                                 kEveryDay,
                                 14,
                                 {2027, 1, 13},
                                 "2026-12-14..2027-01-13, day 31 of 31, 0 left, 0 without a line"},
                      PeriodCase{"StartDay14LeapFebruary",
                                 kEveryDay,
                                 14,
                                 {2024, 3, 1},
                                 "2024-02-14..2024-03-13, day 17 of 29, 12 left, 0 without a line"},
                      PeriodCase{"StartDay14CommonFebruary",
                                 kEveryDay,
                                 14,
                                 {2023, 3, 13},
                                 "2023-02-14..2023-03-13, day 28 of 28, 0 left, 0 without a line"},
                      PeriodCase{"StartDay28OverNewYear",
                                 kEveryDay,
                                 28,
                                 {2025, 1, 5},
                                 "2024-12-28..2025-01-27, day 9 of 31, 22 left, 0 without a line"},
                      PeriodCase{"StartDay28LeapFebruaryFirstDay",
                                 kEveryDay,
                                 28,
                                 {2024, 2, 28},
                                 "2024-02-28..2024-03-27, day 1 of 29, 28 left, 0 without a line"},
                      PeriodCase{"StartDay28LeapFebruaryLeapDay",
                                 kEveryDay,
                                 28,
                                 {2024, 2, 29},
                                 "2024-02-28..2024-03-27, day 2 of 29, 27 left, 0 without a line"},
                      PeriodCase{"StartDay28CommonFebruaryLastDay",
                                 kEveryDay,
                                 28,
                                 {2023, 3, 27},
                                 "2023-02-28..2023-03-27, day 28 of 28, 0 left, 0 without a line"},
                      // From the 29th to the 31st a month without the day starts its period on its last day.
                      PeriodCase{"StartDay29OverNewYear",
                                 kEveryDay,
                                 29,
                                 {2024, 1, 5},
                                 "2023-12-29..2024-01-28, day 8 of 31, 23 left, 0 without a line"},
                      PeriodCase{"StartDay29CommonFebruaryLastDay",
                                 kEveryDay,
                                 29,
                                 {2023, 2, 28},
                                 "2023-02-28..2023-03-28, day 1 of 29, 28 left, 0 without a line"},
                      PeriodCase{"StartDay29LeapFebruaryBeforeLeapDay",
                                 kEveryDay,
                                 29,
                                 {2024, 2, 28},
                                 "2024-01-29..2024-02-28, day 31 of 31, 0 left, 0 without a line"},
                      PeriodCase{"StartDay29LeapFebruaryLeapDay",
                                 kEveryDay,
                                 29,
                                 {2024, 2, 29},
                                 "2024-02-29..2024-03-28, day 1 of 29, 28 left, 0 without a line"},
                      PeriodCase{"StartDay30OverNewYear",
                                 kEveryDay,
                                 30,
                                 {2023, 1, 1},
                                 "2022-12-30..2023-01-29, day 3 of 31, 28 left, 0 without a line"},
                      PeriodCase{"StartDay30CommonFebruaryBeforeLastDay",
                                 kEveryDay,
                                 30,
                                 {2023, 2, 27},
                                 "2023-01-30..2023-02-27, day 29 of 29, 0 left, 0 without a line"},
                      PeriodCase{"StartDay30LeapFebruaryLeapDay",
                                 kEveryDay,
                                 30,
                                 {2024, 2, 29},
                                 "2024-02-29..2024-03-29, day 1 of 30, 29 left, 0 without a line"},
                      PeriodCase{"StartDay31OverNewYear",
                                 kEveryDay,
                                 31,
                                 {2024, 1, 1},
                                 "2023-12-31..2024-01-30, day 2 of 31, 29 left, 0 without a line"},
                      PeriodCase{"StartDay31CommonFebruaryBeforeLastDay",
                                 kEveryDay,
                                 31,
                                 {2023, 2, 27},
                                 "2023-01-31..2023-02-27, day 28 of 28, 0 left, 0 without a line"},
                      PeriodCase{"StartDay31CommonFebruaryLastDay",
                                 kEveryDay,
                                 31,
                                 {2023, 2, 28},
                                 "2023-02-28..2023-03-30, day 1 of 31, 30 left, 0 without a line"},
                      PeriodCase{"StartDay31LeapFebruaryLeapDay",
                                 kEveryDay,
                                 31,
                                 {2024, 3, 30},
                                 "2024-02-29..2024-03-30, day 31 of 31, 0 left, 0 without a line"},
                      PeriodCase{"StartDay31In30DayMonth",
                                 kEveryDay,
                                 31,
                                 {2023, 4, 30},
                                 "2023-04-30..2023-05-30, day 1 of 31, 30 left, 0 without a line"},
                      // 3 and 5 March have no line, nor the days before the log's first line.
                      PeriodCase{
                          "MissingDays",
                          days({2024, 3, 2}, 1, 1, 1) + days({2024, 3, 4}, 1, 1, 1) + days({2024, 3, 6}, 2, 1, 1),
                          1,
                          {2024, 3, 7},
                          "2024-03-01..2024-03-31, day 7 of 31, 24 left, 3 without a line"},
                      // The days after the log's last line are days without a line too.
                      PeriodCase{"TodayAfterTheLog",
                                 days({2024, 3, 1}, 5, 1, 1),
                                 1,
                                 {2024, 3, 10},
                                 "2024-03-01..2024-03-31, day 10 of 31, 21 left, 5 without a line"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

// Through a leap February (2024) and a common one (2025).
TEST(BillingPeriod, NextStartsTheDayAfterTheEnd) {
    for (const int start_day : {1, 14, 28, 29, 30, 31}) {
        BillingPeriod period = billing_period({2023, 11, 20}, start_day);
        for (int i = 0; i < 24; ++i) {
            const BillingPeriod next = next_billing_period(period, start_day);
            const std::string name = std::to_string(start_day) + " " + iso_date(next.start);
            EXPECT_EQ(day_number(next.start), day_number(period.end) + 1) << name;
            EXPECT_EQ(next.start.day, std::min(start_day, days_in_month(next.start.year, next.start.month))) << name;
            EXPECT_EQ(day_number(billing_period(next.end, start_day).start), day_number(next.start)) << name;
            period = next;
        }
    }
}

struct LimitCase {
    const char* name;
    const char* text;
    long double bytes;  // when it is a limit
    UnitMode units;
    const char* reason;  // else
};
void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }

class LimitTexts : public ::testing::TestWithParam<LimitCase> {};

// More decimals than a long double's exponent holds as a power of ten.
const std::string kThousandsOfDecimals = "1." + std::string(6000, '0') + "1 GB";
constexpr long double kTiB = 1024.0L * kGiB;
constexpr UnitMode kDecimal = UnitMode::Decimal;
constexpr UnitMode kBinary = UnitMode::Binary;

TEST_P(LimitTexts, GiveBytesAndUnitsOrTheReason) {
    const LimitCase& c = GetParam();
    if (c.reason) {
        EXPECT_THAT([&] { parse_limit(c.text, "limit"); },
                    ThrowsMessage<Failure>(std::string("limit: '") + c.text + "' " + c.reason));
    } else {
        const Limit limit = parse_limit(c.text, "limit");
        EXPECT_EQ(limit.bytes, c.bytes);
        EXPECT_EQ(limit.units, c.units);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LimitTexts,
    ::testing::Values(
        LimitCase{"BareNumberIsTheProvidersGigabytes", "120", 120e9L, kDecimal, nullptr},
        LimitCase{"Gigabytes", "120 GB", 120e9L, kDecimal, nullptr},
        LimitCase{"Gibibytes", "120 GiB", 120.0L * kGiB, kBinary, nullptr},
        LimitCase{"DecimalCommaAndNoBlank", "1,5TB", 1.5e12L, kDecimal, nullptr},
        LimitCase{"DecimalPointAnyCaseAndBlanks", "  1.5 tib ", 1.5L * kTiB, kBinary, nullptr},
        LimitCase{"Mebibytes", "750 MiB", 750.0L * 1024 * 1024, kBinary, nullptr},
        LimitCase{"Megabytes", "750 mb", 750e6L, kDecimal, nullptr}, LimitCase{"Bytes", "5 B", 5, kDecimal, nullptr},
        LimitCase{"KilobytesRoundedToTheByte", "0.0015 kB", 2, kDecimal, nullptr},
        LimitCase{"RoundedToTheNearestByte", "1.1 GiB", 1181116006, kBinary, nullptr},
        LimitCase{"Largest", "8388607.999 TiB", 9223372035755264180.0L, kBinary, nullptr},
        LimitCase{"ThousandsOfDecimals", kThousandsOfDecimals.c_str(), 1e9L, kDecimal, nullptr},
        LimitCase{"FourDecimalsAreNoThousands", "1,0000 GB", 1e9L, kDecimal, nullptr},
        LimitCase{"ThreeDecimalsAfterZero", "0,500 GB", 0.5e9L, kDecimal, nullptr},
        LimitCase{"ThreeDecimalsAfterFourDigits", "1000,500 GB", 1000.5e9L, kDecimal, nullptr},
        LimitCase{"AmbiguousComma", "1,000 GB", 0, kDecimal, "is ambiguous: write 1000 GB, 1 TB or 1,5 GB"},
        LimitCase{"AmbiguousPointBare", "2.500", 0, kDecimal, "is ambiguous: write 2500 GB, 2.5 TB or 2.5 GB"},
        LimitCase{"AmbiguousBinary", "1,024 GiB", 0, kBinary, "is ambiguous: write 1024 GiB or 1,5 GiB"},
        LimitCase{"LetterOForZero", "5OO GB", 0, kDecimal, "is not an amount"},
        LimitCase{"Empty", "", 0, kDecimal, "is not an amount"},
        LimitCase{"UnitAlone", "GB", 0, kDecimal, "is not an amount"},
        LimitCase{"Sign", "-5 GB", 0, kDecimal, "is not an amount"},
        LimitCase{"Exponent", "1e3", 0, kDecimal, "is not an amount"},
        LimitCase{"Grouping", "1.000,5 GB", 0, kDecimal, "is not an amount"},
        LimitCase{"PointWithoutDigits", "5. GB", 0, kDecimal, "is not an amount"},
        LimitCase{"OtherUnit", "5 PB", 0, kDecimal, "is not an amount"},
        LimitCase{"Zero", "0 GB", 0, kDecimal, "is not more than 0 bytes"},
        LimitCase{"LessThanHalfAByte", "0.0004 KB", 0, kDecimal, "is not more than 0 bytes"},
        LimitCase{"TooLarge", "8388608 TiB", 0, kDecimal, "is not below 8388608 TiB"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

// The two log.ini files of a look-up, in a folder of the test's own.
class AllowanceFiles : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("loglezer_allowance_" + std::to_string(::getpid()));
    LogPlaces places{dir / "work", dir / "config" / "log.ini"};
    fs::path local_ini = dir / "work" / "log.ini";

    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir / "work");
        fs::create_directories(dir / "config");
    }
    void TearDown() override { fs::remove_all(dir); }
    static void write(const fs::path& file, const std::string& text) { std::ofstream(file) << text; }
};

MATCHER_P3(IsSettings, limit, start_day, counts, "") {
    return arg.limit == limit && arg.start_day == start_day && arg.counts == counts;
}

// The settings as one line: "LIMIT UNITS, day D, COUNTS; looked in FILES".
std::string settings_text(const AllowanceSettings& s) {
    std::string text = s.limit ? std::to_string(static_cast<long long>(*s.limit)) : std::string("no limit");
    text += s.units == UnitMode::Binary ? " binary" : " decimal";
    text += ", day " + std::to_string(s.start_day) + ", " + std::string(counts_name(s.counts)) + "; looked in ";
    for (const std::string& file : s.looked_in) text += file == "log.ini" ? "local " : "user ";
    return text;
}

// Where the allowance comes from: the first of the log.ini the log was
// found through, the working directory's and the user's that has the
// section, whole.
struct SourceCase {
    const char* name;
    const char* local;  // the working directory's log.ini, or none
    const char* user;   // the user's, or none
    bool found_through_user;
    const char* expected;
};
void PrintTo(const SourceCase& c, std::ostream* os) { *os << c.name; }

class AllowanceSources : public AllowanceFiles, public ::testing::WithParamInterface<SourceCase> {};

TEST_P(AllowanceSources, TakeTheFirstFileWithTheSection) {
    const SourceCase& c = GetParam();
    if (c.local) write(local_ini, c.local);
    if (c.user) write(*places.user_ini, c.user);
    const std::optional<fs::path> found_through = c.found_through_user ? places.user_ini
                                                  : c.local            ? std::optional(local_ini)
                                                                       : std::nullopt;
    EXPECT_EQ(settings_text(read_allowance_settings(found_through, places)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, AllowanceSources,
    ::testing::Values(SourceCase{"TheLocalIniTheLogWasFoundThrough",
                                 "[path]\nlog=log.csv\n[allowance]\nlimit=500 GB\nstart_day = 31\ncounts=DOWNLOAD\n",
                                 "[allowance]\nlimit=1 GB\n", false,
                                 "500000000000 decimal, day 31, download; looked in local "},
                      // --log log.csv next to a log.ini with a limit.
                      SourceCase{"TheLocalIniAlsoForALogFromTheCommandLine", "[allowance]\nlimit=120 GiB\n",
                                 "[allowance]\nlimit=1 GB\n", false,
                                 "128849018880 binary, day 1, both; looked in local "},
                      SourceCase{"ElseTheUsers", "[path]\nlog=log.csv\n", "[allowance]\nlimit=1 GB\nstart_day=\n",
                                 false, "1000000000 decimal, day 1, both; looked in local user "},
                      SourceCase{"TheUsersFirstWhenTheLogWasFoundThroughIt", "[allowance]\nlimit=500\n",
                                 "[path]\nlog=/l.csv\n[allowance]\nlimit=1\n", true,
                                 "1000000000 decimal, day 1, both; looked in user "},
                      SourceCase{"ASectionWithoutALimitIsNoAllowance", "[allowance]\nstart_day=3\n",
                                 "[allowance]\nlimit=1 GB\n", false, "no limit decimal, day 3, both; looked in local "},
                      SourceCase{"NoSectionAnywhere", nullptr, nullptr, false,
                                 "no limit decimal, day 1, both; looked in local user "}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

struct WarningCase {
    const char* name;
    std::string ini;
    std::vector<std::string> expected;
};
void PrintTo(const WarningCase& c, std::ostream* os) { *os << c.name; }

class SettingsWarnings : public AllowanceFiles, public ::testing::WithParamInterface<WarningCase> {};

TEST_P(SettingsWarnings, NameWhatIsNotRead) {
    write(local_ini, GetParam().ini);
    EXPECT_EQ(settings_warnings(settings_files(std::nullopt, places)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsWarnings,
    ::testing::Values(
        WarningCase{"None", "[path]\nlog=a.csv\n[allowance]\nLimit=5\nstart_day=3\n[other]\nx=1\n", {}},
        WarningCase{
            "UnknownKeys",
            "[allowance]\nlimit=5\nstart-day=14\nstart day = 3\n[path]\nlogfile=a\n",
            {"log.ini: [allowance] unknown key 'start-day' is not read (its keys: limit, start_day, counts, warn)",
             "log.ini: [allowance] unknown key 'start day' is not read (its keys: limit, start_day, counts, warn)",
             "log.ini: [path] unknown key 'logfile' is not read (its keys: log, interface)"}},
        WarningCase{"AKeyTwice",
                    "[display]\nunits=decimal\nUnits=binary\n",
                    {"log.ini: [display] key 'Units' given again on line 3 is not read (the first counts)"}},
        WarningCase{"ASectionTwice",
                    "[allowance]\nlimit=1\n[path]\nlog=a\n[Allowance]\nlimt=2\n",
                    {"log.ini: section [allowance] given again on line 5 is not read (the first counts)"}},
        WarningCase{
            "ControlCharacters",
            "[allowance]\nli\x01mit=1\n",
            {"log.ini: [allowance] unknown key 'li?mit' is not read (its keys: limit, start_day, counts, warn)"}}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

TEST_F(AllowanceFiles, ANamedPipeIsNoSettingsFileAndHoldsNothingUp) {
    ASSERT_EQ(::mkfifo(places.user_ini->c_str(), 0600), 0);
    EXPECT_THAT(read_allowance_settings(std::nullopt, places), IsSettings(std::nullopt, 1, Counted::Both));
}

TEST_F(AllowanceFiles, ABadValueNamesTheFileTheKeyAndTheValue) {
    write(local_ini, "[allowance]\nlimit=5OO GB\n");
    EXPECT_THAT([&] { read_allowance_settings(local_ini, places); },
                ThrowsMessage<Failure>("log.ini: [allowance] limit: '5OO GB' is not an amount"));
    // A control character in a value, also a NUL, is written as '?'.
    write(local_ini, std::string("[allowance]\nlimit=120\0 GB\n", 26));
    EXPECT_THAT([&] { read_allowance_settings(local_ini, places); },
                ThrowsMessage<Failure>("log.ini: [allowance] limit: '120? GB' is not an amount"));
    fs::remove(local_ini);
    write(*places.user_ini, "[allowance]\ncounts=all\n");
    EXPECT_THAT([&] { read_allowance_settings(std::nullopt, places); },
                ThrowsMessage<Failure>(places.user_ini->string() +
                                       ": [allowance] counts: 'all' is not download, upload or both"));
}

// Ten days of 1 GiB download and 0.5 GiB upload from 1 March 2024.
const Lines kTenDays = days({2024, 3, 1}, 10, kGiB, kGiB / 2);

TEST(AllowanceFigures, OfTheCurrentPeriodUpToToday) {
    // Today 10 March: 10 of 31 days, 15 GiB used of 40 GiB.
    const AllowanceFigures f =
        allowance_figures(LineList::from_lines(kTenDays), settings(40.0L * kGiB), {2024, 3, 10}, kSeps);
    EXPECT_EQ(f.download, 10.0L * kGiB);
    EXPECT_EQ(f.upload, 5.0L * kGiB);
    EXPECT_EQ(f.used, 15.0L * kGiB);
    EXPECT_EQ(f.percent, 37.5L);
    EXPECT_EQ(f.left, 25.0L * kGiB);
    EXPECT_EQ(f.per_day_left, 25.0L * kGiB / 21);
    EXPECT_EQ(f.estimate, 46.5L * kGiB);
    EXPECT_EQ(f.status, AllowanceStatus::Pace);
    EXPECT_THAT(f.running_totals,
                ::testing::ElementsAre(1.5L * kGiB, 3.0L * kGiB, 4.5L * kGiB, 6.0L * kGiB, 7.5L * kGiB, 9.0L * kGiB,
                                       10.5L * kGiB, 12.0L * kGiB, 13.5L * kGiB, 15.0L * kGiB));
}

struct StatusCase {
    const char* name;
    long double limit;
    Counted counts;
    AllowanceStatus status;
};
void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.name; }

class AllowanceStatuses : public ::testing::TestWithParam<StatusCase> {};

// Today 2 March of a 31-day period: the estimate is 15.5 times the use.
TEST_P(AllowanceStatuses, ComparedUnrounded) {
    const StatusCase& c = GetParam();
    const AllowanceFigures f =
        allowance_figures(LineList::from_lines(kTenDays), settings(c.limit, 1, c.counts), {2024, 3, 2}, kSeps);
    EXPECT_EQ(f.status, c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, AllowanceStatuses,
    ::testing::Values(StatusCase{"EstimateBelowTheLimit", 47.0L * kGiB, Counted::Both, AllowanceStatus::Under},
                      StatusCase{"EstimateIsTheLimit", 46.5L * kGiB, Counted::Both, AllowanceStatus::Under},
                      StatusCase{"EstimateAByteOver", 46.5L * kGiB - 1, Counted::Both, AllowanceStatus::Pace},
                      StatusCase{"UsedIsTheLimit", 3.0L * kGiB, Counted::Both, AllowanceStatus::Pace},
                      StatusCase{"UsedAByteOver", 3.0L * kGiB - 1, Counted::Both, AllowanceStatus::Over},
                      StatusCase{"DownloadOnly", 31.0L * kGiB, Counted::Download, AllowanceStatus::Under},
                      StatusCase{"UploadOnly", 1.0L * kGiB - 1, Counted::Upload, AllowanceStatus::Over}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

TEST(AllowanceFigures, OverHasNothingLeftPerDayAndTheLastDayNoFigurePerDay) {
    const LineList lines = LineList::from_lines(kTenDays);
    AllowanceFigures f = allowance_figures(lines, settings(10.0L * kGiB), {2024, 3, 10}, kSeps);
    EXPECT_EQ(f.left, -5.0L * kGiB);
    EXPECT_EQ(f.per_day_left, 0.0L);
    f = allowance_figures(lines, settings(10.0L * kGiB, 11), {2024, 3, 10}, kSeps);
    EXPECT_EQ(f.days_left, 0);
    EXPECT_EQ(f.per_day_left, std::nullopt);
}

MATCHER_P2(FailsOnLine, index, text, "") {
    try {
        arg();
    } catch (const Failure& failure) {
        return failure.line() == index && std::string(failure.what()) == text;
    }
    return false;
}

TEST(AllowanceFigures, ReadEveryDateButOnlyTheAmountsCounted) {
    const AllowanceSettings limit = settings(kGiB);
    // A bad amount before the period and after today is never read.
    const LineList unread = LineList::from_lines(Lines{"29-Feb-2024,x,1,"} + kTenDays + Lines{"11-Mar-2024,1,y,"});
    EXPECT_EQ(allowance_figures(unread, limit, {2024, 3, 10}, kSeps).used, 15.0L * kGiB);
    const auto figures_of = [&](const Lines& log) {
        return [=] { allowance_figures(LineList::from_lines(log), limit, {2024, 3, 10}, kSeps); };
    };
    EXPECT_THAT(figures_of(kTenDays + Lines{"31-Apr-2024,1,1,"}), FailsOnLine(10, "'31-Apr-2024' is not a valid date"));
    EXPECT_THAT(figures_of(Lines{"1-Mar-2024,1,1,"} + kTenDays), FailsOnLine(0, "'1-Mar-2024' is not a valid date"));
    EXPECT_THAT(figures_of(days({2024, 3, 1}, 2, 1, 1) + Lines{"03-Mar-2024,12a,1,"}),
                FailsOnLine(2, "'12a' is not a valid floating point value"));
}

TEST(LogSpan, IsTheFirstAndTheLastLinesDatesAndTheEarliest) {
    const LogSpan span = log_span(
        LineList::from_lines(days({2024, 3, 1}, 3, 1, 1) + days({2024, 2, 1}, 1, 1, 1) + days({2024, 2, 10}, 1, 1, 1)));
    EXPECT_EQ(iso_date(span.first) + " " + iso_date(span.last) + " " + iso_date(span.earliest),
              "2024-03-01 2024-02-10 2024-02-01");
    EXPECT_THAT([] { log_span(LineList()); }, ThrowsMessage<Failure>("List index out of bounds (0)"));
}

// "start download-GiB used days_with_line/days", " current" on the current one.
std::vector<std::string> shown(const std::vector<PeriodTotals>& periods) {
    std::vector<std::string> lines;
    for (const PeriodTotals& p : periods) {
        lines.push_back(iso_date(p.period.start) + " " + std::to_string(static_cast<long long>(p.download / kGiB)) +
                        " " + std::to_string(static_cast<long long>(p.used)) + " " + std::to_string(p.days_with_line) +
                        "/" + std::to_string(p.period.days()) + (p.current ? " current" : ""));
    }
    return lines;
}

TEST(PeriodTotals, FromTheFirstLinesPeriodToTodays) {
    // From 10 January to 20 March, without 1 to 9 February, upload only counted.
    const Lines log = days({2024, 1, 10}, 22, kGiB, 2) + days({2024, 2, 10}, 40, kGiB, 1);
    const LineList lines = LineList::from_lines(log);
    const std::vector<PeriodTotals> periods =
        period_totals(lines, settings(kGiB, 14, Counted::Upload), log_span(lines), {2024, 3, 13}, kSeps);
    EXPECT_THAT(shown(periods), ::testing::ElementsAre("2023-12-14 4 8 4/31", "2024-01-14 22 40 22/31",
                                                       "2024-02-14 29 29 29/29 current"));
}

TEST(PeriodTotals, CountALineOutOfOrderInThePeriodOfItsDate) {
    // 14 to 20 February, then 3 and 4 January, then 21 February.
    const LineList lines = LineList::from_lines(days({2024, 2, 14}, 7, kGiB, 1) + days({2024, 1, 3}, 2, 2 * kGiB, 1) +
                                                days({2024, 2, 21}, 1, kGiB, 1));
    const std::vector<PeriodTotals> periods =
        period_totals(lines, settings(kGiB, 14, Counted::Upload), log_span(lines), {2024, 2, 21}, kSeps);
    EXPECT_THAT(shown(periods),
                ::testing::ElementsAre("2023-12-14 4 2 2/31", "2024-01-14 0 0 0/31", "2024-02-14 8 8 8/29 current"));
}

}  // namespace
}  // namespace loglezer
