#pragma once

#include <string>
#include <string_view>

#include "log/separators.h"

namespace loglezer {

// The one rule that turns a locale's decimal and group separator texts into
// the separators the program reads and writes numbers with. A text is read
// as UTF-8 when it is valid UTF-8, else as one Latin-1 byte. A separator in Latin-1 is taken as it is; one outside it
// is written as its look-alike: a typographic apostrophe (de_CH) as "'", any other group separator (the narrow no-break
// space of fr_FR) as a blank, a decimal separator as ".". An empty decimal text gives "."; an empty group text gives no
// grouping. A group separator equal to the decimal one is replaced by the other of "." and ",".
Separators separators_from_texts(std::string_view decimal_point, std::string_view group_separator);

// The locale the program reads amounts and writes figures with: the one the
// environment names for numbers (LC_ALL, else LC_NUMERIC, else LANG; the
// first that is set and not empty), as the C library has it. The window,
// --export and loglezer-stats all take their separators from here, so that
// the three read one log alike under every environment.
struct NumericLocale {
    std::string name;       // as the environment gives it; "C" when it names none
    bool installed = true;  // false: the C library has no such locale
    Separators separators;  // the locale's; C's ("." and no grouping) when not installed
};

// Reads the environment and the C library's locale data, without changing
// the program's locale.
NumericLocale numeric_locale();

// The separators of numeric_locale().
Separators system_separators();

}  // namespace loglezer
