#pragma once

#include <string>
#include <vector>

#include "chart/chart_model.h"
#include "log/line_list.h"
#include "log/separators.h"
#include "log/shared_state.h"
#include "stats/statistics.h"

namespace loglezer {

// "sinds dd Maand yyyy" from the first 11 characters of line 0: the day
// (characters 1-2), the Dutch name of the month (characters 4-6, translated
// with setmonth, which leaves it in the current month name) and the year
// (characters 8-11). Fails like the line list when the log is empty.
std::string build_period_text(const LineList& lines, SharedState& shared);

// The titles of the yearly charts: "Download per jaar " and "Upload per jaar "
// followed by the period text, each the only title line of its chart.
void write_year_titles(ChartModel& download, ChartModel& upload, const std::string& period_text);

// What the window holds after start-up, as far as the statistics read or
// write it.
struct StartUpState {
    std::vector<std::string> year_items;
    std::string year_text;  // the last item, or empty
    LabelCaptions captions;
};

// Start-up after the log is loaded: empty total labels, the year list and
// its last item, a yearly run, then the period text (kept in the shared
// state) and the yearly titles. The window's month list is not filled here.
// Throws Failure where the start-up would stop; what was done stays.
StartUpState run_start_up(const LineList& lines, SharedState& shared, const Separators& seps, ChartModel& download,
                          ChartModel& upload);

}  // namespace loglezer
