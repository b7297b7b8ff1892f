#include "log/line_format.h"

#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "log/calendar.h"
#include "log/failure.h"
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

#ifdef __SSE2__
// The commas and the characters other than digits (the commas among them)
// of the 32 characters from p, as masks: bit k for character k.
struct Marks {
    std::uint32_t commas;
    std::uint32_t others;
};
Marks marks_32(const char* p) {
    const auto marks_16 = [](const char* q) {
        const __m128i text = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
        const __m128i values = _mm_sub_epi8(text, _mm_set1_epi8('0'));
        const __m128i digits = _mm_cmpeq_epi8(_mm_min_epu8(values, _mm_set1_epi8(9)), values);
        return Marks{static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(text, _mm_set1_epi8(',')))),
                     static_cast<std::uint32_t>(~_mm_movemask_epi8(digits) & 0xFFFF)};
    };
    const Marks low = marks_16(p);
    const Marks high = marks_16(p + 16);
    return {low.commas | high.commas << 16, low.others | high.others << 16};
}

// The value of the `length` (1 to 16) digits that end before e, read from
// the sixteen characters that end there (the text must hold them), those
// before the run masked off. The digits are weighed in pairs, the pairs in
// fours and the fours in eights, sixteen at once: no step depends on the
// length, which changes from line to line.
std::uint64_t digits_ending_at(const char* e, unsigned length) {
    // 0xFF for the last `length` of sixteen characters, from kLast + length.
    static constexpr unsigned char kLast[32] = {0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
                                                0,    0,    0,    0,    0,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const __m128i keep = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kLast + length));
    const __m128i text = _mm_loadu_si128(reinterpret_cast<const __m128i*>(e - 16));
    const __m128i digits = _mm_and_si128(_mm_sub_epi8(text, _mm_set1_epi8('0')), keep);
    const __m128i zero = _mm_setzero_si128();
    const __m128i pairs = _mm_packs_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(digits, zero), _mm_set1_epi32(0x0001000A)),
                                          _mm_madd_epi16(_mm_unpackhi_epi8(digits, zero), _mm_set1_epi32(0x0001000A)));
    const __m128i fours = _mm_madd_epi16(pairs, _mm_set1_epi32(0x00010064));
    const __m128i eights = _mm_madd_epi16(_mm_packs_epi32(fours, fours), _mm_set1_epi32(0x00012710));
    const auto both = static_cast<std::uint64_t>(_mm_cvtsi128_si64(eights));
    return (both & 0xFFFFFFFF) * 100000000 + (both >> 32);
}

// What plain_amounts_32 tells.
enum class Plain { Yes, No, Unknown };

// plain_amounts for a line with at least 32 characters after the date,
// looked at all at once; unknown when the first two "," are not among them
// or an amount has more than 16 digits.
Plain plain_amounts_32(const char* rest, std::uint64_t& download, std::uint64_t& upload) {
    const Marks marks = marks_32(rest);
    const std::uint32_t after_first = marks.commas & (marks.commas - 1);
    if (after_first == 0) return Plain::Unknown;
    const auto first = static_cast<unsigned>(__builtin_ctz(marks.commas));
    const auto second = static_cast<unsigned>(__builtin_ctz(after_first));
    // Digits only, but for the first ",", before the second, and neither
    // amount empty.
    if ((marks.others & ((1u << second) - 1)) != 1u << first || first == 0 || second == first + 1) return Plain::No;
    // Each amount is read from the sixteen characters that end it: those of
    // a download of fewer than 4 digits would begin before the line.
    if (first < 4 || first > 16 || second - first - 1 > 16) return Plain::Unknown;
    download = digits_ending_at(rest + first, first);
    upload = digits_ending_at(rest + second, second - first - 1);
    return Plain::Yes;
}
#endif

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

bool is_log_date(std::string_view line) { return line.size() >= 12 && line[11] == ',' && has_log_date_form(line); }

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
#ifdef __SSE2__
    // Nearly every line has its two amounts in the 32 characters after the
    // date, and their lengths change from line to line: they are found at
    // once, without a branch on their lengths.
    if (line.size() >= 12 + 32) {
        const Plain plain = plain_amounts_32(line.data() + 12, download, upload);
        if (plain != Plain::Unknown) return plain == Plain::Yes;
    }
#endif
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
