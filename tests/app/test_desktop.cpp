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

}  // namespace
