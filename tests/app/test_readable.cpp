// The window's texts stay readable whatever the desktop's palette.

#include <QAbstractItemView>
#include <QMessageBox>
#include <QPalette>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <cmath>
#include <map>

#include "tests/app/window_fixture.h"

using namespace test_support;

namespace {

// WCAG's relative luminance and contrast ratio.
double luminance(QColor c) {
    const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double contrast(QColor a, QColor b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colours a dark desktop theme gives every application.
QPalette dark_palette() {
    const QColor light_text(0xf0, 0xf0, 0xf0);
    QPalette p(light_text, QColor(0x32, 0x32, 0x32), QColor(0x4b, 0x4b, 0x4b), QColor(0x21, 0x21, 0x21),
               QColor(0x26, 0x26, 0x26), light_text, QColor(0x4b, 0x4b, 0x4b), QColor(0x24, 0x24, 0x24),
               QColor(0x32, 0x32, 0x32));
    p.setColor(QPalette::HighlightedText, light_text);
    p.setColor(QPalette::PlaceholderText, QColor(0xf0, 0xf0, 0xf0, 0x80));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x82, 0x82, 0x82));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x82, 0x82, 0x82));
    return p;
}

// The window under a dark application palette, put back afterwards.
class DarkTheme : public Window {
protected:
    void SetUp() override {
        Window::SetUp();
        saved_ = QApplication::palette();
        QApplication::setPalette(dark_palette());
    }
    void TearDown() override {
        Window::TearDown();
        QApplication::setPalette(saved_);
    }

    // Where a control draws its text, in the window's coordinates.
    QRect text_rect(QWidget* w) {
        QRect r = w->rect();
        if (auto* option = qobject_cast<QRadioButton*>(w)) {
            QStyleOptionButton opt;
            opt.initFrom(option);
            opt.text = option->text();
            r = w->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, w);
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            QStyleOptionGroupBox opt;
            opt.initFrom(group);
            opt.text = group->title();
            opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            opt.textAlignment = group->alignment();
            r = w->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, w);
        } else if (auto* box = qobject_cast<QComboBox*>(w)) {
            r = box->lineEdit()->geometry();
        }
        return QRect(w->mapTo(form_.get(), r.topLeft()), r.size());
    }

    QPalette saved_;
};

// The darkest pixel of a text, and the colour most of its rectangle has.
struct TextColours {
    QColor darkest;
    QColor background;
};

TextColours colours_in(const QImage& image, const QRect& rect) {
    TextColours out{Qt::white, Qt::white};
    std::map<QRgb, int> counts;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (luminance(c) < luminance(out.darkest)) out.darkest = c;
            ++counts[c.rgb()];
        }
    }
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    if (most != counts.end()) out.background = QColor::fromRgb(most->first);
    return out;
}

TEST_F(DarkTheme, EveryTextOfTheWindowIsDarkOnWhite) {
    // Over the limit, so that the allowance's rows are red.
    std::ofstream(dir_ / "log.ini", std::ios::app) << "[allowance]\nlimit=1 GB\n";
    start(log_of(days_from(2005, 1, 1, 40)));
    click(option(2));
    ASSERT_FALSE(month()->isHidden());
    const QImage shot = form_->grab().toImage();
    const char* named[] = {
        "sbtn_showstats", "sbtn_savedownload", "sbtn_saveupload", "cb_year",        "cb_month",    "Radios",
        "gb_totals",      "GroupBox1",         "Label1",          "Label2",         "Label3",      "Label4",
        "Label5",         "lbl_totaldown",     "lbl_totalup",     "lbl_recorddown", "lbl_recordup"};
    const char* allowance[] = {"gb_allowance", "Label6", "Label7", "lbl_allowanceused", "lbl_allowanceestimate"};
    std::vector<std::pair<QString, QWidget*>> texts;
    for (const char* name : named) texts.emplace_back(name, child<QWidget>(name));
    for (const char* name : allowance) texts.emplace_back(name, child<QWidget>(name));
    for (int i = 0; i < 3; ++i) texts.emplace_back(option(i)->text(), option(i));
    for (const auto& [name, widget] : texts) {
        const QRect rect = text_rect(widget);
        const TextColours c = colours_in(shot, rect);
        EXPECT_EQ(c.background, QColor(Qt::white)) << name.toStdString();
        EXPECT_GE(contrast(c.darkest, Qt::white), 4.5) << name.toStdString() << ": " << c.darkest.name().toStdString();
    }
    // The drop-down lists, which are windows of their own.
    for (QComboBox* box : {year(), month()}) {
        const QPalette list = box->view()->palette();
        EXPECT_EQ(list.color(QPalette::Base), QColor(Qt::white));
        EXPECT_GE(contrast(list.color(QPalette::Text), Qt::white), 4.5);
    }
}

TEST_F(DarkTheme, AMessageBoxOverTheWindowKeepsTheDesktopsColours) {
    start(log_of(days_from(2005, 1, 1, 40)));
    QMessageBox box(QMessageBox::Critical, "Error", "text", QMessageBox::Ok, form_.get());
    EXPECT_EQ(box.palette().color(QPalette::Window), dark_palette().color(QPalette::Window));
    EXPECT_EQ(box.palette().color(QPalette::WindowText), dark_palette().color(QPalette::WindowText));
}

}  // namespace
