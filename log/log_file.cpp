#include "log/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "log/failure.h"
#include "log/profile.h"

namespace loglezer {
namespace {

// Closes the descriptor on every way out of load_log.
struct FileDescriptor {
    int fd;
    ~FileDescriptor() {
        if (fd >= 0) ::close(fd);
    }
};

[[noreturn]] void fail_open(const std::filesystem::path& full, const std::string& reason) {
    throw Failure("Cannot open file \"" + full.lexically_normal().string() + "\". " + reason);
}
[[noreturn]] void fail_open(const std::filesystem::path& full, int error) { fail_open(full, std::strerror(error)); }

// Reads the open file to its end and splits it.
LineList read_whole(int fd, const struct stat& st, const std::filesystem::path& full) {
    ContentBuffer content;
    // Room for the whole file and a little more, so that the read which
    // finds the end needs no larger buffer.
    content.resize((st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0) + 4096);
    std::size_t filled = 0;
    for (;;) {
        if (filled == content.size()) {
            // The file has grown since fstat (the metering program appends to it).
            content.resize(content.size() * 2);
        }
        const ssize_t got = ::read(fd, content.data() + filled, content.size() - filled);
        if (got < 0) {
            if (errno == EINTR) continue;
            fail_open(full, errno);
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    content.resize(filled);
    return LineList::from_content(std::move(content));
}

// The value of key "log" in section "path" of a settings file, or an empty
// text when the file, section or key is missing or the value is empty.
std::string log_setting(const std::filesystem::path& ini) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(ini, ec)) return {};
    return profile_string_from_file(ini.string(), "path", "log", "");
}

// The log's name and the settings file it came from.
struct LogChoice {
    std::string name;
    std::optional<std::filesystem::path> settings;
};

LogChoice choose_log(const LogPlaces& places, const std::optional<std::string>& named) {
    if (named) return {*named, std::nullopt};
    const std::filesystem::path local_ini = resolve_path(places.working_dir, "log.ini");
    if (std::string value = log_setting(local_ini); !value.empty()) return {std::move(value), local_ini};
    if (places.user_ini) {
        if (const std::string value = log_setting(*places.user_ini); !value.empty()) {
            // Taken from the file's own folder, wherever the program starts.
            return {(places.user_ini->parent_path() / value).string(), places.user_ini};
        }
    }
    return {kDefaultLogPath, std::nullopt};
}

}  // namespace

std::filesystem::path working_directory() {
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path() : dir;
}

std::filesystem::path resolve_path(const std::filesystem::path& working_dir, const std::string& path) {
    std::filesystem::path p(path);
    if (p.is_absolute()) return p;
    if (working_dir.empty()) throw Failure(kNoWorkingDirectoryMessage);
    return working_dir / p;
}

std::optional<std::filesystem::path> user_log_ini(const char* xdg_config_home, const char* home) {
    const auto full = [](const char* dir) { return dir && std::filesystem::path(dir).is_absolute(); };
    if (full(xdg_config_home)) return std::filesystem::path(xdg_config_home) / "loglezer" / "log.ini";
    if (full(home)) return std::filesystem::path(home) / ".config" / "loglezer" / "log.ini";
    return std::nullopt;
}

std::optional<std::filesystem::path> user_log_ini() {
    return user_log_ini(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

bool log_exists(const std::filesystem::path& working_dir, const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    const auto status = std::filesystem::status(resolve_path(working_dir, path), ec);
    return std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

LineList load_log(const std::filesystem::path& working_dir, const std::string& path) {
    const std::filesystem::path full = resolve_path(working_dir, path);
    // Read-only: the log belongs to the metering program and is never written.
    // Without blocking, so that a named pipe without a writer cannot hang
    // the start-up; it is refused below, as is a device that never ends.
    FileDescriptor file{::open(full.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0) fail_open(full, errno);
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) fail_open(full, errno);
    if (S_ISDIR(st.st_mode)) fail_open(full, EISDIR);
    if (!S_ISREG(st.st_mode)) fail_open(full, "Not a regular file");
    // A log larger than the memory the process may take ends in
    // std::bad_alloc, which each program reports as being out of memory.
    return read_whole(file.fd, st, full);
}

std::string log_name(const LogPlaces& places, const std::optional<std::string>& named) {
    return choose_log(places, named).name;
}

std::optional<FoundLog> find_log(const LogPlaces& places, const std::optional<std::string>& named) {
    LogChoice choice = choose_log(places, named);
    if (!log_exists(places.working_dir, choice.name)) return std::nullopt;
    return FoundLog{std::filesystem::absolute(resolve_path(places.working_dir, choice.name)),
                    std::move(choice.settings)};
}

std::string missing_log_path(const LogPlaces& places, const std::optional<std::string>& named) {
    return resolve_path(places.working_dir, log_name(places, named)).lexically_normal().string();
}

void remember_log(const std::filesystem::path& user_ini, const std::filesystem::path& log) {
    // Never written over the log, even when someone has chosen this file as
    // the log.
    if (same_file(user_ini, log)) {
        throw Failure("Cannot create file \"" + user_ini.lexically_normal().string() + "\". This is the log file.");
    }
    write_profile_string(user_ini, "path", "log", log.string());
}

bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

}  // namespace loglezer
