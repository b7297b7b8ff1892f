#pragma once

#include <functional>
#include <string>
#include <vector>

#include "log/line_list.h"
#include "log/shared_state.h"

namespace loglezer {

// Which selectors an option of the radio group shows: "Per jaar" hides both,
// "Per maand" shows the year, "Per dag" both.
struct SelectorVisibility {
    bool year;
    bool month;
};
SelectorVisibility selector_visibility(int option);

// The months of the chosen year as the month selector lists them: from the
// first line whose year number equals the year read from `year_text` (read
// and converted again before each line is examined), one Dutch name per run
// of lines with the same month abbreviation, up to and including the first
// "December" appended or the end of the log. Failures: the year text or a
// line's year is no whole number; no line carries the year ("List index out
// of bounds (count)"). The current month name is left as the last name added.
std::vector<std::string> collect_months(const LineList& lines, const std::function<std::string()>& year_text,
                                        SharedState& shared);

// The program's title: the executable's file name without its folder, cut
// before its first ".", every letter after the first in lower case.
std::string program_title(const std::string& executable_path);

// The text a failure box shows: the message, with "." appended when its last
// character sorts after ".".
std::string failure_text(const std::string& message);

}  // namespace loglezer
