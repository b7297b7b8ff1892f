#include "app/window_layout.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QStyledItemDelegate>
#include <cstddef>
#include <map>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "app/figure_label.h"
#include "app/icon.h"
#include "app/window_style.h"
#include "chart/chart_panel.h"

namespace loglezer {
namespace {

// What a row of the layout table makes.
enum class Kind {
    Button,  // a flat push button that never takes the focus
    Chart,   // a bar chart panel, its text the first title
    Combo,   // an editable drop-down list, white, its text the placeholder
    Group,   // a group box, its text the caption
    Label,   // a text label
    Figure,  // a label of a figure the window writes, read out by name and figure
    Option,  // a radio button of the option group its parent holds
};

// A control's font, where it is not the one it takes from its parent.
enum class Font { Inherited, Window, Label, Group };

// Where the window's code finds a control it reaches, if any.
template <class Widget>
using Field = Widget* WindowControls::*;
using Place = std::variant<std::monostate, Field<QPushButton>, Field<ChartPanel>, Field<QComboBox>, Field<QLabel>,
                           Field<QGroupBox>>;

// What a screen reader says of a control, where its text or title does not
// say it well enough: its accessible name and description; null for none.
// Like the controls' texts, they are UTF-8, as this file is ("Eén staaf").
struct Spoken {
    const char* name;
    const char* description;
};

struct Control {
    const char* name;  // objectName; empty for an option button
    Kind kind;
    const char* parent;  // the objectName of a control above in the table, or of the window
    QRect geometry;      // left and top within the parent, outer width and height
    const char* text;
    Place place;
    Font font;
    Spoken spoken;
};

constexpr const char* kWindowName = "Form1";
constexpr const char* kCredit = "Wendo's Pellicor log lezer v1.0";
using C = WindowControls;
constexpr Font Inherited = Font::Inherited;

// The window's controls in the order they are made, which is also the order
// they stack in and, among those that take the focus, the order Tab moves in
// (but for the chart panels, which come after the options).
//
// The upload panel is one pixel taller on screen than the download panel
// (250 against 249), as the window has always been laid out; the credit
// (Label5) sits on its bottom edge, 237 + 13 = 250. Saved, both panels are
// pictures of 1049 x 249 (kPictureWidth x kPictureHeight), laid out afresh
// for that size.
//
// The names and descriptions a screen reader gets are Dutch like the window.
// A chart panel describes its bars itself, a figure label its figure.
// clang-format off
constexpr Control kControls[] = {
    // name               kind          parent           left, top, w, h      text               kept in                    font
    //                    {accessible name, description}
    {"sbtn_showstats",    Kind::Button, "Form1",         {8, 8, 75, 25},      "Maak stats",      &C::make_stats_button,     Inherited,
                          {"Maak stats", "Toont de grafieken, totalen en records van de gekozen optie (F5)"}},
    {"chartdownload",     Kind::Chart,  "Form1",         {8, 104, 1049, 249}, "Download",        &C::download_chart,        Inherited,
                          {"Downloadgrafiek", nullptr}},
    {"sbtn_savedownload", Kind::Button, "chartdownload", {8, 8, 89, 25},      "Grafiek opslaan", &C::save_download_button,  Inherited,
                          {"Downloadgrafiek opslaan", "Slaat de downloadgrafiek op als afbeelding (Ctrl+S)"}},
    {"cb_year",           Kind::Combo,  "Form1",         {88, 8, 105, 21},    "cb_year",         &C::year_box,              Inherited,
                          {"Jaar", "Het jaar van Per maand en Per dag; kies het uit de lijst of typ het"}},
    {"cb_month",          Kind::Combo,  "Form1",         {200, 8, 121, 21},   "cb_month",        &C::month_box,             Inherited,
                          {"Maand", "De maand van Per dag"}},
    {"Radios",            Kind::Group,  "Form1",         {8, 48, 313, 41},    "Opties:",         {},                        Inherited,
                          {"Opties", "Wat de grafieken tonen"}},
    {"",                  Kind::Option, "Radios",        {8, 17, 97, 18},     "Per jaar",        {},                        Inherited,
                          {nullptr, "Eén staaf per jaar van de log"}},
    {"",                  Kind::Option, "Radios",        {107, 17, 97, 18},   "Per maand",       {},                        Inherited,
                          {nullptr, "Eén staaf per maand van het gekozen jaar"}},
    {"",                  Kind::Option, "Radios",        {206, 17, 97, 18},   "Per dag",         {},                        Inherited,
                          {nullptr, "Eén staaf per dag van de gekozen maand"}},
    {"chartupload",       Kind::Chart,  "Form1",         {8, 368, 1049, 250}, "Upload",          &C::upload_chart,          Inherited,
                          {"Uploadgrafiek", nullptr}},
    {"Label5",            Kind::Label,  "chartupload",   {910, 237, 139, 13}, kCredit,           &C::credit_label,          Font::Window,
                          {nullptr, nullptr}},
    {"sbtn_saveupload",   Kind::Button, "chartupload",   {8, 8, 89, 25},      "Grafiek opslaan", &C::save_upload_button,    Inherited,
                          {"Uploadgrafiek opslaan", "Slaat de uploadgrafiek op als afbeelding (Ctrl+Shift+S)"}},
    {"gb_totals",         Kind::Group,  "Form1",         {856, 8, 201, 81},   "Totaal sinds",    {},                        Font::Group,
                          {nullptr, "De download en upload van de hele log"}},
    {"Label1",            Kind::Label,  "gb_totals",     {29, 48, 55, 20},    "Upload:",         {},                        Font::Label,
                          {nullptr, nullptr}},
    {"Label2",            Kind::Label,  "gb_totals",     {9, 24, 75, 20},     "Download:",       {},                        Font::Label,
                          {nullptr, nullptr}},
    {"lbl_totaldown",     Kind::Figure, "gb_totals",     {84, 24, 93, 20},    "",                &C::download_total_label,  Font::Label,
                          {"Totale download", nullptr}},
    {"lbl_totalup",       Kind::Figure, "gb_totals",     {84, 48, 73, 20},    "",                &C::upload_total_label,    Font::Label,
                          {"Totale upload", nullptr}},
    {"GroupBox1",         Kind::Group,  "Form1",         {648, 8, 201, 81},   "Records sinds",   {},                        Font::Group,
                          {nullptr, "De grootste download en upload op één dag"}},
    {"Label3",            Kind::Label,  "GroupBox1",     {9, 24, 75, 20},     "Download:",       {},                        Font::Label,
                          {nullptr, nullptr}},
    {"Label4",            Kind::Label,  "GroupBox1",     {29, 48, 55, 20},    "Upload:",         {},                        Font::Label,
                          {nullptr, nullptr}},
    {"lbl_recorddown",    Kind::Figure, "GroupBox1",     {84, 24, 107, 20},   "",                &C::download_record_label, Font::Label,
                          {"Grootste download op één dag", nullptr}},
    {"lbl_recordup",      Kind::Figure, "GroupBox1",     {84, 48, 87, 20},    "",                &C::upload_record_label,   Font::Label,
                          {"Grootste upload op één dag", nullptr}},
    // The allowance of the current billing period, in the space between
    // the options and the records; hidden unless a limit is set. Its row
    // captions end at 84, where those of the other boxes end (the widths
    // are the texts' in the label font).
    {"gb_allowance",      Kind::Group,  "Form1",         {328, 8, 313, 81},   "Bundel",          &C::allowance_box,         Font::Group,
                          {nullptr, "Het verbruik van de bundel in de huidige periode"}},
    {"Label6",            Kind::Label,  "gb_allowance",  {16, 24, 68, 20},    "Verbruikt:",      &C::allowance_used_caption, Font::Label,
                          {nullptr, nullptr}},
    {"Label7",            Kind::Label,  "gb_allowance",  {14, 48, 70, 20},    "Verwacht:",       &C::allowance_estimate_caption, Font::Label,
                          {nullptr, nullptr}},
    {"lbl_allowanceused", Kind::Figure, "gb_allowance",  {84, 24, 131, 20},   "",                &C::allowance_used_label, Font::Label,
                          {"Verbruikt in deze periode", nullptr}},
    {"lbl_allowanceestimate", Kind::Figure, "gb_allowance", {84, 48, 156, 20}, "",              &C::allowance_estimate_label, Font::Label,
                          {"Verwacht over de hele periode", nullptr}},
};
// clang-format on

// The place a kind of control can be kept in: the index of its pointer type
// in Place, or 0 for a kind the window's code never reaches.
constexpr std::size_t place_of(Kind kind) {
    switch (kind) {
        case Kind::Button:
            return 1;
        case Kind::Chart:
            return 2;
        case Kind::Combo:
            return 3;
        case Kind::Label:
        case Kind::Figure:
            return 4;
        case Kind::Group:
            return 5;
        default:
            return 0;
    }
}

// Every row is kept, if at all, in a place of its kind's type, and names a
// parent made before it.
constexpr bool table_is_sound() {
    for (std::size_t i = 0; i < std::size(kControls); ++i) {
        const Control& c = kControls[i];
        if (c.place.index() != 0 && c.place.index() != place_of(c.kind)) return false;
        bool parent_made = std::string_view(c.parent) == kWindowName;
        for (std::size_t j = 0; j < i; ++j) {
            parent_made = parent_made || std::string_view(kControls[j].name) == c.parent;
        }
        if (!parent_made) return false;
    }
    return true;
}
static_assert(table_is_sound(), "a control kept in a place of another type, or made before its parent");

// Fonts by their character height in pixels (8 point = 11, 12 point = 16 at
// 96 dots per inch), so the fixed pixel layout keeps its proportions.
// Every attribute is set, so that a label inside a group box does not take
// the box's bold italic.
QFont sans_font(int pixels) {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(pixels);
    f.setBold(false);
    f.setItalic(false);
    return f;
}

QFont font_of(Font font) {
    switch (font) {
        case Font::Label:
            return sans_font(16);
        case Font::Group: {
            QFont f = sans_font(16);
            f.setBold(true);
            f.setItalic(true);
            return f;
        }
        default:
            return sans_font(11);
    }
}

// Drop-down items 13 pixels high.
class ItemHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(13);
        return size;
    }
};

QPushButton* flat_button(const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setFlat(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QComboBox* year_month_box(const QString& placeholder, QWidget* parent) {
    auto* cb = new QComboBox(parent);
    cb->setEditable(true);
    // Typed text is never added to the list, and no completion fills in a
    // year the user has not typed.
    cb->setInsertPolicy(QComboBox::NoInsert);
    cb->setCompleter(nullptr);
    cb->setItemDelegate(new ItemHeightDelegate(cb));
    cb->setEditText(placeholder);
    QPalette p = cb->palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Button, Qt::white);
    cb->setPalette(p);
    return cb;
}

// An option button, numbered by its place among the options of its group:
// the first one made also makes the group.
QRadioButton* option_button(const QString& text, QWidget* parent, QButtonGroup*& options) {
    if (!options) options = new QButtonGroup(parent);
    auto* b = new QRadioButton(text, parent);
    options->addButton(b, static_cast<int>(options->buttons().size()));
    return b;
}

QWidget* make(const Control& c, QWidget* parent, QButtonGroup*& options) {
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
        case Kind::Button:
            return flat_button(text, parent);
        case Kind::Chart:
            return new ChartPanel(c.text, parent);  // the title is bytes, as all the chart's texts are
        case Kind::Combo:
            return year_month_box(text, parent);
        case Kind::Group:
            return new QGroupBox(text, parent);
        case Kind::Label:
            return new QLabel(text, parent);
        case Kind::Figure:
            return new FigureLabel(text, parent);
        case Kind::Option:
            return option_button(text, parent, options);
    }
    return nullptr;
}

void keep(WindowControls& controls, const Place& place, QWidget* widget) {
    std::visit(
        [&](auto field) {
            if constexpr (!std::is_same_v<decltype(field), std::monostate>) {
                using Pointer = std::remove_reference_t<decltype(controls.*field)>;
                controls.*field = static_cast<Pointer>(widget);
            }
        },
        place);
}

void set_window_look(QWidget* window) {
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    window->setObjectName(QLatin1String(kWindowName));
    window->setWindowTitle(QStringLiteral("Pellicor!"));
    window->setFixedSize(1065, 625);
    window->setFont(font_of(Font::Window));
    window->setWindowIcon(program_icon());
    window->setPalette(light_palette());
    window->setAutoFillBackground(true);
}

// On Linux a screen reader names a drop-down list by the label that points
// at it, whatever its accessible name: a label of that name, never shown.
void name_by_hidden_label(QComboBox* box) {
    auto* label = new QLabel(box->accessibleName(), box->parentWidget());
    label->setBuddy(box);
    label->hide();
}

// The credit sits in its panel's bottom-right corner. The substitute for the
// window font may write it wider than its box: it then grows to the left, so
// that all of it stays on the panel.
void keep_on_panel(QLabel* credit) {
    const int width = credit->sizeHint().width();
    if (width > credit->width()) {
        credit->setGeometry(credit->parentWidget()->width() - width, credit->y(), width, credit->height());
    }
}

}  // namespace

WindowControls lay_out_window(QWidget* window) {
    set_window_look(window);
    WindowControls controls;
    std::map<std::string_view, QWidget*> made{{kWindowName, window}};
    std::vector<QWidget*> flat_looks;
    for (const Control& c : kControls) {
        QWidget* w = make(c, made.at(c.parent), controls.option_buttons);
        if (*c.name) {
            w->setObjectName(QLatin1String(c.name));
            made.emplace(c.name, w);
        }
        if (c.font != Font::Inherited) w->setFont(font_of(c.font));
        w->setGeometry(c.geometry);
        if (c.spoken.name) w->setAccessibleName(QString::fromUtf8(c.spoken.name));
        if (c.spoken.description) w->setAccessibleDescription(QString::fromUtf8(c.spoken.description));
        if (c.kind == Kind::Combo) name_by_hidden_label(static_cast<QComboBox*>(w));
        keep(controls, c.place, w);
        if (c.kind == Kind::Button || c.kind == Kind::Group) flat_looks.push_back(w);
    }
    // The month list shows only with "Per dag": hidden until an option is
    // chosen.
    controls.month_box->setVisible(false);
    controls.allowance_box->setVisible(false);
    keep_on_panel(controls.credit_label);

    // The keyboard moves among the selectors, the options and the charts.
    QWidget::setTabOrder(controls.year_box, controls.month_box);
    QWidget::setTabOrder(controls.month_box, controls.option_buttons->button(0));
    QWidget::setTabOrder(controls.option_buttons->buttons().back(), controls.download_chart);
    QWidget::setTabOrder(controls.download_chart, controls.upload_chart);

    // The window's own look for its flat buttons and group boxes.
    auto* look = new WindowStyle;
    look->setParent(window);
    for (QWidget* w : flat_looks) w->setStyle(look);
    return controls;
}

}  // namespace loglezer
