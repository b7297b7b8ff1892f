#include "app/window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QUrl>
#include <new>

#include "allowance/allowance_box.h"
#include "app/desktop_notice.h"
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
#include "text/regional.h"
#include "text/terminal_text.h"

namespace loglezer {
namespace {

// A failure's message as the box shows it, by the rule of message text.
QString box_message(const std::string& text) { return QString::fromStdString(message_utf8(text)); }

// A file name from Qt as the file system spells it.
std::string path_text(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The list "Interface kiezen": the interfaces with their aliases.
std::optional<std::string> ask_for_interface(QWidget* parent, const std::vector<VnstatInterface>& interfaces) {
    QStringList labels;
    for (const VnstatInterface& i : interfaces) labels << QString::fromStdString(interface_label(i));
    bool chosen = false;
    const QString label = QInputDialog::getItem(parent, QStringLiteral("Interface kiezen"),
                                                QStringLiteral("Interface:"), labels, 0, false, &chosen);
    if (!chosen) return std::nullopt;
    return interfaces[static_cast<std::size_t>(labels.indexOf(label))].name;
}

// The "log not found" box, with "Openen..." (Alt+O) beside OK when asked.
MissingLogAnswer ask_about_missing_log(const MissingLogBox& shown) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), QString::fromUtf8(kLogMissingMessage),
                    QMessageBox::Ok);
    box.setInformativeText(shown.advice);
    box.setDetailedText(shown.detail);
    QPushButton* open =
        shown.offer_open ? box.addButton(QStringLiteral("&Openen..."), QMessageBox::ActionRole) : nullptr;
    if (open && shown.default_answer == MissingLogAnswer::Open) {
        box.setDefaultButton(open);
    } else {
        box.setDefaultButton(QMessageBox::Ok);
    }
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    return open && box.clickedButton() == open ? MissingLogAnswer::Open : MissingLogAnswer::Close;
}

// Qt's own open dialog, Dutch with the window whatever the desktop, in the
// working directory.
std::optional<QString> choose_log_file(QWidget* parent, const std::filesystem::path& working_dir) {
    QFileDialog dialog(parent, QStringLiteral("Logfile openen"), QFile::decodeName(working_dir.c_str()),
                       QStringLiteral("Logbestanden (*.csv *.log);;Alle bestanden (*)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
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
    s.allowance_dialog = ask_allowance;
    s.notify = send_desktop_notice;
    s.working_dir = working_directory();
    s.open_log_dialog = [dir = s.working_dir](QWidget* parent) { return choose_log_file(parent, dir); };
    s.user_ini = user_log_ini();
    s.vnstat = vnstat_places();
    s.choose_interface = ask_for_interface;
    s.separators = system_separators();
    s.today = system_today;
    return s;
}

namespace {

// Where the session of the window finds its log and settings.
SessionPlaces places_of(const WindowSeams& seams) {
    SessionPlaces places;
    places.places = {seams.working_dir, seams.user_ini, seams.vnstat};
    places.log_argument = seams.log_argument;
    places.interface_argument = seams.interface_argument;
    places.given.units = seams.units_argument;
    places.separators = seams.separators;
    places.today = seams.today;
    return places;
}

}  // namespace

MainWindow::MainWindow(WindowSeams seams, QWidget* parent)
    : QWidget(parent),
      seams_(std::move(seams)),
      session_(places_of(seams_)),
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
        panel->set_separators(seams_.separators);
        panel->set_bar_namer(
            [this](const ChartModel& m, std::size_t i) { return bar_name(session_.screen().charts_option, m, i); });
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
        {QKeySequence(Qt::CTRL | Qt::Key_B), &MainWindow::set_allowance},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), &MainWindow::close_window},
    };
    for (const auto& key : keys) {
        auto* shortcut = new QShortcut(key.keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, handler = key.handler] { guarded(handler); });
    }
    ui_.make_stats_button->setToolTip(QStringLiteral("Maak stats (F5)"));
    ui_.save_download_button->setToolTip(QStringLiteral("Grafiek opslaan (Ctrl+S)"));
    ui_.save_upload_button->setToolTip(QStringLiteral("Grafiek opslaan (Ctrl+Shift+S)"));
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
    connect(ui_.year_box, &QComboBox::textActivated, this, [this](const QString& year) {
        guarded([this, &year] { present(session_.pick_year(to_log_text(year))); });
    });
    // What the boxes show is what "Maak stats" is made for, whoever wrote it
    // there; the window's own drawing is not told back.
    connect(ui_.year_box, &QComboBox::currentTextChanged, this,
            [this](const QString& year) { session_.set_year(to_log_text(year)); });
    connect(ui_.month_box, &QComboBox::currentTextChanged, this,
            [this](const QString& month) { session_.set_month(to_log_text(month)); });
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

void MainWindow::set_caption(QLabel* label, const std::string& text) {
    label->setText(from_log_text(text));
    // The label grows or shrinks to the right; its left edge stays.
    label->resize(label->sizeHint().width(), label->height());
}

void MainWindow::start_up() {
    guarded([this] {
        Outcome outcome = session_.start_up();
        // No log: "Openen..." may choose one, which goes on as if named.
        while (outcome.missing) {
            const bool may_choose = outcome.missing->may_choose;
            Outcome notices_only;
            notices_only.notices = outcome.notices;
            tell(notices_only);
            const MissingLogAnswer answer = seams_.show_log_missing(missing_log_box(*outcome.missing, may_choose));
            if (answer != MissingLogAnswer::Open || !may_choose) return;
            const std::optional<QString> chosen = seams_.open_log_dialog(nullptr);
            if (!chosen) return;
            outcome = session_.start_up_with(path_text(*chosen));
        }
        present(outcome);
    });
}

MissingLogBox MainWindow::missing_log_box(const MissingLog& missing, bool offer_open) {
    MissingLogBox box;
    box.detail = box_message(missing.path);
    box.offer_open = offer_open;
    if (offer_open && missing.nothing_named) {
        QStringList places{QStringLiteral("Gezocht in:")};
        for (const std::string& place : missing.looked_in) places << box_message(place);
        box.detail = places.join(u'\n');
        box.default_answer = MissingLogAnswer::Open;
        box.advice = QStringLiteral("Kies de logfile van je meetprogramma.");
    }
    return box;
}

void MainWindow::present(const Outcome& outcome) {
    draw(outcome);
    tell(outcome);
    if (outcome.missing) seams_.show_log_missing(missing_log_box(*outcome.missing, false));
    watcher_.watch(session_.watched_files());
    if (outcome.desktop_notice && seams_.notify) seams_.notify(*outcome.desktop_notice);
    // vnStat's daemon was writing: looked at again once it is done.
    if (outcome.busy) watcher_.look_again_later();
    if (outcome.interface_choices.empty()) return;
    if (const std::optional<std::string> chosen = seams_.choose_interface(this, outcome.interface_choices)) {
        present(session_.use_interface(*chosen));
    }
}

void MainWindow::tell(const Outcome& outcome) {
    const QString title = box_message(program_title(to_log_text(QCoreApplication::applicationFilePath())));
    for (const Notice& notice : outcome.notices) {
        if (notice.kind == Notice::Kind::Warning) {
            seams_.show_warning(this, title, box_message(notice.text));
        } else {
            seams_.show_failure(this, title, box_message(failure_text(notice.text)));
        }
    }
}

void MainWindow::make_stats() { present(session_.make_stats()); }

void MainWindow::option_chosen() { present(session_.choose_option(period_option_at(ui_.option_buttons->checkedId()))); }

void MainWindow::year_changed() { present(session_.type_year(to_log_text(ui_.year_box->currentText()))); }

void MainWindow::reload_log() { present(session_.reload()); }

void MainWindow::follow_log() {
    // A box or dialog is open: the log is read once it is closed.
    if (handlers_running_ > 0) {
        watcher_.look_again_later();
        return;
    }
    guarded(&MainWindow::follow_log_now);
}

void MainWindow::follow_log_now() {
    const Outcome outcome = session_.follow();
    present(outcome);
    watcher_.call_again_soon(outcome.line_unfinished);
}

void MainWindow::open_other_log() {
    if (const std::optional<QString> chosen = seams_.open_log_dialog(this)) switch_to_log(path_text(*chosen));
}

void MainWindow::switch_to_log(const std::string& path) { present(session_.switch_to(path)); }

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

void MainWindow::set_allowance() {
    const AllowanceAnswer answer = seams_.allowance_dialog(this, session_.allowance_choice());
    if (answer.kind == AllowanceAnswer::Kind::Cancel) return;
    const bool remove = answer.kind == AllowanceAnswer::Kind::Remove;
    present(session_.set_allowance(remove ? std::nullopt : std::optional(answer.choice)));
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    // The charts have their own mouse: the menu is the window's elsewhere.
    for (QWidget* w = childAt(event->pos()); w && w != this; w = w->parentWidget()) {
        if (dynamic_cast<ChartPanel*>(w)) return;
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("menu_window"));
    const struct {
        const char* text;
        QKeySequence keys;
        void (MainWindow::*handler)();
    } entries[] = {
        {"Logfile &openen...", QKeySequence(Qt::CTRL | Qt::Key_O), &MainWindow::open_other_log},
        {"Opnieuw &lezen", QKeySequence(Qt::CTRL | Qt::Key_R), &MainWindow::reload_log},
        {"&Bundel instellen...", QKeySequence(Qt::CTRL | Qt::Key_B), &MainWindow::set_allowance},
    };
    for (const auto& entry : entries) {
        QAction* action = menu.addAction(QString::fromUtf8(entry.text));
        action->setShortcut(entry.keys);
        connect(action, &QAction::triggered, this, [this, handler = entry.handler] { guarded(handler); });
    }
    event->accept();
    menu.exec(event->globalPos());
}

void MainWindow::close_window() { close(); }

void MainWindow::save_download_chart() {
    save_chart(*ui_.download_chart, this, seams_.save_dialog, session_.log().path);
}

void MainWindow::save_upload_chart() { save_chart(*ui_.upload_chart, this, seams_.save_dialog, session_.log().path); }

}  // namespace loglezer
