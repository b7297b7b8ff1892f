#include "stats/error_line.h"

#include "log/log_file.h"
#include "stats/terminal_text.h"

namespace loglezer {

std::string error_line(std::string_view program, std::string_view message) {
    return std::string(program) + ": " + message_text(message) + "\n";
}

std::string failure_line(std::string_view program, const Failure& failure, std::string_view log_name,
                         std::string_view message) {
    const std::optional<long long> line = failure.line();
    if (!line) return error_line(program, message);
    // The name and the message each by the rule of message text: a log's
    // Latin-1 bytes in the message must not decide how a UTF-8 name reads.
    return std::string(program) + ": " + message_text(log_name) + ":" + std::to_string(*line + 1) + ": " +
           message_text(message) + "\n";
}

std::string missing_log_line(std::string_view program, const LogPlaces& places,
                             const std::optional<std::string>& named) {
    return std::string(program) + ": " + kLogMissingMessage + " (" + message_text(missing_log_path(places, named)) +
           ")\n";
}

}  // namespace loglezer
