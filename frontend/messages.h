#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "log/failure.h"
#include "log/log_file.h"
#include "settings/log_lookup.h"

namespace loglezer {

// The lines the programs without a window (the export and loglezer-stats)
// write to standard error, each ending in a line break; `program` is the
// program's name, "loglezer" or "loglezer-stats".

// "PROGRAM: message", the message as terminal text (message_text).
std::string error_line(std::string_view program, std::string_view message);

// A failure: "PROGRAM: FILE:LINE: message" when it happened on a log line
// (counted from 1, as compilers do), else "PROGRAM: message". FILE is the
// log's name as it was given (log_name); `message` is the failure's text as
// the program words it. The name and the message are each terminal text.
// A line with a name (a database's row, LineList::line_name) is named
// "FILE: NAME" instead.
std::string failure_line(std::string_view program, const Failure& failure, std::string_view log_name,
                         std::string_view message, const LineList* lines = nullptr);

// The log is missing: "PROGRAM: Kan de logfile niet vinden! (PATH)", PATH
// where it was looked for (missing_log_path).
std::string missing_log_line(std::string_view program, const LogPlaces& places,
                             const std::optional<std::string>& named);

// The program's title: the executable's file name without its folder, cut
// before its first ".", every letter after the first in lower case.
std::string program_title(const std::string& executable_path);

// The text a failure box shows: the message, with "." appended when its last
// character sorts after ".".
std::string failure_text(const std::string& message);

}  // namespace loglezer
