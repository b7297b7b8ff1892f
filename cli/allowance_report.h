#pragma once

// The --allowance report: the current billing period against the limit,
// and what the two reports of the allowance share.
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "allowance/allowance.h"
#include "allowance/allowance_figures.h"
#include "cli/arguments.h"
#include "cli/output.h"
#include "log/line_list.h"
#include "log/log_file.h"
#include "log/separators.h"
#include "session/session.h"
#include "settings/log_lookup.h"

namespace loglezer::cli {

// The exit statuses of --allowance besides 0.
inline constexpr int kStatusPace = 3;   // the estimate is over the limit, or --warn's percentage is reached
inline constexpr int kStatusOver = 4;   // the use is over the limit
inline constexpr int kStatusStale = 5;  // the log has had no line for days, without --today

// The settings of the allowance as the session read them (the section
// [allowance] of the first log.ini that has it, each option given in place
// of its key); a value that could not be read is a UsageError with the
// message that names the file, the key and the text.
const AllowanceSettings& tool_settings(const Session& session);

// The reference day of the log's lines: --today, else the date of its last
// line. Reads every line's date. A --today before the date of the first
// line is a UsageError.
struct ReferenceDay {
    LogDate today;
    LogSpan span;
};
ReferenceDay reference_day(const LineList& lines, const std::optional<LogDate>& today);

// The report's forms: the table in English with the locale's separators,
// amounts in the units of the limit, which says when --warn's percentage
// `warn` is reached, or JSON.
// `staleness` is that of the log's last line against the system's date;
// `stale`, whether it counts (no --today given).
std::string render_allowance_table(const AllowanceFigures& figures, const AllowanceSettings& settings,
                                   std::optional<long double> warn, const Separators& seps, bool stale,
                                   const Staleness& staleness);
std::string render_allowance_json(const AllowanceFigures& figures, const AllowanceSettings& settings,
                                  const Staleness& staleness);

// The exit status of the figures: 4 over, else 5 for a stale log, else 3
// pace or --warn's percentage reached, else 0. The use over the limit stays
// over whatever comes; the pace of a stale log cannot be trusted.
int allowance_status(const AllowanceFigures& figures, std::optional<long double> warn, bool stale);

// Runs --allowance or --periods on the session's log and writes the
// report in the options' format to `out`, and to `err` that the log is
// stale; returns the exit status.
int write_allowance(const Options& options, const Session& session, const Separators& seps, Output& out,
                    std::ostream& err);

}  // namespace loglezer::cli
