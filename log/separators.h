#pragma once

namespace loglezer {

// The user's regional separators. Passed to whatever converts or writes
// numbers; never read from a global. The window and loglezer-stats fill it
// from the system locale by one rule (stats/regional.h).
struct Separators {
    // A locale that groups no digits (C) writes no thousands separator.
    static constexpr char kNoGrouping = '\0';

    char decimal = '.';
    char thousands = ',';  // kNoGrouping for none
};

}  // namespace loglezer
