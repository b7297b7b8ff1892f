#include "log/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "log/failure.h"
#include "log/files.h"

namespace loglezer {
namespace {

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
    const Descriptor file(::open(full.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.is_open()) fail_open(full, errno);
    struct stat st {};
    if (::fstat(file.get(), &st) != 0) fail_open(full, errno);
    if (S_ISDIR(st.st_mode)) fail_open(full, EISDIR);
    if (!S_ISREG(st.st_mode)) fail_open(full, "Not a regular file");
    // A log larger than the memory the process may take ends in
    // std::bad_alloc, which each program reports as being out of memory.
    return read_whole(file.get(), st, full);
}

bool FileState::operator==(const FileState& other) const {
    if (exists != other.exists) return false;
    if (!exists) return true;
    const auto same_time = [](const std::timespec& a, const std::timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    };
    return device == other.device && inode == other.inode && size == other.size &&
           same_time(modified, other.modified) && mode == other.mode && wal_size == other.wal_size &&
           same_time(wal_modified, other.wal_modified);
}

FileState file_state(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    FileState state{true, st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_mode};
    const std::string wal = path.string() + "-wal";
    if (::stat(wal.c_str(), &st) == 0) {
        state.wal_size = st.st_size;
        state.wal_modified = st.st_mtim;
    }
    return state;
}

bool last_line_unended(const std::filesystem::path& path) {
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (!file.is_open() || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) return false;
    char last = 0;
    if (::pread(file.get(), &last, 1, st.st_size - 1) != 1) return false;
    return last != '\n' && last != '\r';
}

bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

}  // namespace loglezer
