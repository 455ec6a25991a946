#pragma once

#include <QObject>
#include <QTimer>

class ConnectionSession;
class ControlServer;
class SessionControl;

// The command line's background session: holds this user's engine while no
// window runs, serves the control socket, and ends when nothing is left for
// it to hold (no tunnel, no kill switch), on quit, or when the window takes
// the connection over.
class SessionHost : public QObject
{
    Q_OBJECT
public:
    // How long the session waits for its first command, and how long it
    // lingers once nothing is left to hold.
    static constexpr int kIdleExitMs = 15000;
    static constexpr int kLingerMs = 500;

    // Runs the session until it ends; the process's exit status.
    // requestFd: a connection handed over at start with a request in it
    // (the front's connect), served first; -1 for none. Should this process
    // not become the engine, it closes unanswered, and the front asks again
    // the ordinary way.
    static int run(int requestFd = -1);

private:
    SessionHost(ConnectionSession* session, SessionControl* control);
    // Ends the session soon when it holds nothing.
    void checkIdle();

    ConnectionSession* session;
    QTimer idleExit;
};
