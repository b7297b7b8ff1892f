#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/window_layout.h"
#include "chart/export.h"
#include "log/line_list.h"
#include "log/separators.h"
#include "stats/shared_state.h"
#include "stats/startup.h"

class QLabel;

namespace loglezer {

class ChartPanel;

// What the window asks of the person in front of it, behind one seam so
// that tests can answer instead.
struct WindowSeams {
    // A failure box: modal, error icon, one OK button.
    std::function<void(QWidget* parent, const QString& title, const QString& text)> show_failure;
    // The "log not found" box, centred on the screen when no window is
    // shown yet; `detail`, when not empty, names the path looked at.
    std::function<void(const QString& detail)> show_log_missing;
    // The save dialog of the chart export.
    SaveDialog save_dialog;
    // Where log.ini and a relative log path are looked up; empty when the
    // working directory has been removed, so that only an absolute log path
    // can be used.
    std::filesystem::path working_dir;
    // The log named on the command line, used instead of log.ini and the
    // default path.
    std::optional<std::string> log_argument;
    // The regional separators amounts are read and figures written with.
    Separators separators;

    // The real boxes and dialog, the process's current directory and the
    // separators of the locale the environment names for numbers.
    static WindowSeams real();
};

// The one window of the program.
class MainWindow : public QWidget, private StartUpSteps {
public:
    explicit MainWindow(WindowSeams seams = WindowSeams::real(), QWidget* parent = nullptr);
    ~MainWindow() override;

    // True when the start-up found no log, also when it could not look for
    // one (a relative path without a working directory): the program ends
    // without showing the window.
    bool log_missing() const { return log_missing_; }
    // Moves the window to the middle of the screen it will be shown on.
    void centre_on_screen();

    // The handlers, one per user event.
    // The start-up, as at the program's start: finds and reads the log and
    // runs the start-up sequence; a failure is shown in a box.
    void start_up();
    // "Maak stats" (F5): the figures and charts of the chosen option.
    void make_stats();
    // The year typed or picked: refills the month list.
    void year_changed();
    // An option chosen: shows the selectors it needs.
    void option_chosen();
    // "Grafiek opslaan" on either panel (Ctrl+S, Ctrl+Shift+S).
    void save_download_chart();
    void save_upload_chart();
    // Ctrl+R: reads the log again as it now is (the metering program appends
    // to it) and runs the start-up afresh, as at the program's start. A log
    // that has gone shows the missing-log box and leaves the window as it is.
    void reload_log();
    // Ctrl+Q.
    void close_window();

    const SharedState& shared() const { return shared_; }
    const Separators& separators() const { return seps_; }

private:
    // The start-up's steps, carried out with the widgets and handlers.
    void empty_total_labels() override;
    void fill_year_list(const std::vector<std::string>& years) override;
    void choose_per_year() override;
    void run_statistics() override { make_stats(); }
    void refill_months() override { year_changed(); }
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
    // The detail of the missing-log box: the full path of a log named on the
    // command line; empty for the usual look-up, whose box stays as it was.
    QString missing_log_detail() const;
    // Runs one handler; a failure ends it there and is shown in a box, an
    // allocation failure ends the program.
    void guarded(void (MainWindow::*handler)());
    // An item picked from the year list: a change unless it is the year
    // already shown.
    void year_picked();
    void set_caption(QLabel* label, const std::string& text);

    WindowSeams seams_;
    Separators seps_;
    LineList lines_;
    // The file the log was read from; a chart save never replaces it.
    std::filesystem::path log_file_;
    SharedState shared_;
    // Until the start-up has found the log.
    bool log_missing_ = true;
    // The text of the year box when the year handler last ran, so that picking
    // the item already shown is no change.
    QString year_text_at_last_change_;
    // The option the charts' points were drawn with, which names them in
    // their tooltips.
    int shown_option_ = -1;

    // The controls the handlers reach, made from the layout table.
    WindowControls ui_;
};

// The text with a zero-width space after every 30 characters of a run
// without blanks, so that a message box can wrap a long quoted amount or
// file path instead of cutting it off at its edge.
QString wrappable(const QString& text);

}  // namespace loglezer
