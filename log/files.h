#pragma once

// Writing files: the descriptor that closes itself, writing all of a text
// to a descriptor, and writing a file whole or not at all. Used by the
// settings file, the chart pictures and loglezer-stats' output alike.
#include <filesystem>
#include <string>
#include <string_view>

namespace loglezer {

// An open file descriptor, closed on every way out of the code that holds
// it. It cannot be copied, since a copy would close it a second time;
// moving hands it on. A descriptor of -1 holds nothing.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor();

    int get() const { return fd_; }
    bool is_open() const { return fd_ >= 0; }
    // Closes it now: 0, or the errno of a close that failed (where a write
    // the system held back can still fail).
    int close();

private:
    int fd_ = -1;
};

// Writes all of `bytes` to `fd`, going on after interruptions and short
// writes: 0, or the errno of the write that failed.
int write_all(int fd, std::string_view bytes);

// Throws Failure("Cannot create file \"<full path>\". <reason>"), the path
// made absolute and lexically normal.
[[noreturn]] void fail_create(const std::filesystem::path& file, const std::string& reason);

// What a failure says once the file is open: "Cannot write file", or, for a
// file whose saving is one step to its user (the settings file), "Cannot
// create file" as every other failure does.
enum class WriteFailure { CannotWrite, CannotCreate };

// The file a write through `path` lands in: the target of a symbolic link,
// and of a link it points at in turn, also one that does not exist yet;
// `path` itself when it is no link.
std::filesystem::path final_target(const std::filesystem::path& path);

// Writes `bytes` to `path`, following symbolic links, which stay links.
// A new or regular file is written whole or not at all: into a new file in
// the same folder, made to last (fsync) and renamed over the target only
// when complete; an existing file keeps its permissions, a new one gets
// those the process gives new files. A named pipe or a character device is
// opened and written into, as a shell redirection would; a reader that goes
// away fails the write instead of ending the program with SIGPIPE. Anything
// else (a folder, a socket, a block device) is refused. Throws
// Failure("Cannot create file \"<full path>\". <reason>") when the file
// cannot be created or is refused (a missing folder on the way is named:
// "The directory \"<folder>\" does not exist"), and Failure("Cannot write
// file \"<full path>\". <reason>") when writing or replacing fails (or
// "Cannot create file", as `says` asks).
void write_file(const std::filesystem::path& path, std::string_view bytes,
                WriteFailure says = WriteFailure::CannotWrite);

}  // namespace loglezer
