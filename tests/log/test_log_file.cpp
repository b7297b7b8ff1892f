#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "log/failure.h"
#include "log/log_file.h"

namespace fs = std::filesystem;
using namespace loglezer;
using ::testing::ThrowsMessage;

namespace {

// A fresh working directory per test.
class LogFile : public ::testing::Test {
protected:
    void SetUp() override {
        // A new folder of its own, also for each case of a table.
        std::string pattern = (fs::temp_directory_path() / "loglezer_test_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        if (dir_.empty()) return;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    void write(const fs::path& name, const std::string& content) {
        std::ofstream(dir_ / name, std::ios::binary) << content;
    }
    fs::path dir_;
};

TEST_F(LogFile, ADirectoryDoesNotCount) {
    fs::create_directory(dir_ / "logdir");
    EXPECT_FALSE(log_exists(dir_, "logdir"));
}

TEST_F(LogFile, AnEmptyLogGivesAnEmptyList) {
    write("log.csv", "");
    EXPECT_EQ(load_log(dir_, "log.csv").count(), 0);
}

TEST_F(LogFile, AnUnreadableLogFailsWithPathAndReason) {
    // Root reads any file; a directory opened as a file fails the same way.
    const bool root = ::geteuid() == 0;
    const std::string name = root ? "locked" : "log.csv";
    if (root) {
        fs::create_directory(dir_ / name);
    } else {
        write(name, "01-Jan-2005,1,2,\n");
        fs::permissions(dir_ / name, fs::perms::none);
    }
    EXPECT_THAT([&] { load_log(dir_, name); }, ThrowsMessage<Failure>("Cannot open file \"" + (dir_ / name).string() +
                                                                      "\". " + std::strerror(root ? EISDIR : EACCES)));
}

// A named pipe without a writer would block the start-up for ever, a device
// like /dev/zero would fill the memory: neither is read.
TEST_F(LogFile, OnlyRegularFilesAreRead) {
    ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
    for (const fs::path& path : {dir_ / "pipe", fs::path("/dev/zero")}) {
        EXPECT_TRUE(log_exists(dir_, path.string()));  // it exists: no "not found" box
        EXPECT_THAT([&] { load_log(dir_, path.string()); },
                    ThrowsMessage<Failure>("Cannot open file \"" + path.string() + "\". Not a regular file"))
            << path;
    }
}

// A log larger than the memory the process may take is an allocation
// failure, which each program reports as such, rather than an abort.
TEST_F(LogFile, ALogTooLargeForTheMemoryIsAnAllocationFailure) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer needs more address space than the limit leaves";
#else
    write("log.csv", std::string(64 << 20, '\n'));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{48 << 20, 48 << 20};
        ::setrlimit(RLIMIT_DATA, &limit);
        try {
            load_log(dir_, "log.csv");
        } catch (const std::bad_alloc&) {
            ::_exit(0);
        } catch (...) {
            ::_exit(3);
        }
        ::_exit(4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

TEST_F(LogFile, LoadingNeverChangesTheLog) {
    const std::string content = "01-Jan-2005,1,2,\r\n02-Jan-2005,3,4,";
    write("log.csv", content);
    fs::permissions(dir_ / "log.csv", fs::perms::owner_read);
    const auto before = fs::last_write_time(dir_ / "log.csv");
    const LineList lines = load_log(dir_, "log.csv");
    EXPECT_EQ(lines.count(), 2);
    std::ifstream in(dir_ / "log.csv", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content);
    EXPECT_EQ(fs::last_write_time(dir_ / "log.csv"), before);
}

// Another process holding the log open for appending, locked both with flock
// and with a record lock over the whole file, as a metering program may keep
// it while it runs. Each byte sent to it asks for one more line; closing the
// pipe ends it.
class LockingWriter {
public:
    LockingWriter(const fs::path& log, const std::string& line) {
        int ready[2], ask[2];
        if (::pipe2(ready, O_CLOEXEC) != 0) return;
        if (::pipe2(ask, O_CLOEXEC) != 0) {
            ::close(ready[0]);
            ::close(ready[1]);
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(ask[1]);
            const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
            struct flock whole {};
            whole.l_type = F_WRLCK;
            whole.l_whence = SEEK_SET;  // l_start 0, l_len 0: the whole file, however long
            if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::fcntl(fd, F_SETLK, &whole) != 0) ::_exit(1);
            char c = 'h';
            if (::write(ready[1], &c, 1) != 1) ::_exit(2);
            while (::read(ask[0], &c, 1) == 1) {
                const auto n = static_cast<ssize_t>(line.size());
                if (::write(fd, line.data(), line.size()) != n || ::write(ready[1], &c, 1) != 1) ::_exit(3);
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(ask[0]);
        from_ = ready[0];
        to_ = ask[1];
        if (pid_ < 0) finish();
    }
    ~LockingWriter() { finish(); }

    // Waits for the child's answer: it holds the locks, or has appended.
    bool answered() {
        char c;
        return from_ >= 0 && ::read(from_, &c, 1) == 1;
    }
    bool append() {
        const char c = 'a';
        return to_ >= 0 && ::write(to_, &c, 1) == 1 && answered();
    }
    // Ends the child and returns its exit status, or -1.
    int finish() {
        if (to_ >= 0) ::close(to_);
        if (from_ >= 0) ::close(from_);
        to_ = from_ = -1;
        int status = 0;
        const bool waited = pid_ > 0 && ::waitpid(pid_, &status, 0) == pid_;
        pid_ = -1;
        return waited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int from_ = -1, to_ = -1;
};

int open_descriptors() {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

TEST_F(LogFile, ALogHeldOpenAndLockedForWritingIsStillRead) {
    write("log.csv", "01-Jan-2005,1,2,\r\n02-Jan-2005,3,4,\r\n");
    const int descriptors = open_descriptors();
    {
        LockingWriter writer(dir_ / "log.csv", "03-Jan-2005,5,6,\r\n");
        ASSERT_TRUE(writer.answered());
        const pid_t child = writer.pid();

        // The locks are really held: both kinds refuse this process.
        const int probe = ::open((dir_ / "log.csv").c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(probe, 0);
        EXPECT_NE(::flock(probe, LOCK_SH | LOCK_NB), 0);
        struct flock query {};
        query.l_type = F_RDLCK;
        query.l_whence = SEEK_SET;
        EXPECT_EQ(::fcntl(probe, F_GETLK, &query), 0);
        EXPECT_EQ(query.l_type, F_WRLCK);
        EXPECT_EQ(query.l_pid, child);
        ::close(probe);

        LineList lines = load_log(dir_, "log.csv");
        ASSERT_EQ(lines.count(), 2);
        EXPECT_EQ(lines.at(1), "02-Jan-2005,3,4,");

        // A line appended while it is held is there on the next load.
        ASSERT_TRUE(writer.append());
        lines = load_log(dir_, "log.csv");
        ASSERT_EQ(lines.count(), 3);
        EXPECT_EQ(lines.at(2), "03-Jan-2005,5,6,");

        EXPECT_EQ(writer.finish(), 0);
        // Reaped: no zombie is left behind.
        const pid_t again = ::waitpid(child, nullptr, WNOHANG);
        const int error = errno;
        EXPECT_EQ(again, -1);
        EXPECT_EQ(error, ECHILD);
    }
    EXPECT_EQ(open_descriptors(), descriptors);
}

}  // namespace
