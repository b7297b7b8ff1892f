#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "allowance/allowance_chart.h"
#include "chart/chart_panel.h"

namespace loglezer {
namespace {

constexpr Separators kDutch{',', '.'};

const char* const kMonths[] = {"Januari", "Februari", "Maart",     "April",   "Mei",      "Juni",
                               "Juli",    "Augustus", "September", "Oktober", "November", "December"};

void fill_months(ChartModel& model) {
    for (int i = 0; i < 12; ++i) model.add_point(10.0 + 7.5 * i, kMonths[i]);
}

void fill_days(ChartModel& model) {
    for (int i = 0; i < 31; ++i) model.add_point(0.37 * ((i * 7) % 11), std::to_string(i + 1));
}

ChartModel days_chart() {
    ChartModel model("Upload");
    fill_days(model);
    return model;
}

bool is_blue(QRgb c) { return qBlue(c) > 180 && qRed(c) < 90 && qGreen(c) < 90; }

int count_pixels(const QImage& image, const QRect& area, bool (*match)(QRgb)) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += match(image.pixel(x, y)) ? 1 : 0;
    return n;
}

bool is_white(QRgb c) { return c == qRgb(255, 255, 255); }

// The centre of bar `i` of `n` in a picture laid out in `area`.
int bar_centre(const ChartPanel& panel, const QRect& area, int i, int n) {
    const QRect plot = panel.plot_rect(area);
    return plot.left() + static_cast<int>((i + 0.5) / n * plot.width());
}

struct PanelSize {
    const char* name;
    int width, height;
};

void PrintTo(const PanelSize& c, std::ostream* os) { *os << c.name; }

class RenderSize : public ::testing::TestWithParam<PanelSize> {};

TEST_P(RenderSize, PictureIs1049x249WhateverTheScreenSize) {
    ChartPanel panel("Upload");
    panel.resize(GetParam().width, GetParam().height);
    fill_months(panel.model());
    const QImage picture = panel.render(1049, 249);
    EXPECT_EQ(picture.size(), QSize(1049, 249));
    EXPECT_EQ(picture.format(), QImage::Format_RGB888);
    EXPECT_EQ(picture.devicePixelRatio(), 1.0);
    // Nothing is cut off: the bottom rows hold the axis labels, and the last
    // row is panel background.
    const QRect plot = panel.plot_rect(QRect(0, 0, 1049, 249));
    EXPECT_LT(plot.bottom(), 249 - 10 - 13);
    for (int x = 0; x < 1049; ++x) ASSERT_TRUE(is_white(picture.pixel(x, 248))) << x;
}

INSTANTIATE_TEST_SUITE_P(Panels, RenderSize,
                         ::testing::Values(PanelSize{"Download", 1049, 249}, PanelSize{"Upload", 1049, 250},
                                           PanelSize{"Small", 300, 100}),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

TEST(Render, LaidOutForThePictureNotTheScreen) {
    ChartPanel a("Upload");
    ChartPanel b("Upload");
    a.resize(1049, 250);
    b.resize(400, 600);
    fill_months(a.model());
    fill_months(b.model());
    EXPECT_EQ(a.render(1049, 249), b.render(1049, 249));
}

TEST(Render, TwoRendersAreIdenticalAndShowThePoints) {
    ChartPanel panel("Download");
    fill_days(panel.model());
    const QImage picture = panel.render(1049, 249);
    EXPECT_EQ(picture, panel.render(1049, 249));
    // Two blank pictures would be identical too.
    EXPECT_NE(picture, ChartPanel("Download").render(1049, 249));
}

TEST(Render, EmptyPanelShowsItsTitle) {
    ChartPanel panel("Download per jaar sinds 1 Januari 2005");
    const QImage picture = panel.render(1049, 249);
    const int top = count_pixels(picture, QRect(0, 0, 1049, 20), is_blue);
    EXPECT_GT(top, 50);
    // centred: about as much blue left and right of the middle
    const int left = count_pixels(picture, QRect(0, 0, 524, 20), is_blue);
    EXPECT_NEAR(left, top - left, top / 5);
    // and nothing blue elsewhere
    EXPECT_EQ(count_pixels(picture, QRect(0, 20, 1049, 229), is_blue), 0);
    // an empty plot: its walls, but nothing inside the back wall
    const QRect plot = panel.plot_rect(QRect(0, 0, 1049, 249));
    const QRect inside = plot.translated(15, -15).intersected(plot).adjusted(2, 2, -2, -2);
    EXPECT_EQ(count_pixels(picture, inside, [](QRgb c) { return !is_white(c); }), 0);
}

TEST(Render, NoTitleLinesNoBlue) {
    ChartPanel panel("Download");
    panel.model().clear_titles();
    const QImage picture = panel.render(1049, 249);
    EXPECT_EQ(count_pixels(picture, picture.rect(), is_blue), 0);
}

TEST(Render, SeveralTitleLinesStackDown) {
    ChartPanel one("Download");
    ChartPanel two("Download");
    two.model().add_title("Tweede regel");
    const QRect area(0, 0, 1049, 249);
    EXPECT_GT(two.plot_rect(area).top(), one.plot_rect(area).top());
    EXPECT_GT(count_pixels(two.render(1049, 249), QRect(0, 15, 1049, 15), is_blue), 20);
}

TEST(Render, ChildControlsAreNotInThePicture) {
    ChartPanel with_button("Download");
    ChartPanel plain("Download");
    fill_months(with_button.model());
    fill_months(plain.model());
    with_button.setGeometry(0, 0, 1049, 249);
    auto* button = new QPushButton("Grafiek opslaan", &with_button);
    button->setGeometry(8, 8, 89, 25);
    with_button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&with_button));
    // The button is drawn on screen ...
    const QImage screen = with_button.grab().toImage().convertToFormat(QImage::Format_RGB888);
    const QImage picture = with_button.render(1049, 249);
    EXPECT_NE(screen.copy(8, 8, 89, 25), picture.copy(8, 8, 89, 25));
    // ... and not in the picture.
    EXPECT_EQ(picture, plain.render(1049, 249));
    EXPECT_TRUE(count_pixels(picture, QRect(8, 8, 89, 25), [](QRgb c) { return !is_white(c) && !is_blue(c); }) == 0);
}

TEST(Render, ThreeDAndFlatDiffer) {
    ChartPanel panel("Download");
    fill_months(panel.model());
    const QImage solid = panel.render(1049, 249);
    panel.model().set_3d(false);
    const QImage flat = panel.render(1049, 249);
    EXPECT_NE(solid, flat);
    // The 3D plot is narrower by its depth, round(plot width * 0.015).
    ChartPanel solid_panel("x");
    ChartPanel flat_panel("x");
    flat_panel.model().set_3d(false);
    const QRect area(0, 0, 1049, 249);
    const int depth = flat_panel.plot_rect(area).width() - solid_panel.plot_rect(area).width();
    EXPECT_EQ(depth, 15);
}

TEST(Render, GradientRunsFromTheColourAtTheBaseToWhiteAtTheTop) {
    ChartPanel panel("Download");
    panel.model().set_3d(false);
    for (int i = 0; i < 5; ++i) panel.model().add_point(10.0, "p" + std::to_string(i));
    const QRect area(0, 0, 1049, 249);
    const QImage picture = panel.render(1049, 249);
    const QRect plot = panel.plot_rect(area);
    const int red_x = bar_centre(panel, area, 0, 5);
    const QRgb base = picture.pixel(red_x, plot.bottom() - 2);
    EXPECT_GT(qRed(base), 240);
    EXPECT_LT(qGreen(base), 40);
    // Higher up the bar pales towards white.
    int y = plot.bottom() - 2;
    while (y > plot.top() && picture.pixel(red_x, y - 1) != qRgb(0, 0, 0)) --y;  // up to the outline
    const QRgb top = picture.pixel(red_x, y + 1);
    EXPECT_GT(qGreen(top), 200);
    // The fifth point is white: only its outline shows on the white plot.
    const int white_x = bar_centre(panel, area, 4, 5);
    EXPECT_EQ(picture.pixel(white_x, plot.bottom() - 2), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(white_x, (plot.bottom() + y) / 2), qRgb(255, 255, 255));
}

TEST(Render, AllZeroAndSingleValuesDrawWithoutTrouble) {
    for (const std::vector<double>& values :
         {std::vector<double>{0, 0, 0}, std::vector<double>{0}, std::vector<double>{5}, std::vector<double>{1e12, 0}}) {
        ChartPanel panel("Download");
        for (double v : values) panel.model().add_point(v, "x");
        for (bool solid : {true, false}) {
            panel.model().set_3d(solid);
            const QImage picture = panel.render(1049, 249);
            EXPECT_EQ(picture.size(), QSize(1049, 249));
        }
    }
    // Tiny and degenerate sizes do not trip the layout.
    ChartPanel panel("Download");
    fill_days(panel.model());
    for (QSize size : {QSize(1, 1), QSize(30, 30), QSize(2000, 20)}) {
        EXPECT_EQ(panel.render(size.width(), size.height()).size(), size);
    }
}

TEST(Render, TheValueFormatRewritesTheMarksOfExistingPoints) {
    ChartPanel panel("Download");
    panel.set_separators(kDutch);
    panel.model().add_point(0.5, "Januari");
    const QImage before = panel.render(1049, 249);
    panel.model().set_value_format("#.###,## GB");
    const QImage after = panel.render(1049, 249);
    EXPECT_NE(before, after);
    panel.set_separators(Separators{});
    EXPECT_NE(after, panel.render(1049, 249));
}

TEST(Render, AMarkAtTheEdgeIsNotCutOffByThePlot) {
    ChartPanel panel("Upload");
    panel.model().set_3d(false);
    for (int i = 0; i < 30; ++i) panel.model().add_point(1, std::to_string(i + 1));
    panel.model().add_point(1234.56, "31");  // the widest mark, on the last bar
    const QRect area(0, 0, 1049, 249);
    const QRect plot = panel.plot_rect(area);
    const QImage picture = panel.render(1049, 249);
    const QRect right_of_plot(plot.right() + 2, plot.top(), 1049 - plot.right() - 2, plot.height() / 2);
    EXPECT_GT(count_pixels(picture, right_of_plot, [](QRgb c) { return qGray(c) < 128; }), 5);
}

// The period's last day, over the limit from its second day on: the limit's
// line crosses the first bars just under their tops, and today's mark sits
// on the bar at the plot's right edge.
TEST(Render, ThePeriodsLabelsLeaveTheBarsTopsAndTheMarkTheFrameInSight) {
    AllowanceFigures figures;
    figures.period = billing_period(LogDate{2026, 6, 13}, 14);
    figures.day = figures.period.days();
    figures.limit = 15e9L;
    for (int day = 1; day <= figures.day; ++day) figures.running_totals.push_back((day == 1 ? 1 : 17 + day) * 1e9L);
    figures.used = figures.running_totals.back();
    const ChartModel model = allowance_chart(figures, UnitMode::Decimal, kDutch);
    const ChartPainter painter(model, kDutch, ChartPanel::kAll);
    const QRect area(0, 0, 1049, 249);
    const QImage picture = painter.picture(area.width(), area.height());
    const ChartLayout layout = painter.lay_out(area);
    for (std::size_t i = 0; i < model.points().size(); ++i) {
        const QRect bar = layout.bar_box(i).value_or(QRect());
        const QRect top_edge(bar.left(), bar.top(), bar.width(), 1);
        EXPECT_EQ(count_pixels(picture, top_edge, [](QRgb c) { return c == qRgb(0, 0, 0); }), bar.width()) << i;
    }
    const QRect plot = painter.plot_rect(area);
    const QRect right_of_plot(plot.right() + 2, plot.top(), area.right() - plot.right() - 1, plot.height());
    EXPECT_EQ(count_pixels(picture, right_of_plot, is_white), right_of_plot.width() * right_of_plot.height());
}

TEST(Render, LegendGrowsWithThePointsAndShrinksThePlot) {
    ChartPanel empty("Download");
    ChartPanel months("Download");
    fill_months(months.model());
    const QRect area(0, 0, 1049, 249);
    EXPECT_GT(months.plot_rect(area).top(), empty.plot_rect(area).top());
    // Many long labels wrap onto more legend rows.
    ChartPanel many("Download");
    for (int i = 0; i < 31; ++i) many.model().add_point(i, "Een lang etiket " + std::to_string(i));
    EXPECT_GT(many.plot_rect(area).top(), months.plot_rect(area).top());
}

TEST(Render, LabelsAreLatin1Bytes) {
    // A log byte above 127 must reach the screen as that character, the
    // same way whether or not it is valid UTF-8.
    ChartPanel a("Download");
    ChartPanel b("Download");
    a.model().add_point(1, "Maa\xEB");
    b.model().add_point(1, "Maa\xC3\xAB");
    EXPECT_NE(a.render(1049, 249), b.render(1049, 249));
}

// A widget that counts its paint events.
class CountingPanel : public ChartPanel {
public:
    using ChartPanel::ChartPanel;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        ChartPanel::paintEvent(event);
    }
};

TEST(Repaint, ModelChangesRepaintAfterTheHandler) {
    CountingPanel panel("Download");
    panel.resize(1049, 249);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QApplication::processEvents();
    const int before = panel.paints;
    panel.model().add_point(1, "a");
    panel.model().add_point(2, "b");
    panel.model().set_3d(false);
    EXPECT_EQ(panel.paints, before);  // nothing drawn while the handler runs
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel.paints > before; }));
}

// Mouse gestures

// Drags the mouse with `button` held from `from` to `to` over `widget`.
void mouse_drag(QWidget& widget, Qt::MouseButton button, QPoint from, QPoint to) {
    QTest::mousePress(&widget, button, Qt::NoModifier, from);
    QTest::mouseMove(&widget, (from + to) / 2);
    QTest::mouseMove(&widget, to);
    QTest::mouseRelease(&widget, button, Qt::NoModifier, to);
}

class Zoom : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        panel.resize(1049, 249);
        panel.set_animated_zoom(GetParam());
        fill_months(panel.model());
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    }
    void drag(Qt::MouseButton button, QPoint from, QPoint to) { mouse_drag(panel, button, from, to); }
    bool settles_at(const QRectF& expected) {
        return QTest::qWaitFor([&] {
            const QRectF z = panel.zoom();
            return std::abs(z.left() - expected.left()) < 1e-9 && std::abs(z.top() - expected.top()) < 1e-9 &&
                   std::abs(z.width() - expected.width()) < 1e-9 && std::abs(z.height() - expected.height()) < 1e-9;
        });
    }
    ChartPanel panel{"Download"};
};

TEST_P(Zoom, DragDownRightZoomsIntoTheRectangleAndUpLeftUndoes) {
    const QRect plot = panel.plot_rect(panel.rect());
    const QImage whole = panel.render(1049, 249);
    // the left half across, the lower half up
    const QPoint from(plot.left(), plot.top() + plot.height() / 2);
    const QPoint to(plot.left() + plot.width() / 2, plot.bottom());
    drag(Qt::LeftButton, from, to);
    const double mid_y = (plot.bottom() - from.y()) / static_cast<double>(plot.height());
    const double half_x = (to.x() - plot.left()) / static_cast<double>(plot.width());
    ASSERT_TRUE(settles_at(QRectF(0, 0, half_x, mid_y)));
    EXPECT_TRUE(panel.is_zoomed());
    // the picture shows the zoom too
    EXPECT_NE(panel.render(1049, 249), whole);

    drag(Qt::LeftButton, QPoint(600, 200), QPoint(500, 100));
    ASSERT_TRUE(settles_at(ChartPanel::kAll));
    EXPECT_FALSE(panel.is_zoomed());
    EXPECT_EQ(panel.render(1049, 249), whole);
}

TEST_P(Zoom, DoubleClickUndoes) {
    drag(Qt::LeftButton, QPoint(100, 100), QPoint(400, 200));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.is_zoomed(); }));
    QTest::mouseDClick(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(300, 150));
    EXPECT_TRUE(settles_at(ChartPanel::kAll));
}

TEST_P(Zoom, AClickIsNoZoom) {
    drag(Qt::LeftButton, QPoint(100, 100), QPoint(101, 101));
    constexpr int kLongerThanAGlide = 200;  // ms; a zoom glides over 6 frames of 20 ms
    EXPECT_FALSE(QTest::qWaitFor([&] { return panel.is_zoomed(); }, kLongerThanAGlide));
}

TEST_P(Zoom, RightDragScrollsInOneStep) {
    const QRect plot = panel.plot_rect(panel.rect());
    drag(Qt::RightButton, QPoint(500, 150), QPoint(500 + plot.width() / 4, 150));
    // the content follows the mouse to the right: the view moves left
    const QRectF z = panel.zoom();
    EXPECT_NEAR(z.left(), -0.25, 0.01);
    EXPECT_NEAR(z.top(), 0.0, 1e-9);
    EXPECT_DOUBLE_EQ(z.width(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Animated, Zoom, ::testing::Values(false, true),
                         [](const auto& case_info) { return case_info.param ? "Animated" : "OneStep"; });

TEST(DeepZoom, FortyZoomsIntoOneBarStillShowItsColour) {
    ChartPanel panel("Download");
    panel.resize(1049, 249);
    fill_months(panel.model());
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    const QRect plot = panel.plot_rect(panel.rect());
    // A point low in the fourth bar (blue), and what it looks like unzoomed.
    const QPoint target(bar_centre(panel, panel.rect(), 3, 12), plot.bottom() - 10);
    const QRgb expected = panel.render(1049, 249).pixel(target);
    ASSERT_GT(qBlue(expected), 200);
    // Each drag halves the view around the point, which then stays in the
    // middle of the plot.
    const QPoint half(plot.width() / 4, plot.height() / 4);
    const QPoint centre(plot.left() + plot.width() / 2, plot.bottom() - plot.height() / 2);
    for (int i = 0; i < 40; ++i) {
        const QPoint around = i == 0 ? target : centre;
        mouse_drag(panel, Qt::LeftButton, around - half, around + half);
        const QRgb seen = panel.render(1049, 249).pixel(centre);
        const int off = std::max({std::abs(qRed(seen) - qRed(expected)), std::abs(qGreen(seen) - qGreen(expected)),
                                  std::abs(qBlue(seen) - qBlue(expected))});
        ASSERT_LE(off, 8) << "after zoom " << i + 1 << ": " << std::hex << seen << " for " << expected;
    }
    // The zoom stopped at its limit: a thousandth of a bar's slot across.
    EXPECT_NEAR(panel.zoom().width(), 1.0 / 12 / 1000, 1e-12);
}

TEST(ScaleMap, KeepsPositionsWithinReachOfAnIntWhateverTheZoom) {
    // The stages add a few coordinates together; that must not overflow.
    constexpr int kReach = std::numeric_limits<int>::max() / 16;
    const QRect plot(40, 60, 900, 150);
    for (const QRectF& zoom : {QRectF(0.3, 0.1, 1e-15, 1e-15), QRectF(1e12, -1e12, 1, 1), QRectF(0.5, 0.5, 0, 0)}) {
        const ScaleMap map(plot, zoom);
        for (double f : {-1.0, 0.0, 0.3, 1.0}) {
            EXPECT_LE(std::abs(map.x(f)), kReach) << f;
            EXPECT_LE(std::abs(map.y(f)), kReach) << f;
        }
    }
}

TEST(ZoomAnimation, GlidesOverSeveralFramesOnlyWhenAnimated) {
    for (bool animated : {false, true}) {
        ChartPanel panel("Download");
        panel.set_animated_zoom(animated);
        std::vector<QRectF> seen;
        const QRectF target(0.25, 0.25, 0.5, 0.5);
        panel.zoom_to(target);
        seen.push_back(panel.zoom());
        const bool reached = QTest::qWaitFor([&] {
            if (seen.back() != panel.zoom()) seen.push_back(panel.zoom());
            return panel.zoom() == target;
        });
        EXPECT_TRUE(reached);
        EXPECT_EQ(panel.zoom(), target);
        if (animated) {
            EXPECT_NE(seen.front(), target);
            EXPECT_GE(seen.size(), 3u);
        } else {
            EXPECT_EQ(seen.size(), 1u);
        }
    }
}

TEST(Tooltip, NamesTheBarUnderThePointerAsTheZoomShowsIt) {
    ChartPanel panel("Download");
    panel.resize(1049, 249);
    panel.set_separators(kDutch);
    fill_months(panel.model());
    const QRect plot = panel.plot_rect(panel.rect());
    const QPoint middle(plot.center().x(), plot.bottom() - 2);
    // Unzoomed, the middle of the plot lies between June's and July's bars.
    EXPECT_EQ(panel.tooltip_at(middle), QString());
    panel.zoom_to({6.0 / 12, 0.0, 1.0 / 12, 1.0});
    EXPECT_EQ(panel.tooltip_at(middle).toStdString(), "Juli\n55,00 GB\n0 bytes");
}

// A change to a panel that has been laid out to find a bar.
struct ChangeCase {
    const char* name;
    std::function<void(ChartPanel&)> change;
};

void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }

// Where the pointer rests to ask for a bar, which lays the panel out.
constexpr QPoint kHovered(100, 200);

class KeptLayout : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(KeptLayout, GivesWayToTheChangedChart) {
    ChartPanel panel("Download");
    panel.resize(1049, 249);
    fill_months(panel.model());
    panel.tooltip_at(kHovered);
    GetParam().change(panel);
    const QImage screen = panel.grab().toImage().convertToFormat(QImage::Format_RGB888);
    EXPECT_EQ(screen, panel.render(panel.width(), panel.height()));
}

INSTANTIATE_TEST_SUITE_P(
    Panel, KeptLayout,
    ::testing::Values(ChangeCase{"Resized", [](ChartPanel& p) { p.resize(700, 300); }},
                      ChangeCase{"PointsReplaced",
                                 [](ChartPanel& p) {
                                     p.model().clear_points();
                                     fill_days(p.model());
                                 }},
                      ChangeCase{"SeparatorsChanged", [](ChartPanel& p) { p.set_separators(kDutch); }},
                      ChangeCase{"AnotherChartShown", [](ChartPanel& p) { p.set_chart(days_chart()); }},
                      ChangeCase{"ChangedAfterAShow",
                                 [](ChartPanel& p) {
                                     p.set_chart(days_chart());
                                     p.tooltip_at(kHovered);
                                     p.model().set_3d(false);
                                 }}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

// The keys of a panel of twelve bars, from no selection and no zoom.
struct KeysCase {
    const char* name;
    std::vector<Qt::Key> keys;
    std::optional<std::size_t> selected;
    QRectF zoom;
};

void PrintTo(const KeysCase& c, std::ostream* os) { *os << c.name; }

class ChartKeys : public ::testing::TestWithParam<KeysCase> {};

TEST_P(ChartKeys, SelectAndZoom) {
    ChartPanel panel("Download");
    panel.resize(1049, 249);
    fill_months(panel.model());
    for (Qt::Key key : GetParam().keys) QTest::keyClick(&panel, key);
    EXPECT_EQ(panel.selected_bar(), GetParam().selected);
    const QRectF z = panel.zoom();
    const QRectF& expected = GetParam().zoom;
    EXPECT_NEAR(z.left(), expected.left(), 1e-9);
    EXPECT_NEAR(z.width(), expected.width(), 1e-9);
    EXPECT_EQ(z.top(), expected.top());
    EXPECT_EQ(z.height(), expected.height());
}

using K = Qt::Key;
constexpr K kRight = Qt::Key_Right;
constexpr K kLeft = Qt::Key_Left;
constexpr K kIn = Qt::Key_Plus;
constexpr K kOut = Qt::Key_Minus;
constexpr QRectF kAll = ChartPanel::kAll;
constexpr double kSlot = 1.0 / 12;  // the width of one bar's slot

INSTANTIATE_TEST_SUITE_P(
    Panel, ChartKeys,
    ::testing::Values(KeysCase{"FirstRightSelectsTheFirstBar", {kRight}, 0, kAll},
                      KeysCase{"FirstLeftSelectsTheLastBar", {kLeft}, 11, kAll},
                      KeysCase{"RightStopsAtTheLastBar", {kLeft, kRight}, 11, kAll},
                      KeysCase{"LeftStopsAtTheFirstBar", {kRight, kLeft}, 0, kAll},
                      KeysCase{"PlusZoomsInAroundTheSelectedBar",
                               {kRight, kRight, kRight, kRight, kIn},
                               3,
                               {3.5 * kSlot - 0.25, 0, 0.5, 1}},
                      KeysCase{"PlusWithoutASelectionZoomsAroundTheMiddle", {kIn}, std::nullopt, {0.25, 0, 0.5, 1}},
                      KeysCase{"PlusNearTheEdgeKeepsTheViewOnThePlot", {kRight, kIn}, 0, {0, 0, 0.5, 1}},
                      KeysCase{"MinusZoomsOutNoWiderThanThePlot", {kIn, kOut, kOut}, std::nullopt, kAll},
                      KeysCase{"ZeroUndoesTheZoom", {kIn, kIn, Qt::Key_0}, std::nullopt, kAll},
                      KeysCase{"EqualsZoomsInLikePlus", {Qt::Key_Equal}, std::nullopt, {0.25, 0, 0.5, 1}},
                      KeysCase{"ASelectionOutOfViewScrollsIntoIt",
                               {kRight, kIn, kIn, kIn, kRight, kRight},
                               2,
                               {2.5 * kSlot - 0.0625, 0, 0.125, 1}}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

// The tooltip on the screen, if one is shown.
QWidget* shown_tooltip() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto tip = std::find_if(windows.begin(), windows.end(), [](const QWidget* w) {
        return w->objectName() == QLatin1String("qtooltip_label") && w->isVisible();
    });
    return tip == windows.end() ? nullptr : *tip;
}

TEST(ChartKeys, TheSelectedBarsTooltipMovesWithTheBarWhenTheKeysZoom) {
    ChartPanel panel("Download");
    panel.resize(600, 249);
    fill_months(panel.model());
    for (int i = 0; i < 4; ++i) QTest::keyClick(&panel, Qt::Key_Right);
    ASSERT_NE(shown_tooltip(), nullptr);
    QTest::keyClick(&panel, Qt::Key_Plus);
    const QWidget* tip = shown_tooltip();
    ASSERT_NE(tip, nullptr);
    // The fourth bar, now twice as wide in the middle of the view: the tip
    // stands right of its centre, within its slot.
    const QRect plot = panel.plot_rect(panel.rect());
    const QRectF view = panel.zoom();
    const double slot = plot.width() / 12.0 / view.width();
    const double centre = plot.left() + (3.5 * kSlot - view.left()) / view.width() * plot.width();
    const int tip_x = panel.mapFromGlobal(tip->pos()).x();
    EXPECT_GT(tip_x, centre);
    EXPECT_LT(tip_x, centre + slot);
}

TEST(ChartKeys, APanelWithoutBarsSelectsNothing) {
    ChartPanel panel("Download");
    panel.resize(1049, 249);
    QTest::keyClick(&panel, Qt::Key_Right);
    EXPECT_EQ(panel.selected_bar(), std::nullopt);
}

TEST(ChartKeys, ReplacedPointsForgetTheSelection) {
    ChartPanel panel("Download");
    panel.resize(1049, 249);
    fill_months(panel.model());
    QTest::keyClick(&panel, Qt::Key_Left);
    ASSERT_EQ(panel.selected_bar(), std::optional<std::size_t>(11));
    panel.model().clear_points();
    fill_months(panel.model());
    EXPECT_EQ(panel.selected_bar(), std::nullopt);
}

TEST(ScreenReader, AChartDescribedByItsTitlesAndItsBarsAsTheirTooltipsWordThem) {
    ChartPanel panel("Download");
    panel.set_separators(kDutch);
    panel.model().add_title("Download per maand 2023");
    panel.model().add_point(1.5, "Januari", 1610612736);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&panel);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Chart);
    EXPECT_EQ(iface->text(QAccessible::Description).toStdString(),
              "Download\nDownload per maand 2023\nJanuari; 1,50 GB; 1.610.612.736 bytes");
    panel.model().add_point(2, "Februari", 2147483648);
    EXPECT_EQ(iface->text(QAccessible::Description).split('\n').back().toStdString(),
              "Februari; 2,00 GB; 2.147.483.648 bytes");
}

}  // namespace
}  // namespace loglezer
