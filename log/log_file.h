#pragma once

#include <sys/types.h>

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#include "log/line_list.h"

namespace loglezer {

// The failure of a relative path when the working directory has been removed.
inline constexpr const char* kNoWorkingDirectoryMessage = "the working directory no longer exists";

// The process's working directory, or an empty path when it can no longer
// be had (it has been removed): asked for once, and needed only when a
// relative path must be resolved.
std::filesystem::path working_directory();

// `path` as it is when absolute, else taken from `working_dir`. A relative
// path with an empty `working_dir` throws
// Failure("the working directory no longer exists"), as does every function
// here that must resolve one (also the look-up of log.ini).
std::filesystem::path resolve_path(const std::filesystem::path& working_dir, const std::string& path);

// Whether a file (not a directory) exists at the path, taken relative to the
// working directory.
bool log_exists(const std::filesystem::path& working_dir, const std::string& path);

// Reads the whole file read-only in one piece and splits it into lines. A file
// that cannot be opened or read fails with "Cannot open file "full path".
// reason"; one too large for the memory throws std::bad_alloc.
LineList load_log(const std::filesystem::path& working_dir, const std::string& path);

// What a file is on the disk at one moment, enough to tell that it has been
// written, replaced or removed since: a log the metering program appends to
// grows, one it replaces is another file, one made readable has another mode.
struct FileState {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::timespec modified{};
    mode_t mode = 0;
    // The write-ahead file beside a database ("-wal"), which a writer in
    // that mode changes in place of the database: its size and time, -1
    // when there is none.
    off_t wal_size = -1;
    std::timespec wal_modified{};

    bool operator==(const FileState& other) const;
    bool operator!=(const FileState& other) const { return !(*this == other); }
};

// The state of the file at `path` now (following symbolic links), with its
// "-wal" file beside it; a file that cannot be reached does not exist.
FileState file_state(const std::filesystem::path& path);

// A file a window follows, and its state when it was last read.
struct WatchedFile {
    std::filesystem::path path;
    FileState state;
};

// Whether the file's last line has no line end yet (a writer may still be
// at it): false for an empty file and one that cannot be read.
bool last_line_unended(const std::filesystem::path& path);

// Whether both paths name one existing file: the same device and inode once
// symbolic links are followed, so a hard link or a link to the file counts.
// False when either cannot be reached.
bool same_file(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace loglezer
