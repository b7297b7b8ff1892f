#include "log/number_text.h"

#include <locale.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "log/failure.h"
#include "log/words.h"

namespace loglezer {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The "C" locale, so that the conversion reads "." whatever locale the
// process runs under; the text is rewritten with "." before it is converted.
locale_t c_locale() {
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

using words::load8;
using words::value8;

// The digit values of eight characters, and whether one of them is no digit.
std::uint64_t digits8(std::uint64_t word, bool& other) {
    other = words::non_digit_bits(word) != 0;
    return words::digit_values(word);
}

}  // namespace

bool plain_digits_value(std::string_view text, std::uint64_t& value) {
    const std::size_t n = text.size();
    if (n - 9 <= 16 - 9) {
        // Eight characters from the front and eight from the back, which
        // overlap unless there are sixteen: no loop whose end depends on the
        // length. Of the back eight, only the last n - 8 are new.
        bool other_head = false;
        bool other_tail = false;
        const std::uint64_t head = digits8(load8(text.data()), other_head);
        const std::uint64_t tail = digits8(load8(text.data() + n - 8), other_tail);
        if (other_head || other_tail) return false;
        const std::uint64_t fresh = tail & (~std::uint64_t{0} << (8 * (16 - n)));
        static constexpr std::uint64_t kPowers[9] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
        value = value8(head) * kPowers[n - 8] + value8(fresh);
        return true;
    }
    if (n == 0 || n > 19) return false;
    std::uint64_t v = 0;
    for (const char c : text) {
        const auto digit = static_cast<unsigned>(c) - '0';
        if (digit > 9) return false;
        v = v * 10 + digit;
    }
    value = v;
    return true;
}

namespace {

// text_to_float for every text that is not plain digits. Kept out of line:
// set up within text_to_float, its frame would slow down every plain amount.
__attribute__((noinline)) long double grammar_to_float(std::string_view text, const Separators& seps) {
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

// The whole number of parse_int into `value`; false for any other text. No
// optional is handed back on the way: year numbers are read line after line,
// and a returned optional<int> is put together in memory and read back whole.
bool read_int(std::string_view text, int& value) {
    // A year: four digits in one word.
    if (text.size() == 4) {
        std::uint32_t word;
        std::memcpy(&word, text.data(), 4);
        const std::uint32_t digits = word - 0x30303030u;
        if (((digits | (digits + 0x76767676u)) & 0x80808080u) == 0) {
            const std::uint32_t pairs = digits * 10 + (digits >> 8);  // bytes 0 and 2: the two-digit halves
            value = static_cast<int>((pairs & 0xFF) * 100 + ((pairs >> 16) & 0xFF));
            return true;
        }
    }
    // One to nine plain digits are always in range and need none of the
    // checks below.
    if (!text.empty() && text.size() <= 9) {
        int v = 0;
        std::size_t k = 0;
        for (; k < text.size(); ++k) {
            const auto digit = static_cast<unsigned>(text[k]) - '0';
            if (digit > 9) break;
            v = v * 10 + static_cast<int>(digit);
        }
        if (k == text.size()) {
            value = v;
            return true;
        }
    }
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
