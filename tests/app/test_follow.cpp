// The window following its log while the metering program writes to it.

#include <QSignalSpy>
#include <QTimer>

#include "tests/app/window_fixture.h"

using namespace test_support;

namespace {

// How the metering program may write a new day: append to the log, or write
// a new file and rename it over the log.
enum class Writer { Append, ReplaceByRename };

class Follow : public Window, public ::testing::WithParamInterface<Writer> {
protected:
    void write_day(const std::string& line) {
        if (GetParam() == Writer::Append) {
            std::ofstream(dir_ / "log.csv", std::ios::app | std::ios::binary) << line;
            return;
        }
        std::ifstream in(dir_ / "log.csv", std::ios::binary);
        std::ofstream(dir_ / "log.csv.new", std::ios::binary) << in.rdbuf() << line;
        fs::rename(dir_ / "log.csv.new", dir_ / "log.csv");
    }
};

TEST_P(Follow, TheWindowShowsANewDayAsTheUserLeftItButUnzoomed) {
    std::ofstream(dir_ / "log.ini", std::ios::app) << "[allowance]\nlimit=110 GiB\n";
    start(log_of(days_from(2005, 1, 1, 40)));
    click(option(2));
    year()->setEditText("2005");
    month()->setEditText("Februari");
    click(child<QPushButton>("sbtn_showstats"));
    ASSERT_EQ(labels(chart("chartdownload")).size(), 9u);
    click(option(1));  // chosen, but "Maak stats" not pressed again
    auto* upload = child<ChartPanel>("chartupload");
    upload->zoom_to(QRectF(0, 0, 0.5, 1));

    for (const char* day : {"10-Feb-2005", "11-Feb-2005"}) {
        const std::size_t bars = labels(chart("chartdownload")).size() + 1;
        write_day(log_of({day}));
        QTRY_COMPARE(labels(chart("chartdownload")).size(), bars);
    }
    EXPECT_EQ(labels(chart("chartdownload")).back(), "11");
    EXPECT_TRUE(option(1)->isChecked());
    EXPECT_EQ(year()->currentText(), "2005");
    EXPECT_EQ(month()->currentText(), "Februari");
    EXPECT_TRUE(month()->isHidden());
    EXPECT_EQ(caption("lbl_totaldown"), "42 GB");
    EXPECT_EQ(caption("lbl_allowanceused"), "16.50 GiB (15%)");
    EXPECT_FALSE(upload->is_zoomed());
    EXPECT_TRUE(messages_.empty());
}

INSTANTIATE_TEST_SUITE_P(Writers, Follow, ::testing::Values(Writer::Append, Writer::ReplaceByRename),
                         [](const ::testing::TestParamInfo<Writer>& writer) {
                             return writer.param == Writer::Append ? "Append" : "ReplaceByRename";
                         });

// A day that cannot be read: one box, the window as it was, and no second
// box while the log stays as it is, however its folder changes.
TEST_F(Window, ALogThatFailsAfterAChangeShowsOneBoxAndKeepsTheWindow) {
    start(log_of(days_from(2005, 1, 1, 31)));
    auto* settle = form_->findChild<QTimer*>("log_settle_timer");
    ASSERT_NE(settle, nullptr);
    std::ofstream(dir_ / "log.csv", std::ios::app) << "01-Feb-2005,12a,5,\r\n";
    QTRY_COMPARE(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "log.csv, regel 32: '12a' is not a valid floating point value.");
    EXPECT_EQ(caption("lbl_totaldown"), "31 GB");
    EXPECT_EQ(labels(chart("chartdownload")), std::vector<std::string>{"2005"});

    QSignalSpy settled(settle, &QTimer::timeout);
    std::ofstream(dir_ / "notes.txt") << "another file of the folder\n";
    ASSERT_TRUE(settled.wait());
    EXPECT_EQ(messages_.size(), 1u);

    std::ofstream(dir_ / "log.csv", std::ios::app) << "02-Feb-2005,1,1,\r\n";
    QTRY_COMPARE(messages_.size(), 2u);
}

}  // namespace
