#include "text/regional.h"

#include <langinfo.h>
#include <locale.h>

#include <clocale>
#include <cstdlib>
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

// The locale the environment names for numbers, by the order the C library
// follows: LC_ALL, then LC_NUMERIC, then LANG.
std::string environment_locale_name() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return "C";
}

}  // namespace

Separators separators_from_texts(std::string_view decimal_point, std::string_view group_separator) {
    Separators seps;
    seps.decimal = decimal_from(decimal_point);
    seps.thousands = group_from(group_separator);
    if (seps.thousands == seps.decimal) seps.thousands = seps.decimal == ',' ? '.' : ',';
    return seps;
}

NumericLocale numeric_locale() {
    NumericLocale locale;
    locale.name = environment_locale_name();
    // A locale of its own, so that the program's locale, which the C
    // library's messages and printf follow, is neither read nor changed.
    const locale_t numbers = ::newlocale(LC_NUMERIC_MASK, locale.name.c_str(), static_cast<locale_t>(nullptr));
    if (!numbers) {
        locale.installed = false;
        locale.separators = separators_from_texts(".", "");
        return locale;
    }
    locale.separators = separators_from_texts(::nl_langinfo_l(RADIXCHAR, numbers), ::nl_langinfo_l(THOUSEP, numbers));
    ::freelocale(numbers);
    return locale;
}

Separators system_separators() { return numeric_locale().separators; }

#if defined(__SANITIZE_ADDRESS__)
// glibc 2.36's newlocale never frees the list of folders it makes of
// LOCPATH (some fifty bytes a call), which only the tests set: the leak
// checker of the sanitizer build passes over that one allocation, quietly.
extern "C" const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif

}  // namespace loglezer
