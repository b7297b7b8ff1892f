// What a screen reader finds of the window, and the charts by keyboard.

#include <QAccessible>
#include <QToolTip>
#include <set>

#include "tests/app/window_fixture.h"

using namespace test_support;

namespace {

// What a screen reader names a control by: the label that points at it, if
// any, else its own name.
QString heard_name(QWidget* w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    for (const auto& [other, relation] : iface->relations(QAccessible::Label)) {
        if (other->role() == QAccessible::StaticText) return other->text(QAccessible::Name);
    }
    return iface->text(QAccessible::Name);
}

QString description(QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description); }

struct SpokenCase {
    const char* control;  // objectName, or "Radios/N" for the option at index N
    const char* name;
    bool described;
};

void PrintTo(const SpokenCase& c, std::ostream* os) { *os << c.control; }

class Spoken : public Window, public ::testing::WithParamInterface<SpokenCase> {
protected:
    QWidget* control(const std::string& key) {
        if (key.rfind("Radios/", 0) == 0) return option(key.back() - '0');
        return child<QWidget>(key.c_str());
    }
};

const SpokenCase kSpoken[] = {
    {"sbtn_showstats", "Maak stats", true},
    {"chartdownload", "Downloadgrafiek", true},
    {"sbtn_savedownload", "Downloadgrafiek opslaan", true},
    {"cb_year", "Jaar", true},
    {"cb_month", "Maand", true},
    {"Radios", "Opties", true},
    {"Radios/0", "Per jaar", true},
    {"Radios/1", "Per maand", true},
    {"Radios/2", "Per dag", true},
    {"chartupload", "Uploadgrafiek", true},
    {"Label5", "Wendo's Pellicor log lezer v1.0", false},
    {"sbtn_saveupload", "Uploadgrafiek opslaan", true},
    {"gb_totals", "Totaal sinds", true},
    {"Label1", "Upload:", false},
    {"Label2", "Download:", false},
    {"lbl_totaldown", "Totale download", true},
    {"lbl_totalup", "Totale upload", true},
    {"GroupBox1", "Records sinds", true},
    {"Label3", "Download:", false},
    {"Label4", "Upload:", false},
    {"lbl_recorddown", "Grootste download op één dag", true},
    {"lbl_recordup", "Grootste upload op één dag", true},
    {"gb_allowance", "Bundel t/m 30 Juni", true},
    {"Label6", "Verbruikt:", false},
    {"Label7", "Verwacht:", false},
    {"lbl_allowanceused", "Verbruikt in deze periode", true},
    {"lbl_allowanceestimate", "Verwacht over de hele periode", true},
};

TEST_P(Spoken, EveryControlHasItsDutchName) {
    std::ofstream(dir_ / "log.ini", std::ios::app) << "[allowance]\nlimit=100 GB\n";
    start(log_of(days_from(2005, 5, 22, 40)));
    QWidget* w = control(GetParam().control);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(heard_name(w).toStdString(), GetParam().name);
    EXPECT_EQ(!description(w).isEmpty(), GetParam().described) << description(w).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Controls, Spoken, ::testing::ValuesIn(kSpoken), [](const auto& case_info) {
    std::string name = case_info.param.control;
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
});

TEST_F(Window, TheNamesTableHoldsEveryNamedControl) {
    start(log_of(days_from(2005, 1, 1, 40)));
    std::set<std::string> listed;
    for (const SpokenCase& c : kSpoken) listed.insert(c.control);
    for (QWidget* w : form_->findChildren<QWidget*>()) {
        const std::string name = w->objectName().toStdString();
        if (!name.empty() && name.rfind("qt_", 0) != 0) {
            EXPECT_EQ(listed.count(name), 1u) << name;
        }
    }
}

TEST_F(Window, FiguresAreReadOutWithTheDayOfARecord) {
    start(log_of(days_from(2005, 1, 1, 40)));
    EXPECT_EQ(description(child<QLabel>("lbl_totaldown")), "40 GB");
    EXPECT_EQ(description(child<QLabel>("lbl_recordup")), "512 MB op 01 Januari 2005");
}

// Tab from the options to the download chart, then its keys.
TEST_F(Window, KeyboardWalkOverAChart) {
    start(log_of(days_from(2005, 1, 1, 4 * 365)));
    form_->show();
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    auto* panel = child<ChartPanel>("chartdownload");
    const QImage picture = panel->render(1049, 249);
    const QImage unfocused = panel->grab().toImage();
    option(0)->setFocus();
    QTest::keyClick(option(0), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), panel);

    for (int i = 0; i < 3; ++i) QTest::keyClick(panel, Qt::Key_Right);
    EXPECT_EQ(panel->selected_bar(), std::optional<std::size_t>(2));
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text().toStdString(), "2007\n365.00 GB\n391,915,765,760 bytes");
    EXPECT_EQ(panel->render(1049, 249), picture);   // the selection stays off the pictures
    EXPECT_NE(panel->grab().toImage(), unfocused);  // but is marked on screen
    QTest::keyClick(panel, Qt::Key_Left);
    EXPECT_EQ(panel->selected_bar(), std::optional<std::size_t>(1));
    EXPECT_EQ(QToolTip::text().toStdString(), "2006\n365.00 GB\n391,915,765,760 bytes");

    // Around bar 1 of 4, whose middle is at 0.375 of the plot.
    const std::pair<Qt::Key, QRectF> zooms[] = {{Qt::Key_Plus, {0.125, 0.0, 0.5, 1.0}},
                                                {Qt::Key_Plus, {0.25, 0.0, 0.25, 1.0}},
                                                {Qt::Key_Minus, {0.125, 0.0, 0.5, 1.0}},
                                                {Qt::Key_0, ChartPanel::kAll}};
    for (const auto& [key, view] : zooms) {
        QTest::keyClick(panel, key);
        EXPECT_TRUE(QTest::qWaitFor([&, view = view] { return panel->zoom() == view; })) << key;
        EXPECT_EQ(QToolTip::text().toStdString(), "2006\n365.00 GB\n391,915,765,760 bytes") << key;
    }

    // Off the chart, the mark goes; new points forget the selection.
    QTest::keyClick(panel, Qt::Key_Tab);
    EXPECT_EQ(panel->grab().toImage(), unfocused);
    click(child<QPushButton>("sbtn_showstats"));
    EXPECT_EQ(panel->selected_bar(), std::nullopt);
}

}  // namespace
