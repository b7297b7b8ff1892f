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
};

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
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ParseCommandLine,
    ::testing::Values(Case{"no_argument", {}, Action::Run, std::nullopt, "", 0},
                      Case{"a_log", {"/var/log/net.csv"}, Action::Run, "/var/log/net.csv", "", 0},
                      // A file name need not be valid UTF-8: its bytes are kept.
                      Case{"a_log_name_not_in_utf8", {"verkeer\xe9.csv"}, Action::Run, "verkeer\xe9.csv", "", 0},
                      Case{"a_log_named_like_an_option", {"--", "--help"}, Action::Run, "--help", "", 0},
                      Case{"help", {"--help"}, Action::Help, std::nullopt, "Usage: loglezer [LOGFILE]", 0},
                      Case{"help_wins_over_a_log", {"-h", "log.csv"}, Action::Help, std::nullopt, "--version", 0},
                      Case{"version", {"--version"}, Action::Version, std::nullopt, "loglezer 1.0\n", 0},
                      Case{"unknown_option", {"--bogus"}, Action::UsageError, std::nullopt, "Try 'loglezer --help'", 1},
                      Case{
                          "two_logs", {"a.csv", "b.csv"}, Action::UsageError, std::nullopt, "one log file at most", 1}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace loglezer
