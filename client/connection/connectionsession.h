// One VPN connection from the press of Connect to its end, without widgets:
// the chosen location, the attempts and their limit, stealth's stunnel, the
// generated profile, stop, reconnect and give-up. The window and the command
// line are both views of it: they call its operations and paint its state.
#pragma once

#include "daemonprotocol.h"
#include "makeovpnfile.h"
#include "serverinfo.h"

#include <QDateTime>
#include <QFutureWatcher>
#include <QMap>
#include <QObject>
#include <QSharedPointer>
#include <QString>
#include <QTimer>
#include <QVector>
#include <memory>

class Connection;
class KillSwitch;
class ServiceConnector;
class StunnelManager;
class TimezoneFollower;

class ConnectionSession : public QObject
{
    Q_OBJECT
    Q_PROPERTY(State state READ state NOTIFY stateChanged)

public:
    enum class State
    {
        Idle,         // no tunnel, nothing under way
        Preparing,    // kill switch, stunnel and profile for an attempt
        Connecting,   // OpenVPN asked to bring the tunnel up
        Connected,    // OpenVPN reported CONNECTED,SUCCESS
        Reconnecting, // the tunnel is being restarted; no traffic passes
        Stopping,     // the user stopped it; OpenVPN is going down
        Failed,       // given up; failure() and failureDetail() tell why
    };
    Q_ENUM(State)

    enum class Failure
    {
        None,
        ServiceNotRunning,  // the daemon cannot be reached
        MissingConfig,      // no base profile for the server in the account cache
        MissingCertificate, // no certificate for the VPN login
        MissingKey,         // no key for the VPN login
        StealthTunnel,      // stunnel did not start; detail: its reason
        ProfileNotWritten,  // the profile could not be written
        Tunnel,             // every attempt failed; detail: OpenVPN's text
        TimedOut,           // no attempt connected in time
    };
    Q_ENUM(Failure)

    // Where the session's outside helpers live. The program uses the
    // defaults; tests point it at a stand-in daemon and a stunnel of their own.
    struct Dependencies
    {
        QSharedPointer<ServiceConnector> daemon; // null: the real daemon
        QString stunnelExecutable;               // empty: stunnel4
        QString stunnelPidFile;                  // empty: the shared pid file
        QString daemonPidFile;                   // empty: the installed daemon's
    };

    static constexpr int kMaxAttempts = 3;
    // An attempt that has not connected by then counts as failed.
    static constexpr int kAttemptTimeoutMs = 30000;
    // Without pidfds (kernels before 5.3), how often a stealth tunnel that
    // OpenVPN is reconnecting looks whether its stunnel still runs.
    static constexpr int kStealthCheckMs = 1000;
    // The longest a sign-out waits for the tunnel to go down: OpenVPN's own
    // bounded stop plus the search for its management port.
    static constexpr int kSignOutWaitMs = 10000;

    explicit ConnectionSession(QObject* parent = nullptr);
    ConnectionSession(Dependencies dependencies, QObject* parent = nullptr);
    ~ConnectionSession() override;

    // --- The location ---
    // The account's servers; the location stored last time is chosen again
    // when it is among them.
    void setServers(const QVector<ServerInfo>& servers);
    QMap<ServerIdentif, ServerInfo> servers() const { return serverMap; }
    // False when the server is not among the account's.
    bool selectServer(const ServerIdentif& server);
    ServerInfo currentServer() const { return server; }
    bool hasLocation() const { return !server.ip.isEmpty() && !server.flag.isEmpty(); }
    // Remembers the chosen location in the settings.
    void saveLocation() const;

    // --- Settings ---
    // Re-reads the protocol, auto-connect and protection settings. A protocol
    // the chosen server does not offer clears the location.
    void loadSettings();
    // The PROTOCOL_TYPE of the "advProtocol" setting ("tcp" when unset).
    static int protocolSetting();
    static QString protocolLabelSetting();

    // --- Operations ---
    // Starts a connection to the chosen location. False when none can start:
    // busy, no location (locationNeeded() is emitted), or a failure at once
    // (the state is then Failed). A daemon that does not answer fails the
    // connection once it is known (ServiceNotRunning).
    bool connectToServer();
    // Takes over a tunnel to the chosen location that another process of
    // this user brought up and handed over: OpenVPN's management connection
    // (owned by the session from here), over `protocol` ("udp", "tcp" or
    // "stealth", whose stunnel is the user's one). Passes Connecting to
    // Connected without a drop; should the OpenVPN be gone, the attempts go
    // on as after a failed one. False when busy.
    bool attach(int managementSocket, const QString& protocol);
    // The management connection of the tunnel's OpenVPN; -1 when none runs.
    int managementSocket() const;
    // Stops an attempt or the tunnel; the state passes Stopping to Idle.
    void disconnect();
    // Down and up again, once the tunnel has ended; only while connected.
    void reconnect();
    // Connects once when "autoConnectOnStart" asks for it and a location is chosen.
    void autoConnect();
    // Stops the tunnel without waiting and switches the kill switch off; for
    // the client's exit. Later operations do nothing.
    void close();
    // For leaving the account: stops any attempt or tunnel and, once it is
    // down (or after kSignOutWaitMs), switches the kill switch off; then
    // signedOut(), at once when nothing was under way.
    void signOut();
    bool isSigningOut() const { return signOutTimer.isActive(); }
    bool isClosed() const { return closed; }
    // Hands an update package to the daemon, which installs it.
    bool installUpdate(const QString& packagePath);
    bool installHelper();

    // --- State and status ---
    State state() const { return state_; }
    // An attempt, a tunnel or its tear-down is under way.
    bool isBusy() const { return state_ != State::Idle && state_ != State::Failed; }
    bool isConnected() const { return state_ == State::Connected; }
    // No OpenVPN run going any more; tunnelIdle() tells when that becomes so.
    bool isTunnelIdle() const;
    Failure failure() const { return failure_; }
    QString failureDetail() const { return failureDetail_; }
    // The attempt under way, 1 to kMaxAttempts; 0 when none.
    int attempt() const { return attemptCount; }
    // The protocol label of the connection under way: "udp", "tcp" or "stealth".
    QString protocol() const { return protocol_; }
    // When the tunnel came up; invalid when it is not up.
    QDateTime connectedSince() const { return connectedSince_; }
    // The tunnel's own address as OpenVPN reports it; empty when not up.
    QString tunnelAddress() const { return tunnelAddress_; }
    // OpenVPN's byte totals of the tunnel under way.
    quint64 bytesIn() const { return bytesIn_; }
    quint64 bytesOut() const { return bytesOut_; }

    KillSwitch* killSwitch() const { return killSwitch_; }
    TimezoneFollower* timezone() const { return timezone_; }

    // For tests and benchmarks.
    void setAttemptTimeout(int ms) { attemptTimer.setInterval(ms); }
    // A pause after the rule refresh before the tunnel starts; 0 by default,
    // the daemon answers only once the rules are loaded.
    void setFirewallSettleDelay(int ms) { firewallSettleMs = ms; }

signals:
    void stateChanged(ConnectionSession::State state);
    // The attempts were given up, or an attempt could not start.
    void failed(ConnectionSession::Failure failure, QString detail);
    // A connection was asked for without a location.
    void locationNeeded();
    void locationChanged(ServerInfo server);
    // A new attempt is about to hand its profile to OpenVPN.
    void attemptStarting(int attempt);
    void statisticsChanged(quint64 bytesIn, quint64 bytesOut);
    void logLine(QString line);
    void tunnelIdle();
    void signedOut();

private:
    void setState(State state);
    void startAttempt();
    void generateProfile(const ConfigServer& config);
    void onStunnelStarted(bool ok);
    void onProfileWritten();
    void startTunnel();
    void cancelAttempt();
    void fail(Failure failure, const QString& detail = QString());
    void retryOrFail(Failure failure, const QString& detail);
    void onTunnelUp(const QString& localAddress, qint64 upSince);
    void onTunnelConnected();
    void onTunnelReconnecting();
    void checkStealthTunnel();
    void onTunnelDown();
    void onTunnelError(const QString& message);
    void onAttemptTimeout();
    void onStatistics(double, double, double totalIn, double totalOut);
    void stopStealthTunnel();
    void clearLocation();
    void setLocation(const ServerInfo& server);
    void finishSignOut();

    QSharedPointer<ServiceConnector> daemon;
    std::unique_ptr<Connection> connection;
    std::unique_ptr<MakeOVPNFile> generator;
    QSharedPointer<StunnelManager> stunnel;
    QSharedPointer<QFutureWatcher<bool>> generationWatcher;
    KillSwitch* killSwitch_ = nullptr;
    TimezoneFollower* timezone_ = nullptr;
    QTimer attemptTimer;
    QTimer stealthCheck;
    QTimer signOutTimer;

    State state_ = State::Idle;
    Failure failure_ = Failure::None;
    QString failureDetail_;
    int attemptCount = 0;
    // Counts the presses of Connect, so a late answer about the daemon
    // belongs only to the press that asked.
    int presses = 0;
    bool autoConnectPending = false;
    bool cancelRequested = false;
    bool reconnectPending = false;
    bool stealth = false;
    bool closed = false;
    QMap<ServerIdentif, ServerInfo> serverMap;
    ServerInfo server;
    ConfigServer stealthRecord;
    QString protocol_;
    QDateTime connectedSince_;
    QString tunnelAddress_;
    QDateTime reportedSince;
    quint64 bytesIn_ = 0;
    quint64 bytesOut_ = 0;
    int firewallSettleMs = 0;
};
