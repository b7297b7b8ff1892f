#include "stats/regional.h"

#include <clocale>
#include <optional>

namespace loglezer {
namespace {

// The one character a separator text stands for, as a code point; nothing
// when the text is empty or holds more than one character.
std::optional<char32_t> single_character(std::string_view text) {
    if (text.size() == 1) return static_cast<unsigned char>(text[0]);
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto continuation = [&](std::size_t i) { return (byte(i) & 0xC0) == 0x80; };
    if (text.size() == 2 && (byte(0) & 0xE0) == 0xC0 && continuation(1)) {
        return static_cast<char32_t>(((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F));
    }
    if (text.size() == 3 && (byte(0) & 0xF0) == 0xE0 && continuation(1) && continuation(2)) {
        return static_cast<char32_t>(((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F));
    }
    return std::nullopt;
}

char decimal_from(std::string_view text) {
    const std::optional<char32_t> c = single_character(text);
    return c && *c < 256 ? static_cast<char>(*c) : '.';
}

char group_from(std::string_view text) {
    if (text.empty()) return Separators::kNoGrouping;
    const std::optional<char32_t> c = single_character(text);
    if (c && *c < 256) return static_cast<char>(*c);
    if (c && (*c == U'\u2019' || *c == U'\u02BC')) return '\'';
    return ' ';
}

}  // namespace

Separators separators_from_texts(std::string_view decimal_point, std::string_view group_separator) {
    Separators seps;
    seps.decimal = decimal_from(decimal_point);
    seps.thousands = group_from(group_separator);
    if (seps.thousands == seps.decimal) seps.thousands = seps.decimal == ',' ? '.' : ',';
    return seps;
}

Separators separators_from_locale() {
    std::setlocale(LC_ALL, "");
    const std::lconv* conv = std::localeconv();
    return separators_from_texts(conv->decimal_point ? conv->decimal_point : "",
                                 conv->thousands_sep ? conv->thousands_sep : "");
}

}  // namespace loglezer
