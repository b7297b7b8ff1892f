#include "cli/allowance_report.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <utility>
#include <vector>

#include "cli/numbers.h"
#include "cli/periods_report.h"
#include "cli/table_text.h"
#include "frontend/messages.h"
#include "frontend/usage_error.h"
#include "log/failure.h"
#include "log/number_text.h"
#include "text/dates.h"
#include "text/number_format.h"
#include "text/value_format.h"

namespace loglezer::cli {
namespace {

std::string percent_text(long double percent, const Separators& seps) {
    return format_value(round2(percent), "#,##0.00", seps) + "%";
}

std::string status_text(const AllowanceFigures& f, std::optional<long double> warn, const Separators& seps) {
    switch (f.status) {
        case AllowanceStatus::Over:
            return "over (the use is over the limit)";
        case AllowanceStatus::Pace:
            return "pace (at this pace the period ends over the limit)";
        case AllowanceStatus::Under:
            break;
    }
    std::string text = "under (at this pace the period ends within the limit";
    if (warn && has_reached(f, *warn))
        text +=
            "; " + format_value(static_cast<double>(*warn), "0.##", seps) + "% of it, the warning's mark, is reached";
    return text + ")";
}

// The table's rows of figures: a name, a figure and a note.
std::vector<std::vector<std::string>> figure_rows(const AllowanceFigures& f, UnitMode units, const Separators& seps) {
    const auto amount = [&](long double bytes) { return amount_text(bytes, units, seps); };
    const std::string per_day = f.per_day_left ? amount(*f.per_day_left) : "none";
    return {
        {"Limit", amount(f.limit)},
        {"Download", amount(f.download)},
        {"Upload", amount(f.upload)},
        {"Used", amount(f.used), percent_text(f.percent, seps) + " of the limit"},
        {"Left", amount(f.left)},
        {"Per day left", per_day, f.per_day_left ? "for each of the days after today" : "no day is left"},
        {"Estimate", amount(f.estimate), "for the whole period at the pace so far"},
        {"Days without a line", std::to_string(f.days_without_line)},
    };
}

// "its last line is of 2026-11-20, 20 days ago".
std::string stale_text(const Staleness& staleness) {
    return "its last line is of " + iso_date(staleness.last_line) + ", " + std::to_string(staleness.days) + " days ago";
}

// A byte figure rounded to the nearest byte.
long double whole_bytes(long double bytes) { return std::round(bytes); }

nlohmann::ordered_json period_json(const AllowanceFigures& f) {
    nlohmann::ordered_json period;
    period["start"] = iso_date(f.period.start);
    period["end"] = iso_date(f.period.end);
    period["days"] = f.period.days();
    period["day"] = f.day;
    period["days_left"] = f.days_left;
    period["days_without_line"] = f.days_without_line;
    return period;
}

// Nothing when the settings give no limit: the error says how to give one.
void require_limit(const AllowanceSettings& settings) {
    if (settings.limit) return;
    throw UsageError("--allowance needs a limit: give --limit AMOUNT, or set limit= in the section [allowance] of " +
                     where_to_set_limit(settings));
}

int write_periods(const Options& options, const LineList& lines, const AllowanceSettings& settings,
                  const Separators& seps, Output& out) {
    const std::optional<int> year =
        options.year ? std::optional<int>(text_to_int(*options.year)) : std::optional<int>();
    const ReferenceDay day = reference_day(lines, options.allowance_options.today);
    PeriodsReport report{period_totals(lines, settings, day.span, day.today, seps), settings, day.today, year};
    if (year) report.periods = periods_of_year(report.periods, *year);
    switch (options.format) {
        case Format::Csv:
            out.write(render_periods_csv(report));
            break;
        case Format::Json:
            out.write(render_periods_json(report));
            break;
        case Format::Table:
            out.write(render_periods_table(report, seps));
            break;
    }
    return 0;
}

}  // namespace

const AllowanceSettings& tool_settings(const Session& session) {
    const LogSettings& settings = session.settings();
    if (settings.allowance_failure) throw UsageError(*settings.allowance_failure);
    return settings.allowance;
}

ReferenceDay reference_day(const LineList& lines, const std::optional<LogDate>& today) {
    const LogSpan span = log_span(lines);
    if (!today) return {span.last, span};
    if (day_number(*today) < day_number(span.first)) {
        throw UsageError("--today: " + iso_date(*today) + " is before the log's first line (" +
                         english_date(span.first) + ")");
    }
    return {*today, span};
}

std::string render_allowance_table(const AllowanceFigures& f, const AllowanceSettings& settings,
                                   std::optional<long double> warn, const Separators& seps, bool stale,
                                   const Staleness& staleness) {
    std::string out = "Billing period " + english_date(f.period.start) + " to " + english_date(f.period.end) + "\n";
    out += "Day " + std::to_string(f.day) + " of " + std::to_string(f.period.days()) + " (" + english_date(f.today) +
           "), " + std::to_string(f.days_left) + (f.days_left == 1 ? " day" : " days") + " left; counting " +
           counted_text(settings.counts) + "\n\n";
    out += column_lines(figure_rows(f, settings.units, seps), "LRL");
    out += "\nStatus: " + status_text(f, warn, seps) + "\n";
    if (stale) out += "Stale:  " + stale_text(staleness) + "; the meter may have stopped writing\n";
    return out;
}

std::string render_allowance_json(const AllowanceFigures& f, const AllowanceSettings& settings,
                                  const Staleness& staleness) {
    nlohmann::ordered_json doc = allowance_json_head("allowance", f.today, settings);
    doc["period"] = period_json(f);
    doc["last_line"] = iso_date(staleness.last_line);
    doc["stale_days"] = staleness.days;
    bool overflow = set_bytes(doc, "limit_bytes", f.limit);
    overflow |= set_bytes(doc, "download_bytes", whole_bytes(f.download));
    overflow |= set_bytes(doc, "upload_bytes", whole_bytes(f.upload));
    overflow |= set_bytes(doc, "used_bytes", whole_bytes(f.used));
    doc["percent"] = json_number(round2(f.percent));
    overflow |= set_bytes(doc, "left_bytes", whole_bytes(f.left));
    doc["per_day_left_bytes"] = nullptr;
    if (f.per_day_left) overflow |= set_bytes(doc, "per_day_left_bytes", whole_bytes(*f.per_day_left));
    overflow |= set_bytes(doc, "estimate_bytes", whole_bytes(f.estimate));
    doc["status"] = status_name(f.status);
    mark_overflow(doc, overflow);
    return doc.dump(2) + "\n";
}

int allowance_status(const AllowanceFigures& figures, std::optional<long double> warn, bool stale) {
    if (figures.status == AllowanceStatus::Over) return kStatusOver;
    if (stale) return kStatusStale;
    if (figures.status == AllowanceStatus::Pace) return kStatusPace;
    return warn && has_reached(figures, *warn) ? kStatusPace : 0;
}

int write_allowance(const Options& options, const Session& session, const Separators& seps, Output& out,
                    std::ostream& err) {
    const AllowanceOptions& given = options.allowance_options;
    const AllowanceSettings& settings = tool_settings(session);
    const LineList& lines = session.lines();
    if (options.periods) return write_periods(options, lines, settings, seps, out);
    require_limit(settings);
    const ReferenceDay day = reference_day(lines, given.today);
    const AllowanceFigures figures = allowance_figures(lines, settings, day.today, seps);
    const Staleness staleness = log_staleness(day.span.last, session.today().value_or(day.span.last));
    // A day given stands for today: the log is judged as of that day.
    const bool stale = !given.today && staleness.stale();
    if (stale) err << error_line("loglezer-stats", "the log is stale: " + stale_text(staleness) + ".");
    // warn= of [allowance] stands in for --warn when that is not given.
    const std::optional<long double> warn = given.warn ? given.warn : settings.warn;
    out.write(options.format == Format::Json ? render_allowance_json(figures, settings, staleness)
                                             : render_allowance_table(figures, settings, warn, seps, stale, staleness));
    return allowance_status(figures, warn, stale);
}

}  // namespace loglezer::cli
