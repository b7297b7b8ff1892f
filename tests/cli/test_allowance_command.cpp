// loglezer-stats --allowance and --periods on a small log, the allowance run
// in the test's process on a day of its own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/run.h"
#include "tests/cli/stats_command_fixture.h"
#include "tests/stats/stats_test_util.h"

namespace loglezer {
namespace {

using test::days;
using test::kGiB;
using test::log_line;
using test::operator+;
using Lines = std::vector<std::string>;

constexpr long long kMiB = 1024 * 1024;

// Four days of 100 GiB before the period of 14 November 2026; then every
// day from 14 November to 8 December but 20 November with 16 GiB download
// and 504 MiB upload (7 bytes more on 8 December); then 1 GiB on 9
// December. On 8 December, of a limit of 500 GiB (536870912000 bytes):
// 24 days give 412316860416 + 12683575303 = 425000435719 bytes used, 79.1625
// percent; 111870476281 left, 22374095256.2 for each of the 5 days after;
// the estimate 425000435719 / 25 x 30 = 510000522862.8.
Lines allowance_log() {
    return days({2026, 11, 10}, 4, 100 * kGiB, 0) + days({2026, 11, 14}, 6, 16 * kGiB, 504 * kMiB) +
           days({2026, 11, 21}, 17, 16 * kGiB, 504 * kMiB) + Lines{log_line("08-Dec-2026", 16 * kGiB, 504 * kMiB + 7)} +
           days({2026, 12, 9}, 1, kGiB, 0);
}

// The output of a run, kept.
class TextOutput final : public cli::Output {
public:
    void write(std::string_view text) override { text_ += text; }
    void flush() override {}
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// The arguments of a command line as a shell splits it: at blanks, a text
// in single quotes kept whole.
std::vector<std::string> split_arguments(const std::string& line) {
    std::vector<std::string> args;
    std::string arg;
    bool quoted = false;
    bool any = false;
    for (const char c : line) {
        if (c == '\'') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any) args.push_back(arg);
            arg.clear();
            any = false;
        } else {
            arg += c;
            any = true;
        }
    }
    if (any) args.push_back(arg);
    return args;
}

// The log found through log.ini, whose [allowance] gives the settings, read
// by the command run in the test's process on the day `today` (the day
// after the last line of allowance_log) under the C locale.
class AllowanceCommand : public test::StatsCommand {
protected:
    void write_settings(const std::string& allowance) {
        write_log("log.csv", allowance_log());
        std::ofstream(dir / "log.ini") << "[path]\nlog=log.csv\n[allowance]\n" << allowance;
    }
    test::Result run(const std::string& args) {
        TextOutput out;
        std::ostringstream err;
        const int status = cli::run(split_arguments(args), out, err, LogPlaces{dir, user_ini}, NumericLocale{},
                                    [this] { return today; });
        return {status, out.text(), err.str()};
    }

    LogDate today{2026, 12, 10};
    std::optional<std::filesystem::path> user_ini = user_log_ini();
};

struct FormCase {
    const char* name;
    const char* args;
    const char* expected_out;
    int status = 0;
};
void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }

class AllowanceForms : public AllowanceCommand, public ::testing::WithParamInterface<FormCase> {};

TEST_P(AllowanceForms, WriteTheFiguresOfTheSettingsInLogIni) {
    write_settings("limit = 500 gib\nstart_day=14\ncounts=both\n");
    const FormCase& c = GetParam();
    const test::Result r = run(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(without_log_source(r.out, "log.csv"), c.expected_out);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, AllowanceForms,
    ::testing::Values(
        FormCase{"AllowanceTable", "--allowance --today 2026-12-08",
                 "Billing period 14 November 2026 to 13 December 2026\n"
                 "Day 25 of 30 (8 December 2026), 5 days left; counting download and upload\n"
                 "\n"
                 "Limit                500.00 GiB\n"
                 "Download             384.00 GiB\n"
                 "Upload                11.81 GiB\n"
                 "Used                 395.81 GiB  79.16% of the limit\n"
                 "Left                 104.19 GiB\n"
                 "Per day left          20.84 GiB  for each of the days after today\n"
                 "Estimate             474.98 GiB  for the whole period at the pace so far\n"
                 "Days without a line           1\n"
                 "\n"
                 "Status: under (at this pace the period ends within the limit)\n"},
        // Worked out by hand above: the percentage rounded to two
        // decimals, the estimate and the figure per day to the byte; the
        // line of 9 December is left out.
        FormCase{"AllowanceJson", "--allowance --today 2026-12-08 --json",
                 "{\n"
                 "  \"format\": 1,\n"
                 "  \"view\": \"allowance\",\n"
                 "  \"today\": \"2026-12-08\",\n"
                 "  \"counts\": \"both\",\n"
                 "  \"start_day\": 14,\n"
                 "  \"unit\": \"GiB\",\n"
                 "  \"period\": {\n"
                 "    \"start\": \"2026-11-14\",\n"
                 "    \"end\": \"2026-12-13\",\n"
                 "    \"days\": 30,\n"
                 "    \"day\": 25,\n"
                 "    \"days_left\": 5,\n"
                 "    \"days_without_line\": 1\n"
                 "  },\n"
                 "  \"last_line\": \"2026-12-09\",\n"
                 "  \"stale_days\": 1,\n"
                 "  \"limit_bytes\": 536870912000,\n"
                 "  \"download_bytes\": 412316860416,\n"
                 "  \"upload_bytes\": 12683575303,\n"
                 "  \"used_bytes\": 425000435719,\n"
                 "  \"percent\": 79.16,\n"
                 "  \"left_bytes\": 111870476281,\n"
                 "  \"per_day_left_bytes\": 22374095256,\n"
                 "  \"estimate_bytes\": 510000522863,\n"
                 "  \"status\": \"under\"\n"
                 "}\n"},
        // On the period's last day and over: no day is left, and what is
        // left is 300 GiB - (425000435719 + 1 GiB) = -103951630343; the
        // estimate is the use; five days without a line (20 November and
        // 10 to 13 December).
        FormCase{"AllowanceJsonOverOnTheLastDay", "--allowance --limit 300GiB --today 2026-12-13 --json",
                 "{\n"
                 "  \"format\": 1,\n"
                 "  \"view\": \"allowance\",\n"
                 "  \"today\": \"2026-12-13\",\n"
                 "  \"counts\": \"both\",\n"
                 "  \"start_day\": 14,\n"
                 "  \"unit\": \"GiB\",\n"
                 "  \"period\": {\n"
                 "    \"start\": \"2026-11-14\",\n"
                 "    \"end\": \"2026-12-13\",\n"
                 "    \"days\": 30,\n"
                 "    \"day\": 30,\n"
                 "    \"days_left\": 0,\n"
                 "    \"days_without_line\": 5\n"
                 "  },\n"
                 "  \"last_line\": \"2026-12-09\",\n"
                 "  \"stale_days\": 1,\n"
                 "  \"limit_bytes\": 322122547200,\n"
                 "  \"download_bytes\": 413390602240,\n"
                 "  \"upload_bytes\": 12683575303,\n"
                 "  \"used_bytes\": 426074177543,\n"
                 "  \"percent\": 132.27,\n"
                 "  \"left_bytes\": -103951630343,\n"
                 "  \"per_day_left_bytes\": null,\n"
                 "  \"estimate_bytes\": 426074177543,\n"
                 "  \"status\": \"over\"\n"
                 "}\n",
                 4},
        FormCase{
            "PeriodsTable", "--periods",
            "Billing periods from day 14 of a month up to 9 December 2026\n"
            "Counting download and upload; limit 500.00 GiB\n"
            "\n"
            "Start       End           Download     Upload     Counted  Percent  Days with a line  Days\n"
            "2026-10-14  2026-11-13  400.00 GiB   0.00 GiB  400.00 GiB   80.00%                 4    31\n"
            "2026-11-14  2026-12-13  385.00 GiB  11.81 GiB  396.81 GiB   79.36%                25    30  current\n"},
        FormCase{"PeriodsCsvUploadOnly", "--periods --counts upload --today 2026-12-08 --csv",
                 "start,end,download_bytes,upload_bytes,used_bytes,percent,days_with_line,days,current\n"
                 "2026-10-14,2026-11-13,429496729600,0,0,0.00,4,31,false\n"
                 "2026-11-14,2026-12-13,412316860416,12683575303,12683575303,2.36,24,30,true\n"},
        FormCase{"PeriodsCsvOfAYearWithoutOne", "--periods --year 2025 --csv",
                 "start,end,download_bytes,upload_bytes,used_bytes,percent,days_with_line,days,current\n"},
        FormCase{"PeriodsJsonOfAYear", "--periods --year 2026 --start-day 1 --json",
                 "{\n"
                 "  \"format\": 1,\n"
                 "  \"view\": \"periods\",\n"
                 "  \"today\": \"2026-12-09\",\n"
                 "  \"counts\": \"both\",\n"
                 "  \"start_day\": 1,\n"
                 "  \"unit\": \"GiB\",\n"
                 "  \"limit_bytes\": 536870912000,\n"
                 "  \"year\": 2026,\n"
                 "  \"periods\": [\n"
                 "    {\n"
                 "      \"start\": \"2026-11-01\",\n"
                 "      \"end\": \"2026-11-30\",\n"
                 "      \"download_bytes\": 704374636544,\n"
                 "      \"upload_bytes\": 8455716864,\n"
                 "      \"used_bytes\": 712830353408,\n"
                 "      \"percent\": 132.78,\n"
                 "      \"days_with_line\": 20,\n"
                 "      \"days\": 30,\n"
                 "      \"current\": false\n"
                 "    },\n"
                 "    {\n"
                 "      \"start\": \"2026-12-01\",\n"
                 "      \"end\": \"2026-12-31\",\n"
                 "      \"download_bytes\": 138512695296,\n"
                 "      \"upload_bytes\": 4227858439,\n"
                 "      \"used_bytes\": 142740553735,\n"
                 "      \"percent\": 26.59,\n"
                 "      \"days_with_line\": 9,\n"
                 "      \"days\": 31,\n"
                 "      \"current\": true\n"
                 "    }\n"
                 "  ]\n"
                 "}\n"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

struct StatusCase {
    const char* name;
    const char* args;
    int status;
    const char* settings = "";  // more keys of [allowance]
};
void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.name; }

class AllowanceExitStatuses : public AllowanceCommand, public ::testing::WithParamInterface<StatusCase> {};

// On 9 December, day 26 of 30: 426074177543 bytes (396.81 GiB, 79.36% of
// 500 GiB) used, the estimate 457.86 GiB.
TEST_P(AllowanceExitStatuses, TellWhereTheUseStands) {
    const StatusCase& c = GetParam();
    write_settings(std::string("start_day=14\n") + c.settings);
    const test::Result r = run(std::string("--allowance ") + c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
}

INSTANTIATE_TEST_SUITE_P(Exits, AllowanceExitStatuses,
                         ::testing::Values(StatusCase{"Under", "--limit 500GiB", 0},
                                           StatusCase{"UnderBelowTheWarning", "--limit 500GiB --warn 80", 0},
                                           StatusCase{"UnderAtTheWarning", "--limit 500GiB --warn 79.3", 3},
                                           // warn= stands in for --warn when that is not given.
                                           StatusCase{"AtTheWarningOfLogIni", "--limit 500GiB", 3, "warn=79.3\n"},
                                           StatusCase{"WarnOverLogIni", "--limit 500GiB --warn 80", 0, "warn=79.3\n"},
                                           StatusCase{"EstimateOver", "--limit 450GiB", 3},
                                           StatusCase{"UsedOver", "--limit 396.8GiB", 4},
                                           // 426.07 GB of the provider's 430 GB, the estimate over it.
                                           StatusCase{"EstimateOverTheProvidersGigabytes", "--limit 430", 3},
                                           StatusCase{"NoLimit", "", 1},
                                           StatusCase{"LogMissing", "--limit 500 --log gone.csv", 2}),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

struct MistakeCase {
    const char* name;
    const char* allowance;  // the section's keys in log.ini
    const char* args;
    const char* expected_err;
};
void PrintTo(const MistakeCase& c, std::ostream* os) { *os << c.name; }

class AllowanceMistakes : public AllowanceCommand, public ::testing::WithParamInterface<MistakeCase> {};

TEST_P(AllowanceMistakes, AreOneLineAndExitStatusOne) {
    const MistakeCase& c = GetParam();
    write_settings(c.allowance);
    write_log("bad.csv", Lines{log_line("10-Nov-2026", 1, 1), "31-Nov-2026,1,1,"});
    const test::Result r = run(c.args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, std::string("loglezer-stats: ") + c.expected_err + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AllowanceMistakes,
    ::testing::Values(MistakeCase{"BadLimitInLogIni", "limit=5OO GB\n", "--periods",
                                  "log.ini: [allowance] limit: '5OO GB' is not an amount"},
                      MistakeCase{"BadOption", "limit=500\n", "--allowance --start-day 32",
                                  "--start-day: '32' is not a day from 1 to 31"},
                      MistakeCase{"TodayBeforeTheLog", "limit=500\n", "--allowance --today 2026-11-09",
                                  "--today: 2026-11-09 is before the log's first line (10 November 2026)"},
                      // Every line's date is read, also those after the reference day.
                      // A log named on the command line takes the user's log.ini.
                      MistakeCase{"BadDateAfterToday", "", "--allowance --limit 500 --today 2026-11-20 --log bad.csv",
                                  "bad.csv:2: '31-Nov-2026' is not a valid date"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

// Without a limit the message names the files a limit was looked for in.
TEST_F(AllowanceCommand, NoLimitNamesTheFilesLookedIn) {
    write_log("log.csv", allowance_log());
    user_ini = "/nowhere/loglezer/log.ini";
    const test::Result r = run("--allowance --log log.csv");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "loglezer-stats: --allowance needs a limit: give --limit AMOUNT, or set limit= in the section "
              "[allowance] of log.ini (looked in log.ini and /nowhere/loglezer/log.ini)\n");
}

struct UnitCase {
    const char* name;
    const char* limit;
    const char* used;  // what is used and its share of the limit, as the table writes them
    int status;
};
void PrintTo(const UnitCase& c, std::ostream* os) { *os << c.name; }

class AllowanceUnits : public AllowanceCommand, public ::testing::WithParamInterface<UnitCase> {};

// Exactly 125 x 10^9 bytes in June, on its last day: over a provider's
// 120 GB, under 120 GiB.
TEST_P(AllowanceUnits, AreThoseTheLimitIsWrittenIn) {
    write_log("log.csv", days({2026, 6, 1}, 29, 4000000000, 0) + Lines{log_line("30-Jun-2026", 9000000000, 0)});
    today = {2026, 6, 30};
    const test::Result r = run(std::string("--allowance --log log.csv --limit '") + GetParam().limit + "'");
    EXPECT_EQ(r.status, GetParam().status) << r.err;
    EXPECT_THAT(r.out, ::testing::HasSubstr(GetParam().used));
}

INSTANTIATE_TEST_SUITE_P(Limits, AllowanceUnits,
                         ::testing::Values(UnitCase{"ProvidersGigabytes", "120 GB", "125.00 GB  104.17% of the limit",
                                                    4},
                                           UnitCase{"Gibibytes", "120 GiB", "116.42 GiB  97.01% of the limit", 0},
                                           UnitCase{"Terabytes", "0,1 TB", "125.00 GB  125.00% of the limit", 4}),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

TEST_F(AllowanceCommand, AnOptionStandsInForItsKeyWhichIsThenNotRead) {
    write_settings("limit=5OO GB\nstart_day=14\n");
    const test::Result r = run("--allowance --limit 500 --json");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, ::testing::HasSubstr("\"start_day\": 14,"));
}

// A log may hold amounts with decimals; the allowance's byte figures are
// still whole numbers, rounded to the nearest byte.
TEST_F(AllowanceCommand, ByteFiguresAreWholeForAmountsWithDecimals) {
    write_log("log.csv", Lines{"14-Nov-2026,1000.25,2.25,", "15-Nov-2026,1000.5,2.5,"});
    today = {2026, 11, 15};
    const test::Result r = run("--allowance --limit 1 --json --log log.csv");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, ::testing::AllOf(::testing::HasSubstr("\"download_bytes\": 2001,"),
                                        ::testing::HasSubstr("\"upload_bytes\": 5,"),
                                        ::testing::HasSubstr("\"used_bytes\": 2006,")));
}

struct StaleCase {
    const char* name;
    LogDate today;  // by the system's clock
    const char* args;
    int status;
    int stale_days;
    bool stale;  // said on standard error and in the table
};
void PrintTo(const StaleCase& c, std::ostream* os) { *os << c.name; }

class AllowanceStaleness : public AllowanceCommand, public ::testing::WithParamInterface<StaleCase> {};

// The last line is of 9 December, under 500 GiB with the estimate under it.
TEST_P(AllowanceStaleness, ALogWithoutALineForTwoDaysIsStale) {
    write_settings("limit=500 GiB\nstart_day=14\n");
    const StaleCase& c = GetParam();
    today = c.today;
    const test::Result table = run(std::string("--allowance ") + c.args);
    EXPECT_EQ(table.status, c.status) << table.err;
    EXPECT_EQ(table.err, c.stale ? "loglezer-stats: the log is stale: its last line is of 2026-12-09, " +
                                       std::to_string(c.stale_days) + " days ago.\n"
                                 : "");
    EXPECT_EQ(table.out.find("\nStale:  its last line is of 2026-12-09") != std::string::npos, c.stale);
    const test::Result json = run(std::string("--allowance --json ") + c.args);
    EXPECT_EQ(json.status, c.status);
    EXPECT_THAT(json.out, ::testing::HasSubstr("\"last_line\": \"2026-12-09\",\n  \"stale_days\": " +
                                               std::to_string(c.stale_days) + ",\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Days, AllowanceStaleness,
    ::testing::Values(StaleCase{"Fresh", {2026, 12, 9}, "", 0, 0, false},
                      StaleCase{"Yesterday", {2026, 12, 10}, "", 0, 1, false},
                      StaleCase{"TwoDays", {2026, 12, 11}, "", 5, 2, true},
                      StaleCase{"TwentyDays", {2026, 12, 29}, "", 5, 20, true},
                      // A day given is taken as today.
                      StaleCase{"TodayGiven", {2026, 12, 29}, "--today 2026-12-09", 0, 20, false},
                      StaleCase{"StaleBeatsThePace", {2026, 12, 29}, "--limit 450GiB", 5, 20, true},
                      StaleCase{"StaleBeatsTheWarning", {2026, 12, 29}, "--warn 50", 5, 20, true},
                      StaleCase{"OverBeatsStale", {2026, 12, 29}, "--limit 396.8GiB", 4, 20, true}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

}  // namespace
}  // namespace loglezer
