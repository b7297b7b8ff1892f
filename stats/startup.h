#pragma once

// The steps of the start-up that read the log beyond the statistics: the
// period text of the yearly titles and the month list of a year.
#include <string>
#include <string_view>
#include <vector>

#include "log/line_list.h"
#include "stats/chart_model.h"

namespace loglezer {

// A day of a log line as the window writes it, "dd Maand yyyy": characters 1
// and 2, the Dutch name of the month abbreviation at characters 4 to 6
// (translated with look_up_month; `month_name`, the current month name, is
// written when it translates and given when it does not) and characters 8
// to 11.
std::string line_day(std::string_view line, std::string& month_name);

// "sinds dd Maand yyyy": line_day of line 0. Fails like the line list when
// the log is empty.
std::string build_period_text(const LineList& lines, std::string& month_name);

// The titles of the yearly charts: "Download per jaar " and "Upload per jaar "
// followed by the period text, each the only title line of its chart.
void write_year_titles(ChartModel& download, ChartModel& upload, const std::string& period_text);

// The months of the chosen year as the month selector lists them: from the
// first line whose year number equals the year read from `year_text`, one
// Dutch name per run of lines with the same month abbreviation, up to and
// including the first "December" appended, the first line whose year number
// is a whole number other than the chosen year, or the end of the log.
// Failures: the year text or a line's year is no whole number; no line
// carries the year ("List index out of bounds (count)"). `month_name`, the
// current month name, is left as the last name added.
std::vector<std::string> collect_months(const LineList& lines, const std::string& year_text, std::string& month_name);

// Whether `year_text` is a whole number that a line of the log carries as
// its year; lines whose year is no number are passed over. Never fails.
bool log_has_year(const LineList& lines, const std::string& year_text);

}  // namespace loglezer
