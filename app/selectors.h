#pragma once

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

}  // namespace loglezer
