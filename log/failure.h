#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace loglezer {

// Texts quoted in a message are cut to this many characters, followed by
// "...": a line of megabytes would otherwise make a box wider than any screen.
inline constexpr std::size_t kQuotedTextLimit = 100;
// The limit of a text the user typed (an argument), which a message gives whole.
inline constexpr std::size_t kWholeText = std::string_view::npos;

// A text in a message, between single quotes: 'text', or the first `limit`
// characters and "..." inside the quotes when it is longer.
std::string quoted(std::string_view text, std::size_t limit = kQuotedTextLimit);

// The one failure type of the program. Its message is the exact text the user
// sees; the window's event boundary catches it and shows it.
// A failure on a log line also carries the line's index (from 0), which
// both programs name with the log's file.
class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string& message) : std::runtime_error(message) {}

    std::optional<long long> line() const { return line_; }
    // A source another program is writing just now (vnStat's database
    // locked past the wait): worth trying again a moment later.
    bool busy() const { return busy_; }
    void set_busy() { busy_ = true; }
    // Notes the line the failure happened on; the first line noted stays.
    void set_line(long long index) {
        if (!line_) line_ = index;
    }

private:
    std::optional<long long> line_;
    bool busy_ = false;
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
