#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <vector>

#include "app/command_line.h"
#include "log/separators.h"
#include "session/session.h"

namespace loglezer {

// Where an export runs: the folder log.ini, a relative log and a relative
// picture file are taken from (empty when it has been removed: then only
// absolute paths can be used), the user's log.ini (or nothing), the
// separators the marks are written with, and the streams for a picture sent
// to standard output and for messages.
struct ExportContext {
    std::filesystem::path working_dir;
    std::optional<std::filesystem::path> user_ini;
    Separators separators;
    std::ostream& out;
    std::ostream& err;
    // Where --vnstat finds vnStat's database, and the look-up's last step.
    VnstatPlaces vnstat = {};
};

// The picture of the asked chart: the start-up on the session's log, then,
// for a year, "Maak stats" with "Per maand" (or with a month, "Per dag") as
// the window runs it once that year and month are chosen, drawn unzoomed on
// white, laid out for the asked size and drawn at the asked scale, without
// the panel's button and credit, and encoded as the asked type (the JPEG of
// "Grafiek opslaan", or PNG). Throws Failure where the window would show
// one, and for a value of [display] that cannot be read.
std::vector<unsigned char> export_picture(const ExportRequest& request, Session& session, const Separators& seps);

// The picture of the current billing period for --allowance: the figures
// of the period that holds the date of the log's last line
// (allowance_chart), drawn and encoded as export_picture does. Throws
// Failure for a value of [allowance] that cannot be read, and
// Failure("--allowance needs a limit: set limit= in the section [allowance]
// of log.ini (looked in ...)") when no limit is set, and where a line
// cannot be read.
std::vector<unsigned char> export_allowance_picture(const ExportRequest& request, const Session& session,
                                                    const Separators& seps);

// Runs the export a command line asks for, with a Qt application already
// made: finds and loads the log as the window does, reads the settings of
// the display (unless --units gives them) and, for --allowance, of the
// allowance as the window does, writing to `err` what is wrong in the
// log.ini files; then writes the picture whole, never over the log, or to
// `out` for "-". Returns the exit status: 0 when written; 1 after a
// failure, whose text "loglezer: <message>" goes to `err` (as
// loglezer-stats writes it), or after an allocation failure, "loglezer: out
// of memory"; 2 when the log cannot be found.
int export_chart(const CommandLine& line, const ExportContext& context);

// The export as the program runs it: on Qt's offscreen platform, so that it
// needs no display and opens no window, in the current directory with the
// separators the environment names (system_separators), writing to the
// standard streams.
int run_export(const CommandLine& line, char* program_name);

}  // namespace loglezer
