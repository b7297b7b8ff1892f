#include "log/line_format.h"

#include <cstdint>
#include <cstring>

#include "log/failure.h"
#include "log/month_names.h"
#include "log/number_text.h"
#include "log/words.h"

namespace loglezer {
namespace {

using words::comma_bits;
using words::kEachByte;
using words::load8;

// The high bit of every byte of the word that is a ",", and no other bit.
std::uint64_t all_comma_bits(std::uint64_t word) {
    const std::uint64_t x = word ^ (',' * kEachByte);
    // A byte of x is zero exactly where neither its own high bit nor the
    // high bit of its low seven bits plus 0x7F is set.
    return ~(((x & (0x7F * kEachByte)) + 0x7F * kEachByte) | x) & (0x80 * kEachByte);
}

std::size_t byte_at(std::uint64_t bits) { return static_cast<std::size_t>(__builtin_ctzll(bits)) / 8; }

// The position of the first "," in the text, or npos. Every line is searched
// for its commas, which lie a few characters apart: eight characters are
// looked at in one step, without a library call.
std::size_t find_comma(std::string_view text) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const std::uint64_t bits = comma_bits(load8(text.data() + i));
        if (bits != 0) return i + byte_at(bits);
    }
    for (; i < n; ++i) {
        if (text[i] == ',') return i;
    }
    return std::string_view::npos;
}

// The positions of the first two "," in the text, npos for each one
// missing: the amounts of a line in one pass, eight characters at a time.
struct TwoCommas {
    std::size_t first = std::string_view::npos;
    std::size_t second = std::string_view::npos;
};
TwoCommas find_two_commas(std::string_view text) {
    TwoCommas found;
    const std::size_t n = text.size();
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t bits = all_comma_bits(load8(text.data() + i));
        if (bits == 0) continue;
        if (found.first == std::string_view::npos) {
            found.first = i + byte_at(bits);
            bits &= bits - 1;
            if (bits == 0) continue;
        }
        found.second = i + byte_at(bits);
        return found;
    }
    for (; i < n; ++i) {
        if (text[i] != ',') continue;
        if (found.first != std::string_view::npos) {
            found.second = i;
            return found;
        }
        found.first = i;
    }
    return found;
}

// Powers of ten up to eight digits.
constexpr std::uint64_t kPowers[9] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

// comma_ended_digits one character at a time.
std::size_t comma_ended_digits_bytewise(std::string_view text, std::uint64_t& value) {
    const std::size_t n = text.size();
    std::uint64_t v = 0;
    std::size_t length = 0;
    for (; length < n && length < 20; ++length) {
        const auto digit = static_cast<unsigned>(text[length]) - '0';
        if (digit > 9) break;
        v = v * 10 + digit;
    }
    if (length == 0 || length > 19 || length == n || text[length] != ',') return 0;
    value = v;
    return length;
}

// The value of the first `count` (0 to 8) of eight digit values.
std::uint64_t value_of_first(std::uint64_t digits, std::size_t count) {
    // Moved to the top, with zeros before them.
    return count == 0 ? 0 : words::value8(digits << (8 * (8 - count)));
}

// The length of the run of 1 to 19 digits that begins the text and that a
// "," ends, and its value; 0 when the text does not begin so. The first
// sixteen characters are looked at as two words (the second overlaps the
// first in a text of fewer), so that an amount of up to 15 digits costs no
// loop.
std::size_t comma_ended_digits(std::string_view text, std::uint64_t& value) {
    const char* const p = text.data();
    const std::size_t n = text.size();
    if (n < 9) return comma_ended_digits_bytewise(text, value);
    const std::uint64_t head = load8(p);
    if (const std::uint64_t other = words::non_digit_bits(head); other != 0) {
        const std::size_t length = byte_at(other);
        if (length == 0 || p[length] != ',') return 0;
        value = value_of_first(words::digit_values(head), length);
        return length;
    }
    // Characters 9 to 16, or the last eight of a shorter text: those before
    // the 9th are digits of the head.
    const std::size_t from = n < 16 ? n - 8 : 8;
    const std::uint64_t tail = load8(p + from);
    const std::uint64_t other = words::non_digit_bits(tail);
    if (other == 0) return from == 8 ? comma_ended_digits_bytewise(text, value) : 0;
    const std::size_t length = from + byte_at(other);
    if (p[length] != ',') return 0;
    const std::size_t more = length - 8;
    value = words::value8(words::digit_values(head)) * kPowers[more] +
            value_of_first(words::digit_values(tail) >> (8 * (8 - from)), more);
    return length;
}

// The trailing zero bits of the word: 64 for none set.
unsigned trailing_zeros(std::uint64_t word) { return word == 0 ? 64 : static_cast<unsigned>(__builtin_ctzll(word)); }

// A run of digits: its length and, for a length of 1 to 15, its value.
struct DigitRun {
    std::uint64_t value;
    unsigned length;
};

// The run of digits that begins at q, among the 16 characters from q (all of
// which must be there); a length of 16 when all are digits. No branch
// depends on the length, which changes from line to line, and the run is
// read where it is used.
[[gnu::always_inline]] inline DigitRun leading_digits_16(const char* q) {
    const std::uint64_t head = load8(q);
    const std::uint64_t tail = load8(q + 8);
    const std::uint64_t head_other = words::non_digit_bits(head);
    const unsigned in_head = trailing_zeros(head_other) / 8;
    const unsigned in_tail = head_other != 0 ? 0 : trailing_zeros(words::non_digit_bits(tail)) / 8;
    // Each word's digits moved to its top, zeros before them; with no digit
    // in a word its value is not used.
    const std::uint64_t high = words::value8(words::digit_values(head) << ((64 - 8 * in_head) & 63));
    const std::uint64_t low = words::value8(words::digit_values(tail) << ((64 - 8 * in_tail) & 63));
    return {high * kPowers[in_tail] + (in_tail != 0 ? low : 0), in_head + in_tail};
}

}  // namespace

std::string_view copy_text(std::string_view text, std::size_t from, std::size_t count) {
    if (from < 1 || from > text.size()) return {};
    return text.substr(from - 1, count);
}

std::string_view up_to_comma(std::string_view text) {
    const auto pos = find_comma(text);
    return pos == std::string_view::npos ? text : text.substr(0, pos);
}

std::string_view after_comma(std::string_view text) {
    const auto pos = find_comma(text);
    return pos == std::string_view::npos ? std::string_view{} : text.substr(pos + 1);
}

std::string_view date_field(std::string_view line) {
    if (has_usual_date_field(line)) return line.substr(0, 11);
    const auto pos = find_comma(line);
    return pos == std::string_view::npos ? std::string_view{} : line.substr(0, pos);
}

std::string_view year_number_text(std::string_view line) { return copy_text(line, 8, 4); }

std::string_view month_abbrev(std::string_view line) { return copy_text(line, 4, 3); }

std::string_view month_year_text(std::string_view line) { return drop_front(date_field(line), 3); }

std::string_view day_text(std::string_view line) { return copy_text(line, 1, 2); }

void check_date(std::string_view line) {
    if (!is_log_date(line)) fail_date(up_to_comma(line));
}

int year_number(std::string_view line) { return text_to_int(year_number_text(line)); }

YearNumberIs::YearNumberIs(int year) : year_(year) {
    if (year < 0 || year > 9999) return;
    has_digits_ = true;
    for (int place = 0, rest = year; place < 4; ++place, rest /= 10) {
        digits_ |= static_cast<std::uint32_t>('0' + rest % 10) << (8 * (3 - place));
    }
}

bool plain_amounts(std::string_view line, std::uint64_t& download, std::uint64_t& upload) {
    // Where both amounts have sixteen characters after them in the line, as
    // in nearly every line, each is read without a branch on its length.
    const char* const end = line.data() + line.size();
    if (line.size() >= 12 + 16) {
        const char* const down = line.data() + 12;
        const DigitRun down_run = leading_digits_16(down);
        const char* const up = down + down_run.length + 1;
        if (down_run.length < 16 && end - up >= 16) {
            const DigitRun up_run = leading_digits_16(up);
            if (up_run.length < 16) {
                download = down_run.value;
                upload = up_run.value;
                return down_run.length != 0 && down[down_run.length] == ',' && up_run.length != 0 &&
                       up[up_run.length] == ',';
            }
        }
    }
    const std::string_view rest = drop_front(line, 12);
    const std::size_t download_length = comma_ended_digits(rest, download);
    return download_length != 0 && comma_ended_digits(rest.substr(download_length + 1), upload) != 0;
}

AmountTexts amount_texts(std::string_view line, DateSkip skip) {
    const std::string_view rest = skip == DateSkip::FirstTwelve ? drop_front(line, 12) : after_comma(line);
    const TwoCommas commas = find_two_commas(rest);
    if (commas.first == std::string_view::npos) return {{}, {}};
    const std::string_view download = rest.substr(0, commas.first);
    if (commas.second == std::string_view::npos) return {download, {}};
    return {download, rest.substr(commas.first + 1, commas.second - commas.first - 1)};
}

}  // namespace loglezer
