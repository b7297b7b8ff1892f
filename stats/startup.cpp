#include "stats/startup.h"

#include "log/failure.h"
#include "log/line_format.h"
#include "log/month_names.h"
#include "log/number_text.h"
#include "stats/statistics.h"
#include "text/dates.h"

namespace loglezer {

std::vector<std::string> year_list(const LineList& lines) {
    std::vector<std::string> years;
    std::string_view last;
    // The text `last` as a word when a dated line gave it: a dated line with
    // the same word has the same year text, and is not read.
    std::uint32_t last_word = 0;
    for (int i = 0; i < lines.count(); ++i) {
        const std::uint32_t word = lines.dated_year(i);
        if (word != 0 && word == last_word) continue;
        const std::string_view year = year_text(lines.at(i));
        if (year != last) {
            years.emplace_back(year);
            last = year;
        }
        last_word = word;
    }
    return years;
}

namespace {

// The index of the first line whose year number is `year`. A year that is no
// whole number fails on its line, and when no line has the year the search
// fails past the last line. A dated line's year is told from the list's
// index without reading the line.
long long first_line_of_year_number(const LineList& lines, int year) {
    const YearNumberIs is_year(year);
    for (long long index = 0;; ++index) {
        if (index < lines.count()) {
            if (const std::uint32_t word = lines.dated_year(index)) {
                if (is_year.dated(word)) return index;
                continue;
            }
        }
        if (lines.noting_line(index, [&] { return is_year(lines.at(index)); })) return index;
    }
}

}  // namespace

std::vector<std::string> collect_months(const LineList& lines, const std::string& year_text, std::string& month_name) {
    const int chosen = text_to_int(year_text);
    long long index = first_line_of_year_number(lines, chosen);

    std::vector<std::string> months;
    std::string last_abbrev;
    for (; index < lines.count(); ++index) {
        const std::string_view line = lines.at(index);
        // A line of another year ends the list, so a year without a December
        // line does not list the next year's months. A line whose year is no
        // number does not.
        const std::optional<int> line_year = parse_int(year_number_text(line));
        if (line_year && *line_year != chosen) break;
        const std::string_view abbrev = month_abbrev(line);
        if (abbrev == last_abbrev) continue;
        last_abbrev = std::string(abbrev);
        if (const auto name = look_up_month(abbrev)) month_name = *name;
        months.push_back(month_name);
        if (months.back() == "December") break;
    }
    return months;
}

bool log_has_year(const LineList& lines, const std::string& year_text) {
    const std::optional<int> year = parse_int(year_text);
    if (!year) return false;
    for (long long index = 0; index < lines.count(); ++index) {
        if (parse_int(year_number_text(lines.at(index))) == year) return true;
    }
    return false;
}

std::string line_day(std::string_view line, std::string& month_name) {
    if (const auto name = look_up_month(month_abbrev(line))) month_name = *name;
    return dutch_day(day_text(line), month_name, year_number_text(line));
}

std::string build_period_text(const LineList& lines, std::string& month_name) {
    return "sinds " + line_day(copy_text(lines.at(0), 1, 11), month_name);
}

void write_year_titles(ChartModel& download, ChartModel& upload, const std::string& period_text) {
    download.clear_titles();
    download.add_title("Download per jaar " + period_text);
    upload.clear_titles();
    upload.add_title("Upload per jaar " + period_text);
}

}  // namespace loglezer
