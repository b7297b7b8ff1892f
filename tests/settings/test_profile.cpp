#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>

#include "log/failure.h"
#include "log/log_file.h"
#include "settings/log_lookup.h"
#include "settings/profile.h"

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

namespace {

namespace fs = std::filesystem;
using ::testing::ThrowsMessage;

// A user's configuration folder of its own per test.
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "loglezer_ini_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        ini_ = dir_ / "config" / "loglezer" / "log.ini";
    }
    void TearDown() override { fs::remove_all(dir_); }
    void write(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
    static std::string text_of(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path dir_, ini_;
};

// The user's log.ini before and after a log is remembered in it.
struct RememberCase {
    const char* name;
    std::optional<std::string> before;  // nothing: no file, nor its folder
    std::string after;
    std::string log = "/data/log.csv";
};

void PrintTo(const RememberCase& c, std::ostream* os) { *os << c.name; }

class Remember : public SettingsFile, public ::testing::WithParamInterface<RememberCase> {};

TEST_P(Remember, SetsTheLogAndKeepsEveryOtherLine) {
    const RememberCase& c = GetParam();
    if (c.before) write(ini_, *c.before);
    loglezer::remember_log(ini_, c.log);
    EXPECT_EQ(text_of(ini_), c.after);
    EXPECT_EQ(loglezer::profile_string(text_of(ini_), "path", "log", ""), c.log);
    // Nothing else is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(ini_.parent_path()), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Remember,
    ::testing::Values(RememberCase{"NoFile", {}, "[path]\nlog=/data/log.csv\n"},
                      RememberCase{"OtherSections", "[allowance]\nmonth=100\n",
                                   "[allowance]\nmonth=100\n\n[path]\nlog=/data/log.csv\n"},
                      RememberCase{"PathWithAnotherKey", "[path]\nother=1\n\n[allowance]\nmonth=100\n",
                                   "[path]\nother=1\nlog=/data/log.csv\n\n[allowance]\nmonth=100\n"},
                      RememberCase{"PathWithTheKey", "; mine\n[Path]\n Log = /old.csv \nother=1\n",
                                   "; mine\n[Path]\n Log =/data/log.csv\nother=1\n"},
                      RememberCase{"OnlyTheFirstPathSection", "[path]\nx=1\n[path]\nlog=/old.csv\n",
                                   "[path]\nx=1\nlog=/data/log.csv\n[path]\nlog=/old.csv\n"},
                      RememberCase{"WindowsLineEndsAndByteOrderMark", "\xEF\xBB\xBF[allowance]\r\nmonth=100\r\n",
                                   "\xEF\xBB\xBF[allowance]\r\nmonth=100\r\n\r\n[path]\r\nlog=/data/log.csv\r\n"},
                      RememberCase{"NoFinalLineBreak", "[path]\nother=1", "[path]\nother=1\nlog=/data/log.csv\n"},
                      RememberCase{"ABlankAtTheEndIsQuoted", "", "[path]\nlog=\"/data/log.csv \"\n", "/data/log.csv "}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

TEST_F(SettingsFile, AFileKeepsItsPermissionsAndALinkStaysALink) {
    const fs::path real = dir_ / "dotfiles" / "log.ini";
    write(real, "[path]\nlog=/old.csv\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_directories(ini_.parent_path());
    fs::create_symlink(real, ini_);
    loglezer::remember_log(ini_, "/data/log.csv");
    EXPECT_TRUE(fs::is_symlink(ini_));
    EXPECT_EQ(text_of(real), "[path]\nlog=/data/log.csv\n");
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A link to a file not made yet (a dotfiles folder not yet filled) stays a
// link, and the file is made where it points.
TEST_F(SettingsFile, ADanglingLinkIsWrittenThrough) {
    const fs::path real = dir_ / "dotfiles" / "log.ini";
    fs::create_directories(real.parent_path());
    fs::create_directories(ini_.parent_path());
    fs::create_symlink(fs::relative(real, ini_.parent_path()), ini_);
    loglezer::remember_log(ini_, "/data/log.csv");
    EXPECT_TRUE(fs::is_symlink(ini_));
    EXPECT_EQ(text_of(real), "[path]\nlog=/data/log.csv\n");
}

TEST_F(SettingsFile, AFailureNamesTheFileAndLeavesItAsItWas) {
    write(dir_ / "config", "a file where the folder should be");
    EXPECT_THAT([&] { loglezer::remember_log(ini_, "/data/log.csv"); },
                ThrowsMessage<loglezer::Failure>("Cannot create file \"" + ini_.string() + "\". Not a directory"));
    // Nor is the log itself ever written, whatever file is chosen as the log.
    write(dir_ / "log.ini", "01-Jan-2005,1,2,\n");
    EXPECT_THAT([&] { loglezer::remember_log(dir_ / "log.ini", dir_ / "log.ini"); },
                ThrowsMessage<loglezer::Failure>(::testing::EndsWith("\". This is the log file.")));
    EXPECT_EQ(text_of(dir_ / "log.ini"), "01-Jan-2005,1,2,\n");
}

// Saving log.ini is one step to the user: a write that fails part-way (here
// past a file-size limit, as on a full disk) is a file that could not be
// created, and leaves the file as it was.
TEST_F(SettingsFile, AFailedWriteIsAFileThatCouldNotBeCreated) {
    write(ini_, "[path]\nlog=/old.csv\n");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = 10;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    EXPECT_THAT([&] { loglezer::remember_log(ini_, "/data/log.csv"); },
                ThrowsMessage<loglezer::Failure>("Cannot create file \"" + ini_.string() + "\". File too large"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, old_handler);
    EXPECT_EQ(text_of(ini_), "[path]\nlog=/old.csv\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(ini_.parent_path()), {}), 1);
}

}  // namespace
