#include "log/failure.h"

namespace loglezer {

void fail_float(std::string_view text) {
    throw Failure("'" + std::string(text) + "' is not a valid floating point value");
}

void fail_integer(std::string_view text) { throw Failure("'" + std::string(text) + "' is not a valid integer value"); }

void fail_index(long long index) { throw Failure("List index out of bounds (" + std::to_string(index) + ")"); }

}  // namespace loglezer
