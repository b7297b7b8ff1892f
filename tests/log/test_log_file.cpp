#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "log/failure.h"
#include "log/log_file.h"

namespace fs = std::filesystem;
using namespace loglezer;

namespace {

// A fresh working directory per test.
class LogFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("loglezer_test_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    void write(const fs::path& name, const std::string& content) {
        std::ofstream(dir_ / name, std::ios::binary) << content;
    }
    fs::path dir_;
};

TEST_F(LogFile, WithoutSettingsFileTheDefaultPathIsUsed) {
    EXPECT_EQ(log_path(dir_), kDefaultLogPath);
    EXPECT_FALSE(locate_and_load(dir_).has_value());
}

TEST_F(LogFile, EmptyValueOrMissingKeyGivesTheDefaultPath) {
    for (const char* ini : {"[path]\nlog=\n", "[path]\n", "[other]\nlog=x.csv\n", "", "log=x.csv\n"}) {
        write("log.ini", ini);
        EXPECT_EQ(log_path(dir_), kDefaultLogPath) << ini;
    }
}

TEST_F(LogFile, TheDefaultPathIsTakenRelativeToTheWorkingDirectory) {
    // On this platform the default path is one odd file name: it is found
    // only when it exists under exactly that name.
    write(kDefaultLogPath, "01-Jan-2005,1,2,\n");
    const auto lines = locate_and_load(dir_);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->count(), 1);
}

TEST_F(LogFile, RelativeAndAbsolutePathsFromTheSettingsFile) {
    write("a.csv", "01-Jan-2005,1,2,\r\n02-Jan-2005,3,4,\r\n");
    write("log.ini", "[path]\nlog=a.csv\n");
    auto lines = locate_and_load(dir_);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->count(), 2);
    EXPECT_EQ(lines->at(1), "02-Jan-2005,3,4,");

    write("log.ini", "[path]\nlog=" + (dir_ / "a.csv").string() + "\n");
    lines = locate_and_load(dir_);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->count(), 2);
}

TEST_F(LogFile, AMissingNamedFileIsMissingEvenWhenTheDefaultExists) {
    write(kDefaultLogPath, "01-Jan-2005,1,2,\n");
    write("log.ini", "[path]\nlog=gone.csv\n");
    EXPECT_FALSE(locate_and_load(dir_).has_value());
}

TEST_F(LogFile, ADirectoryDoesNotCount) {
    fs::create_directory(dir_ / "logdir");
    write("log.ini", "[path]\nlog=logdir\n");
    EXPECT_FALSE(log_exists(dir_, "logdir"));
    EXPECT_FALSE(locate_and_load(dir_).has_value());
}

TEST_F(LogFile, AnEmptyLogGivesAnEmptyList) {
    write("log.csv", "");
    write("log.ini", "[path]\nlog=log.csv\n");
    const auto lines = locate_and_load(dir_);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->count(), 0);
}

TEST_F(LogFile, AnUnreadableLogFailsWithPathAndReason) {
    if (::geteuid() == 0) {
        // Root reads any file; a directory opened as a file fails the same way.
        fs::create_directory(dir_ / "locked");
        try {
            load_log(dir_, "locked");
            FAIL();
        } catch (const Failure& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot open file \"" + (dir_ / "locked").string() + "\". " + std::strerror(EISDIR));
        }
        return;
    }
    write("log.csv", "01-Jan-2005,1,2,\n");
    fs::permissions(dir_ / "log.csv", fs::perms::none);
    try {
        load_log(dir_, "log.csv");
        FAIL();
    } catch (const Failure& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + (dir_ / "log.csv").string() + "\". " + std::strerror(EACCES));
    }
}

TEST_F(LogFile, LoadingNeverChangesTheLog) {
    const std::string content = "01-Jan-2005,1,2,\r\n02-Jan-2005,3,4,";
    write("log.csv", content);
    fs::permissions(dir_ / "log.csv", fs::perms::owner_read);
    const auto before = fs::last_write_time(dir_ / "log.csv");
    const LineList lines = load_log(dir_, "log.csv");
    EXPECT_EQ(lines.count(), 2);
    std::ifstream in(dir_ / "log.csv", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content);
    EXPECT_EQ(fs::last_write_time(dir_ / "log.csv"), before);
}

}  // namespace
