#include "controlclient.h"

#include "controlprotocol.h"
#include "controlserver.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QLocalSocket>

#include <unistd.h>

ControlClient::ControlClient() : socket_(new QLocalSocket()) {}

ControlClient::~ControlClient()
{
    delete socket_;
}

bool ControlClient::connectTo(const QString& socketPath, int timeoutMs)
{
    socket_->connectToServer(socketPath);
    if (!socket_->waitForConnected(timeoutMs)) {
        error_ = socket_->errorString();
        return false;
    }
    unsigned uid = 0;
    if (!ControlServer::peerUid(static_cast<int>(socket_->socketDescriptor()), &uid) || uid != ::getuid()) {
        error_ = QCoreApplication::translate("KestrovaCli", "The control socket belongs to another user.");
        socket_->abort();
        return false;
    }
    return true;
}

std::optional<QJsonObject> ControlClient::call(const QJsonObject& request, int timeoutMs,
                                               const std::function<void(const QJsonObject&)>& onEvent)
{
    if (socket_->state() != QLocalSocket::ConnectedState) {
        error_ = QCoreApplication::translate("KestrovaCli", "Not connected to the engine.");
        return std::nullopt;
    }
    socket_->write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
    socket_->flush();
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        while (socket_->canReadLine()) {
            const QJsonObject object = QJsonDocument::fromJson(socket_->readLine()).object();
            if (object.contains(ControlProtocol::EventField)) {
                if (onEvent) {
                    onEvent(object);
                }
                continue;
            }
            if (object.contains(ControlProtocol::OkField)) {
                return object;
            }
        }
        if (socket_->state() != QLocalSocket::ConnectedState && socket_->bytesAvailable() == 0) {
            error_ = QCoreApplication::translate("KestrovaCli",
                                                 "The engine ended the dialogue without an answer.");
            return std::nullopt;
        }
        if (deadline.hasExpired()) {
            error_ = QCoreApplication::translate("KestrovaCli", "The engine did not answer in time.");
            return std::nullopt;
        }
        socket_->waitForReadyRead(static_cast<int>(qMin<qint64>(deadline.remainingTime(), 250)));
    }
}
