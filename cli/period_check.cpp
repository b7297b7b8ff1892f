#include "cli/period_check.h"

#include <optional>
#include <string>
#include <string_view>

#include "frontend/usage_error.h"
#include "log/failure.h"
#include "log/line_format.h"
#include "log/number_text.h"
#include "text/dates.h"

namespace loglezer::cli {
namespace {

// A line's date as a message names it: "14 June 2022", or the date field
// quoted when it is no day of the calendar.
std::string date_in_message(std::string_view line) {
    if (const auto date = read_log_date(line)) return english_date(*date);
    return quoted(up_to_comma(line), kWholeText);
}

// Fails as a command line that asks for a year or month the log has no line
// of; `what` is "2019" or "March 2019".
[[noreturn]] void fail_no_lines(const LineList& lines, const std::string& what) {
    throw UsageError("the log has no lines of " + what + " (it runs from " + date_in_message(lines.at(0)) + " to " +
                     date_in_message(lines.at(lines.count() - 1)) + ")");
}

bool has_lines_of(const LineList& lines, int year, int month) {
    // The per-day view's key, "Mar-2019": its month's abbreviation and year.
    const std::string key =
        month == 0 ? std::string() : std::string(english_month_name(month).substr(0, 3)) + "-" + std::to_string(year);
    for (long long index = 0; index < lines.count(); ++index) {
        const std::string_view line = lines.at(index);
        if (month != 0) {
            if (month_year_text(line) == key) return true;
            continue;
        }
        const std::optional<int> line_year = parse_int(year_text(line));
        if (!line_year || *line_year == year) return true;
    }
    return false;
}

}  // namespace

void require_view_lines(const LineList& lines, int year, int month) {
    if (has_lines_of(lines, year, month)) return;
    fail_no_lines(
        lines, month == 0 ? std::to_string(year) : std::string(english_month_name(month)) + " " + std::to_string(year));
}

void require_top_lines(const LineList& lines, int year) {
    for (long long index = 0; index < lines.count(); ++index) {
        if (parse_int(year_number_text(lines.at(index))) == year) return;
    }
    fail_no_lines(lines, std::to_string(year));
}

}  // namespace loglezer::cli
