// A read of vnStat's database while another connection holds its write lock.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <thread>

#include "log/failure.h"
#include "log/vnstat_source.h"
#include "tests/log/vnstat_database.h"

namespace {

namespace fs = std::filesystem;
using loglezer::VnstatDatabase;

class VnstatBusy : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("loglezer_vnstat_busy_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        db_ = loglezer::test::make_vnstat_database(dir_, false, {{"eth0", ""}}, {{"eth0", "2024-03-01", 10, 20}});
        // The daemon's write: the lock that keeps readers of a rollback
        // journal out until it commits.
        ASSERT_EQ(sqlite3_open(db_.c_str(), &writer_), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(writer_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    void TearDown() override {
        sqlite3_close(writer_);
        fs::remove_all(dir_);
    }
    fs::path dir_, db_;
    sqlite3* writer_ = nullptr;
};

TEST_F(VnstatBusy, ALockHeldPastTheWaitIsToldAsBusy) {
    try {
        VnstatDatabase database(db_, 1);
        ADD_FAILURE() << "read through the lock";
    } catch (const loglezer::Failure& failure) {
        EXPECT_EQ(std::string(failure.what()), "vnStat database is busy: " + db_.string());
        EXPECT_TRUE(failure.busy());
    }
}

TEST_F(VnstatBusy, AReadWaitsForTheWriteToEnd) {
    std::thread commit([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        sqlite3_exec(writer_, "COMMIT", nullptr, nullptr, nullptr);
    });
    const VnstatDatabase database(db_);
    commit.join();
    EXPECT_EQ(database.days(database.interfaces()).lines.at(0), "01-Mar-2024,10,20,");
}

}  // namespace
