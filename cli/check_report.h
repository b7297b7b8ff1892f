#pragma once

// The --check report: every problem of the log's lines, then a count.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "cli/arguments.h"
#include "cli/output.h"
#include "log/line_list.h"
#include "log/separators.h"
#include "stats/check.h"

namespace loglezer::cli {

// The report as text: one line "FILE:LINE: text" per problem, written as
// the check finds it, then "N lines, M problems". `file` is the log's name
// as messages show it; a line with a name (LineList::line_name) is "FILE:
// NAME: text".
std::string check_problem_line(const CheckProblem& problem, std::string_view file, std::string_view line_name = {});
std::string check_count_line(const CheckCounts& counts);

// The report as JSON. It holds the first kKeptProblems problems, so that its
// size does not grow with a log's damage, and the count of all.
inline constexpr std::size_t kKeptProblems = 1000;
class CheckJson {
public:
    void add(const CheckProblem& problem);
    std::string render(const CheckCounts& counts) const;

private:
    std::vector<CheckProblem> kept_;
};

// Checks the log and writes the report in `format` (the table's form is the
// text) to `out`: the text form each problem as it is found, the JSON form
// when the check is done. `log_name` is the log's name as it was given.
// Returns the exit status: 0 without a problem, else 1.
int write_check(const LineList& lines, const std::string& log_name, Format format, const Separators& seps, Output& out);

}  // namespace loglezer::cli
