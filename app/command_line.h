#pragma once

#include <optional>
#include <string>
#include <vector>

namespace loglezer {

// What the viewer's command line asks for. Read before any application
// object exists, so that --help and --version work without a display.
struct CommandLine {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    // The log named on the command line, byte for byte as it was given.
    std::optional<std::string> log_file;
    // Printed before the program ends: on standard output for the help and
    // the version, on standard error for a usage error.
    std::string message;
    int exit_code = 0;
};

// Reads the arguments, the program's name first: `loglezer [LOGFILE]`,
// `--help` (or `-h`), `--version`. An unknown option or a second log is a
// usage error (exit code 1) whose message points to --help.
CommandLine parse_command_line(const std::vector<std::string>& args);

}  // namespace loglezer
