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
#include "stats/statistics.h"

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
    std::optional<std::string> year;   // --year: the text of the year selector
    std::optional<std::string> month;  // --month: the text of the month selector
    std::optional<std::string> log;    // --log: the log file, instead of looking it up
    Format format = Format::Table;
};

// Reads the arguments after the program name. Throws UsageError.
Options parse_arguments(const std::vector<std::string>& args);

// The month selector's text for --month: a number 1 to 12 becomes that
// month's Dutch name; any other text is taken as typed.
std::string month_text_for(const std::string& month);

// What the charts and labels show after a run.
struct View {
    std::string name;  // "jaar", "maand" or "dag"
    const ChartModel& download;
    const ChartModel& upload;
    std::optional<LabelCaptions> captions;  // the per-year view's totals and records
};

// The text as it may reach a terminal: control characters (U+0000 to U+001F,
// U+007F and U+0080 to U+009F) become '?', so that no text from a log or a
// command line can clear the screen, move the cursor or set the window title.
// `utf8` must be valid UTF-8.
std::string terminal_text(std::string_view utf8);

// A message for standard error as terminal text. The message is taken as
// UTF-8 when it is valid UTF-8 and as Latin-1 log bytes otherwise, as the
// window takes it.
std::string message_text(std::string_view message);

// The table and CSV pass log texts through terminal_text; JSON escapes them.
std::string render_table(const View& view, const Separators& seps);
std::string render_csv(const View& view);
std::string render_json(const View& view);

inline constexpr const char* kUsage =
    "Usage: loglezer-stats [--year YEAR [--month MONTH]] [--log FILE] [--csv | --json]\n"
    "\n"
    "Prints what the log viewer's charts and labels show.\n"
    "  (no option)               per year, with the totals and records\n"
    "  --year YEAR               per month of YEAR\n"
    "  --year YEAR --month MONTH per day of MONTH (a Dutch month name such as\n"
    "                            Maart, or a number 1 to 12) of YEAR\n"
    "  --log FILE                read FILE instead of the log named by log.ini\n"
    "  --csv                     label,download,upload with the values in GB\n"
    "  --json                    view, titles, bars (and totals, records)\n"
    "  --help, --version\n"
    "\n"
    "Exit status: 0 done, 1 failure (message on standard error), 2 log not found.\n";

// What a run leaves for the caller: the exit status and the text for standard
// output, which the caller writes in one piece and whose loss it reports.
struct Outcome {
    int status = 0;
    std::string output;
};

// Runs the command: loads the log, runs the start-up statistics and the
// asked view. Failures go to `err` only. The status is 0, 1 on a failure or a
// usage error, 2 when the log is missing.
Outcome run(const std::vector<std::string>& args, std::ostream& err, const std::filesystem::path& working_dir,
            const Separators& seps);

}  // namespace loglezer::cli
