#include "app/log_watcher.h"

#include <QFile>
#include <system_error>
#include <utility>

#include "log/files.h"

namespace loglezer {
namespace {

namespace fs = std::filesystem;

QString qt_path(const fs::path& path) { return QFile::decodeName(path.c_str()); }

// The paths that make up a file to watch: itself, the file a symbolic link
// points at, and a database's write-ahead file beside that.
std::vector<fs::path> paths_of(const fs::path& file) {
    const fs::path target = final_target(file);
    std::vector<fs::path> paths{file};
    if (target != file) paths.push_back(target);
    // A database in write-ahead mode is written in its "-wal" file, whose
    // changes in place the folder's watch does not see.
    paths.push_back(target.string() + "-wal");
    return paths;
}

}  // namespace

LogWatcher::LogWatcher(QObject* parent, std::function<void()> changed)
    : watcher_(parent),
      settle_(parent),
      unfinished_line_(parent),
      missing_folders_poll_(parent),
      changed_(std::move(changed)) {
    settle_.setObjectName(QStringLiteral("log_settle_timer"));
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    unfinished_line_.setSingleShot(true);
    unfinished_line_.setInterval(kUnfinishedLineMs);
    missing_folders_poll_.setInterval(kMissingFolderMs);
    QObject::connect(&settle_, &QTimer::timeout, parent, [this] { settled(); });
    QObject::connect(&unfinished_line_, &QTimer::timeout, parent, [this] {
        call_anyway_ = true;
        settled();
    });
    QObject::connect(&missing_folders_poll_, &QTimer::timeout, parent, [this] { look_for_folders(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, parent, [this] { noticed(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, parent, [this] { noticed(); });
}

void LogWatcher::watch(std::vector<WatchedFile> files) {
    files_ = std::move(files);
    rewatch();
}

void LogWatcher::look_again_later() { settle_.start(); }

void LogWatcher::call_again_soon(bool soon) {
    if (soon) {
        unfinished_line_.start();
        return;
    }
    unfinished_line_.stop();
    call_anyway_ = false;
}

void LogWatcher::noticed() {
    // Started by the first change of a burst only, so that a writer that
    // never pauses still gets the window to follow.
    if (!settle_.isActive()) settle_.start();
    rewatch();
}

void LogWatcher::settled() {
    if (files_.empty()) return;
    bool changed = call_anyway_;
    for (const WatchedFile& file : files_) changed = changed || file_state(file.path) != file.state;
    if (!changed) return;
    call_anyway_ = false;
    changed_();
}

void LogWatcher::rewatch() {
    // A watch follows the file or folder it was put on, also once that has
    // been replaced or removed: all are put afresh on the ones there now.
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    QStringList wanted;
    missing_folders_.clear();
    for (const WatchedFile& file : files_) {
        for (const fs::path& path : paths_of(file.path)) {
            std::error_code unreachable;
            const QString folder = qt_path(path.parent_path());
            if (!fs::is_directory(path.parent_path(), unreachable)) {
                if (!missing_folders_.contains(folder)) missing_folders_.append(folder);
            } else if (!wanted.contains(folder)) {
                wanted.append(folder);
            }
            if (fs::exists(path, unreachable) && !wanted.contains(qt_path(path))) wanted.append(qt_path(path));
        }
    }
    // A file that cannot be watched (not readable) is still seen through
    // its folder.
    if (!wanted.isEmpty()) watcher_.addPaths(wanted);
    if (missing_folders_.isEmpty()) {
        missing_folders_poll_.stop();
    } else if (!missing_folders_poll_.isActive()) {
        missing_folders_poll_.start();
    }
}

void LogWatcher::look_for_folders() {
    for (const QString& folder : missing_folders_) {
        std::error_code unreachable;
        if (fs::is_directory(fs::path(QFile::encodeName(folder).toStdString()), unreachable)) {
            noticed();
            return;
        }
    }
}

}  // namespace loglezer
