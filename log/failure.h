#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace loglezer {

// Texts quoted in a message are cut to this many characters, followed by
// "...": a line of megabytes would otherwise make a box wider than any screen.
inline constexpr std::size_t kQuotedTextLimit = 100;

// The one failure type of the program. Its message is the exact text the user
// sees; the window's event boundary catches it and shows it.
class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string& message) : std::runtime_error(message) {}
};

// "'text' is not a valid floating point value"
[[noreturn]] void fail_float(std::string_view text);
// "'text' is not a valid integer value"
[[noreturn]] void fail_integer(std::string_view text);
// "'text' is not a valid date"
[[noreturn]] void fail_date(std::string_view text);
// "List index out of bounds (index)"
[[noreturn]] void fail_index(long long index);

}  // namespace loglezer
