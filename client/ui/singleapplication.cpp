#include "singleapplication.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

#include <unistd.h>

namespace {

const int kMaxMessageBytes = 64 * 1024;
const QByteArray kAck = QByteArrayLiteral("ack\n");
const int kPeerTimeoutMs = 2000;

} // namespace

SingleApplication::SingleApplication(int& argc, char** argv, const QString& appId)
    : QApplication(argc, argv), appId_(appId)
{
}

SingleApplication::~SingleApplication() = default;

QString SingleApplication::socketPath() const
{
    // The runtime directory is private to the user's session; without one, the
    // temporary directory with the uid in the name keeps users apart.
    QString dir = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (dir.isEmpty() || !QDir(dir).exists()) {
        dir = QDir::tempPath();
    }
    return QStringLiteral("%1/%2-%3.sock").arg(dir, appId_).arg(::getuid());
}

bool SingleApplication::isRunning()
{
    if (decided_) {
        return otherRunning_;
    }
    decided_ = true;

    // Two clients started at the same moment must not both become the first.
    QLockFile lock(socketPath() + QStringLiteral(".lock"));
    lock.tryLock(3000);

    QLocalSocket probe;
    probe.connectToServer(socketPath());
    if (probe.waitForConnected(500)) {
        probe.disconnectFromServer();
        otherRunning_ = true;
        return true;
    }
    otherRunning_ = false;
    listen();
    return false;
}

bool SingleApplication::listen()
{
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Nobody answered, so a socket file left there belongs to a client that died.
    QLocalServer::removeServer(socketPath());
    if (!server_->listen(socketPath())) {
        qWarning("Single instance: cannot listen on %s: %s", qPrintable(socketPath()),
                 qPrintable(server_->errorString()));
        server_.reset();
        return false;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, &SingleApplication::onNewConnection);
    return true;
}

bool SingleApplication::isListening() const
{
    return server_ && server_->isListening();
}

bool SingleApplication::sendMessage(const QString& message, int timeout)
{
    if (isListening()) {
        return false;
    }
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(timeout)) {
        return false;
    }
    QByteArray payload = message.toUtf8();
    payload.replace('\n', ' ');
    payload.append('\n');
    socket.write(payload);
    if (!socket.waitForBytesWritten(timeout)) {
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    QByteArray reply;
    while (!reply.contains('\n') && clock.elapsed() < timeout) {
        if (!socket.waitForReadyRead(timeout - int(clock.elapsed()))) {
            break;
        }
        reply += socket.readAll();
    }
    socket.disconnectFromServer();
    return reply == kAck;
}

void SingleApplication::onNewConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        QPointer<QLocalSocket> peer(socket);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A peer that never finishes its line must not stay forever.
        QTimer::singleShot(kPeerTimeoutMs, socket, [peer] {
            if (peer) {
                peer->abort();
                peer->deleteLater();
            }
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, peer] {
            if (!peer) {
                return;
            }
            QByteArray buffer = peer->property("buffer").toByteArray() + peer->readAll();
            const int end = buffer.indexOf('\n');
            if (end < 0) {
                if (buffer.size() > kMaxMessageBytes) {
                    peer->abort();
                    return;
                }
                peer->setProperty("buffer", buffer);
                return;
            }
            const QString message = QString::fromUtf8(buffer.left(end));
            peer->setProperty("buffer", QByteArray());
            peer->write(kAck);
            peer->flush();
            peer->disconnectFromServer();
            emit messageReceived(message);
        });
    }
}
