#include "sessioncontrol.h"

#include "controlprotocol.h"
#include "controlrequest.h"
#include "killswitch.h"
#include "localsettings.h"

#include <QCoreApplication>

namespace {

// Runs `slot` on every state change until it returns true, or the request
// goes away; the connection is dropped either way.
void follow(ConnectionSession* session, ControlRequest* request,
            std::function<bool(ConnectionSession::State)> slot)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    const QPointer<ControlRequest> guard(request);
    *connection = QObject::connect(session, &ConnectionSession::stateChanged, request,
                                   [connection, guard, slot](ConnectionSession::State state) {
                                       if (!guard || !guard->isOpen() || slot(state)) {
                                           QObject::disconnect(*connection);
                                       }
                                   });
}

} // namespace

SessionControl::SessionControl(ConnectionSession* session, QString host, QObject* parent)
    : QObject(parent), session(session), host(std::move(host))
{
}

QString SessionControl::stateName(ConnectionSession::State state)
{
    switch (state) {
    case ConnectionSession::State::Idle:
        return QStringLiteral("idle");
    case ConnectionSession::State::Preparing:
        return QStringLiteral("preparing");
    case ConnectionSession::State::Connecting:
        return QStringLiteral("connecting");
    case ConnectionSession::State::Connected:
        return QStringLiteral("connected");
    case ConnectionSession::State::Reconnecting:
        return QStringLiteral("reconnecting");
    case ConnectionSession::State::Stopping:
        return QStringLiteral("stopping");
    case ConnectionSession::State::Failed:
        return QStringLiteral("failed");
    }
    return QString();
}

QString SessionControl::failureText(ConnectionSession::Failure failure, const QString& detail)
{
    switch (failure) {
    case ConnectionSession::Failure::None:
        return QString();
    case ConnectionSession::Failure::ServiceNotRunning:
        return QCoreApplication::translate("KestrovaCli", "The Kestrova service (kestrovad) is not running.");
    case ConnectionSession::Failure::MissingConfig:
        return QCoreApplication::translate("KestrovaCli", "Error of loading of the config.");
    case ConnectionSession::Failure::MissingCertificate:
        return QCoreApplication::translate("KestrovaCli", "Error of loading of the certificate.");
    case ConnectionSession::Failure::MissingKey:
        return QCoreApplication::translate("KestrovaCli", "Error of loading of the key.");
    case ConnectionSession::Failure::StealthTunnel:
        return QCoreApplication::translate("KestrovaCli", "The stealth tunnel did not start: %1").arg(detail);
    case ConnectionSession::Failure::ProfileNotWritten:
        return QCoreApplication::translate("KestrovaCli", "The OpenVPN profile could not be written.");
    case ConnectionSession::Failure::Tunnel:
        return detail.isEmpty() ? QCoreApplication::translate("KestrovaCli", "The connection failed.")
                                : detail;
    case ConnectionSession::Failure::TimedOut:
        return QCoreApplication::translate("KestrovaCli", "The connection did not come up in time.");
    }
    return detail;
}

int SessionControl::failureCode(ConnectionSession::Failure failure)
{
    return failure == ConnectionSession::Failure::ServiceNotRunning ? ControlProtocol::DaemonMissing
                                                                    : ControlProtocol::Failed;
}

QJsonObject SessionControl::status() const
{
    const ConnectionSession::State state = session->state();
    const ServerInfo server = session->currentServer();
    const bool connected = state == ConnectionSession::State::Connected;
    const QString protocol = session->isBusy() && !session->protocol().isEmpty()
                                 ? session->protocol()
                                 : ConnectionSession::protocolLabelSetting();
    const QDateTime since = session->connectedSince();
    const QString address = connected ? session->tunnelAddress() : QString();
    const QString error = failureText(session->failure(), session->failureDetail());
    return {
        {QStringLiteral("state"), stateName(state)},
        {QStringLiteral("host"), host},
        {QStringLiteral("location"), server.name.isEmpty() ? QJsonValue() : QJsonValue(server.name)},
        {QStringLiteral("country"), server.flag.isEmpty() ? QJsonValue() : QJsonValue(server.flag.toLower())},
        {QStringLiteral("protocol"), protocol},
        {QStringLiteral("tunnelAddress"), address.isEmpty() ? QJsonValue() : QJsonValue(address)},
        {QStringLiteral("since"),
         connected && since.isValid() ? QJsonValue(since.toUTC().toString(Qt::ISODate)) : QJsonValue()},
        {QStringLiteral("killSwitch"), session->killSwitch()->isActive()},
        {QStringLiteral("killSwitchBlocking"), session->killSwitch()->isBlocking()},
        {QStringLiteral("bytesIn"), connected ? double(session->bytesIn()) : 0.0},
        {QStringLiteral("bytesOut"), connected ? double(session->bytesOut()) : 0.0},
        {QStringLiteral("lastError"),
         state == ConnectionSession::State::Failed && !error.isEmpty() ? QJsonValue(error) : QJsonValue()}};
}

QJsonObject SessionControl::stateEvent(ConnectionSession::State state) const
{
    QString text;
    const QString location = session->currentServer().name;
    switch (state) {
    case ConnectionSession::State::Preparing:
        text =
            QCoreApplication::translate("KestrovaCli", "Preparing the connection to %1 (attempt %2 of %3)...")
                .arg(location)
                .arg(session->attempt())
                .arg(ConnectionSession::kMaxAttempts);
        break;
    case ConnectionSession::State::Connecting:
        text = QCoreApplication::translate("KestrovaCli", "Connecting to %1...").arg(location);
        break;
    case ConnectionSession::State::Reconnecting:
        text = QCoreApplication::translate("KestrovaCli", "Reconnecting to %1...").arg(location);
        break;
    case ConnectionSession::State::Stopping:
        text = QCoreApplication::translate("KestrovaCli", "Disconnecting...");
        break;
    default:
        break;
    }
    return {{ControlProtocol::EventField, QStringLiteral("state")},
            {QStringLiteral("state"), stateName(state)},
            {QStringLiteral("text"), text}};
}

void SessionControl::handle(ControlRequest* request)
{
    const QString command = request->command();
    if (command == ControlProtocol::Status) {
        request->finish({{QStringLiteral("status"), status()}});
    } else if (command == ControlProtocol::Connect) {
        connectTo(request);
    } else if (command == ControlProtocol::Disconnect) {
        disconnect(request, false);
    } else if (command == ControlProtocol::Quit) {
        disconnect(request, true);
    } else if (command == ControlProtocol::Reconnect) {
        reconnect(request);
    } else if (command == ControlProtocol::Handover) {
        handover(request);
    } else if (command == ControlProtocol::SettingsChanged) {
        settingsChanged(request);
    } else {
        request->fail(ControlProtocol::Usage,
                      QCoreApplication::translate("KestrovaCli", "Unknown control command %1.").arg(command));
    }
}

void SessionControl::awaitConnected(ControlRequest* request, bool throughIdle)
{
    // A reconnect passes Idle once between the old tunnel and the new.
    auto idleAllowed = std::make_shared<bool>(throughIdle);
    follow(session, request, [this, request, idleAllowed](ConnectionSession::State state) {
        if (state == ConnectionSession::State::Idle && *idleAllowed) {
            *idleAllowed = false;
            return false;
        }
        if (state == ConnectionSession::State::Connected) {
            request->finish({{QStringLiteral("status"), status()}});
            return true;
        }
        if (state == ConnectionSession::State::Failed) {
            request->fail(failureCode(session->failure()),
                          failureText(session->failure(), session->failureDetail()));
            return true;
        }
        if (state == ConnectionSession::State::Idle) {
            request->fail(
                ControlProtocol::Failed,
                QCoreApplication::translate("KestrovaCli", "The connection was stopped before it came up."));
            return true;
        }
        request->notify(stateEvent(state));
        return false;
    });
}

void SessionControl::awaitDown(ControlRequest* request, std::function<void()> then, QJsonObject extra,
                               std::function<void()> beforeReply)
{
    const auto done = [this, request, then, extra, beforeReply] {
        if (beforeReply) {
            beforeReply();
        }
        QJsonObject reply = extra;
        reply.insert(QStringLiteral("status"), status());
        request->finish(reply);
        if (then) {
            then();
        }
    };
    if (!session->isBusy()) {
        done();
        return;
    }
    follow(session, request, [this, request, done](ConnectionSession::State state) {
        if (state == ConnectionSession::State::Idle || state == ConnectionSession::State::Failed) {
            done();
            return true;
        }
        request->notify(stateEvent(state));
        return false;
    });
}

void SessionControl::startWhenDown(ControlRequest* request, ServerIdentif wanted)
{
    if (!session->selectServer(wanted)) {
        request->fail(ControlProtocol::NotFound,
                      QCoreApplication::translate("KestrovaCli", "No location named %1.").arg(wanted.second));
        return;
    }
    session->saveLocation();
    awaitConnected(request);
    if (!session->connectToServer()) {
        // It failed at once (the state says why) or cannot start now.
        if (request->isOpen()) {
            if (session->state() == ConnectionSession::State::Failed) {
                request->fail(failureCode(session->failure()),
                              failureText(session->failure(), session->failureDetail()));
            } else {
                request->fail(ControlProtocol::Busy,
                              QCoreApplication::translate("KestrovaCli", "The connection cannot start now."));
            }
        }
    }
}

void SessionControl::connectTo(ControlRequest* request)
{
    const QString name = request->body().value(ControlProtocol::LocationField).toString().trimmed();
    if (session->servers().isEmpty()) {
        request->fail(ControlProtocol::NotSignedIn,
                      QCoreApplication::translate("KestrovaCli",
                                                  "Not signed in. Sign in with: kestrova-cli login USER"));
        return;
    }
    ServerIdentif wanted;
    if (name.isEmpty()) {
        if (!session->hasLocation()) {
            request->fail(ControlProtocol::NotFound,
                          QCoreApplication::translate("KestrovaCli", "No location chosen yet."));
            return;
        }
        const ServerInfo current = session->currentServer();
        wanted = ServerIdentif(current.user, current.name);
    } else {
        const QString login = LocalSettings::instance()->value(Keys::VpnLogin).toString();
        wanted = ServerIdentif(login, name);
        // As typed, else the one whose name differs only in letter case.
        const QMap<ServerIdentif, ServerInfo> servers = session->servers();
        for (auto it = servers.cbegin(); !servers.contains(wanted) && it != servers.cend(); ++it) {
            if (it.key().first == login && it.key().second.compare(name, Qt::CaseInsensitive) == 0) {
                wanted = it.key();
            }
        }
        if (!servers.contains(wanted)) {
            request->fail(ControlProtocol::NotFound,
                          QCoreApplication::translate("KestrovaCli", "No location named %1.").arg(name));
            return;
        }
    }
    const ServerInfo current = session->currentServer();
    const bool sameLocation = ServerIdentif(current.user, current.name) == wanted;
    const ConnectionSession::State state = session->state();
    if (sameLocation && state == ConnectionSession::State::Connected) {
        request->finish({{QStringLiteral("status"), status()}});
        return;
    }
    if (sameLocation && session->isBusy() && state != ConnectionSession::State::Stopping) {
        // Already on its way there: answer with its outcome.
        awaitConnected(request);
        return;
    }
    if (!session->isBusy()) {
        startWhenDown(request, wanted);
        return;
    }
    // Another location (or one going down): down first, then up.
    request->notify(stateEvent(ConnectionSession::State::Stopping));
    const QPointer<ControlRequest> guard(request);
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(session, &ConnectionSession::tunnelIdle, request, [=] {
        QObject::disconnect(*connection);
        if (guard && guard->isOpen()) {
            startWhenDown(guard, wanted);
        }
    });
    if (state != ConnectionSession::State::Stopping) {
        session->disconnect();
    }
}

void SessionControl::disconnect(ControlRequest* request, bool quit)
{
    const bool busy = session->isBusy();
    // A quit is answered once the holder has ended the session: when the
    // command returns, the kill switch is off and nobody listens any more,
    // so the next command (a sign-out, say) finds nothing running.
    awaitDown(request, {}, {},
              quit ? std::function<void()>([this] { emit quitRequested(); }) : std::function<void()>());
    if (busy && session->state() != ConnectionSession::State::Stopping) {
        session->disconnect();
    }
}

void SessionControl::handover(ControlRequest* request)
{
    const bool resume = session->isBusy();
    const ServerInfo server = session->currentServer();
    const int management = session->managementSocket();
    if (session->state() == ConnectionSession::State::Connected && management >= 0) {
        // OpenVPN's management connection goes to the window with the reply
        // (OpenVPN quits when it closes), and the window goes on with it once
        // this process has ended: the tunnel, stealth's stunnel, the kill
        // switch and the timezone stay as they are.
        request->finishPassing({{QStringLiteral("resume"), true},
                                {ControlProtocol::LocationField, server.name},
                                {ControlProtocol::ManagementField, true},
                                {QStringLiteral("protocol"), session->protocol()}},
                               management);
        emit handedOver();
        return;
    }
    // Not up yet: the attempt goes down here and starts again in the window.
    // The kill switch stays as it is meanwhile, so nothing leaves outside a
    // tunnel in between.
    awaitDown(
        request, [this] { emit handedOver(); },
        {{QStringLiteral("resume"), resume},
         {ControlProtocol::LocationField, server.name.isEmpty() ? QJsonValue() : QJsonValue(server.name)}});
    if (resume && session->state() != ConnectionSession::State::Stopping) {
        session->disconnect();
    }
}

void SessionControl::reconnect(ControlRequest* request)
{
    if (session->state() != ConnectionSession::State::Connected) {
        request->fail(ControlProtocol::Failed,
                      QCoreApplication::translate("KestrovaCli", "Not connected: nothing to reconnect."));
        return;
    }
    awaitConnected(request, true);
    session->reconnect();
}

void SessionControl::settingsChanged(ControlRequest* request)
{
    // The command line wrote the settings file; read it again and apply.
    LocalSettings::instance()->sync();
    session->loadSettings();
    request->finish({{QStringLiteral("status"), status()}});
}
