#pragma once

#include <QString>
#include <cstddef>
#include <string>

#include "log/line_list.h"
#include "log/separators.h"
#include "stats/chart_model.h"

namespace loglezer {

// The name of a bar in its tooltip, by the option that drew the chart: a
// year by its label; a month by its name and the year its title names
// ("Juni 2023"); a day by its number, month and year ("14 Juni 2023"). The
// title is taken rather than the year box, which may have changed since.
QString bar_name(int option, const ChartModel& model, std::size_t index);

// The days the records of one day fell on, as "14 Juni 2023": the first line
// in log order with the largest download and upload, read as the yearly run
// reads them. Empty when no amount is above zero (there is then no record).
// Meant after a yearly run that read every line: a line that run could not
// read throws here as it did there.
struct RecordDays {
    std::string download;
    std::string upload;
};
RecordDays record_days(const LineList& lines, const Separators& seps);

}  // namespace loglezer
