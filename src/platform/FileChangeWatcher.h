#pragma once

#include "session/LiveReload.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <string>

namespace lobex {

// Watches one file and says when a new version of it is complete. Writers rewrite in bursts
// and editors replace a file by renaming another over it, so the file's folder is watched too,
// and a version counts only once it has held still for a pause.
class FileChangeWatcher final : public QObject {
    Q_OBJECT
public:
    explicit FileChangeWatcher(int pauseMs, QObject* parent = nullptr);

    // Starts watching path as it is now; an empty path stops watching.
    void Watch(const std::string& path);
    const std::string& Path() const { return path_; }

signals:
    void Changed();

private:
    void Noticed();
    void PauseEnded();
    // The watcher forgets a file that was replaced; it is asked again while the file is there.
    void KeepWatching();

    QFileSystemWatcher watcher_;
    QTimer pause_;
    std::string path_;
    QString watchedPath_;
    FileStamp reported_;
    FileStamp seen_;
};

} // namespace lobex
