#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "chart/export.h"
#include "log/line_list.h"
#include "log/separators.h"
#include "stats/shared_state.h"
#include "stats/startup.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

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
class TForm1 : public QWidget, private StartUpSteps {
public:
    explicit TForm1(WindowSeams seams = WindowSeams::real(), QWidget* parent = nullptr);
    ~TForm1() override;

    // True when the start-up found no log, also when it could not look for
    // one (a relative path without a working directory): the program ends
    // without showing the window.
    bool log_missing() const { return log_missing_; }
    // Moves the window to the middle of the screen it will be shown on.
    void centre_on_screen();

    // The handlers, one per user event, and the start-up sequence.
    void FormCreate();
    void sbtn_showstatsClick();
    void cb_yearChange();
    void RadiosClick();
    void sbtn_savedownloadClick();
    void sbtn_saveuploadClick();
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
    void run_statistics() override { sbtn_showstatsClick(); }
    void refill_months() override { cb_yearChange(); }
    ChartModel& download_chart() override;
    ChartModel& upload_chart() override;

    void build_layout();
    void build_download_chart();
    void build_selectors();
    void build_upload_chart();
    void build_groups();
    void connect_handlers();
    // F5, Ctrl+S, Ctrl+Shift+S, Ctrl+R and Ctrl+Q, and the buttons' tooltips
    // that name their keys.
    void connect_keys();
    // What the start-up finds at the program's start: no figures, lists or
    // zoom, and the charts' first titles and formats.
    void show_as_before_start_up();
    // FormCreate's steps, run inside the failure boundary.
    void start_up();
    // The detail of the missing-log box: the full path of a log named on the
    // command line; empty for the usual look-up, whose box stays as it was.
    QString missing_log_detail() const;
    // Runs one handler; a failure ends it there and is shown in a box, an
    // allocation failure ends the program.
    void guarded(void (TForm1::*handler)());
    void on_year_activated();
    void set_caption(QLabel* label, const std::string& text);

    WindowSeams seams_;
    Separators seps_;
    LineList lines_;
    // The file the log was read from; a chart save never replaces it.
    std::filesystem::path log_file_;
    SharedState shared_;
    // Until the start-up has found the log.
    bool log_missing_ = true;
    // The text of cb_year when the year handler last ran, so that picking
    // the item already shown is no change.
    QString year_text_at_last_change_;
    // The option the charts' points were drawn with, which names them in
    // their tooltips.
    PeriodOption shown_option_ = PeriodOption::None;

    QPushButton* sbtn_showstats = nullptr;
    ChartPanel* chartdownload = nullptr;
    QPushButton* sbtn_savedownload = nullptr;
    QComboBox* cb_year = nullptr;
    QComboBox* cb_month = nullptr;
    QGroupBox* Radios = nullptr;
    QButtonGroup* radio_buttons = nullptr;
    ChartPanel* chartupload = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* sbtn_saveupload = nullptr;
    QGroupBox* gb_totals = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lbl_totaldown = nullptr;
    QLabel* lbl_totalup = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* lbl_recorddown = nullptr;
    QLabel* lbl_recordup = nullptr;
};

// The text with a zero-width space after every 30 characters of a run
// without blanks, so that a message box can wrap a long quoted amount or
// file path instead of cutting it off at its edge.
QString wrappable(const QString& text);

}  // namespace loglezer
