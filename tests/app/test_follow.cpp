// The window following its log while the metering program writes to it.

#include <sys/stat.h>

#include <QSignalSpy>
#include <QTimer>
#include <sstream>

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

// What may happen to the log and its settings while the window follows them,
// after which the window must show them as they are now.
class Following;
struct FollowCase {
    const char* name;
    void (Following::*arrange)();  // the files, and the window started on them
    void (Following::*change)();
    bool (Following::*followed)();  // whether the window shows the change
    std::size_t boxes;              // failure and missing-log boxes shown on the way
};

void PrintTo(const FollowCase& c, std::ostream* os) { *os << c.name; }

class Following : public Window, public ::testing::WithParamInterface<FollowCase> {
public:
    void log_in_a_folder() {
        std::ofstream(dir_ / "log.ini") << "[path]\nlog=meter/data/log.csv\n";
        fs::create_directories(dir_ / "meter" / "data");
        std::ofstream(dir_ / "meter" / "data" / "log.csv", std::ios::binary) << log_of(days_from(2005, 1, 1, 31));
        open();
    }
    // Made again a folder at a time, as an installer does.
    void folder_removed_and_made_again() {
        fs::remove_all(dir_ / "meter");
        ASSERT_TRUE(QTest::qWaitFor([this] { return missing_boxes_ == 1; }));
        QSignalSpy settled(form_->findChild<QTimer*>("log_settle_timer"), &QTimer::timeout);
        fs::create_directories(dir_ / "meter");
        ASSERT_TRUE(settled.wait());
        fs::create_directories(dir_ / "meter" / "data");
        std::ofstream(dir_ / "meter" / "data" / "log.csv", std::ios::binary) << forty_days();
    }

    void log_a_link_elsewhere() {
        fs::create_directories(dir_ / "real");
        std::ofstream(dir_ / "real" / "log.csv", std::ios::binary) << log_of(days_from(2005, 1, 1, 31));
        fs::create_symlink(dir_ / "real" / "log.csv", dir_ / "log.csv");
        open();
    }
    void target_rewritten() {
        fs::remove(dir_ / "real" / "log.csv");
        ASSERT_TRUE(QTest::qWaitFor([this] { return missing_boxes_ == 1; }));
        std::ofstream(dir_ / "real" / "log.csv", std::ios::binary) << forty_days();
    }

    // Nothing names a log: the user chooses one the meter has only just
    // made, still empty.
    void empty_log_chosen() {
        std::ofstream(dir_ / "log.ini") << "";
        std::ofstream(dir_ / "meter.csv");
        missing_answer_ = MissingLogAnswer::Open;
        open_answer_ = QString::fromStdString((dir_ / "meter.csv").string());
        open();
    }
    void first_days_written() { std::ofstream(dir_ / "meter.csv", std::ios::binary) << forty_days(); }
    bool shows_forty_days_and_remembers_the_log() {
        std::ifstream in(user_ini());
        std::ostringstream text;
        text << in.rdbuf();
        return shows_forty_days() && text.str() == "[path]\nlog=" + (dir_ / "meter.csv").string() + "\n";
    }

    void log_with_allowance() {
        std::ofstream(dir_ / "log.ini", std::ios::app) << "[allowance]\nlimit=110 GiB\n";
        log_of_january();
        EXPECT_FALSE(child<QGroupBox>("gb_allowance")->isHidden());
    }
    void allowance_removed() { std::ofstream(dir_ / "log.ini") << "[path]\nlog=log.csv\n"; }
    bool shows_no_allowance() { return child<QGroupBox>("gb_allowance")->isHidden(); }
    // A setting that cannot be read is told once, not again as the log is
    // followed.
    void allowance_broken_then_a_day() {
        std::ofstream(dir_ / "log.ini", std::ios::app) << "[allowance]\nlimit=5OO GB\n";
        ASSERT_TRUE(QTest::qWaitFor([this] { return messages_.size() == 1; }));
        append("01-Feb-2005,1073741824,536870912,\r\n");
    }

    void log_of_january() { start(log_of(days_from(2005, 1, 1, 31))); }
    // The meter writes a line in two steps, the first without its end.
    void day_written_in_two_steps() {
        QSignalSpy settled(form_->findChild<QTimer*>("log_settle_timer"), &QTimer::timeout);
        append("01-Feb-2005,1073741824");
        ASSERT_TRUE(settled.wait());
        append(",536870912,\r\n");
    }
    // A day doubled in place, the file's time put back: only its mode tells
    // that it changed (as for a log made readable).
    void day_rewritten_then_mode_changed() {
        const fs::path log = dir_ / "log.csv";
        const auto modified = fs::last_write_time(log);
        std::fstream(log, std::ios::in | std::ios::out | std::ios::binary)
            << log_of({"01-Jan-2005"}, ",2147483648,536870912,");
        fs::last_write_time(log, modified);
        fs::permissions(log, fs::perms::group_write, fs::perm_options::add);
    }

    bool shows_forty_days() { return caption("lbl_totaldown") == "40 GB"; }
    bool shows_a_day_more() { return caption("lbl_totaldown") == "32 GB"; }

private:
    static std::string forty_days() { return log_of(days_from(2005, 1, 1, 40)); }
    void append(const std::string& text) { std::ofstream(dir_ / "log.csv", std::ios::app | std::ios::binary) << text; }
};

TEST_P(Following, TheWindowShowsTheFilesAsTheyAreNow) {
    (this->*GetParam().arrange)();
    (this->*GetParam().change)();
    EXPECT_TRUE(QTest::qWaitFor([this] { return (this->*GetParam().followed)(); }, 10000));
    EXPECT_EQ(messages_.size() + static_cast<std::size_t>(missing_boxes_), GetParam().boxes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Following,
    ::testing::Values(FollowCase{"FolderRemovedAndMadeAgain", &Following::log_in_a_folder,
                                 &Following::folder_removed_and_made_again, &Following::shows_forty_days, 1},
                      FollowCase{"LinkTargetRewritten", &Following::log_a_link_elsewhere, &Following::target_rewritten,
                                 &Following::shows_forty_days, 1},
                      FollowCase{"FirstGoodReadRemembered", &Following::empty_log_chosen,
                                 &Following::first_days_written, &Following::shows_forty_days_and_remembers_the_log, 2},
                      FollowCase{"SettingsChanged", &Following::log_with_allowance, &Following::allowance_removed,
                                 &Following::shows_no_allowance, 0},
                      FollowCase{"SettingsFailureToldOnce", &Following::log_of_january,
                                 &Following::allowance_broken_then_a_day, &Following::shows_a_day_more, 1},
                      FollowCase{"HalfLineCompleted", &Following::log_of_january, &Following::day_written_in_two_steps,
                                 &Following::shows_a_day_more, 0},
                      FollowCase{"ModeChanged", &Following::log_of_january, &Following::day_rewritten_then_mode_changed,
                                 &Following::shows_a_day_more, 0}),
    [](const ::testing::TestParamInfo<FollowCase>& c) { return std::string(c.param.name); });

}  // namespace
