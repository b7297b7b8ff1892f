#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "frontend/messages.h"
#include "log/failure.h"

namespace loglezer {
namespace {

struct FailureLineCase {
    const char* name;
    std::optional<long long> line;  // the failure's line, from 0
    std::string log_name;
    std::string message;
    std::string shown;
};

void PrintTo(const FailureLineCase& c, std::ostream* os) { *os << c.name; }

class FailureLine : public ::testing::TestWithParam<FailureLineCase> {};

TEST_P(FailureLine, NamesTheFileAndLineOfALogLine) {
    const FailureLineCase& c = GetParam();
    Failure failure(c.message);
    if (c.line) failure.set_line(*c.line);
    EXPECT_EQ(failure_line("loglezer", failure, c.log_name, c.message), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailureLine,
    ::testing::Values(FailureLineCase{"WithoutALine", std::nullopt, "traffic.csv", "List index out of bounds (0)",
                                      "loglezer: List index out of bounds (0)\n"},
                      FailureLineCase{"LineCountedFromOne", 370, "traffic.csv",
                                      "'12a' is not a valid floating point value",
                                      "loglezer: traffic.csv:371: '12a' is not a valid floating point value\n"},
                      // Each by itself: the log's Latin-1 byte in the message must not turn
                      // the UTF-8 name into Latin-1.
                      FailureLineCase{"Utf8NameBesideLatin1Message", 0, "caf\xc3\xa9.csv", "'\xe9' is not a valid date",
                                      "loglezer: caf\xc3\xa9.csv:1: '\xc3\xa9' is not a valid date\n"},
                      FailureLineCase{"ControlCharactersInNameAndMessage", 1, "a\x1b.csv", "'\x07' is not a valid date",
                                      "loglezer: a?.csv:2: '?' is not a valid date\n"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

}  // namespace
}  // namespace loglezer
