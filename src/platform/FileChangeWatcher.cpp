#include "FileChangeWatcher.h"

#include <QFileInfo>

namespace lobex {

FileChangeWatcher::FileChangeWatcher(int pauseMs, QObject* parent) : QObject(parent) {
    pause_.setSingleShot(true);
    pause_.setInterval(pauseMs);
    connect(&pause_, &QTimer::timeout, this, &FileChangeWatcher::PauseEnded);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &FileChangeWatcher::Noticed);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FileChangeWatcher::Noticed);
}

void FileChangeWatcher::Watch(const std::string& path) {
    pause_.stop();
    if (const QStringList watched = watcher_.files() + watcher_.directories(); !watched.isEmpty()) {
        watcher_.removePaths(watched);
    }
    path_ = path;
    watchedPath_ = QString::fromStdString(path);
    if (path_.empty()) {
        return;
    }
    reported_ = ReadFileStamp(path_);
    seen_ = reported_;
    watcher_.addPath(QFileInfo(watchedPath_).absolutePath());
    KeepWatching();
}

void FileChangeWatcher::Noticed() {
    if (path_.empty()) {
        return;
    }
    KeepWatching();
    // The folder changes for many reasons: only a new version of the file starts a pause, and
    // each further change while it lasts starts it again.
    const FileStamp now = ReadFileStamp(path_);
    if (!now.exists || (now == reported_ && !pause_.isActive())) {
        return;
    }
    seen_ = now;
    pause_.start();
}

void FileChangeWatcher::PauseEnded() {
    KeepWatching();
    const FileStamp now = ReadFileStamp(path_);
    switch (NextSettleStep(reported_, seen_, now)) {
    case SettleStep::Ignore:
        break;
    case SettleStep::Wait:
        seen_ = now;
        pause_.start();
        break;
    case SettleStep::Report:
        reported_ = now;
        emit Changed();
        break;
    }
}

void FileChangeWatcher::KeepWatching() {
    if (!watcher_.files().contains(watchedPath_) && QFileInfo::exists(watchedPath_)) {
        watcher_.addPath(watchedPath_);
    }
}

} // namespace lobex
