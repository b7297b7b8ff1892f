#include "app/log_watcher.h"

#include <QFile>
#include <system_error>
#include <utility>

namespace loglezer {

LogWatcher::LogWatcher(QObject* parent, std::function<void()> changed)
    : watcher_(parent), settle_(parent), changed_(std::move(changed)) {
    settle_.setObjectName(QStringLiteral("log_settle_timer"));
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    QObject::connect(&settle_, &QTimer::timeout, parent, [this] { settled(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, parent, [this] { noticed(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, parent, [this] { noticed(); });
}

void LogWatcher::watch(const std::filesystem::path& log, FileState read) {
    read_ = read;
    if (log != log_) {
        if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
        if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
        log_ = log;
        watcher_.addPath(QFile::decodeName(log_.parent_path().c_str()));
    }
    rewatch_file();
}

void LogWatcher::look_again_later() { settle_.start(); }

void LogWatcher::noticed() {
    // Started by the first change of a burst only, so that a writer that
    // never pauses still gets the window to follow.
    if (!settle_.isActive()) settle_.start();
    rewatch_file();
}

void LogWatcher::settled() {
    if (log_.empty() || file_state(log_) == read_) return;
    changed_();
}

void LogWatcher::rewatch_file() {
    const QString file = QFile::decodeName(log_.c_str());
    // A watch follows the file it was put on, also once that has been
    // replaced or removed: put it afresh on the one there now.
    if (watcher_.files().contains(file)) watcher_.removePath(file);
    std::error_code unreachable;
    if (std::filesystem::exists(log_, unreachable)) watcher_.addPath(file);
    // A database in write-ahead mode is written in its "-wal" file, which
    // the folder's watch does not see change.
    const std::filesystem::path wal = log_.string() + "-wal";
    const QString wal_file = QFile::decodeName(wal.c_str());
    if (watcher_.files().contains(wal_file)) watcher_.removePath(wal_file);
    if (std::filesystem::exists(wal, unreachable)) watcher_.addPath(wal_file);
}

}  // namespace loglezer
