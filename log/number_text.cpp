#include "log/number_text.h"

#include <locale.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "log/failure.h"

namespace loglezer {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The "C" locale, so that the conversion reads "." whatever locale the
// process runs under; the text is rewritten with "." before it is converted.
locale_t c_locale() {
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

}  // namespace

long double text_to_float(std::string_view text, const Separators& seps) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && text[i] == ' ') ++i;
    const std::size_t start = i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t int_begin = i;
    while (i < n && is_digit(text[i])) ++i;
    const std::size_t int_end = i;
    if (int_end == int_begin) fail_float(text);
    bool simple = true;  // digits only, no fraction or exponent
    std::size_t frac_pos = std::string_view::npos;
    if (i < n && text[i] == seps.decimal) {
        frac_pos = i++;
        const std::size_t frac_begin = i;
        while (i < n && is_digit(text[i])) ++i;
        if (i == frac_begin) fail_float(text);
        simple = false;
    }
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        const std::size_t exp_begin = i;
        while (i < n && is_digit(text[i])) ++i;
        if (i == exp_begin) fail_float(text);
        simple = false;
    }
    const std::size_t number_end = i;
    while (i < n && text[i] == ' ') ++i;
    if (i != n) fail_float(text);

    // Byte counts are whole numbers of at most 19 digits: exact in 64 bits,
    // and exact again in the 64-bit significand of long double.
    if (simple && int_end - int_begin <= 19) {
        std::uint64_t v = 0;
        for (std::size_t k = int_begin; k < int_end; ++k) v = v * 10 + static_cast<unsigned>(text[k] - '0');
        const long double r = static_cast<long double>(v);
        return negative ? -r : r;
    }

    std::string c_text(text.substr(start, number_end - start));
    if (frac_pos != std::string_view::npos) c_text[frac_pos - start] = '.';
    errno = 0;
    char* endp = nullptr;
    const long double r = strtold_l(c_text.c_str(), &endp, c_locale());
    if (endp != c_text.c_str() + c_text.size() || (errno == ERANGE && std::isinf(r))) fail_float(text);
    // Every figure shown is a double: an amount beyond its range would show
    // as infinity in the charts, the totals and the records.
    if (std::fabs(r) > static_cast<long double>(std::numeric_limits<double>::max())) fail_float(text);
    return r;
}

std::optional<int> parse_int(std::string_view text) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && text[i] == ' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == n) return std::nullopt;
    long long v = 0;
    for (; i < n; ++i) {
        if (!is_digit(text[i])) return std::nullopt;
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > INT_MAX || v < INT_MIN) return std::nullopt;
    return static_cast<int>(v);
}

int text_to_int(std::string_view text) {
    const std::optional<int> v = parse_int(text);
    if (!v) fail_integer(text);
    return *v;
}

}  // namespace loglezer
