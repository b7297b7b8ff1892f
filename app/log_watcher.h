#pragma once

#include <QFileSystemWatcher>
#include <QStringList>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <vector>

#include "log/log_file.h"

namespace loglezer {

// Watches the files the window follows (the log, then its settings files)
// and calls back once one has changed: each file, the file a symbolic link
// points at, and the folders of both, since a writer may replace a file by
// another of the same name (which a watch of the file alone loses). Every
// change puts the watches afresh on what is there now, since a watch stops
// with the file or folder it was put on; a folder that is gone is looked
// for once a second until it is back. A burst of changes gives one call, a
// moment after the first of them; a change that leaves every file as it was
// last read (another file of the folder written) gives none.
class LogWatcher {
public:
    // How long the watcher lets a burst of changes settle.
    static constexpr int kSettleMs = 400;
    // How often a folder that is gone is looked for.
    static constexpr int kMissingFolderMs = 1000;
    // How long a line still being written is given before the next look.
    static constexpr int kUnfinishedLineMs = 300;

    LogWatcher(QObject* parent, std::function<void()> changed);

    // Watches `files` from now on, each with its state when it was last read
    // (taken before the read, so that a change during it counts).
    void watch(std::vector<WatchedFile> files);
    // Looks again a moment later, for a change the window could not take
    // at once.
    void look_again_later();
    // Calls back a moment later whether or not anything changed (a line was
    // still being written), or no longer.
    void call_again_soon(bool soon);

private:
    // A change reported for a file or a folder.
    void noticed();
    // The burst has settled: calls back when a file is no longer as read.
    void settled();
    // Puts the watches on the files and folders now at the paths, which
    // may be others than the ones watched; notes the folders that are gone.
    void rewatch();
    // The polling timer's look: a folder that is back is watched again.
    void look_for_folders();

    QFileSystemWatcher watcher_;
    QTimer settle_;
    QTimer unfinished_line_;
    QTimer missing_folders_poll_;
    std::function<void()> changed_;
    std::vector<WatchedFile> files_;
    QStringList missing_folders_;
    // Call back at the next settle, changed or not.
    bool call_anyway_ = false;
};

}  // namespace loglezer
