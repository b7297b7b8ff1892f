#pragma once

#include <QFileSystemWatcher>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "log/log_file.h"

namespace loglezer {

// Watches the log the window shows and calls back once it has changed: the
// file and its folder, since a writer may replace the file by another of
// the same name (which a watch of the file alone loses). A burst of changes
// gives one call, a moment after the first of them; a change that leaves the
// file as it was last read (another file of the folder written) gives none.
class LogWatcher {
public:
    // How long the watcher lets a burst of changes settle.
    static constexpr int kSettleMs = 400;

    LogWatcher(QObject* parent, std::function<void()> changed);

    // Watches `log` from now on; `read` is its state when it was last read
    // (taken before the read, so that a change during it counts).
    void watch(const std::filesystem::path& log, FileState read);
    // Looks again a moment later, for a change the window could not take
    // at once.
    void look_again_later();

private:
    // A change reported for the file or its folder.
    void noticed();
    // The burst has settled: calls back when the file is no longer as read.
    void settled();
    // Points the watch at the file now at the log's path, which may be
    // another than the one watched.
    void rewatch_file();

    QFileSystemWatcher watcher_;
    QTimer settle_;
    std::function<void()> changed_;
    std::filesystem::path log_;
    FileState read_;
};

}  // namespace loglezer
