#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "allowance/allowance_figures.h"
#include "app/log_watcher.h"
#include "app/window_layout.h"
#include "chart/export.h"
#include "log/line_list.h"
#include "log/log_file.h"
#include "log/separators.h"
#include "settings/log_lookup.h"
#include "stats/shared_state.h"
#include "stats/startup.h"

class QLabel;

namespace loglezer {

class ChartPanel;

// The answer to the "log not found" box.
enum class MissingLogAnswer {
    Close,  // OK or Escape
    Open,   // "Openen...": choose the log in the open dialog
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
    // shown yet; `detail` names the path looked at. With `offer_open` it
    // has the button "Openen..." beside OK.
    std::function<MissingLogAnswer(const QString& detail, bool offer_open)> show_log_missing;
    // The open dialog "Logfile openen": the file chosen, or nothing when it
    // is cancelled.
    std::function<std::optional<QString>(QWidget* parent)> open_log_dialog;
    // The save dialog of the chart export.
    SaveDialog save_dialog;
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
    // --units on the command line, used instead of [display] in log.ini.
    std::optional<UnitMode> units_argument;
    // The regional separators amounts are read and figures written with.
    Separators separators;

    // The real boxes and dialogs, the process's current directory, the
    // user's log.ini the environment names and the separators of the locale
    // it names for numbers.
    static WindowSeams real();
};

// The one window of the program.
class MainWindow : public QWidget, private StartUpSteps {
public:
    explicit MainWindow(WindowSeams seams = WindowSeams::real(), QWidget* parent = nullptr);
    ~MainWindow() override;

    // True when the start-up found no log and none was chosen in its place,
    // also when it could not look for one (a relative path without a
    // working directory): the program ends without showing the window.
    bool log_missing() const { return log_missing_; }
    // Moves the window to the middle of the screen it will be shown on.
    void centre_on_screen();

    // The handlers, one per user event.
    // The start-up, as at the program's start: finds and reads the log and
    // runs the start-up sequence; a failure is shown in a box. When no log
    // was named and none is found, the missing-log box offers to choose one
    // in the open dialog, which then goes on as if named; once it has been
    // read without a failure it is remembered in the user's log.ini.
    void start_up();
    // "Maak stats" (F5): the figures and charts of the chosen option.
    void make_stats();
    // The year typed or picked: refills the month list. A text that names
    // no year of the log (not yet, while it is typed) empties it.
    void year_changed();
    // An option chosen: shows the selectors it needs.
    void option_chosen();
    // "Grafiek opslaan" on either panel (Ctrl+S, Ctrl+Shift+S).
    void save_download_chart();
    void save_upload_chart();
    // Ctrl+R: reads the log again as it now is (the metering program appends
    // to it) and runs the start-up afresh, as at the program's start, the
    // allowance's settings too. A log that has gone shows the missing-log
    // box and leaves the window as it is.
    void reload_log();
    // The log has changed on the disk (the watcher saw it): read again as
    // Ctrl+R does, then the option, year and month chosen before are chosen
    // again, and the charts made again for what they showed when that is
    // still in the log; the zoom starts afresh. A log that fails to read or
    // start up leaves what the window shows and is reported once: the
    // watcher calls again only once the log has changed again. Waits while
    // a box or dialog of another handler is open.
    void follow_log();
    // Ctrl+O: a log chosen in the open dialog, shown as a dropped one is.
    void open_other_log();
    // A log chosen by the user (Ctrl+O, a drop): read whole and run the
    // start-up afresh on it as Ctrl+R does, then remembered in the user's
    // log.ini; Ctrl+R reads it from then on. One that cannot be found or
    // fails to read or start up is reported, and the window keeps its log
    // and what it shows.
    void switch_to_log(const std::string& path);
    // Ctrl+Q.
    void close_window();

    const SharedState& shared() const { return shared_; }
    const Separators& separators() const { return seps_; }

protected:
    // A drag of one local file may be dropped on the window: it is opened
    // as with Ctrl+O.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The start-up's steps, carried out with the widgets and handlers.
    void empty_total_labels() override;
    void fill_year_list(const std::vector<std::string>& years) override;
    void choose_per_year() override;
    void run_statistics() override { make_stats(); }
    void refill_months() override { fill_month_list(); }
    ChartModel& download_chart() override;
    ChartModel& upload_chart() override;

    // The charts' separators, their zoom (the download chart glides) and
    // the names of their bars.
    void set_up_charts();
    void connect_handlers();
    // F5, Ctrl+S, Ctrl+Shift+S, Ctrl+R and Ctrl+Q, and the buttons' tooltips
    // that name their keys.
    void connect_keys();
    // What the start-up finds at the program's start: no figures, lists or
    // zoom, and the charts' first titles and formats.
    void show_as_before_start_up();
    // start_up's steps, run inside the failure boundary.
    void read_log_and_start_up();
    // The log the start-up reads: the one found, else, when no log was
    // named, the one chosen through the missing-log box. Nothing once the
    // box is answered with OK.
    std::optional<FoundLog> find_or_choose_log();
    // The detail of the missing-log box: the full path looked at.
    QString missing_log_detail(const std::optional<std::string>& named) const;
    // Where the log is looked for.
    LogPlaces log_places() const { return {seams_.working_dir, seams_.user_ini}; }
    // The log found and read afresh, as Ctrl+R reads it.
    struct ReadLog {
        FoundLog found;
        LineList lines;
    };
    // Finds and reads the log again; nothing when it has gone (after the
    // missing-log box). From then on, the watcher counts its state as seen.
    std::optional<ReadLog> read_log_again();
    // follow_log's steps, run inside the failure boundary.
    void follow_log_now();
    // What the selectors show: the option checked (-1: none), the year's
    // text and the month's text.
    struct Choice {
        int option = -1;
        QString year;
        QString month;
    };
    Choice chosen() const;
    // Chooses again what `choice` holds, as the user would: the option, the
    // year (which refills the month list when the log has it) and the month.
    void choose(const Choice& choice);
    // The settings of the allowance and the display from the log.ini files
    // of the log (settings_files); a bad value is shown in a box, and the
    // window then goes on without an allowance, or in binary units.
    void read_settings();
    // What is wrong in those files, in one box; the window goes on.
    void show_settings_warnings();
    // The start-up sequence on the log read, then the "Bundel" box.
    void run_start_up();
    // Fills the "Bundel" box with `figures` and shows it; hides it for none.
    void show_allowance(const std::optional<AllowanceFigures>& figures);
    // Shows `log`, read as `lines`, as the start-up does from the beginning.
    void start_afresh(FoundLog log, LineList lines);
    // Writes the log shown into the user's log.ini.
    void remember_chosen_log() const;
    // Refills the month list for the year shown, as the start-up does: a
    // year that is not in the log, or a line before it that cannot be read,
    // is a failure.
    void fill_month_list();
    // Empties the month list but keeps the month text shown.
    void empty_month_list();
    // Runs one handler; a failure ends it there and is shown in a box, an
    // allocation failure ends the program.
    void guarded(void (MainWindow::*handler)());
    void guarded(const std::function<void()>& handler);
    // An item picked from the year list: a change unless it is the year
    // already shown.
    void year_picked();
    void set_caption(QLabel* label, const std::string& text);

    WindowSeams seams_;
    Separators seps_;
    LineList lines_;
    // The log named on the command line, or the one the user chose since.
    std::optional<std::string> named_log_;
    // The log read and the settings file it was found through; a chart
    // save never replaces it.
    FoundLog log_;
    SharedState shared_;
    // The allowance's settings; without a limit the window shows none.
    AllowanceSettings allowance_;
    // What the figures' GB (and KB, MB, TB) are.
    UnitMode units_ = UnitMode::Binary;
    // Until the start-up has found the log.
    bool log_missing_ = true;
    // The text of the year box when the year handler last ran, so that picking
    // the item already shown is no change.
    QString year_text_at_last_change_;
    // The option the charts' points were drawn with, which names them in
    // their tooltips.
    PeriodOption shown_option_ = PeriodOption::None;

    // What the charts were last made for by "Maak stats"; nothing when that
    // stopped half-way.
    std::optional<Choice> charts_choice_;
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
