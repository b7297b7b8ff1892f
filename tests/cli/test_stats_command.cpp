// Runs the loglezer-stats executable on small logs written into a temporary
// working directory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "log/log_file.h"
#include "settings/log_lookup.h"
#include "tests/cli/stats_command_fixture.h"
#include "tests/stats/stats_test_util.h"

namespace loglezer {
namespace {

namespace fs = std::filesystem;
using test::days;
using test::read_file;
using test::Result;
using test::StatsCommand;
using test::operator+;
using test::kGiB;
using Lines = std::vector<std::string>;

// Three years; 2006 is complete with its 1 January line of 2007.
Lines sample_log() {
    return days({2005, 12, 30}, 2, kGiB, kGiB / 2) + days({2006, 1, 1}, 365, kGiB / 2, kGiB / 4) +
           days({2007, 1, 1}, 3, 2 * kGiB, 0);
}

struct ViewCase {
    const char* name;
    const char* args;
    const char* expected_out;
};

void PrintTo(const ViewCase& c, std::ostream* os) { *os << c.name; }

class StatsCommandViews : public StatsCommand, public ::testing::WithParamInterface<ViewCase> {};

TEST_P(StatsCommandViews, PrintsWhatTheChartsShow) {
    write_log("log.csv", sample_log());
    write_ini("log.csv");
    const ViewCase& c = GetParam();
    const Result r = run(c.args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(without_log_source(r.out, "log.csv"), c.expected_out);
}

INSTANTIATE_TEST_SUITE_P(
    Views, StatsCommandViews,
    ::testing::Values(
        ViewCase{"YearTable", "",
                 "Download per jaar sinds 30 December 2005\n"
                 "Upload per jaar sinds 30 December 2005\n"
                 "\n"
                 "Jaar  Download    Upload\n"
                 "2005      2 GB      1 GB\n"
                 "2006  182.5 GB  91.25 GB\n"
                 "2007      6 GB      0 GB\n"
                 "\n"
                 "Totaal sinds   Download: 190.5 GB  Upload: 92.25 GB\n"
                 "Records sinds  Download: 2 GB      Upload: 0.5 GB\n"},
        ViewCase{"YearCsv", "--csv",
                 "date,label,download_gb,upload_gb,download_bytes,upload_bytes\n"
                 "2005,2005,2,1,2147483648,1073741824\n"
                 "2006,2006,182.5,91.25,195957882880,97978941440\n"
                 "2007,2007,6,0,6442450944,0\n"},
        ViewCase{"YearJson", "--json",
                 "{\n"
                 "  \"format\": 1,\n"
                 "  \"view\": \"jaar\",\n"
                 "  \"titles\": [\n"
                 "    \"Download per jaar sinds 30 December 2005\",\n"
                 "    \"Upload per jaar sinds 30 December 2005\"\n"
                 "  ],\n"
                 "  \"bars\": [\n"
                 "    {\n      \"label\": \"2005\",\n      \"download\": 2.0,\n      \"upload\": 1.0,\n"
                 "      \"date\": \"2005\",\n      \"download_bytes\": 2147483648,\n"
                 "      \"upload_bytes\": 1073741824\n    },\n"
                 "    {\n      \"label\": \"2006\",\n      \"download\": 182.5,\n      \"upload\": 91.25,\n"
                 "      \"date\": \"2006\",\n      \"download_bytes\": 195957882880,\n"
                 "      \"upload_bytes\": 97978941440\n    },\n"
                 "    {\n      \"label\": \"2007\",\n      \"download\": 6.0,\n      \"upload\": 0.0,\n"
                 "      \"date\": \"2007\",\n      \"download_bytes\": 6442450944,\n      \"upload_bytes\": 0\n    }\n"
                 "  ],\n"
                 "  \"totals\": {\n    \"download\": \"190.5 GB\",\n    \"upload\": \"92.25 GB\",\n"
                 "    \"download_bytes\": 204547817472,\n    \"upload_bytes\": 99052683264\n  },\n"
                 "  \"records\": {\n    \"download\": \"2 GB\",\n    \"upload\": \"0.5 GB\",\n"
                 "    \"download_bytes\": 2147483648,\n    \"upload_bytes\": 536870912,\n"
                 "    \"download_date\": \"2007-01-01\",\n    \"upload_date\": \"2005-12-30\"\n  }\n"
                 "}\n"},
        ViewCase{"MonthCsv", "--year 2007 --csv",
                 "date,label,download_gb,upload_gb,download_bytes,upload_bytes\n"
                 "2007-01,Januari,6,0,6442450944,0\n"},
        ViewCase{
            "MonthTable", "--year 2007",
            "Download per maand 2007\nUpload per maand 2007\n\nMaand    Download  Upload\nJanuari      6 GB      GB\n"},
        ViewCase{"MonthJson", "--year 2005 --json",
                 "{\n  \"format\": 1,\n  \"view\": \"maand\",\n  \"titles\": [\n    \"Download per maand 2005\",\n"
                 "    \"Upload per maand 2005\"\n  ],\n  \"bars\": [\n    {\n      \"label\": \"December\",\n"
                 "      \"download\": 2.0,\n      \"upload\": 1.0,\n      \"date\": \"2005-12\",\n"
                 "      \"download_bytes\": 2147483648,\n      \"upload_bytes\": 1073741824\n    }\n  ]\n}\n"},
        ViewCase{"DayTable", "--year 2007 --month Januari",
                 "Download per dag Januari 2007\nUpload per dag Januari 2007\n\n"
                 "Dag  Download  Upload\n01       2 GB    0 GB\n02       2 GB    0 GB\n03       2 GB    0 GB\n"},
        ViewCase{"DayCsvByNumber", "--year 2005 --month 12 --csv",
                 "date,label,download_gb,upload_gb,download_bytes,upload_bytes\n"
                 "2005-12-30,30,1,0.5,1073741824,536870912\n2005-12-31,31,1,0.5,1073741824,536870912\n"},
        ViewCase{"DayJson", "--year=2005 --month=dec --json",
                 "{\n  \"format\": 1,\n  \"view\": \"dag\",\n  \"titles\": [\n    \"Download per dag December 2005\",\n"
                 "    \"Upload per dag December 2005\"\n  ],\n  \"bars\": [\n"
                 "    {\n      \"label\": \"30\",\n      \"download\": 1.0,\n      \"upload\": 0.5,\n"
                 "      \"date\": \"2005-12-30\",\n      \"download_bytes\": 1073741824,\n"
                 "      \"upload_bytes\": 536870912\n    },\n"
                 "    {\n      \"label\": \"31\",\n      \"download\": 1.0,\n      \"upload\": 0.5,\n"
                 "      \"date\": \"2005-12-31\",\n      \"download_bytes\": 1073741824,\n"
                 "      \"upload_bytes\": 536870912\n    }\n"
                 "  ]\n}\n"},
        // Ties in log order: every day of 2006 has the same amounts.
        ViewCase{"TopTable", "--top 2",
                 "Days with the largest download\n"
                 "Date        Download       Bytes\n"
                 "2007-01-01   2.00 GB  2147483648\n"
                 "2007-01-02   2.00 GB  2147483648\n"
                 "\n"
                 "Days with the largest upload\n"
                 "Date         Upload      Bytes\n"
                 "2005-12-30  0.50 GB  536870912\n"
                 "2005-12-31  0.50 GB  536870912\n"},
        ViewCase{"TopCsvOfAYear", "--top=1 --year 2006 --csv",
                 "list,rank,date,gb,bytes\ndownload,1,2006-01-01,0.50,536870912\nupload,1,2006-01-01,0.25,268435456\n"},
        ViewCase{"TopJson", "--json --top 1 --year 2007",
                 "{\n  \"format\": 1,\n  \"view\": \"top\",\n  \"year\": 2007,\n"
                 "  \"download\": [\n    {\n      \"date\": \"2007-01-01\",\n      \"gb\": 2.0,\n"
                 "      \"bytes\": 2147483648\n    }\n  ],\n"
                 "  \"upload\": [\n    {\n      \"date\": \"2007-01-01\",\n      \"gb\": 0.0,\n"
                 "      \"bytes\": 0\n    }\n  ]\n}\n"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

struct FailureCase {
    const char* name;
    Lines log;
    const char* args;
    int status;
    const char* expected_err;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class StatsCommandFailures : public StatsCommand, public ::testing::WithParamInterface<FailureCase> {};

// The expected message with "{dir}" as the working directory and "{default}"
// as the log's default path.
std::string expected_message(std::string text, const fs::path& dir) {
    for (const auto& [mark, value] : {std::pair{std::string("{dir}"), dir.string()},
                                      std::pair{std::string("{default}"), std::string(kDefaultLogPath)}}) {
        for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark))
            text.replace(at, mark.size(), value);
    }
    return text;
}

TEST_P(StatsCommandFailures, MessageOnStandardErrorNothingOnStandardOutput) {
    const FailureCase& c = GetParam();
    write_log("traffic.csv", c.log);
    const Result r = run(std::string(c.args));
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, expected_message(c.expected_err, dir));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StatsCommandFailures,
    ::testing::Values(
        FailureCase{"BadLineYearly", sample_log() + Lines{"05-Jan-2007,12a,0,"}, "--log traffic.csv", 1,
                    "loglezer-stats: traffic.csv:371: '12a' is not a valid floating point value\n"},
        FailureCase{"BadLineMonthlyJson", sample_log() + Lines{"05-Jan-2007,1,,"},
                    "--log traffic.csv --year 2007 --json", 1,
                    "loglezer-stats: traffic.csv:371: '' is not a valid floating point value\n"},
        // A year with a letter is no date: the start-up's yearly walk fails there.
        FailureCase{"BadYearInTheStartUp",
                    days({2005, 1, 1}, 3, 1, 1) + Lines{"01-Jan-20x5,1,2,"} + days({2006, 1, 2}, 3, 1, 1),
                    "--log traffic.csv", 1, "loglezer-stats: traffic.csv:4: '01-Jan-20x5' is not a valid date\n"},
        FailureCase{"YearNotANumber", sample_log(), "--log traffic.csv --year 20x6", 1,
                    "loglezer-stats: '20x6' is not a valid integer value\n"},
        FailureCase{"YearEmpty", sample_log(), "--log traffic.csv --year ''", 1,
                    "loglezer-stats: '' is not a valid integer value\n"},
        FailureCase{"YearWithABlank", sample_log(), "--log traffic.csv --year '2006 '", 1,
                    "loglezer-stats: '2006 ' is not a valid integer value\n"},
        FailureCase{"TopBeyondItsLimit", sample_log(), "--log traffic.csv --top 1000000000", 1,
                    "loglezer-stats: --top: '1000000000' is not a number of days (1 to 999999999)\n"},
        FailureCase{"YearNotInLog", days({2005, 1, 1}, 3, 1, 1), "--log traffic.csv --year 2009 --csv", 1,
                    "loglezer-stats: the log has no lines of 2009 (it runs from 1 January 2005 to 3 "
                    "January 2005)\n"},
        FailureCase{"MonthNotInLog", days({2005, 1, 1}, 3, 1, 1), "--log traffic.csv --year 2005 --month feb", 1,
                    "loglezer-stats: the log has no lines of February 2005 (it runs from 1 January 2005 "
                    "to 3 January 2005)\n"},
        FailureCase{"ControlCharactersInMessage",
                    {"\x1b]0;TITLE\x07,1,2,"},
                    "--log traffic.csv",
                    1,
                    "loglezer-stats: traffic.csv:1: '?]0;TITLE?' is not a valid date\n"},
        FailureCase{"EmptyLog", {}, "--log traffic.csv", 1, "loglezer-stats: List index out of bounds (0)\n"},
        FailureCase{"MissingLog",
                    {},
                    "--log elsewhere.csv --json",
                    2,
                    "loglezer-stats: Kan de logfile niet vinden! ({dir}/elsewhere.csv)\n"},
        FailureCase{
            "MissingLogThroughIni", {}, "", 2, "loglezer-stats: Kan de logfile niet vinden! ({dir}/{default})\n"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

std::string log_text(const Lines& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

// The JSON of --check on a log whose every line is a problem.
MATCHER_P3(IsCheckJson, kept, total, truncated, "") {
    const auto doc = nlohmann::json::parse(arg, nullptr, false);
    *result_listener << arg.substr(0, 200);
    return !doc.is_discarded() && doc["problems"].size() == static_cast<std::size_t>(kept) &&
           doc["problems"].back()["line"] == kept && doc["problems_total"] == total &&
           doc["problems_truncated"] == truncated;
}

struct CheckCase {
    const char* name;
    std::string log;
    const char* args;
    int status;
    ::testing::Matcher<std::string> out;
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

class StatsCommandChecks : public StatsCommand, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(StatsCommandChecks, ReportOnStandardOutput) {
    const CheckCase& c = GetParam();
    write_content("traffic.csv", c.log);
    const Result r = run(std::string("--check --log traffic.csv ") + c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, "");
    EXPECT_THAT(without_log_source(r.out, "traffic.csv"), c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Logs, StatsCommandChecks,
    ::testing::Values(
        CheckCase{"TextNamesEveryProblemByFileAndLine",
                  log_text(days({2006, 1, 1}, 2, 1, 1) + Lines{"03-Jan-2006,1,x,", "", "\x1b]0;T\x07,1,2,"} +
                           days({2006, 1, 4}, 1, 1, 1) + days({2006, 1, 3}, 1, 1, 1)),
                  "", 1,
                  "traffic.csv:3: the upload 'x' is not a number\n"
                  "traffic.csv:4: empty line\n"
                  "traffic.csv:5: '?]0;T?' is not a date of the form dd-Mon-yyyy\n"
                  "traffic.csv:7: '03-Jan-2006' is before '04-Jan-2006' on line 6\n"
                  "7 lines, 4 problems\n"},
        CheckCase{"SoundLog", log_text(sample_log()), "", 0, "370 lines, 0 problems\n"},
        // The viewer ends a line at LF, CR LF and a lone CR alike.
        CheckCase{"LinesAsTheViewerSplitsThem",
                  "01-Jan-2006,1,1,\r02-Jan-2006,1,1,\n03-Jan-2006,1,x,\r\n04-Jan-2006,1,1,\r05-Jan-2006,1,y,", "", 1,
                  "traffic.csv:3: the upload 'x' is not a number\n"
                  "traffic.csv:5: the upload 'y' is not a number\n"
                  "5 lines, 2 problems\n"},
        CheckCase{"Json", log_text(days({2006, 1, 1}, 2, 1, 1) + Lines{std::string("\0\0", 2) + "05-Jan-2006,1,2,"}),
                  "--json", 1,
                  "{\n  \"lines\": 3,\n  \"problems\": [\n    {\n      \"line\": 3,\n"
                  "      \"text\": \"2 NUL bytes, which the viewer skips\"\n    }\n  ],\n  \"problems_total\": 1,\n"
                  "  \"problems_truncated\": false,\n  \"missing_days\": 2\n}\n"},
        CheckCase{"JsonKeepsAThousandProblems", std::string(1000, '\n'), "--json", 1, IsCheckJson(1000, 1000, false)},
        CheckCase{"JsonCutsAfterAThousandProblems", std::string(1001, '\n'), "--json", 1,
                  IsCheckJson(1000, 1001, true)}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

// CSV rows as RFC 4180 reads them: fields split at commas outside quotes,
// "" inside quotes a quote, records ended by CR LF or LF.
std::vector<std::vector<std::string>> csv_rows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (quoted || (c != ',' && c != '\n' && c != '\r')) {
            field += c;
        } else if (c != '\r') {
            row.push_back(std::move(field));
            field.clear();
            if (c == '\n') rows.push_back(std::move(row)), row.clear();
        }
    }
    return rows;
}

// Every number of a JSON text by its place; texts, which hold the labels'
// regional figures, are left out.
std::map<std::string, nlohmann::json> json_numbers(const std::string& text) {
    std::map<std::string, nlohmann::json> numbers;
    const nlohmann::json flat = nlohmann::json::parse(text).flatten();
    for (const auto& [place, value] : flat.items()) {
        if (value.is_number()) numbers[place] = value;
    }
    return numbers;
}

// A Dutch locale, with a decimal comma, generated for the tests.
const std::string kCommaLocale = "LOCPATH='" LOGLEZER_TEST_LOCPATH "' LC_ALL=nl_NL.UTF-8";

// Fractions without a decimal separator (an exponent), so that the log
// reads alike under every locale, and sums beyond the range of a double.
const Lines kFractionsAndHugeSums = {"30-Dec-2005,15E-1,2,", "31-Dec-2005,1610612736,25E-1,",
                                     "01-Jan-2006,15E307,15E307,", "02-Jan-2006,16E307,1,"};

struct WriterCase {
    const char* name;
    const char* args;
    bool csv;  // else JSON
};

void PrintTo(const WriterCase& c, std::ostream* os) { *os << c.name; }

class MachineReadableOutput : public StatsCommand, public ::testing::WithParamInterface<WriterCase> {};

TEST_P(MachineReadableOutput, IsTheSameUnderADecimalComma) {
    ASSERT_TRUE(fs::exists(LOGLEZER_TEST_LOCPATH "/nl_NL.UTF-8/LC_NUMERIC")) << "the build generates it";
    const WriterCase& c = GetParam();
    write_log("log.csv", kFractionsAndHugeSums);
    const std::string args = std::string("--log log.csv ") + c.args;
    const Result under_c = run(args);
    const Result under_comma = run(args, ">out.txt", kCommaLocale);
    ASSERT_EQ(under_c.status, 0) << under_c.err;
    ASSERT_EQ(under_comma.status, 0) << under_comma.err;
    EXPECT_EQ(under_comma.err, "");
    if (c.csv) {
        const auto rows = csv_rows(under_comma.out);
        ASSERT_GT(rows.size(), 1u);
        for (const auto& row : rows) EXPECT_EQ(row.size(), rows[0].size()) << ::testing::PrintToString(row);
        EXPECT_EQ(rows, csv_rows(under_c.out));
    } else {
        ASSERT_TRUE(nlohmann::json::accept(under_comma.out)) << under_comma.out;
        EXPECT_EQ(json_numbers(under_comma.out), json_numbers(under_c.out));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Writers, MachineReadableOutput,
    ::testing::Values(WriterCase{"ViewCsv", "--csv", true}, WriterCase{"DayCsv", "--year 2005 --month 12 --csv", true},
                      WriterCase{"ViewJson", "--json", false}, WriterCase{"TopCsv", "--top 2 --csv", true},
                      WriterCase{"TopJson", "--top 2 --json", false}, WriterCase{"CheckJson", "--check --json", false},
                      WriterCase{"AllowanceJson", "--allowance --limit 1,5 --today 2005-12-30 --json", false},
                      WriterCase{"PeriodsCsv", "--periods --limit 1,5 --csv", true},
                      WriterCase{"PeriodsJson", "--periods --limit 1,5 --json", false}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

// Runs loglezer-stats with at most `bytes` of address space; standard
// output and error go to out.txt and err.txt.
[[maybe_unused]] Result run_limited(const fs::path& dir, const std::vector<std::string>& args, rlim_t bytes) {
    std::vector<char*> argv{const_cast<char*>(LOGLEZER_STATS_EXE)};
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const std::string out = (dir / "out.txt").string(), err = (dir / "err.txt").string();
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{bytes, bytes};
        if (::setrlimit(RLIMIT_AS, &limit) != 0 || !std::freopen(out.c_str(), "w", stdout) ||
            !std::freopen(err.c_str(), "w", stderr)) {
            ::_exit(127);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(dir / "out.txt"), read_file(dir / "err.txt")};
}

// The log of a million lines loads in the limit; the days --top sorts do
// not fit beside it.
TEST_F(StatsCommand, OutOfMemoryIsOneLineAndExitStatusOne) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit leaves";
#else
    std::string log;
    for (int i = 0; i < 1000000; ++i) log += "01-Jan-2005,1,2,\n";
    write_content("log.csv", log);
    const Result r = run_limited(dir, {"--top", "1", "--log", (dir / "log.csv").string()}, rlim_t{110} << 20);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "loglezer-stats: out of memory\n");
#endif
}

TEST_F(StatsCommand, IniNamingAMissingFileIsAMissingLog) {
    write_log("log.csv", sample_log());
    write_ini("gone.csv");
    const Result r = run("");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "loglezer-stats: Kan de logfile niet vinden! (" + (dir / "gone.csv").string() + ")\n");
}

TEST_F(StatsCommand, OutputThatCannotBeWrittenIsAFailure) {
    write_log("log.csv", sample_log());
    write_ini("log.csv");
    for (const auto& [out, reason] :
         {std::pair{">/dev/full", "No space left on device"}, std::pair{">&-", "Bad file descriptor"}}) {
        const Result r = run("", out);
        EXPECT_EQ(r.status, 1) << out;
        EXPECT_EQ(r.err, std::string("loglezer-stats: cannot write the output: ") + reason + "\n");
    }
}

TEST_F(StatsCommand, HelpVersionAndUsageMistakes) {
    Result r = run("--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Usage: loglezer-stats"), std::string::npos);
    r = run("--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("loglezer-stats ", 0), 0u) << r.out;
    r = run("--month 3");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("--month needs --year"), std::string::npos);
}

struct UnitsCase {
    const char* name;
    const char* args;
    const char* binary;   // a piece of the output in binary units
    const char* decimal;  // the same piece in decimal units
};

void PrintTo(const UnitsCase& c, std::ostream* os) { *os << c.name; }

class StatsCommandUnits : public StatsCommand, public ::testing::WithParamInterface<UnitsCase> {};

// Three days of 2 x 10^9 bytes down and 0.5 x 10^9 up. Binary units, the
// default, leave every output as it has always been; decimal units change
// every GB figure and no byte figure; [display] units in log.ini and
// --units say the same.
TEST_P(StatsCommandUnits, ChangeTheGigabytesOnly) {
    const UnitsCase& c = GetParam();
    write_log("log.csv", days({2005, 1, 1}, 3, 2000000000, 500000000));
    const auto output = [&](const std::string& display, const std::string& option) {
        std::ofstream(dir / "log.ini") << "[path]\nlog=log.csv\n" << display;
        const Result r = run(std::string(c.args) + option);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        return r.out;
    };
    const std::string binary = output("", "");
    EXPECT_THAT(binary, ::testing::HasSubstr(c.binary));
    EXPECT_EQ(output("[display]\nunits=binary\n", ""), binary);
    EXPECT_EQ(output("", " --units binary"), binary);
    const std::string decimal = output("[display]\nunits=Decimal\n", "");
    EXPECT_THAT(decimal, ::testing::HasSubstr(c.decimal));
    EXPECT_EQ(output("[display]\nunits=binary\n", " --units decimal"), decimal);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, StatsCommandUnits,
    ::testing::Values(
        UnitsCase{"TableTotals", "", "Download: 5.59 GB  Upload: 1.4 GB", "Download: 6 GB  Upload: 1.5 GB"},
        UnitsCase{"CsvGigabytesAndBytes", "--year 2005 --csv", "Januari,5.59,1.4,6000000000,1500000000",
                  "Januari,6,1.5,6000000000,1500000000"},
        UnitsCase{"JsonBars", "--json", "\"download\": 5.59,", "\"download\": 6.0,"},
        UnitsCase{"JsonTotals", "--json", "\"download\": \"5.59 GB\"", "\"download\": \"6 GB\""},
        UnitsCase{"TopTable", "--top 1", "2005-01-01   1.86 GB  2000000000", "2005-01-01   2.00 GB  2000000000"},
        UnitsCase{"TopJson", "--top 1 --json", "\"gb\": 1.86,", "\"gb\": 2.0,"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

}  // namespace
}  // namespace loglezer
