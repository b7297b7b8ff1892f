#pragma once

// The --top report: the days with the largest download and, apart, those
// with the largest upload.
#include <optional>
#include <string>

#include "cli/arguments.h"
#include "log/line_list.h"
#include "log/separators.h"
#include "stats/top_days.h"

namespace loglezer::cli {

// Both lists, each day with its ISO date, its gigabytes with two decimals
// and its bytes; `year` names the year they are of.
std::string render_top_table(const TopDays& top, std::optional<int> year, const Separators& seps);
std::string render_top_csv(const TopDays& top);
std::string render_top_json(const TopDays& top, std::optional<int> year);

// The report the options ask for (--top N, of the year of --year), in their
// format. A year the log has no line of is a UsageError.
std::string top_output(const Options& options, const LineList& lines, const Separators& seps, UnitMode units);

}  // namespace loglezer::cli
