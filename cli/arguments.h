#pragma once

// loglezer-stats' command line: what it asks for, and its help text.
#include <optional>
#include <string>
#include <vector>

#include "allowance/allowance.h"
#include "frontend/usage_error.h"
#include "text/dates.h"
#include "text/number_format.h"

namespace loglezer::cli {

enum class Format { Table, Csv, Json };

// The options of --allowance and --periods.
struct AllowanceOptions {
    GivenAllowance given;             // --limit, --start-day, --counts, each over its key of log.ini
    std::optional<LogDate> today;     // --today: the reference day
    std::optional<long double> warn;  // --warn: a percentage above 0, up to 100
};

struct Options {
    bool help = false;
    bool version = false;
    bool check = false;      // --check: the log's faults instead of a view
    bool allowance = false;  // --allowance: the current billing period
    bool periods = false;    // --periods: the billing periods of the log
    AllowanceOptions allowance_options;
    std::optional<long long> top;          // --top N: the N largest days
    std::optional<std::string> year;       // --year: the text of the year selector
    std::optional<int> month;              // --month: 1..12
    std::optional<std::string> log;        // --log: the log file, instead of looking it up
    bool vnstat = false;                   // --vnstat: vnStat's database as the log
    std::optional<std::string> interface;  // --interface: of a vnStat database
    std::optional<UnitMode> units;         // --units: over the key units of [display] in log.ini
    Format format = Format::Table;
};

// Reads the arguments after the program name. Throws UsageError.
Options parse_arguments(const std::vector<std::string>& args);

inline constexpr const char* kUsage =
    "Usage: loglezer-stats [--year YEAR [--month MONTH]] [--log FILE] [--units U] [--csv | --json]\n"
    "       loglezer-stats --top N [--year YEAR] [--log FILE] [--units U] [--csv | --json]\n"
    "       loglezer-stats --check [--log FILE] [--json]\n"
    "       loglezer-stats --allowance [SETTINGS] [--warn PERCENT] [--log FILE] [--json]\n"
    "       loglezer-stats --periods [--year YEAR] [SETTINGS] [--log FILE] [--csv | --json]\n"
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
    "  --allowance               the current billing period against the limit:\n"
    "                            used, left, per day left, the estimate for the\n"
    "                            period and its status (under, pace or over)\n"
    "  --periods                 every billing period of the log, with --year\n"
    "                            those starting in YEAR\n"
    "  SETTINGS, each over its key in the section [allowance] of log.ini:\n"
    "  --limit AMOUNT            the allowance of a period: a number (\".\" or \",\"\n"
    "                            as the decimal point) and a unit as the\n"
    "                            contract writes it: B, KB, MB, GB or TB (powers\n"
    "                            of 1000), KiB, MiB, GiB or TiB (powers of 1024);\n"
    "                            GB when none: 500GB, 1,5 TB, 120 GiB\n"
    "  --start-day D             the day (1 to 31) a period starts on, in a\n"
    "                            shorter month its last day (1)\n"
    "  --counts WHAT             download, upload or both, their sum (both)\n"
    "  --today YYYY-MM-DD        the reference day, instead of the last line's\n"
    "  --warn PERCENT            exit status 3 also when the use has reached\n"
    "                            PERCENT of the limit\n"
    "  --log FILE                read FILE instead of the log named by log.ini;\n"
    "                            a SQLite file is read as a vnStat database\n"
    "  --vnstat                  read vnStat's database, in the DatabaseDir of\n"
    "                            ~/.vnstatrc or /etc/vnstat.conf, else\n"
    "                            /var/lib/vnstat\n"
    "  --interface NAME          a vnStat database's interface: its name or\n"
    "                            alias, or NAME+NAME for the sum of several\n"
    "  --units U                 binary (the default: a GB is 1024^3 bytes, as the\n"
    "                            viewer has always counted) or decimal (10^9) for\n"
    "                            the GB figures of the views and --top, over the\n"
    "                            key units of [display] in log.ini\n"
    "  --csv                     date,label,download_gb,upload_gb,download_bytes,\n"
    "                            upload_bytes, with \".\" as the decimal point;\n"
    "                            with --periods start,end,download_bytes,\n"
    "                            upload_bytes,used_bytes,percent,days_with_line,\n"
    "                            days,current\n"
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
    "found by --check, 2 log not found; with --allowance 3 when the estimate\n"
    "is over the limit (or --warn's percentage is reached), 4 when the use is.\n";

}  // namespace loglezer::cli
