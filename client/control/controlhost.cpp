#include "controlhost.h"

#include "controlpath.h"
#include "controlprotocol.h"
#include "controlrequest.h"
#include "controlserver.h"
#include "enginecall.h"
#include "localsettings.h"
#include "sessioncontrol.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QThread>

#include <unistd.h>

ControlHost::ControlHost(ConnectionSession* session, QString hostName, QObject* parent)
    : QObject(parent), session_(session), server_(new ControlServer(this)),
      control_(new SessionControl(session, std::move(hostName), this))
{
    connect(server_, &ControlServer::requestReceived, control_, &SessionControl::handle);
}

ControlHost::~ControlHost() = default;

ControlHost::Start ControlHost::start(bool takeOver, QString* error)
{
    const std::optional<QString> path = ControlPath::socketPath(error);
    if (!path) {
        return Start::Failed;
    }
    switch (server_->listen(*path, error)) {
    case ControlServer::ListenResult::Listening:
        return Start::Serving;
    case ControlServer::ListenResult::Failed:
        return Start::Failed;
    case ControlServer::ListenResult::AnotherEngine:
        break;
    }
    if (!takeOver) {
        return Start::AnotherEngine;
    }
    return takeOverFrom(*path, error) ? Start::Serving : Start::Failed;
}

bool ControlHost::takeOverFrom(const QString& path, QString* error)
{
    int management = -1;
    const std::optional<QJsonObject> reply =
        EngineCall::run(path, ControlProtocol::Handover, kHandoverWaitMs, &management);
    // The background session lets go of the socket as it ends.
    QDeadlineTimer deadline(10000);
    ControlServer::ListenResult result = server_->listen(path, error);
    while (result == ControlServer::ListenResult::AnotherEngine && !deadline.hasExpired()) {
        QThread::msleep(20);
        result = server_->listen(path, error);
    }
    if (result != ControlServer::ListenResult::Listening) {
        if (error && result == ControlServer::ListenResult::AnotherEngine) {
            *error =
                QCoreApplication::translate("KestrovaCli", "Another Kestrova engine of this user holds %1.")
                    .arg(path);
        }
        return false;
    }
    if (!reply || !reply->value(QStringLiteral("resume")).toBool()) {
        if (management >= 0) {
            ::close(management);
        }
        return true;
    }
    const QString location = reply->value(ControlProtocol::LocationField).toString();
    const QString login = LocalSettings::instance()->value(Keys::VpnLogin).toString();
    qDebug() << "Taking the connection to" << location << "over from the background session";
    const QString protocol = reply->value(QStringLiteral("protocol")).toString();
    if (!session_->selectServer(ServerIdentif(login, location))) {
        // A location this window does not know: the tunnel is not left
        // running with nobody to end it.
        if (session_->attach(management, protocol)) {
            session_->disconnect();
        } else if (management >= 0) {
            ::close(management);
        }
        return true;
    }
    if (!session_->attach(management, protocol)) {
        if (management >= 0) {
            ::close(management);
        }
        session_->connectToServer();
    }
    return true;
}
