#pragma once

#include <string>

namespace loglezer {

// Which selectors an option of the radio group shows: "Per jaar" hides both,
// "Per maand" shows the year, "Per dag" both.
struct SelectorVisibility {
    bool year;
    bool month;
};
SelectorVisibility selector_visibility(int option);

// The program's title: the executable's file name without its folder, cut
// before its first ".", every letter after the first in lower case.
std::string program_title(const std::string& executable_path);

// The text a failure box shows: the message, with "." appended when its last
// character sorts after ".".
std::string failure_text(const std::string& message);

}  // namespace loglezer
