#include "log/failure.h"

namespace loglezer {
std::string quoted(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return "'" + std::string(text) + "'";
    return "'" + std::string(text.substr(0, limit)) + "...'";
}

void fail_float(std::string_view text) { throw Failure(quoted(text) + " is not a valid floating point value"); }

void fail_integer(std::string_view text) { throw Failure(quoted(text) + " is not a valid integer value"); }

void fail_date(std::string_view text) { throw Failure(quoted(text) + " is not a valid date"); }

void fail_index(long long index) { throw Failure("List index out of bounds (" + std::to_string(index) + ")"); }

}  // namespace loglezer
