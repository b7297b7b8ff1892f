#include "text/value_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "text/number_format.h"

namespace loglezer {

namespace {

bool is_digit_place(char c) { return c == '0' || c == '#'; }

// What a pattern asks for, read once.
struct Pattern {
    std::string prefix;     // characters before the first digit place, point or comma
    std::string suffix;     // every other character that is not a digit place, point or comma
    int min_integer = 0;    // integer digits written even when the value has none
    int max_decimals = 0;   // decimals the value is rounded to
    int min_decimals = 0;   // decimals kept even when they are trailing zeros
    bool grouping = false;  // any comma: group the integer digits by thousands
};

Pattern read_pattern(std::string_view pattern) {
    Pattern p;
    bool seen_number = false;  // a digit place, point or comma has been read
    bool after_point = false;
    int integer_places = 0;
    int leftmost_integer_zero = -1;  // index among the integer places
    for (const char c : pattern) {
        if (is_digit_place(c)) {
            seen_number = true;
            if (after_point) {
                ++p.max_decimals;
                if (c == '0') p.min_decimals = p.max_decimals;
            } else {
                if (c == '0' && leftmost_integer_zero < 0) leftmost_integer_zero = integer_places;
                ++integer_places;
            }
        } else if (c == '.') {
            seen_number = true;
            after_point = true;  // only the first point counts; later ones write nothing
        } else if (c == ',') {
            seen_number = true;
            p.grouping = true;
        } else if (seen_number) {
            p.suffix += c;
        } else {
            p.prefix += c;
        }
    }
    if (leftmost_integer_zero >= 0) p.min_integer = integer_places - leftmost_integer_zero;
    return p;
}

// The magnitude of `value` as decimal digits: 15 significant digits, the
// precision at which every double reads back as the number that was meant
// (1.005 stays 1.005 rather than 1.00499999...).
void decimal_digits(double magnitude, std::string& integer, std::string& fraction) {
    // d.dddddddddddddde[+-]xx, whatever the process's locale.
    char buf[40] = {};
    std::to_chars(buf, buf + sizeof buf - 1, magnitude, std::chars_format::scientific, 14);
    std::string digits;
    digits += buf[0];
    digits.append(buf + 2, 14);
    const int exponent = std::atoi(buf + 17);
    const int integer_length = exponent + 1;
    const int n = static_cast<int>(digits.size());
    if (integer_length <= 0) {
        integer.clear();
        fraction = std::string(static_cast<std::size_t>(-integer_length), '0') + digits;
    } else if (integer_length >= n) {
        integer = digits + std::string(static_cast<std::size_t>(integer_length - n), '0');
        fraction.clear();
    } else {
        integer = digits.substr(0, static_cast<std::size_t>(integer_length));
        fraction = digits.substr(static_cast<std::size_t>(integer_length));
    }
}

// Rounds integer.fraction to `decimals` places, half away from zero.
void round_to(std::string& integer, std::string& fraction, int decimals) {
    const auto keep = static_cast<std::size_t>(decimals);
    if (fraction.size() <= keep) return;
    const bool up = fraction[keep] >= '5';
    fraction.resize(keep);
    if (!up) return;
    for (auto it = fraction.rbegin(); it != fraction.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    for (auto it = integer.rbegin(); it != integer.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    integer.insert(integer.begin(), '1');
}

std::string group_thousands(const std::string& integer, char separator) {
    std::string out;
    const std::size_t n = integer.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += separator;
        out += integer[i];
    }
    return out;
}

}  // namespace

std::string format_value(double value, std::string_view pattern, const Separators& seps) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

    const Pattern p = read_pattern(pattern);
    std::string integer;
    std::string fraction;
    decimal_digits(std::fabs(value), integer, fraction);
    round_to(integer, fraction, p.max_decimals);

    // Leading zeros are not digits of the value; the pattern's zero places
    // put back as many as they ask for.
    const std::size_t first = integer.find_first_not_of('0');
    integer.erase(0, first == std::string::npos ? integer.size() : first);
    // Trailing zeros of the decimals go unless a zero place keeps them.
    while (static_cast<int>(fraction.size()) > p.min_decimals && !fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    const bool shows_nonzero =
        integer.find_first_not_of('0') != std::string::npos || fraction.find_first_not_of('0') != std::string::npos;
    if (static_cast<int>(integer.size()) < p.min_integer) {
        integer.insert(0, static_cast<std::size_t>(p.min_integer) - integer.size(), '0');
    }

    std::string out;
    if (value < 0 && shows_nonzero) out += '-';
    out += p.prefix;
    const bool grouping = p.grouping && seps.thousands != Separators::kNoGrouping;
    out += grouping ? group_thousands(integer, seps.thousands) : integer;
    if (!fraction.empty()) {
        out += seps.decimal;
        out += fraction;
    }
    out += p.suffix;
    return out;
}

std::string gigabytes_text(double gigabytes, const Separators& seps) {
    return format_value(gigabytes, "#,##0.00 GB", seps);
}

AmountUnit amount_unit(long double bytes, UnitMode units) {
    const long double step = unit_step(units);
    const long double giga = step * step * step;
    const bool binary = units == UnitMode::Binary;
    if (std::fabs(bytes) >= giga * step) return {giga * step, binary ? "TiB" : "TB"};
    return {giga, binary ? "GiB" : "GB"};
}

std::string amount_text(long double bytes, UnitMode units, const Separators& seps) {
    const AmountUnit unit = amount_unit(bytes, units);
    return format_value(round2(bytes / unit.bytes), "#,##0.00", seps) + " " + unit.name;
}

}  // namespace loglezer
