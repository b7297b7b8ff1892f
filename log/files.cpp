#include "log/files.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <type_traits>

#include "log/failure.h"

namespace loglezer {

static_assert(!std::is_copy_constructible_v<Descriptor> && !std::is_copy_assignable_v<Descriptor>,
              "a copy of a descriptor would close it twice");

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

Descriptor::~Descriptor() { close(); }

int Descriptor::close() {
    if (fd_ < 0) return 0;
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? 0 : errno;
}

int write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        if (written == 0) return EIO;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

namespace {

namespace fs = std::filesystem;

// The path as a failure names it: absolute, lexically normal, without a
// separator at its end.
fs::path full_path(const fs::path& file) {
    std::error_code ec;
    fs::path full = file.is_absolute() ? file : fs::absolute(file, ec);
    if (ec) full = file;
    full = full.lexically_normal();
    if (full.has_relative_path() && full.filename().empty()) full = full.parent_path();
    return full;
}

[[noreturn]] void fail(const char* doing, const fs::path& file, const std::string& reason) {
    throw Failure(std::string("Cannot ") + doing + " file \"" + full_path(file).string() + "\". " + reason);
}

const char* doing(WriteFailure says) { return says == WriteFailure::CannotCreate ? "create" : "write"; }

// While it lives, a write into a pipe whose reader has gone fails with
// EPIPE instead of ending the program with SIGPIPE.
class PipeSignalHeld {
public:
    PipeSignalHeld() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe_, &saved_);
    }
    ~PipeSignalHeld() {
        // Taken here, the signal a failed write raised is never delivered.
        const timespec none{};
        while (sigtimedwait(&pipe_, nullptr, &none) > 0) {
        }
        pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
    }
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

private:
    sigset_t pipe_{};
    sigset_t saved_{};
};

bool is_stream(mode_t mode) { return S_ISFIFO(mode) || S_ISCHR(mode); }

// A new file next to the file it is to replace, which takes that file's
// place once it is complete and is removed on every other way out.
class NextFile {
public:
    // Opens it for writing: with `mode`, or the permissions the process
    // gives new files (its umask applied). A failure names `shown`.
    NextFile(const fs::path& target, std::optional<mode_t> mode, const fs::path& shown) : target_(target) {
        for (int attempt = 0;; ++attempt) {
            path_ = target;
            path_.replace_filename("." + target.filename().string() + "." + std::to_string(::getpid()) + "." +
                                   std::to_string(attempt));
            const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                out_ = Descriptor(fd);
                break;
            }
            const int error = errno;
            if (error != EEXIST || attempt == 99) fail_create(shown, std::strerror(error));
        }
        if (mode && ::fchmod(out_.get(), *mode) != 0) {
            // Thrown from here, the destructor does not run to remove it.
            const int error = errno;
            ::unlink(path_.c_str());
            fail_create(shown, std::strerror(error));
        }
    }
    ~NextFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    NextFile(const NextFile&) = delete;
    NextFile& operator=(const NextFile&) = delete;

    // Writes `bytes`, makes them last and renames the file over the target:
    // 0, or the errno of the step that failed.
    int replace(std::string_view bytes) {
        if (const int error = write_all(out_.get(), bytes)) return error;
        if (::fsync(out_.get()) != 0) return errno;
        if (const int error = out_.close()) return error;
        if (::rename(path_.c_str(), target_.c_str()) != 0) return errno;
        path_.clear();
        return 0;
    }

private:
    fs::path target_;
    fs::path path_;
    Descriptor out_;
};

// Writes into a named pipe or a character device as a shell redirection
// does: opened for writing, never created, truncated or renamed over.
void write_in_place(const fs::path& path, std::string_view bytes, WriteFailure says) {
    const Descriptor out(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (!out.is_open()) fail_create(path, std::strerror(errno));
    struct stat st {};
    // What was opened is what was looked at, not a file put there since.
    if (::fstat(out.get(), &st) != 0 || !is_stream(st.st_mode)) {
        fail_create(path, "The file changed while it was opened");
    }
    int error = 0;
    {
        const PipeSignalHeld held;
        error = write_all(out.get(), bytes);
    }
    if (error != 0) fail(doing(says), path, std::strerror(error));
}

// The first folder on the way to `path` that does not exist, or nothing.
std::optional<std::string> first_missing_folder(const fs::path& path) {
    const std::string& name = path.native();
    for (auto end = name.find('/', 1); end != std::string::npos; end = name.find('/', end + 1)) {
        const std::string folder = name.substr(0, end);
        struct stat st {};
        if (::stat(folder.c_str(), &st) == 0) continue;
        if (errno == ENOENT) return folder;
        break;
    }
    return std::nullopt;
}

}  // namespace

fs::path final_target(const fs::path& path) {
    fs::path at = path;
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code ec;
        if (!fs::is_symlink(at, ec)) break;
        const fs::path next = fs::read_symlink(at, ec);
        if (ec) break;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    return at;
}

void fail_create(const std::filesystem::path& file, const std::string& reason) { fail("create", file, reason); }

void write_file(const std::filesystem::path& path, std::string_view bytes, WriteFailure says) {
    struct stat st {};
    std::optional<mode_t> mode;
    if (::stat(path.c_str(), &st) != 0) {
        const int error = errno;
        if (error != ENOENT) fail_create(path, std::strerror(error));
        if (const auto folder = first_missing_folder(path)) {
            fail_create(path, "The directory \"" + *folder + "\" does not exist");
        }
    } else if (is_stream(st.st_mode)) {
        write_in_place(path, bytes, says);
        return;
    } else if (!S_ISREG(st.st_mode)) {
        // Nothing is renamed over a folder, a socket or a block device.
        fail_create(path, S_ISDIR(st.st_mode) ? "Is a directory" : "Not a regular file, a FIFO or a character device");
    } else {
        mode = static_cast<mode_t>(st.st_mode & 07777);
    }
    NextFile next(final_target(path), mode, path);
    if (const int error = next.replace(bytes)) fail(doing(says), path, std::strerror(error));
}

}  // namespace loglezer
