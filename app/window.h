#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/allowance_dialog.h"
#include "app/log_watcher.h"
#include "app/window_layout.h"
#include "chart/export.h"
#include "log/separators.h"
#include "session/session.h"
#include "text/number_format.h"

class QLabel;

namespace loglezer {

class ChartPanel;

// The answer to the "log not found" box.
enum class MissingLogAnswer {
    Close,  // OK or Escape
    Open,   // "Openen...": choose the log in the open dialog
};

// What the "log not found" box shows under "Kan de logfile niet vinden!".
struct MissingLogBox {
    // The detail: the path looked at, or on a first start every place looked
    // at.
    QString detail;
    // "Openen..." beside OK.
    bool offer_open = false;
    // The button Enter presses.
    MissingLogAnswer default_answer = MissingLogAnswer::Close;
    // A sentence under the message saying what the program needs; empty for
    // none.
    QString advice;
};

// What the window asks of the person in front of it, behind one seam so
// that tests can answer instead.
struct WindowSeams {
    // A failure box: modal, error icon, one OK button.
    std::function<void(QWidget* parent, const QString& title, const QString& text)> show_failure;
    // A warning box, after which the window goes on: modal, warning icon,
    // one OK button.
    std::function<void(QWidget* parent, const QString& title, const QString& text)> show_warning;
    // The "log not found" box, centred on the screen when no window is
    // shown yet.
    std::function<MissingLogAnswer(const MissingLogBox& box)> show_log_missing;
    // The open dialog "Logfile openen": the file chosen, or nothing when it
    // is cancelled.
    std::function<std::optional<QString>(QWidget* parent)> open_log_dialog;
    // The save dialog of the chart export.
    SaveDialog save_dialog;
    // The dialog "Bundel instellen", filled in with the allowance read.
    std::function<AllowanceAnswer(QWidget* parent, const AllowanceChoice& current)> allowance_dialog;
    // A notice about the allowance for the desktop; none when empty.
    std::function<void(const AllowanceNotice& notice)> notify;
    // Where log.ini and a relative log path are looked up; empty when the
    // working directory has been removed, so that only an absolute log path
    // can be used.
    std::filesystem::path working_dir;
    // The user's log.ini: looked at after log.ini in the working directory,
    // and where a log the user chooses is remembered. Nothing: neither.
    std::optional<std::filesystem::path> user_ini;
    // The log named on the command line, used instead of log.ini and the
    // default path.
    std::optional<std::string> log_argument;
    // Where vnStat's database is looked for (--vnstat, and when no log is
    // found at the default path).
    VnstatPlaces vnstat;
    // --interface on the command line, over [path] interface in log.ini.
    std::optional<std::string> interface_argument;
    // The list "Interface kiezen" of a vnStat database with several
    // interfaces, each named with its alias: the one chosen, or nothing
    // when it is cancelled.
    std::function<std::optional<std::string>(QWidget* parent, const std::vector<VnstatInterface>& interfaces)>
        choose_interface;
    // --units on the command line, used instead of [display] in log.ini.
    std::optional<UnitMode> units_argument;
    // The regional separators amounts are read and figures written with.
    Separators separators;
    // Today's date, against which the log is judged stale; without a clock
    // it is not judged.
    Clock today;

    // The real boxes and dialogs, the process's current directory, the
    // user's log.ini the environment names, the separators of the locale it
    // names for numbers and the system's clock.
    static WindowSeams real();
};

// The one window of the program. It forwards the user's events to its
// session and draws what the session returns; it keeps no figure or choice
// of its own.
class MainWindow : public QWidget {
public:
    explicit MainWindow(WindowSeams seams = WindowSeams::real(), QWidget* parent = nullptr);
    ~MainWindow() override;

    // True when the start-up found no log and none was chosen in its place,
    // also when it could not look for one (a relative path without a
    // working directory): the program ends without showing the window.
    bool log_missing() const { return session_.log_missing(); }
    // Moves the window to the middle of the screen it will be shown on.
    void centre_on_screen();

    // The handlers, one per user event.
    // The start-up, as at the program's start. When no log was named and
    // none is found, the missing-log box offers to choose one in the open
    // dialog, which then goes on as if named.
    void start_up();
    // "Maak stats" (F5).
    void make_stats();
    // The year typed or picked: refills the month list.
    void year_changed();
    // An option chosen: shows the selectors it needs.
    void option_chosen();
    // "Grafiek opslaan" on either panel (Ctrl+S, Ctrl+Shift+S).
    void save_download_chart();
    void save_upload_chart();
    // Ctrl+R: the log and its settings read again, and started up afresh.
    void reload_log();
    // The log has changed on the disk (the watcher saw it): read again, and
    // what the user had chosen shown again. Waits while a box or dialog of
    // another handler is open.
    void follow_log();
    // Ctrl+O: a log chosen in the open dialog, shown as a dropped one is.
    void open_other_log();
    // A log chosen by the user (Ctrl+O, a drop), started up afresh.
    void switch_to_log(const std::string& path);
    // Ctrl+B: "Bundel instellen", written into log.ini and shown at once.
    void set_allowance();
    // Ctrl+Q.
    void close_window();

    // The session the window draws.
    const Session& session() const { return session_; }

protected:
    // A drag of one local file may be dropped on the window: it is opened
    // as with Ctrl+O.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Outside the charts: "Logfile openen...", "Opnieuw lezen" and "Bundel
    // instellen...".
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The charts' separators, their zoom (the download chart glides) and
    // the names of their bars.
    void set_up_charts();
    void connect_handlers();
    // F5, Ctrl+S, Ctrl+Shift+S, Ctrl+R, Ctrl+O, Ctrl+B and Ctrl+Q, and the
    // buttons' tooltips that name their keys.
    void connect_keys();
    // Shows what an event left to do: draws the parts that changed, then
    // the boxes, then points the watcher at the log read.
    void present(const Outcome& outcome);
    void tell(const Outcome& outcome);
    // The parts of the screen.
    void draw(const Outcome& outcome);
    void draw_years();
    void draw_months();
    void draw_option();
    void draw_figures();
    void draw_allowance();
    // follow_log's step.
    void follow_log_now();
    // The missing-log box: the full path looked at; when nothing named a
    // log and another may be chosen, a first start, which asks for the log
    // and lists every place looked at.
    static MissingLogBox missing_log_box(const MissingLog& missing, bool offer_open);
    // Runs one handler; a failure it throws is shown in a box, an
    // allocation failure ends the program.
    void guarded(void (MainWindow::*handler)());
    void guarded(const std::function<void()>& handler);
    void set_caption(QLabel* label, const std::string& text);

    WindowSeams seams_;
    Session session_;
    // The handlers running, a box or dialog of theirs perhaps open: a change
    // of the log waits for them.
    int handlers_running_ = 0;
    // The controls the handlers reach, made from the layout table.
    WindowControls ui_;
    // Made after the controls, whose handlers it calls.
    LogWatcher watcher_;
};

// The text with a zero-width space after every 30 characters of a run
// without blanks, so that a message box can wrap a long quoted amount or
// file path instead of cutting it off at its edge.
QString wrappable(const QString& text);

}  // namespace loglezer
