#include "connectionsession.h"

#include "connection.h"
#include "constants.h"
#include "killswitch.h"
#include "localsettings.h"
#include "log.h"
#include "networkmanager.h"
#include "serviceconnector.h"
#include "stunnelmanager.h"
#include "timezonefollower.h"
#include "utils.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QtConcurrent>

ConnectionSession::ConnectionSession(QObject* parent) : ConnectionSession(Dependencies(), parent) {}

ConnectionSession::ConnectionSession(Dependencies dependencies, QObject* parent)
    : QObject(parent),
      daemon(dependencies.daemon ? dependencies.daemon : QSharedPointer<ServiceConnector>::create()),
      connection(new Connection(daemon)), generator(new MakeOVPNFile())
{
    // The views may sit on other threads or queue these, as tests do.
    qRegisterMetaType<ConnectionSession::State>();
    qRegisterMetaType<ConnectionSession::Failure>();
    qRegisterMetaType<KillSwitch::Problem>();
    qRegisterMetaType<TimezoneFollower::Problem>();
    if (dependencies.stunnelExecutable.isEmpty()) {
        stunnel.reset(new StunnelManager());
    } else {
        stunnel.reset(new StunnelManager(dependencies.stunnelExecutable, dependencies.stunnelPidFile));
    }
    killSwitch_ = new KillSwitch(daemon, this, dependencies.daemonPidFile);
    timezone_ = new TimezoneFollower(daemon, this);
    timezone_->setEnabled(killSwitch_->changesTimezone());
    autoConnectPending =
        LocalSettings::instance()->value(Keys::ConnectOnStart).toString() == QLatin1String("true");

    attemptTimer.setSingleShot(true);
    attemptTimer.setInterval(kAttemptTimeoutMs);
    connect(&attemptTimer, &QTimer::timeout, this, &ConnectionSession::onAttemptTimeout);
    stealthCheck.setInterval(kStealthCheckMs);
    connect(&stealthCheck, &QTimer::timeout, this, &ConnectionSession::checkStealthTunnel);
    signOutTimer.setSingleShot(true);
    signOutTimer.setInterval(kSignOutWaitMs);
    connect(&signOutTimer, &QTimer::timeout, this, [this] {
        qWarning() << "The tunnel did not report its end in time";
        finishSignOut();
    });

    Connection* c = connection.get();
    connect(c, &Connection::tunnelUp, this, &ConnectionSession::onTunnelUp);
    connect(c, &Connection::connected, this, &ConnectionSession::onTunnelConnected);
    connect(c, &Connection::reconnecting, this, &ConnectionSession::onTunnelReconnecting);
    connect(c, &Connection::disconnected, this, &ConnectionSession::onTunnelDown);
    connect(c, &Connection::error, this, &ConnectionSession::onTunnelError);
    connect(c, &Connection::logUpdate, this, &ConnectionSession::logLine);
    connect(c, &Connection::statisticsChanged, this, &ConnectionSession::onStatistics);
    connect(c, &Connection::idle, this, &ConnectionSession::tunnelIdle);
    connect(stunnel.data(), &StunnelManager::tunnelStarted, this, &ConnectionSession::onStunnelStarted);
    connect(stunnel.data(), &StunnelManager::tunnelEnded, this, &ConnectionSession::checkStealthTunnel);
    // A zone the system cannot change is no longer asked for, nor sent to
    // the kill switch.
    connect(timezone_, &TimezoneFollower::problem, this, [this](TimezoneFollower::Problem problem) {
        if (problem == TimezoneFollower::Problem::NotSupported) {
            killSwitch_->readProtectionSettings();
        }
    });
}

ConnectionSession::~ConnectionSession()
{
    close();
    if (generationWatcher) {
        // The profile job writes into the generator; let it finish first.
        generationWatcher->waitForFinished();
    }
}

void ConnectionSession::setState(State state)
{
    if (state_ == state) {
        return;
    }
    state_ = state;
    if (state != State::Reconnecting) {
        stealthCheck.stop();
    }
    killSwitch_->setConnectionActive(isBusy() && !closed);
    emit stateChanged(state);
    if (signOutTimer.isActive() && !isBusy()) {
        finishSignOut();
    }
}

// --- The location ---

void ConnectionSession::setServers(const QVector<ServerInfo>& list)
{
    qDebug() << "ConnectionSession::setServers count:" << list.size();
    serverMap.clear();
    for (const ServerInfo& s : list) {
        serverMap.insert(ServerIdentif(s.user, s.name), s);
    }
    killSwitch_->setServers(serverMap);
    const ServerIdentif last =
        identifFromSettings(LocalSettings::instance()->value(Keys::LastLocation).toString());
    if (!selectServer(last)) {
        setLocation(ServerInfo());
    }
}

bool ConnectionSession::selectServer(const ServerIdentif& id)
{
    if (!serverMap.contains(id)) {
        return false;
    }
    qDebug() << "ConnectionSession::selectServer" << id.first << id.second;
    LocalSettings::instance()->setValue(Keys::LastLocation, identifToSettings(id));
    setLocation(serverMap.value(id));
    return true;
}

void ConnectionSession::setLocation(const ServerInfo& chosen)
{
    server = chosen;
    killSwitch_->setCurrentServer(server);
    emit locationChanged(server);
}

void ConnectionSession::clearLocation()
{
    LocalSettings::instance()->setValue(Keys::LastLocation, QString());
    setLocation(ServerInfo());
}

void ConnectionSession::saveLocation() const
{
    // Until the server list has come (offline, or a slow service) no location
    // is chosen yet; the remembered one must outlive that wait.
    if (server.name.isEmpty()) {
        return;
    }
    const QString id = identifToSettings(ServerIdentif(server.user, server.name));
    qDebug() << "ConnectionSession::saveLocation" << id;
    LocalSettings::instance()->setValue(Keys::LastLocation, id);
}

// --- Settings ---

QString ConnectionSession::protocolLabelSetting()
{
    const QString label = LocalSettings::instance()->value(Keys::OvpnProtocol).toString();
    return label.isEmpty() ? QStringLiteral("tcp") : label;
}

int ConnectionSession::protocolSetting()
{
    auto settings = LocalSettings::instance();
    if (settings->value(Keys::OvpnProtocol).toString().isEmpty()) {
        settings->setValue(Keys::OvpnProtocol, QStringLiteral("tcp"));
    }
    return getVpnProtocolByLabel(settings->value(Keys::OvpnProtocol).toString()).type;
}

void ConnectionSession::loadSettings()
{
    autoConnectPending =
        LocalSettings::instance()->value(Keys::ConnectOnStart).toString() == QLatin1String("true");
    if (!server.name.isEmpty() && !server.offersProtocol(protocolSetting())) {
        clearLocation();
    }
    killSwitch_->loadSettings(autoConnectPending);
    timezone_->setEnabled(killSwitch_->changesTimezone());
}

// --- Operations ---

bool ConnectionSession::connectToServer()
{
    if (closed || isBusy()) {
        return false;
    }
    if (killSwitch_->isWanted() && !killSwitch_->isActive()) {
        const bool knownMissing = killSwitch_->isServiceMissing();
        // Asks again in any case: a daemon started since clears the notice.
        killSwitch_->setEnabled(true, autoConnectPending);
        if (knownMissing) {
            // Without the daemon nothing would hold traffic inside the
            // tunnel: the user asked for that, so no tunnel without it, and
            // no detour through the server list first.
            fail(Failure::ServiceNotRunning);
            return false;
        }
    }
    // Choosing a location is not an attempt: the three tries belong to the
    // server the user then picks.
    if (!hasLocation()) {
        emit locationNeeded();
        return false;
    }
    ALog::Out(QStringLiteral("Connecting"));
    failure_ = Failure::None;
    failureDetail_.clear();
    attemptCount = 0;
    cancelRequested = false;
    setState(State::Preparing);
    // The daemon answers after the kill switch's own request. Without it
    // every attempt would fail at its first step, with a text that does not
    // say why, and nothing would hold traffic inside the tunnel.
    const int press = ++presses;
    killSwitch_->checkService([this, press](bool reachable) {
        if (press != presses || state_ != State::Preparing || attemptCount != 0) {
            return;
        }
        if (cancelRequested) {
            cancelAttempt();
        } else if (!reachable) {
            fail(Failure::ServiceNotRunning);
        } else {
            startAttempt();
        }
    });
    return true;
}

void ConnectionSession::startAttempt()
{
    cancelRequested = false;
    ++attemptCount;
    NetworkManager* api = NetworkManager::instance();
    const QByteArray config = api->getConfigOVPNbyServer(server.name);
    const QByteArray certificate = api->getCertifOvpnByUser(server.user);
    const QByteArray key = api->getKeyOvpnByUser(server.user);
    if (config.isEmpty()) {
        fail(Failure::MissingConfig);
        return;
    }
    if (certificate.isEmpty()) {
        fail(Failure::MissingCertificate);
        return;
    }
    if (key.isEmpty()) {
        fail(Failure::MissingKey);
        return;
    }

    setState(State::Preparing);
    // OpenVPN looks names up on the way up only for a server given by name.
    // For one given by its address an opening would only let every other
    // program's lookups out past the kill switch while the tunnel comes up.
    const bool serverByName =
        QHostAddress(server.ip.trimmed()).protocol() == QAbstractSocket::UnknownNetworkLayerProtocol;
    killSwitch_->refresh(!serverByName);

    protocol_ = protocolLabelSetting();
    const VpnProtocol protocol = getVpnProtocolByLabel(protocol_);
    stealth = protocol.type == PROTOCOL_STEALTH;
    ConfigServer record;
    record.baseConfig = config;
    record.certificate = certificate;
    record.key = key;
    record.protocol = protocol.label.isNull() ? protocol_ : protocol.label;
    record.host = server.ip;
    if (stealth) {
        // stunnel takes up to seconds to start: the attempt goes on in
        // onStunnelStarted, and a stop meanwhile cancels it.
        stealthRecord = record;
        stunnel->startTunnel(server.ip, server.sslPort, server.sni);
        return;
    }
    record.ports = protocol.type == PROTOCOL_OPENVPN_UDP ? server.udpPorts : server.tcpPorts;
    if (firewallSettleMs > 0) {
        QTimer::singleShot(firewallSettleMs, this, [this, record] {
            if (state_ == State::Preparing && !cancelRequested) {
                generateProfile(record);
            } else if (state_ == State::Preparing) {
                cancelAttempt();
            }
        });
        return;
    }
    generateProfile(record);
}

void ConnectionSession::onStunnelStarted(bool ok)
{
    if (state_ != State::Preparing || !stealth) {
        return;
    }
    if (cancelRequested) {
        cancelAttempt();
        return;
    }
    if (!ok) {
        fail(Failure::StealthTunnel, stunnel->errorString());
        return;
    }
    stealthRecord.stunnelPort = stunnel->getPort();
    generateProfile(stealthRecord);
}

void ConnectionSession::generateProfile(const ConfigServer& config)
{
    generationWatcher.reset(new QFutureWatcher<bool>());
    connect(generationWatcher.data(), &QFutureWatcher<bool>::finished, this,
            &ConnectionSession::onProfileWritten);
    MakeOVPNFile* file = generator.get();
    const bool stunnelProfile = config.protocol == QLatin1String("stealth");
    generationWatcher->setFuture(QtConcurrent::run([file, config, stunnelProfile]() {
        return stunnelProfile ? file->generateStunnel(config) : file->generate(config);
    }));
}

void ConnectionSession::onProfileWritten()
{
    if (state_ != State::Preparing) {
        return;
    }
    if (cancelRequested) {
        cancelAttempt();
        return;
    }
    // A profile that could not be written must not start a tunnel with
    // whatever the file held before.
    const bool written = generationWatcher && !generationWatcher->isCanceled() && generationWatcher->result();
    if (!written) {
        fail(Failure::ProfileNotWritten);
        return;
    }
    startTunnel();
}

void ConnectionSession::startTunnel()
{
    emit attemptStarting(attemptCount);
    QFile::remove(QDir(QCoreApplication::applicationDirPath()).filePath(Constants::LogFileName));
    ALog::Out(QStringLiteral("OpenVpn config: ") + generator->fileName());
    autoConnectPending = false;
    ServerInfo target = server;
    // The facade starts OpenVPN only for the OpenVPN transports; stealth is
    // OpenVPN over TCP to the local end of the tunnel.
    target.protocol = getVpnProtocolByLabel(protocol_).type == PROTOCOL_OPENVPN_UDP ? PROTOCOL_OPENVPN_UDP
                                                                                    : PROTOCOL_OPENVPN_TCP;
    setState(State::Connecting);
    attemptTimer.start();
    connection->connect(target, target.user, target.password, generator->fileName());
}

bool ConnectionSession::attach(int managementSocket, const QString& protocol)
{
    if (closed || isBusy() || managementSocket < 0) {
        return false;
    }
    ALog::Out(QStringLiteral("Taking over a running tunnel"));
    failure_ = Failure::None;
    failureDetail_.clear();
    attemptCount = 1;
    autoConnectPending = false;
    cancelRequested = false;
    protocol_ = protocol;
    stealth = getVpnProtocolByLabel(protocol_).type == PROTOCOL_STEALTH;
    setState(State::Connecting);
    attemptTimer.start();
    connection->attach(managementSocket, server.user, server.password);
    return true;
}

int ConnectionSession::managementSocket() const
{
    return connection->managementSocket();
}

void ConnectionSession::disconnect()
{
    switch (state_) {
    case State::Preparing:
        cancelRequested = true;
        if (generationWatcher && generationWatcher->isRunning()) {
            generationWatcher->cancel();
        }
        break;
    case State::Connecting:
    case State::Connected:
    case State::Reconnecting:
        ALog::Out(QStringLiteral("Disconnecting"));
        attemptTimer.stop();
        setState(State::Stopping);
        connection->disconnect(true);
        break;
    default:
        break;
    }
}

void ConnectionSession::reconnect()
{
    if (state_ != State::Connected) {
        return;
    }
    reconnectPending = true;
    disconnect();
}

void ConnectionSession::autoConnect()
{
    // A server list that arrives while an attempt runs must not start
    // another: the user would see it stop and start again.
    if (isBusy()) {
        return;
    }
    if (hasLocation() && autoConnectPending) {
        autoConnectPending = false;
        connectToServer();
    }
}

void ConnectionSession::close()
{
    if (closed) {
        return;
    }
    closed = true;
    attemptTimer.stop();
    reconnectPending = false;
    connection->disconnect(false);
    killSwitch_->switchOffNow();
}

void ConnectionSession::signOut()
{
    if (signOutTimer.isActive()) {
        return;
    }
    // The tunnel goes first, then the kill switch: the machine is never open
    // while a tunnel is still being torn down.
    disconnect();
    if (!isBusy()) {
        killSwitch_->switchOffNow();
        emit signedOut();
        return;
    }
    signOutTimer.start();
}

void ConnectionSession::finishSignOut()
{
    signOutTimer.stop();
    killSwitch_->switchOffNow();
    emit signedOut();
}

bool ConnectionSession::installUpdate(const QString& packagePath)
{
    return !packagePath.isEmpty() && daemon->updateInstall(packagePath);
}

bool ConnectionSession::installHelper()
{
    return daemon->installHelper(QString());
}

bool ConnectionSession::isTunnelIdle() const
{
    return connection->isIdle();
}

// --- What the tunnel reports ---

void ConnectionSession::onTunnelUp(const QString& localAddress, qint64 upSince)
{
    tunnelAddress_ = localAddress;
    reportedSince = upSince > 0 ? QDateTime::fromSecsSinceEpoch(upSince, Qt::UTC) : QDateTime();
}

void ConnectionSession::onTunnelConnected()
{
    if (state_ != State::Connecting && state_ != State::Reconnecting) {
        return;
    }
    attemptTimer.stop();
    const bool fresh = state_ == State::Connecting;
    attemptCount = 0;
    if (fresh) {
        // A tunnel taken over came up before this process knew of it.
        connectedSince_ = reportedSince.isValid() ? reportedSince : QDateTime::currentDateTimeUtc();
        bytesIn_ = bytesOut_ = 0;
    }
    // DNS was opened past the kill switch for the way up. Through the tunnel
    // it needs no opening, and left open it would let lookups out on the
    // bare link whenever OpenVPN dies.
    killSwitch_->refresh(true);
    killSwitch_->setTunnelUp(true);
    setState(State::Connected);
    if (fresh) {
        timezone_->tunnelUp();
    }
}

void ConnectionSession::onTunnelReconnecting()
{
    // Until OpenVPN says CONNECTED,SUCCESS again nothing passes: saying
    // "connected" meanwhile would be a lie.
    if (state_ == State::Connected) {
        killSwitch_->setTunnelUp(false);
        setState(State::Reconnecting);
    }
    if (state_ == State::Reconnecting && stealth) {
        checkStealthTunnel();
    }
}

void ConnectionSession::checkStealthTunnel()
{
    if (state_ != State::Reconnecting || !stealth) {
        return;
    }
    if (stunnel->isRunning()) {
        // Its end is reported the moment it comes; only a kernel without
        // pidfds leaves a look now and then.
        if (!stunnel->watchesExit() && !stealthCheck.isActive()) {
            stealthCheck.start();
        }
        return;
    }
    // OpenVPN reconnects to stunnel's local port, and with stunnel gone it
    // would go on trying for ever while the user sees "reconnecting". A new
    // attempt starts a new stunnel.
    qWarning() << "The stealth tunnel's stunnel has ended; starting over";
    stealthCheck.stop();
    retryOrFail(Failure::StealthTunnel, tr("stunnel has stopped."));
}

void ConnectionSession::onTunnelDown()
{
    if (state_ == State::Preparing || state_ == State::Idle || state_ == State::Failed) {
        // The end of a run that a retry or a give-up has already replaced.
        return;
    }
    attemptTimer.stop();
    stopStealthTunnel();
    killSwitch_->setTunnelUp(false);
    killSwitch_->refresh(true);
    timezone_->tunnelDown();
    connectedSince_ = QDateTime();
    tunnelAddress_.clear();
    attemptCount = 0;
    setState(State::Idle);
    if (reconnectPending && !closed) {
        reconnectPending = false;
        QTimer::singleShot(0, this, &ConnectionSession::connectToServer);
    }
}

void ConnectionSession::onTunnelError(const QString& message)
{
    if (state_ == State::Stopping) {
        // The user asked to stop: the end of the tunnel is no reason to try again.
        onTunnelDown();
        return;
    }
    if (state_ != State::Connecting && state_ != State::Reconnecting && state_ != State::Connected) {
        return;
    }
    retryOrFail(Failure::Tunnel, message);
}

void ConnectionSession::onAttemptTimeout()
{
    if (state_ != State::Connecting) {
        return;
    }
    qWarning() << "Attempt" << attemptCount << "did not connect within" << attemptTimer.interval() << "ms";
    // A retry's connect replaces the run, and its late signals are not
    // delivered; a stop here would deliver an end into the next attempt.
    retryOrFail(Failure::TimedOut, QString());
}

void ConnectionSession::retryOrFail(Failure failure, const QString& detail)
{
    attemptTimer.stop();
    killSwitch_->setTunnelUp(false);
    if (attemptCount < kMaxAttempts && !closed) {
        startAttempt();
        return;
    }
    if (failure == Failure::TimedOut) {
        connection->disconnect(false);
    }
    fail(failure, detail);
}

void ConnectionSession::cancelAttempt()
{
    attemptCount = 0;
    stopStealthTunnel();
    // The attempt opened DNS past the kill switch; close it again.
    killSwitch_->refresh(true);
    setState(State::Idle);
}

void ConnectionSession::fail(Failure failure, const QString& detail)
{
    attemptCount = 0;
    failure_ = failure;
    failureDetail_ = detail;
    if (failure != Failure::ServiceNotRunning) {
        ALog::Out(QStringLiteral("onConnectionError()"));
    }
    stopStealthTunnel();
    if (state_ != State::Idle && state_ != State::Failed) {
        killSwitch_->refresh(true);
    }
    connectedSince_ = QDateTime();
    tunnelAddress_.clear();
    // Emitted even when already failed: each press that fails is answered.
    state_ = State::Failed;
    killSwitch_->setConnectionActive(false);
    emit stateChanged(state_);
    emit failed(failure, detail);
    if (signOutTimer.isActive()) {
        finishSignOut();
    }
}

void ConnectionSession::stopStealthTunnel()
{
    if (stealth) {
        stunnel->stopTunnel();
    }
}

void ConnectionSession::onStatistics(double, double, double totalIn, double totalOut)
{
    bytesIn_ = quint64(totalIn);
    bytesOut_ = quint64(totalOut);
    emit statisticsChanged(bytesIn_, bytesOut_);
}
