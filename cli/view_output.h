#pragma once

#include <string>

#include "cli/arguments.h"
#include "log/separators.h"
#include "session/session.h"

namespace loglezer::cli {

// The view the options ask for, in their format, of the session's log:
// after the start-up the years with the totals and records, or with --year
// the months of that year, or with --month too the days of that month, as
// the window shows them once the year and month are chosen. A year or month
// the log has no line of is a UsageError; the statistics' failures, and a
// value of [display] that cannot be read, are Failures.
std::string view_output(const Options& options, Session& session, const Separators& seps);

}  // namespace loglezer::cli
