// Choosing the log in the window: from the missing-log box at the start,
// with Ctrl+O and by dropping a file; the choice is remembered in the
// user's log.ini.

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "log/log_file.h"
#include "settings/log_lookup.h"
#include "settings/profile.h"
#include "tests/app/window_fixture.h"

using namespace test_support;

namespace {

class OpenLog : public Window {
protected:
    void SetUp() override {
        Window::SetUp();
        std::ofstream(dir_ / "log.csv", std::ios::binary) << log_of(days_from(2005, 1, 1, 40));
        std::ofstream(dir_ / "other.csv", std::ios::binary) << log_of(days_from(2010, 3, 1, 2));
    }
    // The window shown and active, as its keys need it.
    void open_active() {
        open();
        form_->show();
        QApplication::setActiveWindow(form_.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    }
    static QString qt_path(const fs::path& path) { return QString::fromStdString(path.string()); }
    // The log the user's log.ini names, or nothing without the file.
    std::optional<std::string> remembered() const {
        if (!fs::exists(user_ini())) return std::nullopt;
        return profile_string_from_file(user_ini().string(), "path", "log", "");
    }
    // What the window shows of the log it has read.
    void expect_shows_2005_log() {
        EXPECT_EQ(items(year()), std::vector<std::string>{"2005"});
        EXPECT_EQ(caption("lbl_totaldown"), "40 GB");
        EXPECT_EQ(labels(chart("chartdownload")), std::vector<std::string>{"2005"});
    }
};

TEST_F(OpenLog, TheMissingLogBoxOffersToOpenOneWhichIsShownAndFoundDirectlyNextTime) {
    fs::remove(dir_ / "log.ini");
    missing_answer_ = MissingLogAnswer::Open;
    open_answer_ = qt_path(dir_ / "other.csv");
    open();
    EXPECT_FALSE(form_->log_missing());
    EXPECT_EQ(missing_details_, std::vector<std::string>{(dir_ / kDefaultLogPath).string()});
    EXPECT_EQ(open_offered_, std::vector<bool>{true});
    EXPECT_EQ(items(year()), std::vector<std::string>{"2010"});
    EXPECT_EQ(remembered(), (dir_ / "other.csv").string());
    EXPECT_TRUE(messages_.empty());

    // The next start asks nothing.
    open_answer_.reset();
    open();
    EXPECT_FALSE(form_->log_missing());
    EXPECT_EQ(missing_boxes_, 1);
    EXPECT_EQ(items(year()), std::vector<std::string>{"2010"});
}

TEST_F(OpenLog, OkOrACancelledDialogEndsTheStartAndWritesNothing) {
    fs::remove(dir_ / "log.ini");
    for (const MissingLogAnswer answer : {MissingLogAnswer::Close, MissingLogAnswer::Open}) {
        missing_answer_ = answer;
        open();
        EXPECT_TRUE(form_->log_missing());
    }
    EXPECT_EQ(missing_boxes_, 2);
    EXPECT_EQ(open_dialogs_, 1);
    EXPECT_FALSE(fs::exists(user_ini()));
}

TEST_F(OpenLog, CtrlOSwitchesToTheChosenLogWhichCtrlRThenReads) {
    open_active();
    EXPECT_EQ(remembered(), std::nullopt) << "a log found through log.ini is not remembered";
    open_answer_ = qt_path(dir_ / "other.csv");
    QTest::keySequence(form_.get(), Qt::CTRL | Qt::Key_O);
    EXPECT_EQ(open_dialogs_, 1);
    EXPECT_EQ(items(year()), std::vector<std::string>{"2010"});
    EXPECT_EQ(remembered(), (dir_ / "other.csv").string());

    std::ofstream(dir_ / "other.csv", std::ios::app) << log_of({"01-Jan-2011"});
    QTest::keySequence(form_.get(), Qt::CTRL | Qt::Key_R);
    EXPECT_EQ(items(year()), (std::vector<std::string>{"2010", "2011"}));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(OpenLog, AFileDroppedOnTheWindowIsOpenedAsWithCtrlO) {
    open();
    QMimeData two;
    two.setUrls({QUrl::fromLocalFile(qt_path(dir_ / "other.csv")), QUrl::fromLocalFile(qt_path(dir_ / "log.csv"))});
    QDragEnterEvent refused(QPoint(500, 300), Qt::CopyAction, &two, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &refused);
    EXPECT_FALSE(refused.isAccepted()) << "only one file is opened";

    QMimeData one;
    one.setUrls({QUrl::fromLocalFile(qt_path(dir_ / "other.csv"))});
    QDragEnterEvent enter(QPoint(500, 300), Qt::CopyAction, &one, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(500, 300), Qt::CopyAction, &one, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(items(year()), std::vector<std::string>{"2010"});
    EXPECT_EQ(remembered(), (dir_ / "other.csv").string());
}

}  // namespace
