#pragma once

#include <string>
#include <vector>

#include "log/line_list.h"
#include "stats/chart_model.h"
#include "tools/loggen.h"

namespace loglezer::test {

inline constexpr long long kGiB = 1024LL * 1024 * 1024;

// "dd-Mon-yyyy,download,upload,total,"
inline std::string log_line(const std::string& date, long long download, long long upload) {
    return date + "," + std::to_string(download) + "," + std::to_string(upload) + "," +
           std::to_string(download + upload) + ",";
}

// One line per day from `first`, every day with the same amounts.
inline std::vector<std::string> days(tools::Date first, int count, long long download, long long upload) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(log_line(tools::date_field(tools::add_days(first, i)), download, upload));
    return lines;
}

inline std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline std::vector<std::string> labels(const ChartModel& chart) {
    std::vector<std::string> out;
    for (const auto& p : chart.points()) out.push_back(p.label);
    return out;
}

inline std::vector<double> values(const ChartModel& chart) {
    std::vector<double> out;
    for (const auto& p : chart.points()) out.push_back(p.value);
    return out;
}

inline const std::vector<std::string>& dutch_months() {
    static const std::vector<std::string> names = {"Januari",   "Februari", "Maart",    "April",
                                                   "Mei",       "Juni",     "Juli",     "Augustus",
                                                   "September", "Oktober",  "November", "December"};
    return names;
}

}  // namespace loglezer::test
