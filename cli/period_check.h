#pragma once

// A year or month loglezer-stats is asked for that the log has no line of:
// a usage error that says which dates the log runs between, rather than the
// failure the statistics would meet.
#include "log/line_list.h"

namespace loglezer::cli {

// The per-month view of `year`, or with a month (1 to 12; 0 for none) the
// per-day view: fails (UsageError) when no line is of them, found as the
// view searches for them. Where the view would fail before finding one (a
// line's year text that is no number), it is left to fail with its own
// message.
void require_view_lines(const LineList& lines, int year, int month);

// --top with a year: fails (UsageError) when no line's year number reads as
// `year`.
void require_top_lines(const LineList& lines, int year);

}  // namespace loglezer::cli
