#pragma once

#include "controlprotocol.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

class CliOutput;

// connect, disconnect, reconnect, status and quit: asked of this user's one
// engine. Without one, connect starts the command line's background session
// first; the others have nothing to act on.
class SessionCommands
{
    Q_DECLARE_TR_FUNCTIONS(KestrovaCli)

public:
    // Long enough for three attempts with their tear-downs.
    static constexpr int kConnectWaitMs = ControlProtocol::kConnectWaitMs;
    static constexpr int kDisconnectWaitMs = 60000;
    static constexpr int kStatusWaitMs = 5000;

    SessionCommands(const CliOutput& out, QString program) : out_(out), program_(std::move(program)) {}

    int connectTo(const QString& location);
    int disconnect();
    int reconnect();
    int status();
    int quit();

    // The status when no engine runs.
    static QJsonObject idleStatus();

private:
    // Sends a command to the engine and reports its outcome; with `start`,
    // a background session is started when no engine runs.
    int change(const QString& command, const QJsonObject& arguments, int timeoutMs, bool start);
    // The answer when no engine runs.
    int idle(const QString& command);

    const CliOutput& out_;
    QString program_;
};
