#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace lobex {

// One running copy per user. The first copy holds a lock file and listens on a local socket;
// a later copy finds the lock taken, asks the first copy to show its main window and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // folder: a private folder of the user's (the lock and the socket live there).
    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first copy; it then listens for later copies.
    bool TryBecomePrimary();
    // Asks the first copy to show its main window; false when it could not be reached.
    bool NotifyPrimary(int timeoutMs = 3000);

signals:
    // A later copy was started: show the main window normally and bring it to the front.
    void ShowRequested();

private:
    void OnNewConnection();

    QString lockPath_;
    QString serverName_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace lobex
