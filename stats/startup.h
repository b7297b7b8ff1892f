#pragma once

#include <optional>
#include <string>
#include <vector>

#include "log/line_list.h"
#include "log/separators.h"
#include "stats/chart_model.h"
#include "stats/shared_state.h"
#include "stats/statistics.h"

namespace loglezer {

// "sinds dd Maand yyyy" from the first 11 characters of line 0: the day
// (characters 1-2), the Dutch name of the month (characters 4-6, translated
// with look_up_month and stored in the current month name) and the year
// (characters 8-11). Fails like the line list when the log is empty.
std::string build_period_text(const LineList& lines, SharedState& shared);

// The titles of the yearly charts: "Download per jaar " and "Upload per jaar "
// followed by the period text, each the only title line of its chart.
void write_year_titles(ChartModel& download, ChartModel& upload, const std::string& period_text);

// The months of the chosen year as the month selector lists them: from the
// first line whose year number equals the year read from `year_text`, one
// Dutch name per run
// of lines with the same month abbreviation, up to and including the first
// "December" appended, the first line whose year number is a whole number
// other than the chosen year, or the end of the log. Failures: the year text or a
// line's year is no whole number; no line carries the year ("List index out
// of bounds (count)"). The current month name is left as the last name added.
std::vector<std::string> collect_months(const LineList& lines, const std::string& year_text, SharedState& shared);

// Whether `year_text` is a whole number that a line of the log carries as
// its year; lines whose year is no number are passed over. Never fails.
bool log_has_year(const LineList& lines, const std::string& year_text);

// The steps of the start-up that act on the window: the window carries them
// out with its widgets and handlers, loglezer-stats with plain state.
class StartUpSteps {
public:
    virtual ~StartUpSteps() = default;
    // Empty both total labels, so that the next yearly run sums the totals.
    virtual void empty_total_labels() = 0;
    // Fill the year selector with `years` and show the last one (an empty
    // text when there is none).
    virtual void fill_year_list(const std::vector<std::string>& years) = 0;
    // Choose "Per jaar" as a click would.
    virtual void choose_per_year() = 0;
    // Run the statistics command, "Maak stats".
    virtual void run_statistics() = 0;
    // Refill the month list for the year shown, as a change of the year does.
    virtual void refill_months() = 0;
    // The two charts, for their titles.
    virtual ChartModel& download_chart() = 0;
    virtual ChartModel& upload_chart() = 0;
};

// The start-up after the log is loaded: empty total labels, the year list
// and its last item, "Per jaar", a yearly run, the month list of that year,
// then the period text (kept in the shared state) and the yearly titles.
// Throws Failure where the start-up stops; what was done stays.
void start_up_sequence(const LineList& lines, SharedState& shared, StartUpSteps& steps);

// What the window holds after start-up, as far as the statistics read or
// write it.
struct StartUpState {
    std::vector<std::string> year_items;
    std::string year_text;  // the last item, or empty
    LabelCaptions captions;
    std::vector<std::string> month_items;  // the months of the year shown
};

// What "Maak stats" reads from the window after the start-up once the year
// text is typed or picked and "Per maand" chosen, or with a month (1 to 12)
// too, "Per dag" and that month's Dutch name.
StatsInput period_input(const StartUpState& start, const std::string& year_text, std::optional<int> month,
                        UnitMode units);

// The start-up sequence over plain state instead of a window.
StartUpState run_start_up(const LineList& lines, SharedState& shared, const Separators& seps, UnitMode units,
                          ChartModel& download, ChartModel& upload);

}  // namespace loglezer
