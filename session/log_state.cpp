#include "session/log_state.h"

#include <algorithm>

#include "allowance/allowance_box.h"
#include "log/failure.h"
#include "log/line_format.h"
#include "log/month_names.h"
#include "log/number_text.h"
#include "stats/startup.h"
#include "text/dates.h"

namespace loglezer {
namespace {

// The day of the line at `index` ("14 Juni 2023"), the day a record fell on;
// empty for none (-1: no amount was above zero).
std::string record_day(const LogState& state, long long index) {
    if (index < 0) return {};
    std::string unused_month_name;
    return line_day(state.lines.at(index), unused_month_name);
}

// The month list of the year chosen, made afresh.
void refill_months(LogState& state) {
    Screen& screen = state.screen;
    state.year_at_last_change = screen.choice.year;
    state.month_name.clear();
    screen.months.clear();
    screen.months = collect_months(state.lines, screen.choice.year, state.month_name);
    screen.choice.month = screen.months.empty() ? std::string() : screen.months.front();
}

// The captions and the records' days after a yearly run that gave `found`.
void take_year_figures(LogState& state, const YearFigures& found, const Separators& seps) {
    YearFigures& figures = state.figures;
    figures.record_download = found.record_download;
    figures.record_upload = found.record_upload;
    figures.record_download_line = found.record_download_line;
    figures.record_upload_line = found.record_upload_line;
    if (!state.totals_summed) {
        figures.total_download = found.total_download;
        figures.total_upload = found.total_upload;
        state.totals_summed = true;
    }
    const LabelCaptions captions = year_captions(figures, state.caption_units, seps, state.settings.units);
    Screen& screen = state.screen;
    screen.record_download = captions.record_down;
    screen.record_upload = captions.record_up;
    screen.total_download = captions.total_down;
    screen.total_upload = captions.total_up;
    screen.record_download_day = record_day(state, figures.record_download_line);
    screen.record_upload_day = record_day(state, figures.record_upload_line);
}

}  // namespace

LogSettings read_settings(const std::vector<SettingsFile>& files, const GivenSettings& given) {
    LogSettings settings;
    try {
        settings.allowance = allowance_settings(find_section(files, "allowance"), given.allowance);
    } catch (const Failure& failure) {
        settings.allowance_failure = failure.what();
    }
    if (given.units) {
        settings.units = *given.units;
        return settings;
    }
    try {
        settings.units = display_units(files);
    } catch (const Failure& failure) {
        settings.units_failure = failure.what();
    }
    return settings;
}

void start_up(LogState& state, const Separators& seps) {
    Screen& screen = state.screen;
    screen.total_download = std::string();
    screen.total_upload = std::string();
    state.totals_summed = false;
    screen.years = year_list(state.lines);
    screen.choice.year = screen.years.empty() ? std::string() : screen.years.back();
    screen.choice.option = PeriodOption::PerYear;
    make_stats(state, seps);
    refill_months(state);
    state.period_text = build_period_text(state.lines, state.month_name);
    write_year_titles(screen.download, screen.upload, state.period_text);
}

void make_stats(LogState& state, const Separators& seps) {
    Screen& screen = state.screen;
    // A month name in any letter case is the month of that name.
    if (const std::optional<int> month = dutch_month_of(screen.choice.month))
        screen.choice.month = std::string(dutch_month_name(*month));
    const StatsInput input{screen.choice.option, screen.years, screen.choice.year, screen.choice.month,
                           state.settings.units};
    // The points are replaced from here on: their tooltips name them by this
    // option even when the run stops half-way.
    screen.charts_option = input.option;
    state.charts_choice.reset();
    // A yearly run after another option writes the yearly titles and format
    // again; at the start-up the titles follow the run, once the period is
    // known.
    if (input.option == PeriodOption::PerYear && !state.period_text.empty()) {
        write_year_titles(screen.download, screen.upload, state.period_text);
        screen.download.set_value_format(kYearlyValueFormat);
        screen.upload.set_value_format(kYearlyValueFormat);
    }
    const std::optional<YearFigures> found =
        show_stats(state.lines, input, state.month_name, seps, screen.download, screen.upload);
    state.charts_choice = screen.choice;
    if (found) take_year_figures(state, *found, seps);
}

void change_year(LogState& state, const std::string& year) {
    Screen& screen = state.screen;
    screen.choice.year = year;
    // Typed a digit at a time, a year is unfinished until it is whole: a
    // text that names no year of the log only empties the list.
    if (!log_has_year(state.lines, year)) {
        state.year_at_last_change = year;
        state.month_name.clear();
        screen.months.clear();
        return;
    }
    refill_months(state);
}

void show_allowance(LogState& state, const Separators& seps, const std::optional<LogDate>& today) {
    state.screen.allowance.reset();
    state.allowance = current_allowance(state.lines, state.settings.allowance, seps);
    if (!state.allowance) return;
    // The figures' day is the date of the last line.
    std::optional<Staleness> staleness;
    if (today) staleness = log_staleness(state.allowance->today, *today);
    state.screen.allowance = allowance_box_texts(*state.allowance, state.settings.allowance, seps, staleness);
}

std::optional<std::string> absent_period(const LogState& state) {
    const Choice& choice = state.screen.choice;
    if (!parse_int(choice.year) || can_make_again(state, choice)) return std::nullopt;
    if (choice.option == PeriodOption::PerMonth) return choice.year + " staat niet in de log";
    if (choice.option != PeriodOption::PerDay) return std::nullopt;
    return choice.month + " " + choice.year + " staat niet in de log";
}

bool can_make_again(const LogState& state, const Choice& choice) {
    if (choice.option != PeriodOption::PerMonth && choice.option != PeriodOption::PerDay) return false;
    if (!log_has_year(state.lines, choice.year)) return false;
    if (choice.option == PeriodOption::PerMonth) return true;
    std::string scratch;
    const std::vector<std::string> months = collect_months(state.lines, choice.year, scratch);
    return std::find(months.begin(), months.end(), choice.month) != months.end();
}

}  // namespace loglezer
