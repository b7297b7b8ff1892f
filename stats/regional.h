#pragma once

#include "log/separators.h"

namespace loglezer {

// The user's regional separators from the C library locale: sets the locale
// from the environment (setlocale(LC_ALL, "")), then takes the decimal point
// and the thousands separator. A separator that is unset, empty or longer
// than one byte gives "." for the decimal point and "," for the thousands
// separator; should the thousands separator then equal the decimal one, the
// other of "." and "," is taken.
Separators separators_from_locale();

// The same rule applied to the two texts a locale gives.
Separators separators_from_texts(const char* decimal_point, const char* thousands_sep);

}  // namespace loglezer
