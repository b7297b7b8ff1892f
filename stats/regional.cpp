#include "stats/regional.h"

#include <clocale>
#include <cstring>

namespace loglezer {

Separators separators_from_texts(const char* decimal_point, const char* thousands_sep) {
    Separators seps;  // "." and ","
    if (decimal_point && std::strlen(decimal_point) == 1) seps.decimal = decimal_point[0];
    if (thousands_sep && std::strlen(thousands_sep) == 1) {
        seps.thousands = thousands_sep[0];
    } else if (seps.thousands == seps.decimal) {
        seps.thousands = seps.decimal == ',' ? '.' : ',';
    }
    return seps;
}

Separators separators_from_locale() {
    std::setlocale(LC_ALL, "");
    const std::lconv* conv = std::localeconv();
    return separators_from_texts(conv->decimal_point, conv->thousands_sep);
}

}  // namespace loglezer
