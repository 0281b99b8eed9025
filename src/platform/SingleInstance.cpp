#include "SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

#include <memory>

namespace lobex {
namespace {

// One line a connection: "show", or "open " and the file name's bytes in hexadecimal (a name
// may hold any byte but the zero, a line end included).
constexpr char kShowMessage[] = "show";
constexpr char kOpenMessage[] = "open ";

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

InstanceClaim SingleInstance::TryBecomePrimary() {
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // Only a lock whose process has died counts as stale.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        Listen();
        return InstanceClaim::Primary;
    }
    const QLockFile::LockError error = lock_->error();
    if (error == QLockFile::LockFailedError) {
        if (HolderIsKnown()) {
            lock_.reset();
            return InstanceClaim::AnotherCopyRuns;
        }
        // A lock file naming no process (left empty by a crash, say) would keep every later
        // start out for good: clear it and try once more.
        if (lock_->removeStaleLockFile() && lock_->tryLock(0)) {
            Listen();
            return InstanceClaim::Primary;
        }
    }
    lock_.reset();
    return InstanceClaim::LockUnavailable;
}

// Whether the lock file names its holder. The holder writes its name just after creating the
// file, so an unnamed one is given a moment.
bool SingleInstance::HolderIsKnown() const {
    for (int attempt = 0; attempt < 10; ++attempt) {
        qint64 pid = 0;
        QString host;
        QString application;
        if (lock_->getLockInfo(&pid, &host, &application)) {
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}

void SingleInstance::Listen() {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(serverName_);
    if (server_->listen(serverName_)) {
        connect(server_.get(), &QLocalServer::newConnection, this,
                &SingleInstance::OnNewConnection);
    }
}

bool SingleInstance::NotifyPrimary(const QByteArray& file, int timeoutMs) {
    const QByteArray message =
        (file.isEmpty() ? QByteArray(kShowMessage) : QByteArray(kOpenMessage) + file.toHex()) +
        '\n';
    QElapsedTimer clock;
    clock.start();
    // The first copy may hold the lock but not listen yet; keep trying for a moment.
    while (clock.elapsed() < timeoutMs) {
        QLocalSocket socket;
        socket.connectToServer(serverName_);
        if (socket.waitForConnected(250)) {
            socket.write(message);
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
        // The message may already be buffered, arrive in pieces, or arrive with the disconnect.
        auto pending = std::make_shared<QByteArray>();
        const auto consume = [this, socket, pending] {
            pending->append(socket->readAll());
            qsizetype end = 0;
            while ((end = pending->indexOf('\n')) >= 0) {
                const QByteArray line = pending->left(end);
                pending->remove(0, end + 1);
                OnMessage(line);
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

void SingleInstance::OnMessage(const QByteArray& line) {
    if (line == kShowMessage) {
        emit ShowRequested();
    } else if (line.startsWith(kOpenMessage)) {
        const QByteArray file = QByteArray::fromHex(line.mid(qsizetype(sizeof kOpenMessage) - 1));
        emit ShowRequested();
        if (!file.isEmpty() && !file.contains('\0')) {
            emit FileRequested(file);
        }
    }
}

} // namespace lobex
