// The look-up of the log: the command line, log.ini in the working directory, the
// user's log.ini, the default path.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "log/failure.h"
#include "log/log_file.h"
#include "settings/log_lookup.h"

namespace fs = std::filesystem;
using namespace loglezer;
using ::testing::ThrowsMessage;

namespace {

// A fresh working directory per test.
class LogFile : public ::testing::Test {
protected:
    void SetUp() override {
        // A new folder of its own, also for each case of a table.
        std::string pattern = (fs::temp_directory_path() / "loglezer_test_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        if (dir_.empty()) return;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    void write(const fs::path& name, const std::string& content) {
        std::ofstream(dir_ / name, std::ios::binary) << content;
    }
    fs::path dir_;
};

// What the working directory, the user's configuration folder and the
// command line hold, and the log find_log finds. "{dir}" stands for the test's
// folder, which is the working directory; HOME is "{dir}/home".
struct LookUpCase {
    const char* name;
    std::optional<std::string> named;  // the log named on the command line
    std::optional<std::string> ini;    // log.ini's text; nothing: no log.ini
    std::vector<std::string> files;    // the files, in the working directory
    std::optional<std::string> found;  // the log found, in the working directory
    // The user's log.ini: its text, where it is, XDG_CONFIG_HOME (nullptr:
    // unset), and the settings file the log is found through.
    std::optional<std::string> user_ini = {};
    std::string user_ini_at = "xdg/loglezer/log.ini";
    const char* xdg = "{dir}/xdg";
    std::optional<std::string> settings = {};
};

void PrintTo(const LookUpCase& c, std::ostream* os) { *os << c.name; }

std::string in_dir(std::string text, const fs::path& dir) {
    const auto at = text.find("{dir}");
    if (at != std::string::npos) text.replace(at, 5, dir.string());
    return text;
}

class LookUp : public LogFile, public ::testing::WithParamInterface<LookUpCase> {};

TEST_P(LookUp, FindsTheLogOrNothing) {
    const LookUpCase& c = GetParam();
    fs::create_directory(dir_ / "logdir");
    fs::create_directories((dir_ / c.user_ini_at).parent_path());
    for (const std::string& file : c.files) write(file, "01-Jan-2005,1,2,\n");
    if (c.ini) write("log.ini", in_dir(*c.ini, dir_));
    if (c.user_ini) write(c.user_ini_at, in_dir(*c.user_ini, dir_));
    const std::optional<std::string> named = c.named ? std::optional(in_dir(*c.named, dir_)) : std::nullopt;
    const std::string xdg = c.xdg ? in_dir(c.xdg, dir_) : "";
    const LogPlaces places{dir_, user_log_ini(c.xdg ? xdg.c_str() : nullptr, (dir_ / "home").c_str())};
    const std::optional<FoundLog> found = find_log(places, named);
    if (c.found) {
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->path, dir_ / *c.found);
        EXPECT_EQ(found->settings, c.settings ? std::optional(dir_ / *c.settings) : std::nullopt);
    } else {
        EXPECT_EQ(found.has_value(), false);
    }
}

// On this platform the default path is one odd file name: it is found only
// when it exists under exactly that name, relative to the working directory.
const char* const kUserIni = "xdg/loglezer/log.ini";
const char* const kHomeIni = "home/.config/loglezer/log.ini";
INSTANTIATE_TEST_SUITE_P(
    Cases, LookUp,
    ::testing::Values(
        LookUpCase{"NothingThere", {}, {}, {}, {}},
        LookUpCase{"TheDefaultPathWithoutLogIni", {}, {}, {kDefaultLogPath}, kDefaultLogPath},
        LookUpCase{"TheDefaultPathWhenLogIniHasNoValue", {}, "[path]\nlog=\n", {kDefaultLogPath}, kDefaultLogPath},
        LookUpCase{"TheDefaultPathWhenLogIniHasNoKey", {}, "[path]\n", {kDefaultLogPath}, kDefaultLogPath},
        LookUpCase{"TheDefaultPathWhenLogIniHasNoSection",
                   {},
                   "[other]\nlog=a.csv\n",
                   {kDefaultLogPath, "a.csv"},
                   kDefaultLogPath},
        LookUpCase{"NothingWhenLogIniHasNoValueAndNoDefault", {}, "[path]\nlog=\n", {"a.csv"}, {}},
        LookUpCase{
            "LogIniRelativeValue", {}, "[path]\nlog=a.csv\n", {"a.csv"}, "a.csv", {}, kUserIni, "{dir}/xdg", "log.ini"},
        LookUpCase{"LogIniAbsoluteValue",
                   {},
                   "[path]\nlog={dir}/a.csv\n",
                   {"a.csv"},
                   "a.csv",
                   {},
                   kUserIni,
                   "{dir}/xdg",
                   "log.ini"},
        LookUpCase{
            "LogIniNamesAMissingFileThoughTheDefaultExists", {}, "[path]\nlog=gone.csv\n", {kDefaultLogPath}, {}},
        LookUpCase{"LogIniNamesADirectory", {}, "[path]\nlog=logdir\n", {}, {}},
        LookUpCase{"CommandLineName", "b.csv", {}, {"b.csv"}, "b.csv"},
        LookUpCase{"CommandLineAbsoluteName", "{dir}/b.csv", {}, {"b.csv"}, "b.csv"},
        LookUpCase{"CommandLineNameBeforeLogIni", "b.csv", "[path]\nlog=a.csv\n", {"a.csv", "b.csv"}, "b.csv"},
        LookUpCase{"CommandLineNameMissingThoughLogIniLogExists", "gone.csv", "[path]\nlog=a.csv\n", {"a.csv"}, {}},
        LookUpCase{"CommandLineNameMissingThoughTheDefaultExists", "gone.csv", {}, {kDefaultLogPath}, {}},
        LookUpCase{"CommandLineEmptyName", "", {}, {kDefaultLogPath}, {}},
        LookUpCase{"CommandLineNamesADirectory", "logdir", {}, {}, {}},
        // The user's log.ini, after log.ini in the working directory.
        LookUpCase{"CommandLineNameBeforeUserIni", "b.csv", {}, {"b.csv", "u.csv"}, "b.csv", "[path]\nlog={dir}/u.csv"},
        LookUpCase{"LogIniBeforeUserIni",
                   {},
                   "[path]\nlog=a.csv\n",
                   {"a.csv", "u.csv"},
                   "a.csv",
                   "[path]\nlog={dir}/u.csv",
                   kUserIni,
                   "{dir}/xdg",
                   "log.ini"},
        LookUpCase{"UserIniWhenLogIniHasNoValue",
                   {},
                   "[path]\nlog=\n",
                   {"a.csv", "u.csv"},
                   "u.csv",
                   "[path]\nlog={dir}/u.csv",
                   kUserIni,
                   "{dir}/xdg",
                   kUserIni},
        LookUpCase{"UserIniBeforeTheDefaultPath",
                   {},
                   {},
                   {kDefaultLogPath, "u.csv"},
                   "u.csv",
                   "[path]\nlog={dir}/u.csv",
                   kUserIni,
                   "{dir}/xdg",
                   kUserIni},
        LookUpCase{"UserIniRelativeValueFromItsOwnFolder",
                   {},
                   {},
                   {"u.csv", "xdg/loglezer/u.csv"},
                   "xdg/loglezer/u.csv",
                   "[path]\nlog=u.csv",
                   kUserIni,
                   "{dir}/xdg",
                   kUserIni},
        LookUpCase{"UserIniUnderHomeWhenXdgConfigHomeIsEmpty",
                   {},
                   {},
                   {"u.csv"},
                   "u.csv",
                   "[path]\nlog={dir}/u.csv",
                   kHomeIni,
                   "",
                   kHomeIni},
        LookUpCase{"UserIniUnderHomeWhenXdgConfigHomeIsUnset",
                   {},
                   {},
                   {"u.csv"},
                   "u.csv",
                   "[path]\nlog={dir}/u.csv",
                   kHomeIni,
                   nullptr,
                   kHomeIni},
        LookUpCase{"UserIniUnderHomeWhenXdgConfigHomeIsRelative",
                   {},
                   {},
                   {"u.csv"},
                   "u.csv",
                   "[path]\nlog={dir}/u.csv",
                   kHomeIni,
                   "xdg",
                   kHomeIni},
        LookUpCase{"UserIniUnderHomeUnreadWhenXdgConfigHomeIsSet",
                   {},
                   {},
                   {kDefaultLogPath, "u.csv"},
                   kDefaultLogPath,
                   "[path]\nlog={dir}/u.csv",
                   kHomeIni},
        LookUpCase{"TheDefaultPathWhenUserIniHasNoValue", {}, {}, {kDefaultLogPath}, kDefaultLogPath, "[path]\nlog=\n"},
        LookUpCase{"UserIniNamesAMissingFileThoughTheDefaultExists",
                   {},
                   {},
                   {kDefaultLogPath},
                   {},
                   "[path]\nlog={dir}/gone.csv"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

TEST(UserLogIni, NothingWithoutAFullPathToAHome) {
    for (const char* home : {static_cast<const char*>(nullptr), "", "relative/home"}) {
        EXPECT_EQ(user_log_ini(nullptr, home), std::nullopt) << (home ? home : "unset");
        EXPECT_EQ(user_log_ini("", home), std::nullopt) << (home ? home : "unset");
    }
    EXPECT_EQ(user_log_ini("/x", nullptr), fs::path("/x/loglezer/log.ini"));
}

}  // namespace
