#pragma once

#include <optional>
#include <string>

#include "log/line_list.h"
#include "log/separators.h"
#include "stats/chart_model.h"
#include "stats/shared_state.h"
#include "stats/startup.h"

namespace loglezer {

// The charts the window shows after the start-up and, once a year (and a
// month) is chosen, after "Maak stats" with "Per maand" (or "Per dag"):
// for the programs without a window, the export and loglezer-stats, the
// figures' GB (and KB, MB, TB) being those of `units`. Keeps
// `lines` and `seps` by reference; they must outlive it.
class ChosenView {
public:
    // Runs the start-up on `lines`: the years. Throws Failure where the
    // start-up stops.
    ChosenView(const LineList& lines, const Separators& seps, UnitMode units);
    ChosenView(const ChosenView&) = delete;
    ChosenView& operator=(const ChosenView&) = delete;

    // Runs "Maak stats" for the year typed as `year_text`: per month, or
    // with a month (1 to 12) per day. Without a year the years stay. Throws
    // Failure where the window would show one.
    void choose(const std::optional<std::string>& year_text, std::optional<int> month);

    const ChartModel& download() const { return download_; }
    const ChartModel& upload() const { return upload_; }
    // What the start-up left: the year list, the labels' captions, the months.
    const StartUpState& start() const { return start_; }
    // The values the runs shared: the totals and records of the years.
    const SharedState& shared() const { return shared_; }

private:
    const LineList& lines_;
    const Separators& seps_;
    UnitMode units_;
    SharedState shared_;
    ChartModel download_{"Download"};
    ChartModel upload_{"Upload"};
    StartUpState start_;  // after the charts, which the start-up fills
};

}  // namespace loglezer
