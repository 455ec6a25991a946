#pragma once

#include <QObject>
#include <QString>

class ConnectionSession;
class ControlServer;
class SessionControl;

// Puts one connection session on this user's control socket. The window
// takes the socket from the command line's background session if that one
// holds it: the background session hands its live OpenVPN over and ends, and
// the window attaches to it, so the tunnel never drops and there is never a
// second one. An attempt not yet up starts again in the window instead.
class ControlHost : public QObject
{
    Q_OBJECT
public:
    enum class Start
    {
        Serving,
        AnotherEngine, // someone else serves and was not asked to hand over
        Failed,
    };

    // How long the window waits for the background session to let go.
    static constexpr int kHandoverWaitMs = 60000;

    ControlHost(ConnectionSession* session, QString hostName, QObject* parent = nullptr);
    ~ControlHost() override;

    // takeOver: ask a background session that holds the socket to hand its
    // connection over first.
    Start start(bool takeOver, QString* error = nullptr);

    SessionControl* control() const { return control_; }
    ControlServer* server() const { return server_; }

private:
    bool takeOverFrom(const QString& path, QString* error);

    ConnectionSession* session_;
    ControlServer* server_;
    SessionControl* control_;
};
