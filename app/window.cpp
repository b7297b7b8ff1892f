#include "app/window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStringDecoder>
#include <QStyledItemDelegate>
#include <new>

#include "app/hover_texts.h"
#include "app/icon.h"
#include "app/program.h"
#include "app/selectors.h"
#include "app/window_style.h"
#include "chart/chart_panel.h"
#include "chart/latin1.h"
#include "log/failure.h"
#include "log/log_file.h"
#include "log/month_names.h"
#include "stats/regional.h"
#include "stats/startup.h"
#include "stats/statistics.h"

namespace loglezer {
namespace {

// A failure's message holds log text (single bytes) or a file name (UTF-8 on
// this system): shown as UTF-8 when it is valid UTF-8, else byte for byte.
QString message_text(const std::string& text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    return utf8.hasError() ? from_log_text(text) : decoded;
}

// Fonts by their character height in pixels (8 point = 11, 12 point = 16 at
// 96 dots per inch), so the fixed pixel layout keeps its proportions.
// Every attribute is set, so that a label inside a group box does not take
// the box's bold italic.
QFont sans_font(int pixels) {
    QFont f("MS Sans Serif");
    f.setPixelSize(pixels);
    f.setBold(false);
    f.setItalic(false);
    return f;
}
QFont window_font() { return sans_font(11); }
QFont label_font() { return sans_font(16); }
QFont group_font() {
    QFont f = label_font();
    f.setBold(true);
    f.setItalic(true);
    return f;
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

QPushButton* flat_button(const char* name, const QString& text, QWidget* parent, QRect geometry) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setFlat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(geometry);
    return b;
}

QComboBox* year_month_box(const char* name, QWidget* parent, QRect geometry) {
    auto* cb = new QComboBox(parent);
    cb->setObjectName(name);
    cb->setEditable(true);
    // Typed text is never added to the list, and no completion fills in a
    // year the user has not typed.
    cb->setInsertPolicy(QComboBox::NoInsert);
    cb->setCompleter(nullptr);
    cb->setItemDelegate(new ItemHeightDelegate(cb));
    cb->setEditText(name);
    cb->setGeometry(geometry);
    QPalette p = cb->palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Button, Qt::white);
    cb->setPalette(p);
    return cb;
}

QLabel* text_label(const char* name, const QString& text, QWidget* parent, QRect geometry, const QFont& font) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setFont(font);
    l->setGeometry(geometry);
    return l;
}

QGroupBox* group_box(const char* name, const QString& title, QWidget* parent, QRect geometry) {
    auto* g = new QGroupBox(title, parent);
    g->setObjectName(name);
    g->setFont(group_font());
    g->setGeometry(geometry);
    return g;
}

}  // namespace

QString wrappable(const QString& text) {
    constexpr int kRun = 30;
    QString out;
    out.reserve(text.size() + text.size() / kRun);
    int run = 0;
    for (const QChar c : text) {
        out += c;
        run = c.isSpace() ? 0 : run + 1;
        if (run == kRun) {
            out += QChar(0x200B);
            run = 0;
        }
    }
    return out;
}

WindowSeams WindowSeams::real() {
    WindowSeams s;
    s.show_failure = [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox box(QMessageBox::Critical, title, wrappable(text), QMessageBox::Ok, parent);
        box.exec();
    };
    s.show_log_missing = [](const QString& detail) {
        QMessageBox box(QMessageBox::Critical, "Error", kLogMissingMessage, QMessageBox::Ok);
        box.setDetailedText(detail);
        box.exec();
    };
    s.save_dialog = real_save_dialog();
    s.working_dir = working_directory();
    s.separators = system_separators();
    return s;
}

TForm1::TForm1(WindowSeams seams, QWidget* parent)
    : QWidget(parent), seams_(std::move(seams)), seps_(seams_.separators) {
    build_layout();
    // Placed before the start-up, so that a box it shows stands over the
    // window's place.
    centre_on_screen();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::build_layout() {
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Arial", "DejaVu Sans", "Sans Serif"});
    setObjectName("Form1");
    setWindowTitle("Pellicor!");
    setFixedSize(1065, 625);
    setFont(window_font());
    setWindowIcon(program_icon());
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setAutoFillBackground(true);

    // Created in this order, which is also the order they stack in.
    sbtn_showstats = flat_button("sbtn_showstats", "Maak stats", this, {8, 8, 75, 25});
    build_download_chart();
    build_selectors();
    build_upload_chart();
    build_groups();

    // The keyboard moves among the selectors and the options only.
    chartdownload->setFocusPolicy(Qt::NoFocus);
    chartupload->setFocusPolicy(Qt::NoFocus);
    QWidget::setTabOrder(cb_year, cb_month);
    QWidget::setTabOrder(cb_month, radio_buttons->button(0));

    // The window's own look for its flat buttons and group boxes.
    auto* look = new WindowStyle;
    look->setParent(this);
    for (QWidget* w : std::initializer_list<QWidget*>{sbtn_showstats, sbtn_savedownload, sbtn_saveupload, Radios,
                                                      gb_totals, GroupBox1}) {
        w->setStyle(look);
    }
    connect_handlers();
    connect_keys();
}

void TForm1::build_download_chart() {
    chartdownload = new ChartPanel("Download", this);
    chartdownload->setObjectName("chartdownload");
    chartdownload->setGeometry(8, 104, 1049, 249);
    chartdownload->set_animated_zoom(true);
    chartdownload->set_separators(seps_);
    chartdownload->set_bar_namer([this](const ChartModel& m, std::size_t i) { return bar_name(shown_option_, m, i); });
    sbtn_savedownload = flat_button("sbtn_savedownload", "Grafiek opslaan", chartdownload, {8, 8, 89, 25});
}

void TForm1::build_selectors() {
    cb_year = year_month_box("cb_year", this, {88, 8, 105, 21});
    cb_month = year_month_box("cb_month", this, {200, 8, 121, 21});
    cb_month->setVisible(false);

    Radios = new QGroupBox("Opties:", this);
    Radios->setObjectName("Radios");
    Radios->setGeometry(8, 48, 313, 41);
    radio_buttons = new QButtonGroup(Radios);
    const char* const options[3] = {"Per jaar", "Per maand", "Per dag"};
    for (int i = 0; i < 3; ++i) {
        auto* rb = new QRadioButton(options[i], Radios);
        rb->setGeometry(8 + i * 99, 17, 97, 18);
        radio_buttons->addButton(rb, i);
    }
}

void TForm1::build_upload_chart() {
    chartupload = new ChartPanel("Upload", this);
    chartupload->setObjectName("chartupload");
    chartupload->setGeometry(8, 368, 1049, 250);
    chartupload->set_animated_zoom(false);
    chartupload->set_separators(seps_);
    chartupload->set_bar_namer([this](const ChartModel& m, std::size_t i) { return bar_name(shown_option_, m, i); });
    Label5 = text_label("Label5", "Wendo's Pellicor log lezer v1.0", chartupload, {910, 237, 139, 13}, window_font());
    // The credit sits in the panel's bottom-right corner. The substitute for
    // the window font may write it wider than 139 pixels: it then grows to
    // the left, so that all of it stays on the panel.
    if (Label5->sizeHint().width() > Label5->width()) {
        const int width = Label5->sizeHint().width();
        Label5->setGeometry(chartupload->width() - width, 237, width, 13);
    }
    sbtn_saveupload = flat_button("sbtn_saveupload", "Grafiek opslaan", chartupload, {8, 8, 89, 25});
}

void TForm1::build_groups() {
    gb_totals = group_box("gb_totals", "Totaal sinds", this, {856, 8, 201, 81});
    Label1 = text_label("Label1", "Upload:", gb_totals, {29, 48, 55, 20}, label_font());
    Label2 = text_label("Label2", "Download:", gb_totals, {9, 24, 75, 20}, label_font());
    lbl_totaldown = text_label("lbl_totaldown", "lbl_totaldown", gb_totals, {84, 24, 93, 20}, label_font());
    lbl_totalup = text_label("lbl_totalup", "lbl_totalup", gb_totals, {84, 48, 73, 20}, label_font());

    GroupBox1 = group_box("GroupBox1", "Records sinds", this, {648, 8, 201, 81});
    Label3 = text_label("Label3", "Download:", GroupBox1, {9, 24, 75, 20}, label_font());
    Label4 = text_label("Label4", "Upload:", GroupBox1, {29, 48, 55, 20}, label_font());
    lbl_recorddown = text_label("lbl_recorddown", "lbl_recorddown", GroupBox1, {84, 24, 107, 20}, label_font());
    lbl_recordup = text_label("lbl_recordup", "lbl_recordup", GroupBox1, {84, 48, 87, 20}, label_font());
}

void TForm1::connect_keys() {
    const struct {
        QKeySequence keys;
        void (TForm1::*handler)();
    } keys[] = {
        {QKeySequence(Qt::Key_F5), &TForm1::sbtn_showstatsClick},
        {QKeySequence(Qt::CTRL | Qt::Key_S), &TForm1::sbtn_savedownloadClick},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &TForm1::sbtn_saveuploadClick},
        {QKeySequence(Qt::CTRL | Qt::Key_R), &TForm1::reload_log},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), &TForm1::close_window},
    };
    for (const auto& key : keys) {
        auto* shortcut = new QShortcut(key.keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, handler = key.handler] { guarded(handler); });
    }
    sbtn_showstats->setToolTip("Maak stats (F5)");
    sbtn_savedownload->setToolTip("Grafiek opslaan (Ctrl+S)");
    sbtn_saveupload->setToolTip("Grafiek opslaan (Ctrl+Shift+S)");
}

void TForm1::connect_handlers() {
    connect(sbtn_showstats, &QPushButton::clicked, this, [this] { guarded(&TForm1::sbtn_showstatsClick); });
    connect(radio_buttons, &QButtonGroup::idClicked, this, [this] { guarded(&TForm1::RadiosClick); });
    connect(cb_year->lineEdit(), &QLineEdit::textEdited, this, [this] { guarded(&TForm1::cb_yearChange); });
    connect(cb_year, &QComboBox::textActivated, this, [this] { on_year_activated(); });
    connect(sbtn_savedownload, &QPushButton::clicked, this, [this] { guarded(&TForm1::sbtn_savedownloadClick); });
    connect(sbtn_saveupload, &QPushButton::clicked, this, [this] { guarded(&TForm1::sbtn_saveuploadClick); });
}

void TForm1::centre_on_screen() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void TForm1::guarded(void (TForm1::*handler)()) {
    try {
        (this->*handler)();
    } catch (const std::bad_alloc&) {
        end_out_of_memory();
    } catch (const std::exception& e) {
        const std::string title = program_title(to_log_text(QCoreApplication::applicationFilePath()));
        seams_.show_failure(this, message_text(title), message_text(failure_text(e.what())));
    }
}

void TForm1::on_year_activated() {
    // Picking the item that is already shown changes nothing.
    if (cb_year->currentText() != year_text_at_last_change_) guarded(&TForm1::cb_yearChange);
}

void TForm1::set_caption(QLabel* label, const std::string& text) {
    label->setText(from_log_text(text));
    // The label grows or shrinks to the right; its left edge stays.
    label->resize(label->sizeHint().width(), label->height());
}

void TForm1::FormCreate() { guarded(&TForm1::start_up); }

QString TForm1::missing_log_detail() const {
    if (!seams_.log_argument) return {};
    return message_text(missing_log_path(seams_.working_dir, seams_.log_argument));
}

void TForm1::start_up() {
    auto found = find_log(seams_.working_dir, seams_.log_argument);
    if (!found) {
        seams_.show_log_missing(missing_log_detail());
        return;
    }
    log_missing_ = false;
    // Known before the load, so that a log which fails to load is still
    // never replaced by a chart save.
    log_file_ = std::move(*found);
    lines_ = load_log(seams_.working_dir, log_file_.string());

    start_up_sequence(lines_, shared_, *this);
}

void TForm1::reload_log() {
    const auto found = find_log(seams_.working_dir, seams_.log_argument);
    if (!found) {
        // The window and the figures read before stay.
        seams_.show_log_missing(missing_log_detail());
        return;
    }
    // Known before the load, as at the start, so that no chart save replaces
    // it; read whole before anything shown changes, so that a log which
    // cannot be read leaves the figures as they were.
    log_file_ = *found;
    LineList lines = load_log(seams_.working_dir, log_file_.string());
    lines_ = std::move(lines);
    show_as_before_start_up();
    start_up_sequence(lines_, shared_, *this);
}

void TForm1::show_as_before_start_up() {
    // The totals are summed afresh, from zero.
    shared_ = SharedState{};
    shown_option_ = PeriodOption::None;
    year_text_at_last_change_.clear();
    cb_year->clear();
    cb_month->clear();
    const std::pair<ChartPanel*, const char*> charts[] = {{chartdownload, "Download"}, {chartupload, "Upload"}};
    for (const auto& [panel, title] : charts) {
        ChartModel& model = panel->model();
        model.clear_points();
        model.clear_titles();
        model.add_title(title);
        model.set_3d(true);
        model.set_value_format(ChartModel::kInitialValueFormat);
        panel->undo_zoom();
    }
    set_caption(lbl_recorddown, "lbl_recorddown");
    set_caption(lbl_recordup, "lbl_recordup");
    lbl_recorddown->setToolTip(QString());
    lbl_recordup->setToolTip(QString());
}

void TForm1::close_window() { close(); }

void TForm1::empty_total_labels() {
    set_caption(lbl_totaldown, "");
    set_caption(lbl_totalup, "");
}

void TForm1::fill_year_list(const std::vector<std::string>& years) {
    for (const auto& year : years) cb_year->addItem(from_log_text(year));
    // Show the last year, as the chosen item, so that the arrow keys move on
    // from it.
    if (years.empty()) {
        cb_year->setEditText(QString());
    } else {
        cb_year->setCurrentIndex(cb_year->count() - 1);
    }
}

void TForm1::choose_per_year() {
    radio_buttons->button(0)->setChecked(true);
    RadiosClick();
}

ChartModel& TForm1::download_chart() { return chartdownload->model(); }

ChartModel& TForm1::upload_chart() { return chartupload->model(); }

void TForm1::sbtn_showstatsClick() {
    StatsInput in;
    in.option = period_option_at(radio_buttons->checkedId());
    for (int i = 0; i < cb_year->count(); ++i) in.year_items.push_back(to_log_text(cb_year->itemText(i)));
    in.year_text = to_log_text(cb_year->currentText());
    in.month_text = to_log_text(cb_month->currentText());
    in.total_labels_empty = lbl_totaldown->text().isEmpty() && lbl_totalup->text().isEmpty();
    // The points are replaced from here on: their tooltips name them by this
    // option even when the run stops half-way.
    shown_option_ = in.option;
    const auto captions = show_stats(lines_, in, shared_, seps_, chartdownload->model(), chartupload->model());
    if (captions) {
        set_caption(lbl_recorddown, captions->record_down);
        set_caption(lbl_recordup, captions->record_up);
        set_caption(lbl_totaldown, captions->total_down);
        set_caption(lbl_totalup, captions->total_up);
        // The day each record fell on, shown when the pointer rests on it.
        lbl_recorddown->setToolTip(from_log_text(record_day(lines_, shared_.record_download_line)));
        lbl_recordup->setToolTip(from_log_text(record_day(lines_, shared_.record_upload_line)));
    }
}

void TForm1::RadiosClick() {
    const SelectorVisibility visible = selector_visibility(period_option_at(radio_buttons->checkedId()));
    cb_year->setVisible(visible.year);
    cb_month->setVisible(visible.month);
}

void TForm1::cb_yearChange() {
    year_text_at_last_change_ = cb_year->currentText();
    shared_.current_month_name.clear();
    // Emptying the list must not empty the text shown: it stays until the
    // new list is in, or as it was when the year cannot be read.
    const QString shown = cb_month->currentText();
    cb_month->clear();
    cb_month->setEditText(shown);

    const std::vector<std::string> months = collect_months(lines_, to_log_text(cb_year->currentText()), shared_);
    for (const auto& month : months) cb_month->addItem(from_log_text(month));
    cb_month->setEditText(months.empty() ? QString() : from_log_text(months.front()));
}

void TForm1::sbtn_savedownloadClick() { save_chart(*chartdownload, this, seams_.save_dialog, log_file_); }

void TForm1::sbtn_saveuploadClick() { save_chart(*chartupload, this, seams_.save_dialog, log_file_); }

}  // namespace loglezer
