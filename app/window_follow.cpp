// The window following its log: what it reads again when the metering
// program has written to the log, and how it shows again what the user had
// chosen.

#include <QButtonGroup>
#include <QComboBox>
#include <QRadioButton>
#include <algorithm>

#include "allowance/allowance_box.h"
#include "app/selectors.h"
#include "app/window.h"
#include "chart/latin1.h"
#include "stats/chosen_view.h"
#include "stats/startup.h"
#include "stats/statistics.h"

namespace loglezer {
namespace {

// What "Maak stats" reads for the charts' last choice once `lines` has been
// started up with the year list `years`: nothing for "Per jaar" (which the
// start-up draws), or when the chosen year, or the chosen month of "Per
// dag", is no longer in the log.
std::optional<StatsInput> charts_input_again(const LineList& lines, const std::vector<std::string>& years,
                                             PeriodOption option, const std::string& year, const std::string& month) {
    if (option != PeriodOption::PerMonth && option != PeriodOption::PerDay) return std::nullopt;
    if (!log_has_year(lines, year)) return std::nullopt;
    if (option == PeriodOption::PerDay) {
        SharedState scratch;
        const std::vector<std::string> months = collect_months(lines, year, scratch);
        if (std::find(months.begin(), months.end(), month) == months.end()) return std::nullopt;
    }
    StatsInput in;
    in.option = option;
    in.year_items = years;
    in.year_text = year;
    in.month_text = month;
    return in;
}

// Runs the start-up, the allowance's figures and then "Maak stats" for what
// the charts showed on plain state, throwing where the window's would stop;
// returns whether the charts are to be made again.
bool try_following(const LineList& lines, const Separators& seps, UnitMode units, const AllowanceSettings& allowance,
                   PeriodOption option, const std::string& year, const std::string& month) {
    const ChosenView trial(lines, seps, units);
    current_allowance(lines, allowance, seps);
    std::optional<StatsInput> again = charts_input_again(lines, trial.start().year_items, option, year, month);
    if (!again) return false;
    again->units = units;
    SharedState shared = trial.shared();
    ChartModel download("Download");
    ChartModel upload("Upload");
    show_stats(lines, *again, shared, seps, download, upload);
    return true;
}

}  // namespace

void MainWindow::follow_log() {
    // A box or dialog is open: the log is read once it is closed.
    if (handlers_running_ > 0) {
        watcher_.look_again_later();
        return;
    }
    guarded(&MainWindow::follow_log_now);
}

void MainWindow::follow_log_now() {
    const Choice before = chosen();
    const Choice charts = charts_choice_.value_or(Choice{});
    std::optional<ReadLog> log = read_log_again();
    if (!log) return;
    // Tried first without the window, so that a log it stops on leaves the
    // window as it is.
    const bool charts_again = try_following(log->lines, seps_, units_, allowance_, period_option_at(charts.option),
                                            to_log_text(charts.year), to_log_text(charts.month));
    start_afresh(std::move(log->found), std::move(log->lines));
    if (charts_again) {
        choose(charts);
        make_stats();
    }
    // The selectors as the user left them, also where the charts show
    // another choice ("Maak stats" not pressed since).
    choose(before);
}

MainWindow::Choice MainWindow::chosen() const {
    return {ui_.option_buttons->checkedId(), ui_.year_box->currentText(), ui_.month_box->currentText()};
}

void MainWindow::choose(const Choice& choice) {
    if (QAbstractButton* option = ui_.option_buttons->button(choice.option)) {
        option->setChecked(true);
        option_chosen();
    }
    // The year as the item of the list when it is one, so that the arrow
    // keys move on from it.
    const int item = ui_.year_box->findText(choice.year, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (item >= 0) {
        ui_.year_box->setCurrentIndex(item);
    } else {
        ui_.year_box->setEditText(choice.year);
    }
    year_changed();
    ui_.month_box->setEditText(choice.month);
}

}  // namespace loglezer
