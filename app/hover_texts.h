#pragma once

#include <QString>
#include <cstddef>
#include <string>

#include "log/separators.h"
#include "stats/chart_model.h"
#include "stats/statistics.h"

namespace loglezer {

// The name of a bar in its tooltip, by the option that drew the chart: a
// year by its label; a month by its name and the year its title names
// ("Juni 2023"); a day by its number, month and year ("14 Juni 2023"). The
// title is taken rather than the year box, which may have changed since.
QString bar_name(PeriodOption option, const ChartModel& model, std::size_t index);

}  // namespace loglezer
