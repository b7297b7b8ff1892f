#pragma once

#include <optional>
#include <string>

#include "allowance/allowance_figures.h"
#include "log/separators.h"

namespace loglezer {

// What the window's "Bundel" box shows of the current billing period.
struct AllowanceBoxTexts {
    std::string caption;         // "Bundel t/m 13 December": the period's last day
    std::string used;            // "412,30 GB (82%)", or in GiB
    std::string estimate;        // "494,80 GB"
    bool used_over = false;      // the use is more than the limit
    bool estimate_over = false;  // the estimate is more than the limit
    // The period, the day of it, the limit and what counts, what is left
    // and per day, and the days without a line, one a line; for a stale
    // log, what that means first.
    std::string tooltip;
    // The log has had no line for days: the caption says since when.
    bool stale = false;
};

// The box's texts for `figures` of an allowance of `settings`, amounts in
// the units of the limit with two decimals and the regional separators,
// the percentage whole; `staleness`, when today is known, of the log.
AllowanceBoxTexts allowance_box_texts(const AllowanceFigures& figures, const AllowanceSettings& settings,
                                      const Separators& seps, const std::optional<Staleness>& staleness);

// The figures of the billing period that holds the date of the log's last
// line; nothing when no limit is set. Throws Failure where a line's date,
// or an amount of a line of that period, cannot be read.
std::optional<AllowanceFigures> current_allowance(const LineList& lines, const AllowanceSettings& settings,
                                                  const Separators& seps);

}  // namespace loglezer
