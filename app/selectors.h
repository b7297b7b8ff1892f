#pragma once

#include <string>

#include "stats/statistics.h"

namespace loglezer {

// The option of the radio group's button at `index`: 0 "Per jaar", 1 "Per
// maand", 2 "Per dag"; none for any other index (-1: none is checked).
PeriodOption period_option_at(int index);

// Which selectors an option of the radio group shows: "Per jaar" hides both,
// "Per maand" shows the year, "Per dag" both.
struct SelectorVisibility {
    bool year;
    bool month;
};
SelectorVisibility selector_visibility(PeriodOption option);

// The program's title: the executable's file name without its folder, cut
// before its first ".", every letter after the first in lower case.
std::string program_title(const std::string& executable_path);

// The text a failure box shows: the message, with "." appended when its last
// character sorts after ".".
std::string failure_text(const std::string& message);

}  // namespace loglezer
