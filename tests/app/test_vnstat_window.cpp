// The window on a vnStat database: the interface asked for once, and the
// figures following the daemon's writes.
#include <QGroupBox>

#include "settings/profile.h"
#include "tests/app/window_fixture.h"
#include "tests/log/vnstat_database.h"

using namespace test_support;

namespace {

constexpr long long kGiB = 1024LL * 1024 * 1024;

TEST_F(Window, AVnstatDatabaseAsksForItsInterfaceOnceAndIsFollowed) {
    const fs::path db = loglezer::test::make_vnstat_database(
        dir_ / "vnstat", true, {{"eth0", ""}, {"wlan0", "thuis"}},
        {{"wlan0", "2024-03-01", 2 * kGiB, kGiB / 2}, {"eth0", "2024-03-01", 5 * kGiB, 0}});
    interface_answer_ = "wlan0";
    open(db.string());
    EXPECT_EQ(interface_lists_, std::vector<std::size_t>{2});
    EXPECT_EQ(caption("lbl_totaldown"), QStringLiteral("2 GB"));
    EXPECT_EQ(child<QGroupBox>("gb_totals")->toolTip().toStdString(),
              "vnStat database " + db.string() + ", interface wlan0");
    EXPECT_EQ(profile_string_from_file(user_ini().string(), "path", "interface", ""), "wlan0");

    loglezer::test::run_sql(db, loglezer::test::day_rows_sql({{"wlan0", "2024-03-02", kGiB, 0}}));
    QTRY_COMPARE(caption("lbl_totaldown"), QStringLiteral("3 GB"));
    EXPECT_EQ(interface_lists_.size(), 1u);
    EXPECT_TRUE(messages_.empty());
}

}  // namespace
