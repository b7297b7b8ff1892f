#include "cli/periods_report.h"

#include <nlohmann/json.hpp>

#include "cli/numbers.h"
#include "cli/table_text.h"
#include "text/dates.h"
#include "text/number_format.h"
#include "text/value_format.h"

namespace loglezer::cli {
namespace {

// The period's use in percent of the limit, rounded to two decimals;
// nothing without a limit.
std::optional<double> percent_of_limit(const PeriodTotals& p, const AllowanceSettings& settings) {
    if (!settings.limit) return std::nullopt;
    return round2(p.used * 100 / *settings.limit);
}

// "Billing periods from day 14 of a month up to 8 December 2026, those
// starting in 2026" and "Counting download and upload; limit 500.00 GB"
std::string heading(const PeriodsReport& report, const Separators& seps) {
    const AllowanceSettings& s = report.settings;
    std::string text =
        "Billing periods from day " + std::to_string(s.start_day) + " of a month up to " + english_date(report.today);
    if (report.year) text += ", those starting in " + std::to_string(*report.year);
    text += "\nCounting " + counted_text(s.counts);
    return text + (s.limit ? "; limit " + amount_text(*s.limit, s.units, seps) : "; no limit") + "\n\n";
}

nlohmann::ordered_json period_json(const PeriodTotals& p, const AllowanceSettings& settings) {
    nlohmann::ordered_json item;
    item["start"] = iso_date(p.period.start);
    item["end"] = iso_date(p.period.end);
    bool overflow = set_bytes(item, "download_bytes", p.download);
    overflow |= set_bytes(item, "upload_bytes", p.upload);
    overflow |= set_bytes(item, "used_bytes", p.used);
    const std::optional<double> percent = percent_of_limit(p, settings);
    item["percent"] = percent ? json_number(*percent) : nlohmann::ordered_json();
    item["days_with_line"] = p.days_with_line;
    item["days"] = p.period.days();
    item["current"] = p.current;
    mark_overflow(item, overflow);
    return item;
}

}  // namespace

std::string counted_text(Counted counts) {
    return counts == Counted::Both ? "download and upload" : std::string(counts_name(counts));
}

std::vector<PeriodTotals> periods_of_year(const std::vector<PeriodTotals>& periods, int year) {
    std::vector<PeriodTotals> chosen;
    for (const PeriodTotals& p : periods) {
        if (p.period.start.year == year) chosen.push_back(p);
    }
    return chosen;
}

std::string render_periods_table(const PeriodsReport& report, const Separators& seps) {
    std::vector<std::vector<std::string>> rows = {
        {"Start", "End", "Download", "Upload", "Counted", "Percent", "Days with a line", "Days", ""}};
    for (const PeriodTotals& p : report.periods) {
        const std::optional<double> percent = percent_of_limit(p, report.settings);
        const auto amount = [&](long double bytes) { return amount_text(bytes, report.settings.units, seps); };
        rows.push_back({iso_date(p.period.start), iso_date(p.period.end), amount(p.download), amount(p.upload),
                        amount(p.used), percent ? format_value(*percent, "#,##0.00", seps) + "%" : "",
                        std::to_string(p.days_with_line), std::to_string(p.period.days()), p.current ? "current" : ""});
    }
    return heading(report, seps) + column_lines(rows, "LLRRRRRRL");
}

std::string render_periods_csv(const PeriodsReport& report) {
    std::string out = "start,end,download_bytes,upload_bytes,used_bytes,percent,days_with_line,days,current\n";
    for (const PeriodTotals& p : report.periods) {
        const std::optional<double> percent = percent_of_limit(p, report.settings);
        out += iso_date(p.period.start) + "," + iso_date(p.period.end) + "," + bytes_text(p.download) + "," +
               bytes_text(p.upload) + "," + bytes_text(p.used) + "," + (percent ? fixed_text(*percent, 2) : "") + "," +
               std::to_string(p.days_with_line) + "," + std::to_string(p.period.days()) + "," +
               (p.current ? "true" : "false") + "\n";
    }
    return out;
}

nlohmann::ordered_json allowance_json_head(const char* view, const LogDate& today, const AllowanceSettings& settings) {
    nlohmann::ordered_json doc;
    doc["format"] = 1;
    doc["view"] = view;
    doc["today"] = iso_date(today);
    doc["counts"] = counts_name(settings.counts);
    doc["start_day"] = settings.start_day;
    // The family of units the limit was written in, which the tables use.
    doc["unit"] = settings.units == UnitMode::Binary ? "GiB" : "GB";
    return doc;
}

std::string render_periods_json(const PeriodsReport& report) {
    const AllowanceSettings& s = report.settings;
    nlohmann::ordered_json doc = allowance_json_head("periods", report.today, s);
    doc["limit_bytes"] = nullptr;
    if (s.limit) set_bytes(doc, "limit_bytes", *s.limit);
    doc["year"] = report.year ? nlohmann::ordered_json(*report.year) : nlohmann::ordered_json();
    doc["periods"] = nlohmann::ordered_json::array();
    for (const PeriodTotals& p : report.periods) doc["periods"].push_back(period_json(p, s));
    return doc.dump(2) + "\n";
}

}  // namespace loglezer::cli
