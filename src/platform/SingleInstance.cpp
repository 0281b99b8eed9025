#include "SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

namespace lobex {
namespace {

constexpr char kShowMessage[] = "show\n";

} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), lockPath_(QDir(folder).filePath(QStringLiteral("lobex.lock"))) {
#ifdef Q_OS_WIN
    serverName_ = QStringLiteral("lobex-") + qEnvironmentVariable("USERNAME");
#else
    // A full path puts the socket in the private folder rather than in the shared /tmp.
    serverName_ = QDir(folder).filePath(QStringLiteral("lobex.sock"));
#endif
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::TryBecomePrimary() {
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // Only a lock whose process has died counts as stale.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        lock_.reset();
        return false;
    }
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(serverName_);
    if (server_->listen(serverName_)) {
        connect(server_.get(), &QLocalServer::newConnection, this,
                &SingleInstance::OnNewConnection);
    }
    return true;
}

bool SingleInstance::NotifyPrimary(int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    // The first copy may hold the lock but not listen yet; keep trying for a moment.
    while (clock.elapsed() < timeoutMs) {
        QLocalSocket socket;
        socket.connectToServer(serverName_);
        if (socket.waitForConnected(250)) {
            socket.write(kShowMessage);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(50);
    }
    return false;
}

void SingleInstance::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // The message may already be buffered, arrive later, or arrive with the disconnect.
        const auto consume = [this, socket] {
            if (socket->readAll().contains("show")) {
                emit ShowRequested();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, consume);
        connect(socket, &QLocalSocket::disconnected, this, [socket, consume] {
            consume();
            socket->deleteLater();
        });
        consume();
    }
}

} // namespace lobex
