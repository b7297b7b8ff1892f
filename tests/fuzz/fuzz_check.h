#pragma once

// What every fuzz target asks of a failure: it is the program's own failure
// type carrying one of the program's own messages. Anything else that
// escapes a target (another exception type, a crash) is reported by the
// fuzzer itself.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "log/failure.h"

namespace loglezer::fuzz {

inline bool ends_with(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// "'text' is not a valid ...", the text at most the quote limit long (then
// followed by "...").
inline bool is_quoted_message(std::string_view m) {
    for (std::string_view tail :
         {"' is not a valid floating point value", "' is not a valid integer value", "' is not a valid date"}) {
        if (m.size() < 1 + tail.size() || m.front() != '\'' || !ends_with(m, tail)) continue;
        const std::size_t quoted = m.size() - 1 - tail.size();
        if (quoted <= kQuotedTextLimit) return true;
        return quoted == kQuotedTextLimit + 3 && ends_with(m.substr(0, m.size() - tail.size()), "...");
    }
    return false;
}

// "List index out of bounds (n)"
inline bool is_index_message(std::string_view m) {
    constexpr std::string_view head = "List index out of bounds (";
    if (m.substr(0, head.size()) != head || !ends_with(m, ")")) return false;
    std::string_view n = m.substr(head.size(), m.size() - head.size() - 1);
    if (!n.empty() && n.front() == '-') n.remove_prefix(1);
    if (n.empty()) return false;
    for (char c : n) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

inline bool is_open_message(std::string_view m) { return m.substr(0, 18) == "Cannot open file \""; }

// Aborts, so that the fuzzer keeps the input, when the message is none of
// the program's.
inline void check_failure(const Failure& failure) {
    const std::string_view m = failure.what();
    if (is_quoted_message(m) || is_index_message(m) || is_open_message(m)) return;
    std::fprintf(stderr, "not one of the program's messages: %s\n", failure.what());
    std::abort();
}

// Runs one operation; a failure must be one of the program's messages.
template <class F>
bool run_checked(F&& operation) {
    try {
        operation();
        return true;
    } catch (const Failure& failure) {
        check_failure(failure);
        return false;
    }
}

inline void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

}  // namespace loglezer::fuzz
