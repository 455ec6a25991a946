#include "controlrequest.h"

#include "controlprotocol.h"

#include <QJsonDocument>
#include <QLocalSocket>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>

ControlRequest::ControlRequest(QLocalSocket* socket, QJsonObject body, QObject* parent)
    : QObject(parent), socket_(socket), body_(std::move(body))
{
    connect(socket, &QLocalSocket::disconnected, this, [this] {
        if (!finished_) {
            finished_ = true;
            emit abandoned();
        }
    });
}

QString ControlRequest::command() const
{
    return body_.value(ControlProtocol::CommandField).toString();
}

bool ControlRequest::isOpen() const
{
    return !finished_ && socket_ && socket_->state() == QLocalSocket::ConnectedState;
}

void ControlRequest::send(const QJsonObject& object)
{
    if (!isOpen()) {
        return;
    }
    socket_->write(QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
    socket_->flush();
}

void ControlRequest::notify(const QJsonObject& event)
{
    send(event);
}

void ControlRequest::finish(QJsonObject result)
{
    if (!result.contains(ControlProtocol::OkField)) {
        result.insert(ControlProtocol::OkField, true);
    }
    if (!result.contains(ControlProtocol::CodeField)) {
        result.insert(ControlProtocol::CodeField, ControlProtocol::Ok);
    }
    send(result);
    finished_ = true;
    if (socket_) {
        // The socket, and this request with it, goes once the reply is out.
        socket_->disconnectFromServer();
    }
}

void ControlRequest::finishPassing(QJsonObject result, int descriptor)
{
    if (!isOpen()) {
        return;
    }
    result.insert(ControlProtocol::OkField, true);
    result.insert(ControlProtocol::CodeField, ControlProtocol::Ok);
    // Everything sent before goes first, then the reply with the descriptor.
    socket_->flush();
    QByteArray line = QJsonDocument(result).toJson(QJsonDocument::Compact) + '\n';
    iovec part{line.data(), size_t(line.size())};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = SOL_SOCKET;
    header->cmsg_type = SCM_RIGHTS;
    header->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(header), &descriptor, sizeof(int));
    const int fd = static_cast<int>(socket_->socketDescriptor());
    ssize_t sent;
    do {
        sent = ::sendmsg(fd, &message, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    finished_ = true;
    socket_->disconnectFromServer();
}

void ControlRequest::fail(int code, const QString& text)
{
    finish({{ControlProtocol::OkField, false},
            {ControlProtocol::CodeField, code},
            {ControlProtocol::ErrorField, text}});
}
