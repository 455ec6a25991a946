#include "sessioncommands.h"

#include "clioutput.h"
#include "controlprotocol.h"
#include "enginelink.h"
#include "localsettings.h"
#include "settingcommands.h"

QJsonObject SessionCommands::idleStatus()
{
    return {{QStringLiteral("state"), QStringLiteral("idle")},
            {QStringLiteral("host"), QJsonValue()},
            {QStringLiteral("location"), QJsonValue()},
            {QStringLiteral("country"), QJsonValue()},
            {QStringLiteral("protocol"), SettingCommands::current().value(QStringLiteral("protocol"))},
            {QStringLiteral("tunnelAddress"), QJsonValue()},
            {QStringLiteral("since"), QJsonValue()},
            // Rules in force, not the setting: without an engine nothing holds
            // them, whatever the next connection will switch on.
            {QStringLiteral("killSwitch"), false},
            {QStringLiteral("killSwitchBlocking"), false},
            {QStringLiteral("bytesIn"), 0},
            {QStringLiteral("bytesOut"), 0},
            {QStringLiteral("lastError"), QJsonValue()}};
}

int SessionCommands::change(const QString& command, const QJsonObject& arguments, int timeoutMs, bool start)
{
    QJsonObject request = arguments;
    request.insert(ControlProtocol::CommandField, command);
    const auto progress = [this](const QJsonObject& event) { out_.progress(event); };
    QString error;
    bool reached = false;
    std::optional<QJsonObject> reply = EngineLink::call(request, timeoutMs, &error, progress, &reached);
    if (!start && reached && !reply && !EngineLink::running()) {
        // The engine ended between taking the request and answering it (a
        // background session ends once it has nothing left to hold): ask
        // again, as if none had been running. Not for a connect: the engine
        // may have ended on a quit, which a new session must not undo.
        reply = EngineLink::call(request, timeoutMs, &error, progress, &reached);
    }
    if (!reached) {
        if (!start) {
            // No engine: nothing runs, nothing to change.
            return idle(command);
        }
        reply = EngineLink::startAndCall(program_, request, timeoutMs, &error, progress);
    }
    if (!reply) {
        return out_.error(ControlProtocol::Failed, error);
    }
    return out_.reply(*reply);
}

int SessionCommands::idle(const QString& command)
{
    if (command == ControlProtocol::Reconnect) {
        return out_.error(ControlProtocol::Failed, tr("Not connected: nothing to reconnect."));
    }
    out_.status(idleStatus());
    return ControlProtocol::Ok;
}

int SessionCommands::connectTo(const QString& location)
{
    // A cheap look at the settings, so that no background session starts
    // for nothing; the engine checks the location itself.
    auto settings = LocalSettings::instance();
    if (!settings->value(Keys::RememberUser).toBool() || settings->value(Keys::Login).toString().isEmpty()) {
        return out_.error(ControlProtocol::NotSignedIn,
                          tr("Not signed in. Sign in with: kestrova-cli login USER"));
    }
    return change(ControlProtocol::Connect, {{ControlProtocol::LocationField, location}}, kConnectWaitMs,
                  true);
}

int SessionCommands::disconnect()
{
    return change(ControlProtocol::Disconnect, {}, kDisconnectWaitMs, false);
}

int SessionCommands::reconnect()
{
    return change(ControlProtocol::Reconnect, {}, kConnectWaitMs, false);
}

int SessionCommands::quit()
{
    return change(ControlProtocol::Quit, {}, kDisconnectWaitMs, false);
}

int SessionCommands::status()
{
    return change(ControlProtocol::Status, {}, kStatusWaitMs, false);
}
