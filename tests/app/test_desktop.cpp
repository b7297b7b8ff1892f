// What the window adds for the desktop: exact figures on hover, the keys and
// reading the log again.

#include "tests/app/window_fixture.h"

using namespace test_support;

namespace {

// A point on the front of bar `i` of `n`, just above its base.
QPoint on_bar(const ChartPanel& panel, int i, int n) {
    const QRect plot = panel.plot_rect(panel.rect());
    return {plot.left() + static_cast<int>((i + 0.5) / n * plot.width()), plot.bottom() - 2};
}

TEST_F(Window, HoverShowsTheExactFiguresOfABarAndTheDayOfARecord) {
    separators_ = Separators{',', '.'};
    start(
        "13-Jun-2023,5,900,\r\n14-Jun-2023,13249974272,10,\r\n15-Jun-2023,13249974272,900,\r\n"
        "01-Jul-2023,1,1,\r\n");
    click(option(1));
    click(child<QPushButton>("sbtn_showstats"));
    const auto* panel = child<ChartPanel>("chartdownload");
    EXPECT_EQ(panel->tooltip_at(on_bar(*panel, 0, 2)).toStdString(), "Juni 2023\n24,68 GB\n26.499.948.549 bytes");
    EXPECT_EQ(panel->tooltip_at(panel->plot_rect(panel->rect()).topLeft()), QString());
    EXPECT_EQ(child<QLabel>("lbl_recorddown")->toolTip(), "14 Juni 2023");
    EXPECT_EQ(child<QLabel>("lbl_recordup")->toolTip(), "13 Juni 2023");
}

// The window shown and active, as the keys need it.
class Keys : public Window {
protected:
    MainWindow& start_active(const std::string& log) {
        start(log);
        form_->show();
        QApplication::setActiveWindow(form_.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
        return *form_;
    }
    void press(const QKeySequence& keys) { QTest::keySequence(form_.get(), keys); }
    std::string file_bytes(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(Keys, F5RunsMakeStats) {
    start_active(log_of(days_from(2005, 1, 1, 40)));
    click(option(1));
    press(Qt::Key_F5);
    EXPECT_EQ(labels(chart("chartdownload")), (std::vector<std::string>{"Januari", "Februari"}));
}

TEST_F(Keys, CtrlSSavesTheDownloadChartAndCtrlShiftSTheUpload) {
    start_active(log_of(days_from(2005, 1, 1, 40)));
    const std::pair<QKeySequence, const char*> ways[] = {{Qt::CTRL | Qt::Key_S, "sbtn_savedownload"},
                                                         {Qt::CTRL | Qt::SHIFT | Qt::Key_S, "sbtn_saveupload"}};
    for (const auto& [keys, button] : ways) {
        save_answer_ = QString::fromStdString((dir_ / "key.jpg").string());
        press(keys);
        save_answer_ = QString::fromStdString((dir_ / "button.jpg").string());
        click(child<QPushButton>(button));
        EXPECT_FALSE(file_bytes(dir_ / "key.jpg").empty()) << button;
        EXPECT_EQ(file_bytes(dir_ / "key.jpg"), file_bytes(dir_ / "button.jpg")) << button;
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(Keys, CtrlQClosesTheWindow) {
    start_active(log_of(days_from(2005, 1, 1, 40)));
    press(Qt::CTRL | Qt::Key_Q);
    EXPECT_FALSE(form_->isVisible());
}

TEST_F(Keys, CtrlRShowsWhatWasAppendedAsAFreshStartWould) {
    start_active(log_of(days_from(2005, 12, 30, 2)));
    click(option(2));
    std::ofstream(dir_ / "log.csv", std::ios::app) << log_of({"01-Jan-2006"});
    press(Qt::CTRL | Qt::Key_R);
    const std::vector<std::string> years{"2005", "2006"};
    EXPECT_EQ(items(year()), years);
    EXPECT_EQ(items(month()), std::vector<std::string>{"Januari"});
    EXPECT_TRUE(option(0)->isChecked());
    EXPECT_EQ(labels(chart("chartdownload")), years);
    EXPECT_EQ(caption("lbl_totaldown"), "3 GB");
    EXPECT_EQ(chart("chartupload").titles(), std::vector<std::string>{"Upload per jaar sinds 30 December 2005"});
    EXPECT_TRUE(messages_.empty());
}

TEST_F(Keys, CtrlROnAVanishedLogShowsTheMissingBoxAndKeepsTheFigures) {
    start_active(log_of(days_from(2005, 1, 1, 40)));
    fs::remove(dir_ / "log.csv");
    press(Qt::CTRL | Qt::Key_R);
    EXPECT_EQ(missing_boxes_, 1);
    EXPECT_TRUE(form_->isVisible());
    EXPECT_EQ(caption("lbl_totaldown"), "40 GB");
    EXPECT_EQ(labels(chart("chartdownload")), std::vector<std::string>{"2005"});
}

}  // namespace
