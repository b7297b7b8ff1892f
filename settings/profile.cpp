#include "settings/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include "log/files.h"
#include "log/plain_text.h"

namespace loglezer {
namespace {

constexpr std::size_t kMaxValue = 2047;

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_quote(char c) { return c == '"' || c == '\''; }

std::string_view trim(std::string_view s) {
    auto blank = [](char c) { return is_blank(c) || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

std::string finish_value(std::string_view v) {
    v = trim(v);
    if (v.size() >= 2 && is_quote(v.front()) && v.back() == v.front()) v = v.substr(1, v.size() - 2);
    return std::string(v.substr(0, kMaxValue));
}

// The value as written after "=": between double quotes when the reader
// would otherwise take a blank or a quote off its ends.
std::string stored_value(std::string_view value) {
    const bool wrap = !value.empty() && (is_blank(value.front()) || is_blank(value.back()) || is_quote(value.front()) ||
                                         is_quote(value.back()));
    return wrap ? "\"" + std::string(value) + "\"" : std::string(value);
}

// One line of a settings text, read by the one rule that every reader and
// the writer share: blank, a comment (";" first), a section header
// "[name]", a key "name=value", or anything else, which is passed over.
struct IniLine {
    enum class Kind { Blank, Comment, Section, Key, Other };
    Kind kind = Kind::Blank;
    std::size_t begin = 0, end = 0, next = 0;  // its text ends before "\r\n" or "\n"; the next line starts at next
    int number = 0;                            // counted from 1
    std::string_view name;                     // the section's or the key's, blanks around it taken off
    std::size_t value_begin = 0;               // a key's: just after its "="
};

IniLine read_line(std::string_view text, std::size_t pos, int number) {
    IniLine line;
    std::size_t nl = text.find('\n', pos);
    line.begin = pos;
    line.next = nl == std::string_view::npos ? text.size() : nl + 1;
    if (nl == std::string_view::npos) nl = text.size();
    line.end = nl > pos && text[nl - 1] == '\r' ? nl - 1 : nl;
    line.number = number;
    const std::string_view body = trim(text.substr(pos, line.end - pos));
    if (body.empty()) return line;
    if (body.front() == ';') {
        line.kind = IniLine::Kind::Comment;
    } else if (body.front() == '[') {
        line.kind = IniLine::Kind::Section;
        const auto close = body.find(']');
        line.name = trim(body.substr(1, close == std::string_view::npos ? body.npos : close - 1));
    } else if (const auto eq = body.find('='); eq != std::string_view::npos) {
        line.kind = IniLine::Kind::Key;
        line.name = trim(body.substr(0, eq));
        line.value_begin = text.find('=', pos) + 1;
    } else {
        line.kind = IniLine::Kind::Other;
    }
    return line;
}

// Calls visit(line) for each line of the text, after a UTF-8 byte order
// mark (editors on the log program's platform start the file with one; it
// is no part of the first line), until visit returns false.
template <class Visit>
void for_each_line(std::string_view text, Visit&& visit) {
    std::size_t pos = byte_order_mark_length(text);
    for (int number = 1; pos < text.size(); ++number) {
        const IniLine line = read_line(text, pos, number);
        if (!visit(line)) return;
        pos = line.next;
    }
}

// The lines of the first section named `section` (letter case aside): the
// reader reads only that one. visit(line) is called for each line inside
// it, up to the next section header; it returns false to stop. Returns the
// header line, or nothing when there is no such section.
template <class Visit>
std::optional<IniLine> for_each_line_of_section(std::string_view text, std::string_view section, Visit&& visit) {
    std::optional<IniLine> header;
    for_each_line(text, [&](const IniLine& line) {
        if (line.kind == IniLine::Kind::Section) {
            if (header) return false;
            if (same_letters(line.name, section)) header = line;
            return true;
        }
        return !header || visit(line);
    });
    return header;
}

// A key's value as the reader gives it.
std::string value_of(std::string_view text, const IniLine& line) {
    return finish_value(text.substr(line.value_begin, line.end - line.value_begin));
}

// The text with `entry` as a line of its own at `at`, the start of a line
// or the end of the text.
std::string inserted(std::string_view text, std::size_t at, const std::string& entry, std::string_view eol) {
    std::string out(text.substr(0, at));
    if (!out.empty() && out.back() != '\n') out += eol;
    out += entry;
    out += eol;
    out += text.substr(at);
    return out;
}

bool ends_with(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The text with the section and its key after the rest, a blank line
// between.
std::string appended(std::string_view text, std::string_view section, const std::string& entry, std::string_view eol) {
    std::string out(text);
    if (!out.empty() && out.back() != '\n') out += eol;
    if (!out.empty() && !ends_with(out, "\n\n") && !ends_with(out, "\n\r\n")) out += eol;
    return out + "[" + std::string(section) + "]" + std::string(eol) + entry + std::string(eol);
}

// The file's text, or nothing when there is no file. One that cannot be
// read fails: it is not written over.
std::optional<std::string> read_existing(const std::filesystem::path& file) {
    const Descriptor in(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!in.is_open()) {
        if (errno == ENOENT) return std::nullopt;
        fail_create(file, std::strerror(errno));
    }
    struct stat st {};
    if (::fstat(in.get(), &st) != 0) fail_create(file, std::strerror(errno));
    if (S_ISDIR(st.st_mode)) fail_create(file, std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode)) fail_create(file, "Not a regular file");
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(in.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) fail_create(file, std::strerror(errno));
        if (got == 0) return text;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

}  // namespace

std::optional<std::string> settings_text(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string profile_string(std::string_view ini_text, std::string_view section, std::string_view key,
                           std::string_view fallback) {
    std::optional<std::string> value;
    for_each_line_of_section(ini_text, section, [&](const IniLine& line) {
        if (line.kind == IniLine::Kind::Key && same_letters(line.name, key)) value = value_of(ini_text, line);
        return !value;
    });
    return value ? *value : std::string(fallback.substr(0, kMaxValue));
}

std::string profile_string_from_file(const std::string& path, std::string_view section, std::string_view key,
                                     std::string_view fallback) {
    const std::optional<std::string> text = settings_text(path);
    return text ? profile_string(*text, section, key, fallback) : std::string(fallback);
}

bool has_profile_section(std::string_view ini_text, std::string_view section) {
    return for_each_line_of_section(ini_text, section, [](const IniLine&) { return false; }).has_value();
}

bool file_has_profile_section(const std::string& path, std::string_view section) {
    const std::optional<std::string> text = settings_text(path);
    return text && has_profile_section(*text, section);
}

std::vector<ProfileSection> profile_sections(std::string_view ini_text) {
    std::vector<ProfileSection> sections;
    for_each_line(ini_text, [&](const IniLine& line) {
        if (line.kind == IniLine::Kind::Section) sections.push_back({std::string(line.name), line.number, {}});
        if (line.kind == IniLine::Kind::Key && !sections.empty()) {
            sections.back().keys.push_back({std::string(line.name), line.number});
        }
        return true;
    });
    return sections;
}

std::string with_profile_string(std::string_view ini_text, std::string_view section, std::string_view key,
                                std::string_view value) {
    const IniLine first = read_line(ini_text, 0, 1);
    const std::string_view eol = first.end + 1 < first.next ? "\r\n" : "\n";
    const std::string entry = std::string(key) + "=" + stored_value(value);
    std::optional<IniLine> key_line;
    std::size_t insert_at = 0;  // after the section's last line that is not blank
    const std::optional<IniLine> header = for_each_line_of_section(ini_text, section, [&](const IniLine& line) {
        if (line.kind == IniLine::Kind::Blank) return true;
        insert_at = line.next;
        if (line.kind == IniLine::Kind::Key && same_letters(line.name, key)) key_line = line;
        return !key_line;
    });
    if (key_line) {
        // The key's own line: its text up to the "=" stays.
        return std::string(ini_text.substr(0, key_line->value_begin)) + stored_value(value) +
               std::string(ini_text.substr(key_line->end));
    }
    if (!header) return appended(ini_text, section, entry, eol);
    return inserted(ini_text, std::max(insert_at, header->next), entry, eol);
}

std::string without_profile_string(std::string_view ini_text, std::string_view section, std::string_view key) {
    std::optional<IniLine> key_line;
    for_each_line_of_section(ini_text, section, [&](const IniLine& line) {
        if (line.kind == IniLine::Kind::Key && same_letters(line.name, key)) key_line = line;
        return !key_line;
    });
    if (!key_line) return std::string(ini_text);
    return std::string(ini_text.substr(0, key_line->begin)) + std::string(ini_text.substr(key_line->next));
}

void write_profile_strings(const std::filesystem::path& file, std::string_view section,
                           const std::vector<ProfileChange>& changes) {
    // A symbolic link stays one: its target is written, also one that is
    // not there yet.
    const std::filesystem::path target = final_target(file);
    for (const ProfileChange& change : changes) {
        if (!change.value) continue;
        if (change.value->find_first_of("\r\n") != std::string::npos)
            fail_create(target, "A line break cannot be stored in it");
        if (change.value->size() > kMaxValue)
            fail_create(target, "A value of more than 2047 characters cannot be stored in it");
    }
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    if (ec) fail_create(target, ec.message());

    std::string text = read_existing(target).value_or(std::string());
    for (const ProfileChange& change : changes) {
        text = change.value ? with_profile_string(text, section, change.key, *change.value)
                            : without_profile_string(text, section, change.key);
    }
    // The whole saving is one step to the user: a failed write, too, is a
    // file that could not be created.
    write_file(target, text, WriteFailure::CannotCreate);
}

void write_profile_string(const std::filesystem::path& file, std::string_view section, std::string_view key,
                          std::string_view value) {
    write_profile_strings(file, section, {{std::string(key), std::string(value)}});
}

}  // namespace loglezer
