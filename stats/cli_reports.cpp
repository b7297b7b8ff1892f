// loglezer-stats' reports beside the views: the check of a log and the
// days with the largest amounts.
#include <algorithm>
#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "stats/cli.h"
#include "stats/cli_text.h"
#include "stats/value_format.h"

namespace loglezer::cli {
namespace {

std::string counted(long long count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Gigabytes with two decimals and "." as the decimal point.
std::string gigabytes_text(double gigabytes) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", gigabytes);
    return text;
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
        list.push_back(
            {{"date", iso_date(day.date)}, {"gb", json_number(day.gigabytes)}, {"bytes", json_bytes(day.bytes)}});
    }
    return list;
}

}  // namespace

std::string render_check_text(const CheckReport& report, std::string_view log_name) {
    const std::string file = message_text(log_name);
    std::string out;
    for (const CheckProblem& problem : report.problems) {
        out += file + ":" + std::to_string(problem.line + 1) + ": " + shown_text(problem.text) + "\n";
    }
    out += counted(report.lines, "line", "lines") + ", " +
           counted(static_cast<long long>(report.problems.size()), "problem", "problems") + "\n";
    return out;
}

std::string render_check_json(const CheckReport& report) {
    nlohmann::ordered_json doc;
    doc["lines"] = report.lines;
    doc["problems"] = nlohmann::ordered_json::array();
    for (const CheckProblem& problem : report.problems) {
        doc["problems"].push_back({{"line", problem.line + 1}, {"text", shown_text(problem.text)}});
    }
    doc["missing_days"] = report.missing_days;
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
                   gigabytes_text(day.gigabytes) + "," + bytes_text(day.bytes) + "\n";
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
