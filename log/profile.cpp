#include "log/profile.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace loglezer {
namespace {

constexpr std::size_t kMaxValue = 2047;

std::string_view trim(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string finish_value(std::string_view v) {
    v = trim(v);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return std::string(v.substr(0, kMaxValue));
}

}  // namespace

std::string profile_string(std::string_view ini_text, std::string_view section, std::string_view key,
                           std::string_view fallback) {
    bool in_section = false;
    bool section_seen = false;
    // Editors on the log program's platform start the file with a UTF-8
    // byte order mark; it is no part of the first line.
    std::size_t pos = ini_text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (pos <= ini_text.size()) {
        auto nl = ini_text.find('\n', pos);
        if (nl == std::string_view::npos) nl = ini_text.size();
        const std::string_view line = trim(ini_text.substr(pos, nl - pos));
        pos = nl + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            // Only the first section of the name is read.
            if (in_section) break;
            const auto close = line.find(']');
            const std::string_view name = trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
            in_section = !section_seen && same_name(name, section);
            section_seen = section_seen || in_section;
            continue;
        }
        if (!in_section) continue;
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        if (same_name(trim(line.substr(0, eq)), key)) return finish_value(line.substr(eq + 1));
    }
    return std::string(fallback.substr(0, kMaxValue));
}

std::string profile_string_from_file(const std::string& path, std::string_view section, std::string_view key,
                                     std::string_view fallback) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::string(fallback);
    std::ostringstream text;
    text << in.rdbuf();
    return profile_string(text.str(), section, key, fallback);
}

}  // namespace loglezer
