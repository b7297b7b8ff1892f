#pragma once

// A run of loglezer-stats, from its arguments to its exit status.
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "cli/output.h"
#include "log/calendar.h"
#include "log/log_file.h"
#include "settings/log_lookup.h"
#include "text/regional.h"

namespace loglezer::cli {

// Runs the command: finds the log in `places` (unless --log names it) and loads it, runs the start-up statistics and
// the asked view, and writes it to `out`. Failures go to `err` only, output that cannot be written too. The amounts are
// read and the table's figures written with the locale's separators; `today` tells --allowance today's date. Returns
// the exit status: 0, 1 on a failure, a usage error or a problem --check found, 2 when the log is missing, and those of
// --allowance.
int run(const std::vector<std::string>& args, Output& out, std::ostream& err, const LogPlaces& places,
        const NumericLocale& locale, const Clock& today);

// The program: run with the process's arguments (after its name), working
// directory, the user's log.ini, locale and standard streams. A failure outside the run, and an
// allocation failure anywhere, end it with a message and status 1.
int run_program(int argc, char** argv);

}  // namespace loglezer::cli
