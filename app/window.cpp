#include "app/window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QUrl>
#include <new>

#include "allowance/allowance_box.h"
#include "app/hover_texts.h"
#include "app/program.h"
#include "app/selectors.h"
#include "chart/chart_panel.h"
#include "chart/latin1.h"
#include "frontend/messages.h"
#include "log/failure.h"
#include "log/log_file.h"
#include "log/month_names.h"
#include "settings/log_lookup.h"
#include "settings/settings_files.h"
#include "stats/chosen_view.h"
#include "stats/startup.h"
#include "stats/statistics.h"
#include "text/regional.h"
#include "text/terminal_text.h"

namespace loglezer {
namespace {

// A failure's message as the box shows it, by the rule of message text.
QString box_message(const std::string& text) { return QString::fromStdString(message_utf8(text)); }

// A file name from Qt as the file system spells it.
std::string path_text(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The "log not found" box, with "Openen..." (Alt+O) beside OK when asked.
MissingLogAnswer ask_about_missing_log(const QString& detail, bool offer_open) {
    QMessageBox box(QMessageBox::Critical, "Error", kLogMissingMessage, QMessageBox::Ok);
    box.setDetailedText(detail);
    const QAbstractButton* open = offer_open ? box.addButton("&Openen...", QMessageBox::ActionRole) : nullptr;
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    return open && box.clickedButton() == open ? MissingLogAnswer::Open : MissingLogAnswer::Close;
}

// Qt's own open dialog, Dutch with the window whatever the desktop, in the
// working directory.
std::optional<QString> choose_log_file(QWidget* parent, const std::filesystem::path& working_dir) {
    QFileDialog dialog(parent, "Logfile openen", QFile::decodeName(working_dir.c_str()),
                       "Logbestanden (*.csv *.log);;Alle bestanden (*)");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

// Runs the start-up on plain state: throws where the window's would stop.
void try_start_up(const LineList& lines, const Separators& seps, UnitMode units) {
    const ChosenView trial(lines, seps, units);
}

// A row of the "Bundel" box: red (dark enough to read on white) when its
// figure is over the limit, else in the window's colour.
void mark_row(QLabel* caption, QLabel* figure, bool over) {
    QPalette red;
    red.setColor(QPalette::WindowText, QColor(0xc0, 0x00, 0x00));
    for (QLabel* label : {caption, figure}) label->setPalette(over ? red : QPalette());
}

// The one local file a drag carries, or nothing.
std::optional<QString> dragged_file(const QMimeData* data) {
    if (!data || !data->hasUrls()) return std::nullopt;
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile()) return std::nullopt;
    return urls.constFirst().toLocalFile();
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
    s.show_warning = [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox box(QMessageBox::Warning, title, wrappable(text), QMessageBox::Ok, parent);
        box.exec();
    };
    s.show_log_missing = ask_about_missing_log;
    s.save_dialog = real_save_dialog();
    s.working_dir = working_directory();
    s.open_log_dialog = [dir = s.working_dir](QWidget* parent) { return choose_log_file(parent, dir); };
    s.user_ini = user_log_ini();
    s.separators = system_separators();
    return s;
}

MainWindow::MainWindow(WindowSeams seams, QWidget* parent)
    : QWidget(parent),
      seams_(std::move(seams)),
      seps_(seams_.separators),
      named_log_(seams_.log_argument),
      ui_(lay_out_window(this)),
      watcher_(this, [this] { follow_log(); }) {
    setAcceptDrops(true);
    set_up_charts();
    connect_handlers();
    connect_keys();
    // Placed before the start-up, so that a box it shows stands over the
    // window's place.
    centre_on_screen();
    start_up();
}

MainWindow::~MainWindow() = default;

void MainWindow::set_up_charts() {
    ui_.download_chart->set_animated_zoom(true);
    ui_.upload_chart->set_animated_zoom(false);
    for (ChartPanel* panel : {ui_.download_chart, ui_.upload_chart}) {
        panel->set_separators(seps_);
        panel->set_bar_namer([this](const ChartModel& m, std::size_t i) { return bar_name(shown_option_, m, i); });
    }
}

void MainWindow::connect_keys() {
    const struct {
        QKeySequence keys;
        void (MainWindow::*handler)();
    } keys[] = {
        {QKeySequence(Qt::Key_F5), &MainWindow::make_stats},
        {QKeySequence(Qt::CTRL | Qt::Key_S), &MainWindow::save_download_chart},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &MainWindow::save_upload_chart},
        {QKeySequence(Qt::CTRL | Qt::Key_R), &MainWindow::reload_log},
        {QKeySequence(Qt::CTRL | Qt::Key_O), &MainWindow::open_other_log},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), &MainWindow::close_window},
    };
    for (const auto& key : keys) {
        auto* shortcut = new QShortcut(key.keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, handler = key.handler] { guarded(handler); });
    }
    ui_.make_stats_button->setToolTip("Maak stats (F5)");
    ui_.save_download_button->setToolTip("Grafiek opslaan (Ctrl+S)");
    ui_.save_upload_button->setToolTip("Grafiek opslaan (Ctrl+Shift+S)");
}

void MainWindow::connect_handlers() {
    const std::pair<QPushButton*, void (MainWindow::*)()> clicks[] = {
        {ui_.make_stats_button, &MainWindow::make_stats},
        {ui_.save_download_button, &MainWindow::save_download_chart},
        {ui_.save_upload_button, &MainWindow::save_upload_chart},
    };
    for (const auto& [button, handler] : clicks) {
        connect(button, &QPushButton::clicked, this, [this, handler = handler] { guarded(handler); });
    }
    connect(ui_.option_buttons, &QButtonGroup::idClicked, this, [this] { guarded(&MainWindow::option_chosen); });
    connect(ui_.year_box->lineEdit(), &QLineEdit::textEdited, this, [this] { guarded(&MainWindow::year_changed); });
    connect(ui_.year_box, &QComboBox::textActivated, this, [this] { year_picked(); });
}

void MainWindow::centre_on_screen() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void MainWindow::guarded(void (MainWindow::*handler)()) {
    guarded([this, handler] { (this->*handler)(); });
}

void MainWindow::guarded(const std::function<void()>& handler) {
    // Counted until its box is closed too.
    struct Running {
        int& count;
        explicit Running(int& c) : count(++c) {}
        ~Running() { --count; }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;
    } running(handlers_running_);
    try {
        handler();
    } catch (const std::bad_alloc&) {
        end_out_of_memory();
    } catch (const std::exception& e) {
        const std::string title = program_title(to_log_text(QCoreApplication::applicationFilePath()));
        seams_.show_failure(this, box_message(title), box_message(failure_text(e.what())));
    }
}

void MainWindow::year_picked() {
    // Picking the item that is already shown changes nothing.
    if (ui_.year_box->currentText() != year_text_at_last_change_) guarded(&MainWindow::year_changed);
}

void MainWindow::set_caption(QLabel* label, const std::string& text) {
    label->setText(from_log_text(text));
    // The label grows or shrinks to the right; its left edge stays.
    label->resize(label->sizeHint().width(), label->height());
}

void MainWindow::start_up() { guarded(&MainWindow::read_log_and_start_up); }

QString MainWindow::missing_log_detail(const std::optional<std::string>& named) const {
    return box_message(missing_log_path(log_places(), named));
}

std::optional<FoundLog> MainWindow::find_or_choose_log() {
    if (auto found = find_log(log_places(), named_log_)) return found;
    // A log named on the command line is not replaced by another.
    const bool offer_open = !named_log_;
    if (seams_.show_log_missing(missing_log_detail(named_log_), offer_open) != MissingLogAnswer::Open || !offer_open) {
        return std::nullopt;
    }
    const std::optional<QString> chosen = seams_.open_log_dialog(nullptr);
    if (!chosen) return std::nullopt;
    // From here on as if named on the command line.
    named_log_ = path_text(*chosen);
    return find_or_choose_log();
}

void MainWindow::read_log_and_start_up() {
    std::optional<FoundLog> found = find_or_choose_log();
    if (!found) return;
    log_missing_ = false;
    // Known before the load, so that a log which fails to load is still
    // never replaced by a chart save.
    log_ = std::move(*found);
    watcher_.watch(log_.path, file_state(log_.path));
    show_settings_warnings();
    read_settings();
    lines_ = load_log(seams_.working_dir, log_.path.string());

    run_start_up();
    // A log chosen in the open dialog, once it has been read without a
    // failure, is found directly the next time.
    if (named_log_ != seams_.log_argument) remember_chosen_log();
}

void MainWindow::reload_log() {
    std::optional<ReadLog> log = read_log_again();
    if (!log) return;
    read_settings();
    start_afresh(std::move(log->found), std::move(log->lines));
}

std::optional<MainWindow::ReadLog> MainWindow::read_log_again() {
    std::optional<FoundLog> found = find_log(log_places(), named_log_);
    if (!found) {
        watcher_.watch(log_.path, file_state(log_.path));
        // The window and the figures read before stay.
        seams_.show_log_missing(missing_log_detail(named_log_), false);
        return std::nullopt;
    }
    // Known before the load, as at the start, so that no chart save replaces
    // it; read whole before anything shown changes, so that a log which
    // cannot be read leaves the figures as they were.
    log_ = *found;
    watcher_.watch(log_.path, file_state(log_.path));
    LineList lines = load_log(seams_.working_dir, log_.path.string());
    return ReadLog{std::move(*found), std::move(lines)};
}

void MainWindow::open_other_log() {
    if (const std::optional<QString> chosen = seams_.open_log_dialog(this)) switch_to_log(path_text(*chosen));
}

void MainWindow::switch_to_log(const std::string& path) {
    std::optional<FoundLog> found = find_log(log_places(), path);
    if (!found) {
        seams_.show_log_missing(missing_log_detail(path), false);
        return;
    }
    const FileState read = file_state(found->path);
    LineList lines = load_log(seams_.working_dir, found->path.string());
    // The start-up tried first without the window: a log it stops on (a
    // damaged line, no lines) leaves the window with the log it shows.
    try_start_up(lines, seps_, units_);
    named_log_ = path;
    log_ = *found;
    watcher_.watch(log_.path, read);
    read_settings();
    start_afresh(std::move(*found), std::move(lines));
    remember_chosen_log();
}

void MainWindow::start_afresh(FoundLog log, LineList lines) {
    log_ = std::move(log);
    lines_ = std::move(lines);
    show_as_before_start_up();
    run_start_up();
}

void MainWindow::run_start_up() {
    start_up_sequence(lines_, shared_, *this);
    show_allowance(current_allowance(lines_, allowance_, seps_));
}

void MainWindow::read_settings() {
    const std::vector<SettingsFile> files = settings_files(log_.settings, log_places());
    allowance_ = AllowanceSettings{};
    units_ = seams_.units_argument.value_or(UnitMode::Binary);
    // Each its own failure boundary: the start-up goes on without an
    // allowance, or in binary units.
    guarded([&] { allowance_ = allowance_settings(find_section(files, "allowance")); });
    if (!seams_.units_argument) guarded([&] { units_ = display_units(files); });
}

void MainWindow::show_settings_warnings() {
    const std::vector<std::string> warnings = settings_warnings(settings_files(log_.settings, log_places()));
    if (warnings.empty()) return;
    std::string text;
    for (const std::string& warning : warnings) text += (text.empty() ? "" : "\n") + warning;
    const std::string title = program_title(to_log_text(QCoreApplication::applicationFilePath()));
    seams_.show_warning(this, box_message(title), box_message(text));
}

void MainWindow::show_allowance(const std::optional<AllowanceFigures>& figures) {
    ui_.allowance_box->setVisible(figures.has_value());
    if (!figures) return;
    const AllowanceBoxTexts texts = allowance_box_texts(*figures, allowance_, seps_);
    ui_.allowance_box->setTitle(from_log_text(texts.caption));
    set_caption(ui_.allowance_used_label, texts.used);
    set_caption(ui_.allowance_estimate_label, texts.estimate);
    mark_row(ui_.allowance_used_caption, ui_.allowance_used_label, texts.used_over);
    mark_row(ui_.allowance_estimate_caption, ui_.allowance_estimate_label, texts.estimate_over);
    // The details when the pointer rests on the box, and for a screen reader.
    const QString details = QString::fromStdString(texts.tooltip);
    ui_.allowance_box->setToolTip(details);
    ui_.allowance_box->setAccessibleDescription(details);
}

void MainWindow::remember_chosen_log() const {
    // Without a home folder there is no user's log.ini to remember it in.
    if (seams_.user_ini) remember_log(*seams_.user_ini, log_.path);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (dragged_file(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const std::optional<QString> file = dragged_file(event->mimeData());
    if (!file) return;
    event->acceptProposedAction();
    // Opened once the drop is over, so that the program the file was
    // dragged from does not wait for a box the log may show.
    QMetaObject::invokeMethod(
        this, [this, path = path_text(*file)] { guarded([this, &path] { switch_to_log(path); }); },
        Qt::QueuedConnection);
}

void MainWindow::show_as_before_start_up() {
    // The totals are summed afresh, from zero.
    shared_ = SharedState{};
    shown_option_ = PeriodOption::None;
    charts_choice_.reset();
    year_text_at_last_change_.clear();
    ui_.year_box->clear();
    ui_.month_box->clear();
    const std::pair<ChartPanel*, const char*> charts[] = {{ui_.download_chart, "Download"},
                                                          {ui_.upload_chart, "Upload"}};
    for (const auto& [panel, title] : charts) {
        ChartModel& model = panel->model();
        model.clear_points();
        model.clear_titles();
        model.add_title(title);
        model.set_3d(true);
        model.set_value_format(ChartModel::kInitialValueFormat);
        panel->undo_zoom();
    }
    set_caption(ui_.download_record_label, "lbl_recorddown");
    set_caption(ui_.upload_record_label, "lbl_recordup");
    ui_.download_record_label->setToolTip(QString());
    ui_.upload_record_label->setToolTip(QString());
    show_allowance(std::nullopt);
}

void MainWindow::close_window() { close(); }

void MainWindow::empty_total_labels() {
    set_caption(ui_.download_total_label, "");
    set_caption(ui_.upload_total_label, "");
}

void MainWindow::fill_year_list(const std::vector<std::string>& years) {
    for (const auto& year : years) ui_.year_box->addItem(from_log_text(year));
    // Show the last year, as the chosen item, so that the arrow keys move on
    // from it.
    if (years.empty()) {
        ui_.year_box->setEditText(QString());
    } else {
        ui_.year_box->setCurrentIndex(ui_.year_box->count() - 1);
    }
}

void MainWindow::choose_per_year() {
    ui_.option_buttons->button(0)->setChecked(true);
    option_chosen();
}

ChartModel& MainWindow::download_chart() { return ui_.download_chart->model(); }

ChartModel& MainWindow::upload_chart() { return ui_.upload_chart->model(); }

void MainWindow::make_stats() {
    StatsInput in;
    in.option = period_option_at(ui_.option_buttons->checkedId());
    for (int i = 0; i < ui_.year_box->count(); ++i) in.year_items.push_back(to_log_text(ui_.year_box->itemText(i)));
    in.year_text = to_log_text(ui_.year_box->currentText());
    in.month_text = to_log_text(ui_.month_box->currentText());
    in.total_labels_empty = ui_.download_total_label->text().isEmpty() && ui_.upload_total_label->text().isEmpty();
    in.units = units_;
    // The points are replaced from here on: their tooltips name them by this
    // option even when the run stops half-way.
    shown_option_ = in.option;
    charts_choice_.reset();
    const auto captions =
        show_stats(lines_, in, shared_, seps_, ui_.download_chart->model(), ui_.upload_chart->model());
    charts_choice_ = chosen();
    if (captions) {
        set_caption(ui_.download_record_label, captions->record_down);
        set_caption(ui_.upload_record_label, captions->record_up);
        set_caption(ui_.download_total_label, captions->total_down);
        set_caption(ui_.upload_total_label, captions->total_up);
        // The day each record fell on, shown when the pointer rests on it.
        ui_.download_record_label->setToolTip(from_log_text(record_day(lines_, shared_.record_download_line)));
        ui_.upload_record_label->setToolTip(from_log_text(record_day(lines_, shared_.record_upload_line)));
    }
}

void MainWindow::option_chosen() {
    const SelectorVisibility visible = selector_visibility(period_option_at(ui_.option_buttons->checkedId()));
    ui_.year_box->setVisible(visible.year);
    ui_.month_box->setVisible(visible.month);
}

void MainWindow::year_changed() {
    // Typed a digit at a time, a year is unfinished until it is whole: a
    // text that names no year of the log only empties the list, without a
    // box.
    if (!log_has_year(lines_, to_log_text(ui_.year_box->currentText()))) {
        empty_month_list();
        return;
    }
    fill_month_list();
}

void MainWindow::empty_month_list() {
    year_text_at_last_change_ = ui_.year_box->currentText();
    shared_.current_month_name.clear();
    // Emptying the list must not empty the text shown: it stays until the
    // new list is in, or as it was when the year cannot be read.
    const QString shown = ui_.month_box->currentText();
    ui_.month_box->clear();
    ui_.month_box->setEditText(shown);
}

void MainWindow::fill_month_list() {
    empty_month_list();
    const std::vector<std::string> months = collect_months(lines_, to_log_text(ui_.year_box->currentText()), shared_);
    for (const auto& month : months) ui_.month_box->addItem(from_log_text(month));
    ui_.month_box->setEditText(months.empty() ? QString() : from_log_text(months.front()));
}

void MainWindow::save_download_chart() { save_chart(*ui_.download_chart, this, seams_.save_dialog, log_.path); }

void MainWindow::save_upload_chart() { save_chart(*ui_.upload_chart, this, seams_.save_dialog, log_.path); }

}  // namespace loglezer
