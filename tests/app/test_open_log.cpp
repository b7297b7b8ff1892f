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

// The missing-log box at the start: a first start, where nothing named a
// log, asks for one; a log named but missing is told as it always was.
struct MissingBoxCase {
    const char* name;
    std::optional<std::string> ini;    // log.ini's text; nothing: no log.ini
    std::optional<std::string> named;  // the log named on the command line
    bool offer_open;
    MissingLogAnswer default_answer;
    const char* advice;
    std::vector<std::string> detail;  // its lines; "{dir}" stands for the working directory
};

void PrintTo(const MissingBoxCase& c, std::ostream* os) { *os << c.name; }

class MissingBox : public OpenLog, public ::testing::WithParamInterface<MissingBoxCase> {};

TEST_P(MissingBox, AsksForTheLogOnlyWhenNothingNamedOne) {
    const MissingBoxCase& c = GetParam();
    fs::remove(dir_ / "log.ini");
    if (c.ini) std::ofstream(dir_ / "log.ini") << *c.ini;
    open(c.named);
    ASSERT_EQ(missing_shown_.size(), 1u);
    const MissingLogBox& box = missing_shown_.front();
    EXPECT_EQ(box.offer_open, c.offer_open);
    EXPECT_EQ(box.default_answer, c.default_answer);
    EXPECT_EQ(box.advice.toStdString(), c.advice);
    QStringList detail;
    for (const std::string& line : c.detail) detail << QString::fromStdString(line).replace("{dir}", qt_path(dir_));
    EXPECT_EQ(box.detail, detail.join('\n'));
}

INSTANTIATE_TEST_SUITE_P(
    FirstStart, MissingBox,
    ::testing::Values(
        MissingBoxCase{
            "NothingNamedOpensByDefault",
            {},
            {},
            true,
            MissingLogAnswer::Open,
            "Kies de logfile van je meetprogramma.",
            {"Gezocht in:", "{dir}/log.ini", "{dir}/config/loglezer/log.ini", std::string("{dir}/") + kDefaultLogPath}},
        MissingBoxCase{"LogIniNamedAMissingLog",
                       "[path]\nlog=gone.csv\n",
                       {},
                       true,
                       MissingLogAnswer::Close,
                       "",
                       {"{dir}/gone.csv"}},
        MissingBoxCase{
            "CommandLineNamedAMissingLog", {}, "gone.csv", false, MissingLogAnswer::Close, "", {"{dir}/gone.csv"}}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

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
