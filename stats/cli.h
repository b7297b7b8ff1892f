#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "log/separators.h"
#include "stats/chart_model.h"
#include "stats/check.h"
#include "stats/cli_output.h"
#include "stats/regional.h"
#include "stats/statistics.h"
#include "stats/terminal_text.h"
#include "stats/top_days.h"

namespace loglezer::cli {

// A command line that cannot be run; the text says why.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

enum class Format { Table, Csv, Json };

struct Options {
    bool help = false;
    bool version = false;
    bool check = false;               // --check: the log's faults instead of a view
    std::optional<long long> top;     // --top N: the N largest days
    std::optional<std::string> year;  // --year: the text of the year selector
    std::optional<int> month;         // --month: 1..12
    std::optional<std::string> log;   // --log: the log file, instead of looking it up
    Format format = Format::Table;
};

// Reads the arguments after the program name. Throws UsageError.
Options parse_arguments(const std::vector<std::string>& args);

// The exact figures of the per-year view, for scripts: the totals and the
// records in bytes, and the days of the records as ISO dates (nothing when
// that line's date is no day of the calendar).
struct ExactFigures {
    long double total_download = 0, total_upload = 0;
    long double record_download = 0, record_upload = 0;
    std::optional<std::string> record_download_date, record_upload_date;
};

// What the charts and labels show after a run.
struct View {
    std::string name;  // "jaar", "maand" or "dag"
    const ChartModel& download;
    const ChartModel& upload;
    std::optional<LabelCaptions> captions;             // the per-year view's totals and records
    std::optional<ExactFigures> exact = std::nullopt;  // with the captions
    int year = 0;                                      // of the per-month and per-day views
    int month = 0;                                     // of the per-day view
};

// The table and CSV pass log texts through terminal_text; JSON escapes them.
// CSV and JSON add each bar's date (ISO: "2023", "2023-03", "2023-03-14";
// empty or null when its label names none) and its amounts in bytes.
std::string render_table(const View& view, const Separators& seps);
std::string render_csv(const View& view);
std::string render_json(const View& view);

// The report of --check as text: one line "FILE:LINE: text" per problem,
// written as the check finds it, then "N lines, M problems". `file` is the
// log's name as messages show it.
std::string check_problem_line(const CheckProblem& problem, std::string_view file);
std::string check_count_line(const CheckCounts& counts);

// The report of --check as JSON. It holds the first kKeptProblems problems,
// so that its size does not grow with a log's damage, and the count of all.
inline constexpr std::size_t kKeptProblems = 1000;
class CheckJson {
public:
    void add(const CheckProblem& problem);
    std::string render(const CheckCounts& counts) const;

private:
    std::vector<CheckProblem> kept_;
};

// The --top view: both lists, each day with its ISO date, its gigabytes with
// two decimals and its bytes; `year` names the year they are of.
std::string render_top_table(const TopDays& top, std::optional<int> year, const Separators& seps);
std::string render_top_csv(const TopDays& top);
std::string render_top_json(const TopDays& top, std::optional<int> year);

inline constexpr const char* kUsage =
    "Usage: loglezer-stats [--year YEAR [--month MONTH]] [--log FILE] [--csv | --json]\n"
    "       loglezer-stats --top N [--year YEAR] [--log FILE] [--csv | --json]\n"
    "       loglezer-stats --check [--log FILE] [--json]\n"
    "\n"
    "Prints what the log viewer's charts and labels show.\n"
    "  (no option)               per year, with the totals and records\n"
    "  --year YEAR               per month of YEAR\n"
    "  --year YEAR --month MONTH per day of MONTH of YEAR: 1 to 12, or a Dutch or\n"
    "                            English month name (Maart, March, Mar)\n"
    "  --top N                   the N days (1 to 999999999) with the largest\n"
    "                            download and those with the largest upload (of\n"
    "                            YEAR with --year)\n"
    "  --check                   every line's problems as FILE:LINE: text, then\n"
    "                            a count; exit status 1 when there is one; with\n"
    "                            --json the first 1000 and problems_total\n"
    "  --log FILE                read FILE instead of the log named by log.ini\n"
    "  --csv                     date,label,download_gb,upload_gb,download_bytes,\n"
    "                            upload_bytes, with \".\" as the decimal point\n"
    "  --json                    format, view, titles, bars (and totals, records);\n"
    "                            an amount beyond the range of a double is written\n"
    "                            as 1.7976931348623157e+308 and its object gets\n"
    "                            \"overflow\": true\n"
    "  --help, --version\n"
    "  --                        ends the options\n"
    "\n"
    "Amounts are read, and the table written, with the decimal and thousands\n"
    "separators of the locale LC_ALL, LC_NUMERIC or LANG names (the first set).\n"
    "\n"
    "Exit status: 0 done, 1 a failure (message on standard error) or a problem\n"
    "found by --check, 2 log not found.\n";

// Runs the command: loads the log, runs the start-up statistics and the
// asked view, and writes it to `out`. Failures go to `err` only, output
// that cannot be written too. The amounts are read and the table's figures
// written with the locale's separators. Returns the exit status: 0, 1 on a
// failure, a usage error or a problem --check found, 2 when the log is
// missing.
int run(const std::vector<std::string>& args, Output& out, std::ostream& err, const std::filesystem::path& working_dir,
        const NumericLocale& locale);

}  // namespace loglezer::cli
