#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace lobex {

// What the lock file said about this copy.
enum class InstanceClaim {
    Primary,         // the first copy: it holds the lock and listens for later copies
    AnotherCopyRuns, // a live copy holds the lock
    LockUnavailable, // no lock could be made: copies cannot be told apart
};

// One running copy per user. The first copy holds a lock file and listens on a local socket;
// a later copy finds the lock taken, asks the first copy to show its main window (and to open the
// file it was started with) and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // folder: a private folder of the user's (the lock and the socket live there).
    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    InstanceClaim TryBecomePrimary();
    // The lock file's path, for telling the user why there is no guard.
    const QString& LockPath() const { return lockPath_; }
    // Asks the first copy to show its main window and, when file is given (an absolute name,
    // the system's bytes), to open it; false when it could not be reached.
    bool NotifyPrimary(const QByteArray& file = {}, int timeoutMs = 3000);

signals:
    // A later copy was started: show the main window normally and bring it to the front.
    void ShowRequested();
    // The later copy was started with a file: open it as "Открыть" would. Follows ShowRequested.
    void FileRequested(const QByteArray& file);

private:
    bool HolderIsKnown() const;
    void Listen();
    void OnNewConnection();
    void OnMessage(const QByteArray& line);

    QString lockPath_;
    QString serverName_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace lobex
