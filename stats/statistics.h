#pragma once

#include <optional>
#include <string>
#include <vector>

#include "log/line_list.h"
#include "log/separators.h"
#include "stats/chart_model.h"
#include "stats/shared_state.h"
#include "text/number_format.h"

namespace loglezer {

// The period the statistics are made for: the option chosen in the radio
// group, none before one is chosen.
enum class PeriodOption { None, PerYear, PerMonth, PerDay };

// What the statistics read from the window.
struct StatsInput {
    PeriodOption option = PeriodOption::None;
    std::vector<std::string> year_items;  // the items of the year selector
    std::string year_text;                // the text of the year selector
    std::string month_text;               // the text of the month selector
    bool total_labels_empty = false;      // both total labels have an empty caption
    UnitMode units = UnitMode::Binary;    // what the figures' GB (and KB, MB, TB) are
};

// The captions the yearly option writes, each a figure and its unit.
struct LabelCaptions {
    std::string record_down, record_up, total_down, total_up;
};

// The value formats and titles the options set.
inline constexpr const char* kMonthlyValueFormat = "#.###,## GB";
inline constexpr const char* kDailyValueFormat = "0.###,## GB";

// The year selector's list: for each line from the first one, its year text
// (the date field without its first 7 characters), appended when it differs
// from the text appended last (at first: from the empty text). A log whose
// years run 2005, 2006, 2005 gives those three items.
std::vector<std::string> year_list(const LineList& lines);

// The "Maak stats" command: removes all points of both charts, then runs the
// chosen option (nothing more for none):
// - per year: one bar per group of consecutive lines of one year, the totals
//   (added only while both total labels are empty) and the records; returns
//   the four label captions;
// - per month: one bar per month of the year in `year_text`;
// - per day: one bar per line of the month in `month_text` of that year.
// Amounts are converted with the given separators. A failure throws
// loglezer::Failure with the message the user sees; the points, chart
// settings and shared values written before it stay.
std::optional<LabelCaptions> show_stats(const LineList& lines, const StatsInput& input, SharedState& shared,
                                        const Separators& seps, ChartModel& download, ChartModel& upload);

}  // namespace loglezer
