// What the window costs the machine over a long session: memory that a save
// must give back, and the log, which belongs to the metering program and is
// only ever opened for reading.

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <map>

#include "tests/app/window_fixture.h"

#if defined(__SANITIZE_ADDRESS__)
#define LOGLEZER_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LOGLEZER_TEST_ASAN 1
#endif
#endif

using namespace test_support;

namespace {

// Resident memory of this process, in bytes.
long resident_bytes() {
    long size = 0, resident = 0;
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return -1;
    const int got = std::fscanf(f, "%ld %ld", &size, &resident);
    std::fclose(f);
    return got == 2 ? resident * ::sysconf(_SC_PAGESIZE) : -1;
}

std::string file_bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Resources : public Window {
protected:
    void save_to(const fs::path& file, const char* button) {
        save_answer_ = QString::fromStdString(file.string());
        click(child<QPushButton>(button));
    }
};

TEST_F(Resources, SavingManyPicturesDoesNotGrowTheMemory) {
#ifdef LOGLEZER_TEST_ASAN
    GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine, so the resident size says nothing; "
                    "its leak check covers this build";
#endif
    start(log_of(days_from(2005, 1, 1, 400)));
    const fs::path file = dir_ / "chart.jpg";
    const char* buttons[] = {"sbtn_savedownload", "sbtn_saveupload"};
    for (int i = 0; i < 200; ++i) save_to(file, buttons[i % 2]);
    const long after_200 = resident_bytes();
    for (int i = 200; i < 300; ++i) save_to(file, buttons[i % 2]);
    const long after_300 = resident_bytes();
    RecordProperty("rss_after_200", std::to_string(after_200));
    RecordProperty("rss_after_300", std::to_string(after_300));

    ASSERT_GT(after_200, 0);
    EXPECT_LE(after_300 - after_200, 1024 * 1024) << after_200 << " -> " << after_300;
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(file_bytes(file).substr(0, 3), "\xFF\xD8\xFF");
    EXPECT_EQ(QImage(QString::fromStdString(file.string())).size(), QSize(1049, 249));
}

TEST_F(Resources, TheLogIsNeverWritten) {
    const fs::path log = dir_ / "log.csv";
    std::ofstream(log, std::ios::binary) << log_of(days_from(2005, 3, 1, 400));
    const std::string bytes = file_bytes(log);
    struct stat before {};
    ASSERT_EQ(::stat(log.c_str(), &before), 0);

    // Watched before the window is made, so that the start-up's open is seen.
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, log.c_str(), IN_ALL_EVENTS), 0);

    open();
    auto* stats = child<QPushButton>("sbtn_showstats");
    // Years picked from the list with the keyboard, each option's stats, and
    // both pictures, one next to the log and one in another folder.
    click(option(1));
    year()->setFocus();
    QTest::keyClick(year(), Qt::Key_Up);
    EXPECT_EQ(year()->currentText(), "2005");
    click(stats);
    click(option(2));
    month()->setEditText("Maart");
    click(stats);
    click(option(0));
    click(stats);
    click(option(1));
    QTest::keyClick(year(), Qt::Key_Down);
    EXPECT_EQ(year()->currentText(), "2006");
    click(stats);
    fs::create_directories(dir_ / "elsewhere");
    save_to(dir_ / "next_to_the_log.jpg", "sbtn_savedownload");
    save_to(dir_ / "elsewhere" / "chart.jpg", "sbtn_saveupload");
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(fs::exists(dir_ / "next_to_the_log.jpg"));
    EXPECT_TRUE(fs::exists(dir_ / "elsewhere" / "chart.jpg"));

    std::map<uint32_t, int> seen;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(watch, buffer, sizeof buffer);
        if (got <= 0) break;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            for (uint32_t bit = 1; bit != 0; bit <<= 1) {
                if (event->mask & bit) ++seen[bit];
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    ::close(watch);
    const std::pair<uint32_t, const char*> names[] = {
        {IN_OPEN, "IN_OPEN"},           {IN_ACCESS, "IN_ACCESS"},           {IN_CLOSE_NOWRITE, "IN_CLOSE_NOWRITE"},
        {IN_MODIFY, "IN_MODIFY"},       {IN_CLOSE_WRITE, "IN_CLOSE_WRITE"}, {IN_ATTRIB, "IN_ATTRIB"},
        {IN_MOVE_SELF, "IN_MOVE_SELF"}, {IN_DELETE_SELF, "IN_DELETE_SELF"}};
    std::string events;
    for (const auto& [bit, name] : names) events += std::string(name) + "=" + std::to_string(seen[bit]) + " ";
    RecordProperty("inotify_events", events);

    EXPECT_GE(seen[IN_OPEN], 1) << events;
    EXPECT_EQ(seen[IN_CLOSE_NOWRITE], seen[IN_OPEN]) << events;
    // Opened for writing, changed, moved or deleted: never.
    for (const auto& [bit, name] : names) {
        if (bit != IN_OPEN && bit != IN_ACCESS && bit != IN_CLOSE_NOWRITE) {
            EXPECT_EQ(seen[bit], 0) << name;
        }
    }

    struct stat after {};
    ASSERT_EQ(::stat(log.c_str(), &after), 0);
    EXPECT_EQ(file_bytes(log), bytes);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

}  // namespace
