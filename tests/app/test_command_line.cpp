#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace loglezer {
namespace {

using ::testing::HasSubstr;
using Action = CommandLine::Action;

struct Case {
    const char* name;
    std::vector<std::string> args;  // after the program's name
    Action action;
    std::optional<std::string> log_file;
    const char* message_part;
    int exit_code;
    bool display_named = false;  // -platform or -display given
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ParseCommandLine : public ::testing::TestWithParam<Case> {};

TEST_P(ParseCommandLine, GivesTheActionTheLogAndTheExitCode) {
    const Case& c = GetParam();
    std::vector<std::string> args{"loglezer"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CommandLine line = parse_command_line(args);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.log_file, c.log_file);
    EXPECT_THAT(line.message, HasSubstr(c.message_part));
    EXPECT_EQ(line.exit_code, c.exit_code);
    EXPECT_EQ(line.display_named, c.display_named);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ParseCommandLine,
    ::testing::Values(
        Case{"no_argument", {}, Action::Run, std::nullopt, "", 0},
        Case{"a_log", {"/var/log/net.csv"}, Action::Run, "/var/log/net.csv", "", 0},
        // A file name need not be valid UTF-8: its bytes are kept.
        Case{"a_log_name_not_in_utf8", {"verkeer\xe9.csv"}, Action::Run, "verkeer\xe9.csv", "", 0},
        Case{"a_log_named_like_an_option", {"--", "--help"}, Action::Run, "--help", "", 0},
        Case{"help",
             {"--help"},
             Action::Help,
             std::nullopt,
             "Usage: loglezer [QT-OPTIONS] [--units U] [--interface NAME] [LOGFILE | --vnstat]",
             0},
        Case{"help_wins_over_a_log", {"-h", "log.csv"}, Action::Help, std::nullopt, "--version", 0},
        Case{"version", {"--version"}, Action::Version, std::nullopt, "loglezer " LOGLEZER_VERSION "\n", 0},
        Case{"unknown_option",
             {"--bogus"},
             Action::UsageError,
             std::nullopt,
             "unknown option '--bogus' (see --help)",
             1},
        Case{"two_logs", {"a.csv", "b.csv"}, Action::UsageError, std::nullopt, "one log file at most", 1},
        // Qt's own options, left to Qt, wherever they stand.
        Case{"qt_style", {"-style", "Fusion"}, Action::Run, std::nullopt, "", 0},
        Case{"qt_reverse", {"-reverse"}, Action::Run, std::nullopt, "", 0},
        Case{"qt_options_around_a_log",
             {"--style=Fusion", "log.csv", "-reverse", "-qwindowtitle", "--help"},
             Action::Run,
             "log.csv",
             "",
             0},
        Case{"qt_platform_with_a_log", {"-platform", "offscreen", "log.csv"}, Action::Run, "log.csv", "", 0, true},
        Case{"qt_empty_platform_names_none", {"-platform", ""}, Action::Run, std::nullopt, "", 0},
        Case{"qt_display", {"-display", ":1"}, Action::Run, std::nullopt, "", 0, true},
        Case{"qt_option_before_help", {"-style", "Fusion", "--help"}, Action::Help, std::nullopt, "", 0},
        Case{"qt_option_ignored_by_the_export",
             {"-style", "Fusion", "--export", "a.png"},
             Action::Export,
             std::nullopt,
             "",
             0},
        Case{"single_dash_unknown_option",
             {"-bogus", "log.csv"},
             Action::UsageError,
             std::nullopt,
             "loglezer: unknown option '-bogus' (see --help)\n",
             1},
        Case{"qt_option_without_its_value",
             {"log.csv", "-style"},
             Action::UsageError,
             std::nullopt,
             "loglezer: -style needs a value\n",
             1}),
    [](const ::testing::TestParamInfo<Case>& case_info) { return std::string(case_info.param.name); });

TEST(ExportRequest, TakesEverySpellingOfAMonthAndTheOtherValues) {
    for (const char* month : {"3", "03", "maart", "MAART", "March", "mar"}) {
        const CommandLine line =
            parse_command_line({"loglezer", "log.csv", "--export=dag.PNG", "--year", "2005", "--month", month,
                                "--chart", "upload", "--size", "640x480", "--scale", "1.5"});
        ASSERT_EQ(line.action, Action::Export) << month << line.message;
        const ExportRequest& r = line.export_request;
        EXPECT_EQ(line.log_file, "log.csv");
        EXPECT_EQ(r.file, "dag.PNG");
        EXPECT_EQ(r.format, ExportRequest::Format::Png);
        EXPECT_EQ(r.chart, ExportRequest::Chart::Upload);
        EXPECT_EQ(r.year, "2005");
        EXPECT_EQ(r.month, 3) << month;
        EXPECT_EQ(std::pair(r.width, r.height), std::pair(640, 480));
        EXPECT_EQ(r.scale, 1.5);
    }
}

// A device such as /dev/stdout has no picture's extension: --format names
// the type.
TEST(ExportRequest, ANameWithoutAPictureExtensionTakesTheFormatNamed) {
    const CommandLine line = parse_command_line({"loglezer", "--export", "/dev/stdout", "--format", "png"});
    ASSERT_EQ(line.action, Action::Export) << line.message;
    EXPECT_EQ(line.export_request.file, "/dev/stdout");
    EXPECT_EQ(line.export_request.format, ExportRequest::Format::Png);
}

struct UsageCase {
    const char* name;
    std::vector<std::string> args;  // after the program's name
    const char* message;            // after "loglezer: "
};

void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.name; }

class ExportUsageError : public ::testing::TestWithParam<UsageCase> {};

TEST_P(ExportUsageError, IsOneLineAfterTheProgramsName) {
    std::vector<std::string> args{"loglezer"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const CommandLine line = parse_command_line(args);
    EXPECT_EQ(line.action, Action::UsageError);
    EXPECT_EQ(line.message, "loglezer: " + std::string(GetParam().message) + "\n");
    EXPECT_EQ(line.exit_code, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ExportUsageError,
    ::testing::Values(
        UsageCase{"no_file", {"--export"}, "--export needs a value"},
        UsageCase{"year_alone", {"--year", "2005"}, "--year needs --export"},
        UsageCase{"month_without_year", {"--export", "a.jpg", "--month", "3"}, "--month needs --year"},
        UsageCase{"twice", {"--export", "a.jpg", "--year", "2005", "--year=2006"}, "--year is given more than once"},
        UsageCase{"month_13",
                  {"--export", "a.jpg", "--year", "2005", "--month", "13"},
                  "--month: '13' is not a month (1-12 or a month name)"},
        UsageCase{"month_003",
                  {"--export", "a.jpg", "--year", "2005", "--month", "003"},
                  "--month: '003' is not a month (1-12 or a month name)"},
        UsageCase{"month_word",
                  {"--export", "a.jpg", "--year", "2005", "--month", "Marc"},
                  "--month: 'Marc' is not a month (1-12 or a month name)"},
        UsageCase{"unknown_type",
                  {"--export", "a.gif"},
                  "--export: 'a.gif' does not end in .jpg, .jpeg, .jpe, .jfif or .png"},
        UsageCase{"stdout_without_format",
                  {"--export", "-"},
                  "--export -: writing to standard output needs --format jpeg or --format png"},
        UsageCase{"unknown_format", {"--export", "-", "--format", "gif"}, "--format: 'gif' is not jpeg or png"},
        UsageCase{
            "format_against_file", {"--export", "a.jpg", "--format", "png"}, "--format: 'png' does not match 'a.jpg'"},
        UsageCase{
            "unknown_chart", {"--export", "a.jpg", "--chart", "beide"}, "--chart: 'beide' is not download or upload"},
        UsageCase{"size_too_small",
                  {"--export", "a.jpg", "--size", "99x249"},
                  "--size: '99x249' is not WIDTHxHEIGHT, each from 100 to 10000"},
        UsageCase{"size_too_large",
                  {"--export", "a.jpg", "--size", "1049x10001"},
                  "--size: '1049x10001' is not WIDTHxHEIGHT, each from 100 to 10000"},
        UsageCase{"size_not_wxh",
                  {"--export", "a.jpg", "--size", "800*600"},
                  "--size: '800*600' is not WIDTHxHEIGHT, each from 100 to 10000"},
        UsageCase{"scale_below_1",
                  {"--export", "a.png", "--scale", "0.5"},
                  "--scale: '0.5' is not a number from 1 to 4 (at most six decimals)"},
        UsageCase{"scale_above_4",
                  {"--export", "a.png", "--scale", "4.01"},
                  "--scale: '4.01' is not a number from 1 to 4 (at most six decimals)"},
        UsageCase{"scale_with_a_decimal_comma",
                  {"--export", "a.png", "--scale", "1,5"},
                  "--scale: '1,5' is not a number from 1 to 4 (at most six decimals)"},
        UsageCase{"scale_with_seven_decimals",
                  {"--export", "a.png", "--scale", "1.0000001"},
                  "--scale: '1.0000001' is not a number from 1 to 4 (at most six decimals)"},
        UsageCase{"scale_not_a_number",
                  {"--export", "a.png", "--scale", "2x"},
                  "--scale: '2x' is not a number from 1 to 4 (at most six decimals)"},
        UsageCase{"scale_without_export", {"--scale", "2"}, "--scale needs --export"},
        UsageCase{"allowance_without_export", {"--allowance"}, "--allowance needs --export"},
        UsageCase{"allowance_twice",
                  {"--export", "a.png", "--allowance", "--allowance"},
                  "--allowance is given more than once"},
        UsageCase{"allowance_with_a_year",
                  {"--export", "a.png", "--allowance", "--year", "2005"},
                  "--allowance cannot go with --year"},
        UsageCase{"allowance_with_a_chart",
                  {"--export", "a.png", "--chart", "upload", "--allowance"},
                  "--allowance cannot go with --chart"}),
    [](const ::testing::TestParamInfo<UsageCase>& case_info) { return std::string(case_info.param.name); });

}  // namespace
}  // namespace loglezer
