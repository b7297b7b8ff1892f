#pragma once

namespace loglezer {

// The user's regional separators. Passed to whatever converts or writes
// numbers; never read from a global. The window fills it from the system
// locale.
struct Separators {
    char decimal = '.';
    char thousands = ',';
};

}  // namespace loglezer
