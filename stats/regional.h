#pragma once

#include <string_view>

#include "log/separators.h"

namespace loglezer {

// The one rule that turns a locale's decimal and group separator texts into
// the separators the program reads and writes numbers with. The window gives
// it Qt's texts and loglezer-stats the C library's, so both write the same
// figures. A text is read as UTF-8 when it is valid UTF-8, else as one
// Latin-1 byte. A separator in Latin-1 is taken as it is; one outside it is
// written as its look-alike: a typographic apostrophe (de_CH) as "'", any
// other group separator (the narrow no-break space of fr_FR) as a blank, a
// decimal separator as ".". An empty decimal text gives "."; an empty group
// text gives no grouping. A group separator equal to the decimal one is
// replaced by the other of "." and ",".
Separators separators_from_texts(std::string_view decimal_point, std::string_view group_separator);

// The separators of the C library's locale, taken from the environment
// (setlocale(LC_ALL, "")).
Separators separators_from_locale();

}  // namespace loglezer
