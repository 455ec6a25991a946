#include "controlserver.h"

#include "controlprotocol.h"
#include "controlrequest.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>

ControlServer::ControlServer(QObject* parent) : QObject(parent), trustedUid_(::getuid()) {}

ControlServer::~ControlServer()
{
    close();
}

bool ControlServer::peerUid(int socketDescriptor, unsigned* uid)
{
    ucred cred{};
    socklen_t length = sizeof cred;
    if (socketDescriptor < 0 ||
        ::getsockopt(socketDescriptor, SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0 ||
        length != sizeof cred) {
        return false;
    }
    *uid = cred.uid;
    return true;
}

ControlServer::ListenResult ControlServer::listen(const QString& socketPath, QString* error)
{
    close();
    const QByteArray lockPath = QFile::encodeName(socketPath + QStringLiteral(".lock"));
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        if (error) {
            *error = QCoreApplication::translate("KestrovaCli", "Cannot open %1: %2")
                         .arg(QFile::decodeName(lockPath), QString::fromLocal8Bit(std::strerror(errno)));
        }
        return ListenResult::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return ListenResult::AnotherEngine;
    }
    lockFd_ = fd;
    // Whoever listened before us has let go of the lock: the socket is stale.
    QLocalServer::removeServer(socketPath);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath)) {
        if (error) {
            *error = server_->errorString();
        }
        close();
        return ListenResult::Failed;
    }
    path_ = socketPath;
    connect(server_, &QLocalServer::newConnection, this, &ControlServer::onNewConnection);
    return ListenResult::Listening;
}

void ControlServer::close()
{
    if (server_) {
        server_->close();
        delete server_;
        server_ = nullptr;
    }
    if (!path_.isEmpty()) {
        QLocalServer::removeServer(path_);
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
    path_.clear();
}

void ControlServer::stopListening()
{
    if (server_) {
        server_->close();
    }
    if (!path_.isEmpty()) {
        QLocalServer::removeServer(path_);
        path_.clear();
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

bool ControlServer::isListening() const
{
    return server_ && server_->isListening();
}

void ControlServer::onNewConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        serve(socket);
    }
}

bool ControlServer::adopt(int socketDescriptor)
{
    int type = 0;
    socklen_t length = sizeof type;
    if (socketDescriptor < 0 || ::getsockopt(socketDescriptor, SOL_SOCKET, SO_TYPE, &type, &length) != 0 ||
        type != SOCK_STREAM) {
        return false;
    }
    // Inherited across exec; the helpers this process starts (stunnel) must
    // not hold the peer's dialogue open.
    ::fcntl(socketDescriptor, F_SETFD, FD_CLOEXEC);
    auto* socket = new QLocalSocket(this);
    if (!socket->setSocketDescriptor(socketDescriptor)) {
        delete socket;
        return false;
    }
    serve(socket);
    return true;
}

void ControlServer::serve(QLocalSocket* socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    unsigned uid = 0;
    if (!peerUid(static_cast<int>(socket->socketDescriptor()), &uid) || uid != trustedUid_) {
        // Not a word for another user: not even whether a tunnel runs.
        qWarning("Control socket: a peer of uid %d was refused", static_cast<int>(uid));
        socket->abort();
        socket->deleteLater();
        emit refused(uid);
        return;
    }
    auto* timeout = new QTimer(socket);
    timeout->setSingleShot(true);
    connect(timeout, &QTimer::timeout, socket, &QLocalSocket::abort);
    timeout->start(ControlProtocol::kRequestWaitMs);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
    if (socket->bytesAvailable() > 0) {
        readRequest(socket);
    }
}

void ControlServer::readRequest(QLocalSocket* socket)
{
    if (socket->property("kvRequestRead").toBool()) {
        return;
    }
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > ControlProtocol::kMaxLineBytes) {
            socket->abort();
        }
        return;
    }
    socket->setProperty("kvRequestRead", true);
    const QByteArray line = socket->readLine(ControlProtocol::kMaxLineBytes + 1);
    for (QTimer* timer : socket->findChildren<QTimer*>()) {
        timer->stop();
    }
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
    auto* request = new ControlRequest(socket, document.object(), socket);
    if (parseError.error != QJsonParseError::NoError || !document.isObject() ||
        request->command().isEmpty()) {
        request->fail(ControlProtocol::Usage,
                      QCoreApplication::translate("KestrovaCli", "The request is not a control command."));
        return;
    }
    emit requestReceived(request);
}
