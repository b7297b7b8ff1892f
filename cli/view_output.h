#pragma once

#include <string>

#include "cli/arguments.h"
#include "log/line_list.h"
#include "log/separators.h"

namespace loglezer::cli {

// The view the options ask for, in their format: after the start-up the
// years with the totals and records, or with --year the months of that
// year, or with --month too the days of that month, as the window shows
// them once the year and month are chosen. A year or month the log has no
// line of is a UsageError; the statistics' failures are Failures.
std::string view_output(const Options& options, const LineList& lines, const Separators& seps, UnitMode units);

}  // namespace loglezer::cli
