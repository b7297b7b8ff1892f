#pragma once

#include <cstddef>
#include <string_view>

namespace loglezer {

// Whether two texts are the same but for the letter case of A to Z: the
// names of settings, units and months are matched this way. Other bytes are
// compared as they are, whatever the locale.
inline bool same_letters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The text without the blanks (spaces and tabs) around it, as a setting's
// or an option's value is read.
inline std::string_view without_blanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The length of the UTF-8 byte order mark the text starts with: 3, or 0
// when it starts without one. Editors on the log program's platform start a
// file with one; it is no part of the file's first line.
inline std::size_t byte_order_mark_length(std::string_view text) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    return text.substr(0, kMark.size()) == kMark ? kMark.size() : 0;
}

}  // namespace loglezer
