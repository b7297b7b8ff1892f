#include <gtest/gtest.h>

#include "log/profile.h"

namespace {

struct ProfileCase {
    const char* name;
    std::string ini;
    std::string expected;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const ProfileCase& c, std::ostream* os) { *os << c.name; }

class Profile : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(Profile, ReadsKeyLogOfSectionPath) {
    EXPECT_EQ(loglezer::profile_string(GetParam().ini, "path", "log", "DEFAULT"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Profile,
    ::testing::Values(ProfileCase{"plain", "[path]\nlog=C:\\x\\log.csv\n", "C:\\x\\log.csv"},
                      ProfileCase{"crlf", "[path]\r\nlog=log.csv\r\n", "log.csv"},
                      ProfileCase{"byte_order_mark", "\xEF\xBB\xBF[path]\r\nlog=log.csv\r\n", "log.csv"},
                      ProfileCase{"case_of_names", "[PATH]\nLog=a.csv\n", "a.csv"},
                      ProfileCase{"blanks", "  [ path ]  \n  log  =   a b.csv   \n", "a b.csv"},
                      ProfileCase{"double_quotes", "[path]\nlog=\" a.csv \"\n", " a.csv "},
                      ProfileCase{"single_quotes", "[path]\nlog='a.csv'\n", "a.csv"},
                      ProfileCase{"unmatched_quote", "[path]\nlog=\"a.csv\n", "\"a.csv"},
                      ProfileCase{"comment", "[path]\n;log=old.csv\nlog=new.csv\n", "new.csv"},
                      ProfileCase{"empty_value", "[path]\nlog=\n", ""},
                      ProfileCase{"missing_key", "[path]\nother=x\n", "DEFAULT"},
                      ProfileCase{"missing_section", "[other]\nlog=x\n", "DEFAULT"},
                      ProfileCase{"key_in_other_section", "[other]\nlog=x\n[path]\nlog=y\n", "y"},
                      ProfileCase{"first_key_wins", "[path]\nlog=a\nlog=b\n", "a"},
                      ProfileCase{"first_section_wins", "[path]\nx=1\n[path]\nlog=b\n", "DEFAULT"},
                      ProfileCase{"equals_in_value", "[path]\nlog=a=b\n", "a=b"},
                      ProfileCase{"no_final_break", "[path]\nlog=a", "a"}, ProfileCase{"empty_file", "", "DEFAULT"},
                      ProfileCase{"long_value", "[path]\nlog=" + std::string(3000, 'x') + "\n",
                                  std::string(2047, 'x')}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

}  // namespace
