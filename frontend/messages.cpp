#include "frontend/messages.h"

#include <cctype>

#include "log/log_file.h"
#include "settings/log_lookup.h"
#include "text/terminal_text.h"

namespace loglezer {

std::string error_line(std::string_view program, std::string_view message) {
    return std::string(program) + ": " + message_text(message) + "\n";
}

std::string failure_line(std::string_view program, const Failure& failure, std::string_view log_name,
                         std::string_view message, const LineList* lines) {
    const std::optional<long long> line = failure.line();
    if (!line) return error_line(program, message);
    if (const std::string_view name = lines ? lines->line_name(*line) : std::string_view(); !name.empty()) {
        return std::string(program) + ": " + message_text(log_name) + ": " + message_text(name) + ": " +
               message_text(message) + "\n";
    }
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

std::string program_title(const std::string& executable_path) {
    std::string name = executable_path;
    const auto slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const auto dot = name.find('.');
    if (dot != std::string::npos) name.erase(dot);
    for (std::size_t i = 1; i < name.size(); ++i) {
        name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    }
    return name;
}

std::string failure_text(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) {
        return message + ".";
    }
    return message;
}

}  // namespace loglezer
