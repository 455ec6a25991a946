#include "controlrequest.h"

#include "controlprotocol.h"

#include <QJsonDocument>
#include <QLocalSocket>

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

void ControlRequest::fail(int code, const QString& text)
{
    finish({{ControlProtocol::OkField, false},
            {ControlProtocol::CodeField, code},
            {ControlProtocol::ErrorField, text}});
}
