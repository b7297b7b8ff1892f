#pragma once

#include <string>

#include "allowance/allowance_figures.h"
#include "log/separators.h"
#include "stats/chart_model.h"
#include "text/dates.h"

namespace loglezer {

// The picture of the current billing period, titled "Bundel 14 November
// 2026 t/m 13 December 2026": one bar per day up to today with the running
// total of what counts, in the units of the limit (GB or GiB, TB or TiB
// for a limit of a terabyte or more), labelled with the day of the month (blue,
// red once the total is over the limit), today's bar marked with its
// total; a slot for every day of the period; a red line at the limit and a
// dashed line for the estimate from today's bar to the period's last day
// (none when today is that day), each labelled with its figure; flat,
// without a legend.
ChartModel allowance_chart(const AllowanceFigures& figures, UnitMode units, const Separators& seps);

}  // namespace loglezer
