#include "log/line_format.h"

#include <cstdint>
#include <cstring>

#include "log/failure.h"
#include "log/month_names.h"
#include "log/number_text.h"
#include "log/words.h"

namespace loglezer {
namespace {

using words::kEachByte;
using words::load8;

// Nonzero when a byte of the word is a ","; then its lowest set bit is the
// high bit of the first such byte (bits above it may be set wrongly).
std::uint64_t comma_bits(std::uint64_t word) {
    const std::uint64_t x = word ^ (',' * kEachByte);
    return (x - kEachByte) & ~x & (0x80 * kEachByte);
}

// The high bit of every byte of the word that is a ",", and no other bit.
std::uint64_t all_comma_bits(std::uint64_t word) {
    const std::uint64_t x = word ^ (',' * kEachByte);
    // A byte of x is zero exactly where neither its own high bit nor the
    // high bit of its low seven bits plus 0x7F is set.
    return ~(((x & (0x7F * kEachByte)) + 0x7F * kEachByte) | x) & (0x80 * kEachByte);
}

// Whether the 11 characters from p hold no ",": characters 1 to 8 and 4 to
// 11 as two words.
bool no_comma_in_11(const char* p) { return (comma_bits(load8(p)) | comma_bits(load8(p + 3))) == 0; }

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

}  // namespace

std::string_view copy_text(std::string_view text, std::size_t from, std::size_t count) {
    if (from < 1 || from > text.size()) return {};
    return text.substr(from - 1, count);
}

std::string_view drop_front(std::string_view text, std::size_t count) {
    return count >= text.size() ? std::string_view{} : text.substr(count);
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
    // The usual date: no "," in the first 11 characters and one after them.
    if (line.size() >= 12 && line[11] == ',' && no_comma_in_11(line.data())) {
        return line.substr(0, 11);
    }
    const auto pos = find_comma(line);
    return pos == std::string_view::npos ? std::string_view{} : line.substr(0, pos);
}

std::string_view year_text(std::string_view line) { return drop_front(date_field(line), 7); }

std::string_view year_number_text(std::string_view line) { return copy_text(line, 8, 4); }

std::string_view month_abbrev(std::string_view line) { return copy_text(line, 4, 3); }

std::string_view month_year_text(std::string_view line) { return drop_front(date_field(line), 3); }

std::string_view day_text(std::string_view line) { return copy_text(line, 1, 2); }

bool is_log_date(std::string_view line) {
    if (line.size() < 12 || line[11] != ',' || line[2] != '-' || line[6] != '-') return false;
    return no_comma_in_11(line.data()) && is_month_abbrev(line.substr(3, 3));
}

void check_date(std::string_view line) {
    if (!is_log_date(line)) fail_date(up_to_comma(line));
}

int year_number(std::string_view line) { return text_to_int(year_number_text(line)); }

AmountTexts amount_texts(std::string_view line, DateSkip skip) {
    const std::string_view rest = skip == DateSkip::FirstTwelve ? drop_front(line, 12) : after_comma(line);
    const TwoCommas commas = find_two_commas(rest);
    if (commas.first == std::string_view::npos) return {{}, {}};
    const std::string_view download = rest.substr(0, commas.first);
    if (commas.second == std::string_view::npos) return {download, {}};
    return {download, rest.substr(commas.first + 1, commas.second - commas.first - 1)};
}

}  // namespace loglezer
