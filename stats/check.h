#pragma once

#include <functional>
#include <string>

#include "log/line_list.h"
#include "log/separators.h"

namespace loglezer {

// A fault of one log line.
struct CheckProblem {
    long long line;    // index from 0
    std::string text;  // plain English; a piece of the log in it is quoted as its bytes
};

struct CheckCounts {
    long long lines = 0;
    long long problems = 0;
    long long missing_days = 0;  // days without a line between the first and the last day
};

// Receives each problem as the check finds it, in line order. The check
// keeps none of them, so that a log with a problem on every line needs no
// more memory than a sound one.
using ProblemSink = std::function<void(const CheckProblem&)>;

// Reads every line for what keeps the viewer from showing it, or shows it
// wrongly:
// - a line that is not "dd-Mon-yyyy,download,upload," and any further
//   fields, with a day of the calendar and both amounts in the number
//   grammar with the given separators;
// - an empty line;
// - NUL bytes, which the loader dropped;
// - a date not after the date of the last line before it that passed;
// - a year whose lines are split in runs, which the year selector lists
//   once per run;
// - a log without lines.
// Days without a line are no fault: they are counted, between the first
// and the last day any line's date names.
CheckCounts check_log(const LineList& lines, const Separators& seps, const ProblemSink& report);

}  // namespace loglezer
