#include "log/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include "log/failure.h"

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

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool is_quote(char c) { return c == '"' || c == '\''; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The value as written after "=": between double quotes when the reader
// would otherwise take a blank or a quote off its ends.
std::string stored_value(std::string_view value) {
    const bool wrap = !value.empty() && (is_blank(value.front()) || is_blank(value.back()) || is_quote(value.front()) ||
                                         is_quote(value.back()));
    return wrap ? "\"" + std::string(value) + "\"" : std::string(value);
}

// One line of a settings text: where it starts, where its text ends (before
// "\r\n" or "\n") and where the next line starts.
struct TextLine {
    std::size_t begin, end, next;
};

TextLine line_at(std::string_view text, std::size_t pos) {
    std::size_t nl = text.find('\n', pos);
    const std::size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
    if (nl == std::string_view::npos) nl = text.size();
    const std::size_t end = nl > pos && text[nl - 1] == '\r' ? nl - 1 : nl;
    return {pos, end, next};
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

[[noreturn]] void fail_create(const std::filesystem::path& file, const std::string& reason) {
    throw Failure("Cannot create file \"" + file.lexically_normal().string() + "\". " + reason);
}

// Closes the descriptor on every way out.
struct Descriptor {
    int fd = -1;
    Descriptor() = default;
    explicit Descriptor(int f) : fd(f) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

// A settings file that is there: its text and permissions.
struct ExistingFile {
    std::string text;
    mode_t mode;
};

// The file's text, or nothing when there is no file. One that cannot be
// read fails: it is not written over.
std::optional<ExistingFile> read_existing(const std::filesystem::path& file) {
    const Descriptor in(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (in.fd < 0) {
        if (errno == ENOENT) return std::nullopt;
        fail_create(file, std::strerror(errno));
    }
    struct stat st {};
    if (::fstat(in.fd, &st) != 0) fail_create(file, std::strerror(errno));
    if (S_ISDIR(st.st_mode)) fail_create(file, std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode)) fail_create(file, "Not a regular file");
    ExistingFile existing{{}, static_cast<mode_t>(st.st_mode & 07777)};
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(in.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) fail_create(file, std::strerror(errno));
        if (got == 0) return existing;
        existing.text.append(buffer, static_cast<std::size_t>(got));
    }
}

// A new file next to `file`, opened for writing: the permissions the
// process gives new files (its umask applied), or `mode`.
std::filesystem::path create_next_to(const std::filesystem::path& file, std::optional<mode_t> mode, Descriptor& out) {
    for (int attempt = 0;; ++attempt) {
        std::filesystem::path temporary = file;
        temporary.replace_filename("." + file.filename().string() + "." + std::to_string(::getpid()) + "." +
                                   std::to_string(attempt));
        out.fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (out.fd >= 0) {
            if (mode && ::fchmod(out.fd, *mode) != 0) {
                const int error = errno;
                ::unlink(temporary.c_str());
                fail_create(file, std::strerror(error));
            }
            return temporary;
        }
        if (errno != EEXIST || attempt == 99) fail_create(file, std::strerror(errno));
    }
}

// Writes all of `text`, then makes it last; the reason of a failure, or
// nothing.
std::optional<int> write_all(Descriptor& out, std::string_view text) {
    while (!text.empty()) {
        const ssize_t put = ::write(out.fd, text.data(), text.size());
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return errno;
        text.remove_prefix(static_cast<std::size_t>(put));
    }
    if (::fsync(out.fd) != 0) return errno;
    const int fd = out.fd;
    out.fd = -1;
    if (::close(fd) != 0) return errno;
    return std::nullopt;
}

// The file a write goes to: the one a symbolic link points at.
std::filesystem::path written_path(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::is_symlink(file, ec) && std::filesystem::exists(file, ec)) {
        std::filesystem::path target = std::filesystem::canonical(file, ec);
        if (!ec) return target;
    }
    return file;
}

// The whole text of a file, or nothing when it cannot be read. Only a
// regular file is read: a named pipe put in a settings file's place would
// otherwise hold the program up until someone writes to it.
std::optional<std::string> file_text(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
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
    const std::optional<std::string> text = file_text(path);
    return text ? profile_string(*text, section, key, fallback) : std::string(fallback);
}

bool has_profile_section(std::string_view ini_text, std::string_view section) {
    for (std::size_t pos = ini_text.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0; pos < ini_text.size();) {
        const TextLine at = line_at(ini_text, pos);
        pos = at.next;
        const std::string_view line = trim(ini_text.substr(at.begin, at.end - at.begin));
        if (line.empty() || line.front() != '[') continue;
        const auto close = line.find(']');
        if (same_name(trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1)), section))
            return true;
    }
    return false;
}

bool file_has_profile_section(const std::string& path, std::string_view section) {
    const std::optional<std::string> text = file_text(path);
    return text && has_profile_section(*text, section);
}

std::string with_profile_string(std::string_view ini_text, std::string_view section, std::string_view key,
                                std::string_view value) {
    const std::string_view eol = line_at(ini_text, 0).end + 1 < line_at(ini_text, 0).next ? "\r\n" : "\n";
    const std::string entry = std::string(key) + "=" + stored_value(value);
    bool in_section = false;
    std::optional<std::size_t> insert_at;  // after the section's last line that is not blank
    for (std::size_t pos = ini_text.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0; pos < ini_text.size();) {
        const TextLine at = line_at(ini_text, pos);
        pos = at.next;
        const std::string_view line = trim(ini_text.substr(at.begin, at.end - at.begin));
        if (line.empty()) continue;
        if (line.front() == '[') {
            // The reader reads only the first section of the name.
            if (in_section) break;
            const auto close = line.find(']');
            in_section =
                same_name(trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1)), section);
            if (in_section) insert_at = at.next;
            continue;
        }
        if (!in_section) continue;
        insert_at = at.next;
        const auto eq = line.find('=');
        if (line.front() == ';' || eq == std::string_view::npos || !same_name(trim(line.substr(0, eq)), key)) continue;
        // The key's own line: its text up to the "=" stays.
        const std::size_t value_begin = ini_text.find('=', at.begin) + 1;
        return std::string(ini_text.substr(0, value_begin)) + stored_value(value) +
               std::string(ini_text.substr(at.end));
    }
    return insert_at ? inserted(ini_text, *insert_at, entry, eol) : appended(ini_text, section, entry, eol);
}

void write_profile_string(const std::filesystem::path& file, std::string_view section, std::string_view key,
                          std::string_view value) {
    const std::filesystem::path target = written_path(file);
    if (value.find_first_of("\r\n") != std::string_view::npos)
        fail_create(target, "A line break cannot be stored in it");
    if (value.size() > kMaxValue) fail_create(target, "A value of more than 2047 characters cannot be stored in it");
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    if (ec) fail_create(target, ec.message());

    const std::optional<ExistingFile> existing = read_existing(target);
    const std::string text = with_profile_string(existing ? existing->text : std::string(), section, key, value);
    Descriptor out;
    const std::filesystem::path temporary =
        create_next_to(target, existing ? std::optional(existing->mode) : std::nullopt, out);
    std::optional<int> error = write_all(out, text);
    if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error) {
        ::unlink(temporary.c_str());
        fail_create(target, std::strerror(*error));
    }
}

}  // namespace loglezer
