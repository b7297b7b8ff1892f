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

bool plain_digits_value(std::string_view text, std::uint64_t& value) {
    if (text.empty() || text.size() > 19) return false;
    std::uint64_t v = 0;
    for (const char c : text) {
        const unsigned digit = static_cast<unsigned char>(c) - unsigned{'0'};
        if (digit > 9) return false;
        v = v * 10 + digit;
    }
    value = v;
    return true;
}

namespace {

// text_to_float for every text that is not plain digits.
long double grammar_to_float(std::string_view text, const Separators& seps) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && text[i] == ' ') ++i;
    const std::size_t start = i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t int_begin = i;
    while (i < n && is_digit(text[i])) ++i;
    const std::size_t int_end = i;
    if (int_end == int_begin) fail_float(text);
    std::size_t frac_pos = std::string_view::npos;
    if (i < n && text[i] == seps.decimal) {
        frac_pos = i++;
        const std::size_t frac_begin = i;
        while (i < n && is_digit(text[i])) ++i;
        if (i == frac_begin) fail_float(text);
    }
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        const std::size_t exp_begin = i;
        while (i < n && is_digit(text[i])) ++i;
        if (i == exp_begin) fail_float(text);
    }
    const std::size_t number_end = i;
    while (i < n && text[i] == ' ') ++i;
    if (i != n) fail_float(text);

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

}  // namespace

long double text_to_float(std::string_view text, const Separators& seps) {
    std::uint64_t plain = 0;
    if (plain_digits_value(text, plain)) return static_cast<long double>(plain);
    return grammar_to_float(text, seps);
}

namespace {

// The whole number of parse_int into `value`; false for any other text.
bool read_int(std::string_view text, int& value) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && text[i] == ' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == n) return false;
    long long v = 0;
    for (; i < n; ++i) {
        if (!is_digit(text[i])) return false;
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v > INT_MAX || v < INT_MIN) return false;
    value = static_cast<int>(v);
    return true;
}

}  // namespace

std::optional<int> parse_int(std::string_view text) {
    int v = 0;
    if (!read_int(text, v)) return std::nullopt;
    return v;
}

int text_to_int(std::string_view text) {
    int v = 0;
    if (!read_int(text, v)) fail_integer(text);
    return v;
}

}  // namespace loglezer
