#include "cli/run.h"

#include <unistd.h>

#include <clocale>
#include <exception>
#include <iostream>
#include <new>

#include "cli/allowance_report.h"
#include "cli/arguments.h"
#include "cli/check_report.h"
#include "cli/source_output.h"
#include "cli/top_report.h"
#include "cli/view_output.h"
#include "frontend/messages.h"
#include "log/failure.h"
#include "log/log_file.h"
#include "session/session.h"
#include "settings/log_lookup.h"
#include "text/terminal_text.h"

namespace loglezer::cli {
namespace {

constexpr const char* kProgram = "loglezer-stats";

// Where the environment names a locale the C library does not have, the
// amounts are read with C's "." though the user may expect the locale's.
void warn_if_not_installed(const NumericLocale& locale, std::ostream& err) {
    if (locale.installed) return;
    err << "loglezer-stats: the locale " << message_text(locale.name) << " is not installed; reading amounts with \""
        << locale.separators.decimal << "\" as the decimal point\n";
}

// The run of parsed options that ask for the log: the status, with the
// output written to `out`.
int run_on_log(const Options& options, Output& plain_out, std::ostream& err, const LogPlaces& places,
               const Separators& seps, const Clock& today) {
    // The log's name as given or as a log.ini writes it, for the messages; a
    // failure to read it names no line.
    std::string name;
    Session session(
        {places, options.log, {options.units, options.allowance_options.given}, seps, today, options.interface});
    SourceOutput out(plain_out, session.source(), options.format);
    try {
        name = log_name(places, options.log);
        if (!session.locate()) {
            err << missing_log_line(kProgram, places, options.log);
            return 2;
        }
        session.read_log();
        for (const std::string& warning : session.warnings()) err << error_line(kProgram, warning);
        const LineList& lines = session.lines();
        if (options.check) return write_check(lines, name, options.format, seps, out);
        if (options.allowance || options.periods) return write_allowance(options, session, seps, out, err);
        if (options.top) {
            if (const std::optional<std::string>& failure = session.settings().units_failure) throw Failure(*failure);
            out.write(top_output(options, lines, seps, session.settings().units));
        } else {
            out.write(view_output(options, session, seps));
        }
        return 0;
    } catch (const UsageError& e) {
        err << error_line(kProgram, e.what());
        return 1;
    } catch (const Failure& failure) {
        err << failure_line(kProgram, failure, name, failure.what(), &session.lines());
        return 1;
    }
}

}  // namespace

int run(const std::vector<std::string>& args, Output& out, std::ostream& err, const LogPlaces& places,
        const NumericLocale& locale, const Clock& today) {
    Options options;
    try {
        options = parse_arguments(args);
        if (options.vnstat) options.log = vnstat_database(places.vnstat).string();
    } catch (const UsageError& e) {
        err << error_line(kProgram, e.what());
        return 1;
    }
    try {
        int status = 0;
        if (options.help) {
            out.write(kUsage);
        } else if (options.version) {
            out.write(std::string(kProgram) + " " + LOGLEZER_VERSION + "\n");
        } else {
            warn_if_not_installed(locale, err);
            status = run_on_log(options, out, err, places, locale.separators, today);
        }
        out.flush();
        return status;
    } catch (const Failure& failure) {
        // Output that could not be written.
        err << error_line(kProgram, failure.what());
        return 1;
    }
}

int run_program(int argc, char** argv) {
    try {
        // The C library's messages (a write's reason) in the user's language.
        // The numbers of the output do not follow it.
        std::setlocale(LC_ALL, "");
        const NumericLocale locale = numeric_locale();
        const std::vector<std::string> args(argv + 1, argv + argc);
        DescriptorOutput out(STDOUT_FILENO);
        return run(args, out, std::cerr, LogPlaces{working_directory(), user_log_ini(), vnstat_places()}, locale,
                   system_today);
    } catch (const std::bad_alloc&) {
        // Written without taking memory: there is none to take.
        static constexpr char kMessage[] = "loglezer-stats: out of memory\n";
        const ssize_t written = ::write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
        static_cast<void>(written);  // a message that cannot be written has no one to go to
        return 1;
    } catch (const std::exception& e) {
        std::cerr << error_line(kProgram, e.what());
        return 1;
    }
}

}  // namespace loglezer::cli
