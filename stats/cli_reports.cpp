// loglezer-stats' reports beside the views: the check of a log and the
// days with the largest amounts.
#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>

#include "stats/cli.h"
#include "stats/cli_text.h"
#include "stats/value_format.h"

namespace loglezer::cli {
namespace {

std::string counted(long long count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// One list of the --top view as table lines.
std::string top_table(const std::vector<TopDay>& days, const std::string& title, const char* amount,
                      const Separators& seps) {
    std::vector<std::array<std::string, 3>> rows = {{"Date", amount, "Bytes"}};
    for (const TopDay& day : days) {
        rows.push_back({iso_date(day.date), format_value(day.gigabytes, "#,##0.00 GB", seps), bytes_text(day.bytes)});
    }
    std::array<std::size_t, 3> widths{};
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < 3; ++i) widths[i] = std::max(widths[i], display_width(row[i]));
    }
    std::string out = title + "\n";
    for (const auto& row : rows) {
        out += pad_right(row[0], widths[0]) + "  " + pad_left(row[1], widths[1]) + "  " + pad_left(row[2], widths[2]);
        out += '\n';
    }
    return out;
}

nlohmann::ordered_json top_json(const std::vector<TopDay>& days) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const TopDay& day : days) {
        nlohmann::ordered_json item;
        item["date"] = iso_date(day.date);
        bool overflow = set_value(item, "gb", day.gigabytes);
        overflow |= set_bytes(item, "bytes", day.bytes);
        mark_overflow(item, overflow);
        list.push_back(std::move(item));
    }
    return list;
}

}  // namespace

std::string check_problem_line(const CheckProblem& problem, std::string_view file) {
    std::string line(file);
    line += ':';
    line += std::to_string(problem.line + 1);
    line += ": ";
    line += shown_text(problem.text);
    line += '\n';
    return line;
}

std::string check_count_line(const CheckCounts& counts) {
    return counted(counts.lines, "line", "lines") + ", " + counted(counts.problems, "problem", "problems") + "\n";
}

void CheckJson::add(const CheckProblem& problem) {
    if (kept_.size() < kKeptProblems) kept_.push_back(problem);
}

std::string CheckJson::render(const CheckCounts& counts) const {
    nlohmann::ordered_json doc;
    doc["lines"] = counts.lines;
    doc["problems"] = nlohmann::ordered_json::array();
    for (const CheckProblem& problem : kept_) {
        doc["problems"].push_back({{"line", problem.line + 1}, {"text", shown_text(problem.text)}});
    }
    doc["problems_total"] = counts.problems;
    doc["problems_truncated"] = counts.problems > static_cast<long long>(kept_.size());
    doc["missing_days"] = counts.missing_days;
    return doc.dump(2) + "\n";
}

std::string render_top_table(const TopDays& top, std::optional<int> year, const Separators& seps) {
    const std::string of = year ? " in " + std::to_string(*year) : std::string();
    return top_table(top.download, "Days with the largest download" + of, "Download", seps) + "\n" +
           top_table(top.upload, "Days with the largest upload" + of, "Upload", seps);
}

std::string render_top_csv(const TopDays& top) {
    std::string out = "list,rank,date,gb,bytes\n";
    for (const auto& [name, days] : {std::pair{"download", &top.download}, std::pair{"upload", &top.upload}}) {
        for (std::size_t i = 0; i < days->size(); ++i) {
            const TopDay& day = (*days)[i];
            out += std::string(name) + "," + std::to_string(i + 1) + "," + iso_date(day.date) + "," +
                   fixed_text(day.gigabytes, 2) + "," + bytes_text(day.bytes) + "\n";
        }
    }
    return out;
}

std::string render_top_json(const TopDays& top, std::optional<int> year) {
    nlohmann::ordered_json doc;
    doc["format"] = 1;
    doc["view"] = "top";
    doc["year"] = year ? nlohmann::ordered_json(*year) : nlohmann::ordered_json();
    doc["download"] = top_json(top.download);
    doc["upload"] = top_json(top.upload);
    return doc.dump(2) + "\n";
}

}  // namespace loglezer::cli
