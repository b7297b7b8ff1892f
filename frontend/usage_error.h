#pragma once

#include <string>

#include "log/failure.h"

namespace loglezer {

// A command line that cannot be run, of the viewer or of loglezer-stats: a
// failure whose text says why and follows the program's name ("loglezer: ")
// when shown, never a log's file and line.
class UsageError : public Failure {
public:
    explicit UsageError(const std::string& message) : Failure(message) {}
};

}  // namespace loglezer
