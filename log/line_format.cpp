#include "log/line_format.h"

#include <cstdint>
#include <cstring>

#include "log/failure.h"
#include "log/month_names.h"
#include "log/number_text.h"

namespace loglezer {
namespace {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the first character is taken as the lowest byte");

constexpr std::uint64_t kEachByte = 0x0101010101010101ull;

std::uint64_t load8(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    return word;
}

// Nonzero when a byte of the word is a ","; then its lowest set bit is the
// high bit of the first such byte (bits above it may be set wrongly).
std::uint64_t comma_bits(std::uint64_t word) {
    const std::uint64_t x = word ^ (',' * kEachByte);
    return (x - kEachByte) & ~x & (0x80 * kEachByte);
}

// The position of the first "," in the text, or npos. Every line is searched
// for its commas, which lie a few characters apart: eight characters are
// looked at in one step, without a library call.
std::size_t find_comma(std::string_view text) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const std::uint64_t bits = comma_bits(load8(text.data() + i));
        if (bits != 0) return i + static_cast<std::size_t>(__builtin_ctzll(bits)) / 8;
    }
    for (; i < n; ++i) {
        if (text[i] == ',') return i;
    }
    return std::string_view::npos;
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
    // No "," before the 12th character: characters 1 to 8 and 4 to 11 as
    // two words.
    if (comma_bits(load8(line.data())) != 0 || comma_bits(load8(line.data() + 3)) != 0) return false;
    return is_month_abbrev(line.substr(3, 3));
}

void check_date(std::string_view line) {
    if (!is_log_date(line)) fail_date(up_to_comma(line));
}

int year_number(std::string_view line) { return text_to_int(year_number_text(line)); }

AmountTexts amount_texts(std::string_view line, DateSkip skip) {
    const std::string_view rest = skip == DateSkip::FirstTwelve ? drop_front(line, 12) : after_comma(line);
    const auto comma = find_comma(rest);
    if (comma == std::string_view::npos) return {{}, {}};
    const std::string_view after = rest.substr(comma + 1);
    const auto comma2 = find_comma(after);
    return {rest.substr(0, comma), comma2 == std::string_view::npos ? std::string_view{} : after.substr(0, comma2)};
}

}  // namespace loglezer
