#pragma once

// The --periods report: every billing period of the log, the current one
// counted up to the reference day.
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "allowance/allowance.h"
#include "allowance/allowance_figures.h"
#include "log/separators.h"

namespace loglezer::cli {

// What counts, as both reports of the allowance write it: "download and
// upload", "download" or "upload".
std::string counted_text(Counted counts);

// The head both JSON forms start with: format, view, today, counts,
// start_day and unit ("GB" or "GiB", the family of the limit's units).
nlohmann::ordered_json allowance_json_head(const char* view, const LogDate& today, const AllowanceSettings& settings);

// What the forms of the report write: the periods, the settings they were
// counted with, the reference day and the year they were chosen by.
struct PeriodsReport {
    std::vector<PeriodTotals> periods;
    AllowanceSettings settings;
    LogDate today;
    std::optional<int> year;
};

// The periods of `periods` that start in `year`.
std::vector<PeriodTotals> periods_of_year(const std::vector<PeriodTotals>& periods, int year);

// The table in English with the locale's separators, amounts in GB; CSV
// and JSON with the amounts in bytes. The percentage of the limit is empty
// (null) without a limit.
std::string render_periods_table(const PeriodsReport& report, const Separators& seps);
std::string render_periods_csv(const PeriodsReport& report);
std::string render_periods_json(const PeriodsReport& report);

}  // namespace loglezer::cli
