#pragma once

#include "connectionsession.h"

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class ControlRequest;

// Answers the control dialogue from one connection session: the window's,
// or the command line's background one. Commands that change the session
// answer once their outcome is known: connected, failed, or down again.
class SessionControl : public QObject
{
    Q_OBJECT
public:
    // `host` names who holds the session in status replies: "window" or "cli".
    SessionControl(ConnectionSession* session, QString host, QObject* parent = nullptr);

    void handle(ControlRequest* request);

    QJsonObject status() const;
    static QString stateName(ConnectionSession::State state);
    // The text and the outcome code of a failure.
    static QString failureText(ConnectionSession::Failure failure, const QString& detail);
    static int failureCode(ConnectionSession::Failure failure);

signals:
    // A peer asked the session's holder to end it (quit: emitted once the
    // tunnel is down, before the reply) or to hand it to the window (emitted
    // once the reply is out and the tunnel is down).
    void quitRequested();
    void handedOver();

private:
    void connectTo(ControlRequest* request);
    void disconnect(ControlRequest* request, bool quit);
    void reconnect(ControlRequest* request);
    void handover(ControlRequest* request);
    void settingsChanged(ControlRequest* request);
    // Answers `request` when the session reaches Connected (ok) or gives up.
    void awaitConnected(ControlRequest* request, bool throughIdle = false);
    // Answers `request` when no tunnel is left; then runs `then`.
    // `beforeReply` runs before the answer goes out.
    void awaitDown(ControlRequest* request, std::function<void()> then, QJsonObject extra = {},
                   std::function<void()> beforeReply = {});
    void startWhenDown(ControlRequest* request, ServerIdentif server);
    QJsonObject stateEvent(ConnectionSession::State state) const;

    ConnectionSession* session;
    QString host;
};
