#include "sessionhost.h"

#include "accountcommands.h"
#include "connectionsession.h"
#include "controlhost.h"
#include "controlprotocol.h"
#include "controlrequest.h"
#include "controlserver.h"
#include "killswitch.h"
#include "localsettings.h"
#include "networkmanager.h"
#include "sessioncontrol.h"

#include <QCoreApplication>
#include <QDebug>
#include <cstdio>
#include <unistd.h>

SessionHost::SessionHost(ConnectionSession* session, SessionControl* control) : session(session)
{
    idleExit.setSingleShot(true);
    idleExit.setInterval(kIdleExitMs);
    connect(&idleExit, &QTimer::timeout, this, [this] {
        if (!this->session->isBusy() && !this->session->killSwitch()->isActive()) {
            QCoreApplication::exit(ControlProtocol::Ok);
        }
    });
    connect(session, &ConnectionSession::stateChanged, this, &SessionHost::checkIdle);
    connect(session->killSwitch(), &KillSwitch::changed, this, &SessionHost::checkIdle);
    connect(control, &SessionControl::quitRequested, this, [this] {
        // As the window does on exit: no tunnel, and the kill switch off.
        this->session->close();
        QCoreApplication::exit(ControlProtocol::Ok);
    });
    connect(control, &SessionControl::handedOver, this, [] {
        // The window takes the tunnel, stunnel and kill switch as they are;
        // ending the session the ordinary way would stop all three. So the
        // process ends here, without unwinding; its management connection
        // closes with it, which lets the window attach.
        qDebug() << "Background session handed over to the window";
        std::fflush(nullptr);
        ::_exit(ControlProtocol::Ok);
    });
    idleExit.start();
}

void SessionHost::checkIdle()
{
    // Once it has served, a session with nothing left to hold ends soon.
    idleExit.setInterval(kLingerMs);
    // Down with the kill switch still on, the session stays: it holds the
    // block until the next connect, and status can tell about it.
    if (!session->isBusy() && !session->killSwitch()->isActive()) {
        idleExit.start();
    } else {
        idleExit.stop();
    }
}

int SessionHost::run(int requestFd)
{
    // Out of the terminal's session: closing the terminal must not end the
    // tunnel that the command left running.
    ::setsid();
    // Started early by the front, before anyone checked: nobody to connect.
    const auto settings = LocalSettings::instance();
    if (!settings->value(Keys::RememberUser).toBool() || settings->value(Keys::Login).toString().isEmpty()) {
        return ControlProtocol::NotSignedIn;
    }
    // The session shows no latencies.
    NetworkManager::setSweepOnLoad(false);
    NetworkManager* account = AccountCommands::api();
    ConnectionSession session;
    session.setServers(account->servers());
    ControlHost control(&session, QStringLiteral("cli"));
    QString error;
    switch (control.start(false, &error)) {
    case ControlHost::Start::Serving:
        break;
    case ControlHost::Start::AnotherEngine:
        // Another background session or the window was first: it serves,
        // and the daemon's kill switch is its own. Nothing was asked of the
        // daemon yet, so nothing is undone on the way out.
        return ControlProtocol::Ok;
    case ControlHost::Start::Failed:
        qWarning("Background session: %s", qPrintable(error));
        return ControlProtocol::Failed;
    }
    // Only the engine that serves acts on the settings (the kill switch
    // among them). Requests wait for the event loop below, so none finds
    // the session unready.
    session.loadSettings();
    qDebug() << "Background session started";
    SessionHost host(&session, control.control());
    // After the session has closed: the quit's answer then finds nobody
    // listening any more.
    QObject::connect(control.control(), &SessionControl::quitRequested, control.server(),
                     &ControlServer::stopListening);
    QObject::connect(control.server(), &ControlServer::requestReceived, &host,
                     [&host] { QTimer::singleShot(0, &host, &SessionHost::checkIdle); });
    if (requestFd >= 0 && !control.server()->adopt(requestFd)) {
        ::close(requestFd);
    }
    const int code = QCoreApplication::exec();
    qDebug() << "Background session ended";
    return code;
}
