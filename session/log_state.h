#pragma once

// One log as the session shows it, and the steps that read it: the
// start-up, "Maak stats", the month list of a year, the allowance.
#include <optional>
#include <string>
#include <vector>

#include "allowance/allowance.h"
#include "allowance/allowance_figures.h"
#include "log/line_list.h"
#include "log/separators.h"
#include "session/log_source.h"
#include "session/screen.h"
#include "settings/log_lookup.h"
#include "settings/settings_files.h"
#include "stats/statistics.h"
#include "text/number_format.h"

namespace loglezer {

// What stands in for the settings of log.ini: given on the command line.
struct GivenSettings {
    std::optional<UnitMode> units;  // --units, over [display] units
    GivenAllowance allowance;       // --limit and the others, over [allowance]
};

// The settings of a log: read from its log.ini files, or given.
struct LogSettings {
    AllowanceSettings allowance;
    UnitMode units = UnitMode::Binary;
    // A value that could not be read, its message; the setting is then left
    // as if it were not there.
    std::optional<std::string> allowance_failure;
    std::optional<std::string> units_failure;
};

// The settings of the log found through `found_through`, the files being
// the log.ini files of settings_files.
LogSettings read_settings(const std::vector<SettingsFile>& files, const GivenSettings& given);

// A log read, its settings, what the statistics left of it, and the screen.
struct LogState {
    FoundLog found;
    LineList lines;
    LogSource source;
    // A vnStat database's interfaces when it has several and none is
    // chosen: then there are no lines.
    std::vector<VnstatInterface> interface_choices;
    LogSettings settings;
    YearFigures figures;  // the totals and the records, in bytes
    // The totals are summed by the first yearly run after the start-up
    // alone, as the window has always done; later runs leave them.
    bool totals_summed = false;
    CaptionUnits caption_units;
    std::string month_name;   // the current month name
    std::string period_text;  // "sinds dd Maand yyyy"
    Screen screen;
    // The figures of the current billing period; nothing without a limit.
    std::optional<AllowanceFigures> allowance;
    // What "Maak stats" last made the charts for; nothing when it stopped
    // half-way.
    std::optional<Choice> charts_choice;
    // The year text when the month list was last made for it, so that picking
    // the year already shown changes nothing.
    std::string year_at_last_change;
};

// The start-up on the lines read: the totals' captions emptied, the year
// list with its last year chosen, "Per jaar", a yearly run, the month list
// of that year, the period text and the yearly titles. Throws Failure
// where it stops; what was done stays.
void start_up(LogState& state, const Separators& seps);

// "Maak stats" for the choice: the charts, and after a yearly run the
// totals' and records' captions. Throws Failure where it stops; the points
// made before it stay.
void make_stats(LogState& state, const Separators& seps);

// The year typed or picked: the month list of that year, or, while the text
// names no year of the log (2, 20, 202 on the way to 2023), an empty list;
// the month chosen stays. Throws Failure where a line before the year cannot
// be read.
void change_year(LogState& state, const std::string& year);

// The figures of the "Bundel" box, when a limit is set; with `today` known,
// whether the log is stale. Throws Failure where a line of the period cannot
// be read.
void show_allowance(LogState& state, const Separators& seps, const std::optional<LogDate>& today);

// "2019 staat niet in de log", or "Maart 2019 staat niet in de log", when
// the choice is per month or per day of a year or month the log lacks;
// nothing otherwise.
std::optional<std::string> absent_period(const LogState& state);

// Whether "Maak stats" can be run again for `choice` on the lines: a month
// or day of a year (and month) the log still has.
bool can_make_again(const LogState& state, const Choice& choice);

}  // namespace loglezer
