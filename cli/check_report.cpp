#include "cli/check_report.h"

#include <nlohmann/json.hpp>

#include "cli/table_text.h"
#include "text/terminal_text.h"

namespace loglezer::cli {
namespace {

std::string counted(long long count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string check_problem_line(const CheckProblem& problem, std::string_view file, std::string_view line_name) {
    std::string line(file);
    line += ':';
    // A database's row by its name, a file's line by its number.
    line += line_name.empty() ? std::to_string(problem.line + 1) : " " + std::string(line_name);
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

int write_check(const LineList& lines, const std::string& log_name, Format format, const Separators& seps,
                Output& out) {
    CheckCounts counts;
    if (format == Format::Json) {
        CheckJson json;
        counts = check_log(lines, seps, [&json](const CheckProblem& problem) { json.add(problem); });
        out.write(json.render(counts));
    } else {
        const std::string file = message_text(log_name);
        counts = check_log(lines, seps, [&](const CheckProblem& problem) {
            out.write(check_problem_line(problem, file, lines.line_name(problem.line)));
        });
        out.write(check_count_line(counts));
    }
    return counts.problems == 0 ? 0 : 1;
}

}  // namespace loglezer::cli
