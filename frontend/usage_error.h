#pragma once

#include <stdexcept>
#include <string>

namespace loglezer {

// A command line that cannot be run, of the viewer or of loglezer-stats; the
// text says why and follows the program's name ("loglezer: ") when shown.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace loglezer
