// The kill switch as the client asks the daemon for it: whether the user
// wants it, whether the daemon holds it, the addresses it lets through, and
// whether the daemon can be reached at all. Also the IPv6 block on its own,
// for a connection with the kill switch off. Every request to the daemon is
// answered later, by signal: the window never waits for iptables.
#pragma once

#include "daemonprotocol.h"
#include "firewallsupport.h"
#include "serverinfo.h"

#include <QMap>
#include <QObject>
#include <QSharedPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

class DaemonStartWatch;
class ServiceConnector;

class KillSwitch : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool active READ isActive NOTIFY changed)
    Q_PROPERTY(bool blocking READ isBlocking NOTIFY changed)
    Q_PROPERTY(bool serviceMissing READ isServiceMissing NOTIFY changed)

public:
    enum class Problem
    {
        NotSupported,   // the system has no firewall the daemon can drive
        CannotSwitchOn, // the daemon refused; the setting has been switched off
        CannotSwitchOff,
    };
    Q_ENUM(Problem)

    static constexpr int kServiceRetryMs = 5000;
    static constexpr int kWirelessSettleMs = 2000;
    // A daemon that was started again holds no rules: they are sent again as
    // soon as it listens, asked this often for that long after its start.
    static constexpr int kRestartRetryMs = 100;
    static constexpr int kRestartRetries = 100;
    // The tunnel's interface, named in every rule set.
    static const QString kTunnelInterface;

    // `daemonPidFile`: the file the daemon's monitor writes at every start
    // (empty: the installed daemon's).
    explicit KillSwitch(QSharedPointer<ServiceConnector> daemon, QObject* parent = nullptr,
                        const QString& daemonPidFile = QString());
    ~KillSwitch() override;

    // Reads the protection settings; a change of the kill switch or of the
    // local network's exception refreshes the rules, then the switch follows
    // the setting. dnsOpen: the rules let name lookups out when switched on
    // (a connection is about to start by itself).
    void loadSettings(bool dnsOpen);
    // Re-reads the IPv6 and timezone flags only.
    void readProtectionSettings();
    // Switches the rules on or off in the daemon; changed() tells when the
    // daemon has done it, problem() when it could not.
    void setEnabled(bool on, bool dnsOpen = false);
    // Switches everything off and waits for the daemon: for the program's
    // exit and a sign-out, after which nothing may be left.
    void switchOffNow();
    // Sends the rules again (new addresses, DNS open or closed); only while on.
    void refresh(bool blockDns = true);
    // The same, after the network has had time to settle.
    void refreshLater();

    // The tunnel carries traffic: the rules no longer block the user.
    void setTunnelUp(bool up);
    // A connection is under way (from the first step to its end): with the
    // kill switch off, the IPv6 block holds for that long when asked for.
    void setConnectionActive(bool busy);

    void setServers(const QMap<ServerIdentif, ServerInfo>& servers);
    void setCurrentServer(const ServerInfo& server);

    // Asks the daemon whether it is there, after every request made before;
    // `done` gets the answer (false, and serviceMissing, when it is not).
    void checkService(std::function<void(bool reachable)> done = nullptr);

    bool isWanted() const { return params.kill_connect; }
    bool isActive() const { return active; }
    // The daemon holds the IPv6 block alone (kill switch off).
    bool isHoldingIPv6() const { return ipv6Held; }
    bool isServiceMissing() const { return serviceMissing; }
    // All traffic is held back and no tunnel carries it: with the switch on,
    // after a disconnect and at every start.
    bool isBlocking() const { return active && !tunnelUp; }
    bool changesTimezone() const { return params.change_timezone; }
    FIREWALL_PARAMETERS parameters() const { return params; }

    // The addresses the rules let through, in the order they are sent: built
    // afresh for every refresh, so that the server being connected is always
    // among them however many servers the account has.
    QStringList allowList() const;

signals:
    // active, blocking or serviceMissing changed.
    void changed();
    void problem(KillSwitch::Problem problem);

private:
    struct Answer
    {
        FirewallSupport support;
        bool ok;
    };
    void switchedOn(int request, Answer answer);
    void switchedOff(int request, bool ok, bool ipv6Kept);
    // Asks for the IPv6 block alone, or its end, as the connection and the
    // settings now want it.
    void followIPv6();
    // The daemon started again: it gets what it held before.
    void onDaemonStarted();
    void resendAfterRestart(int round, int attemptsLeft);
    FIREWALL_PARAMETERS ipv6OnlyParameters() const;
    void setServiceMissing(bool missing);
    void retryService();
    void resolveServiceHost();
    // The addresses of the two locations a double hop joins, where known.
    QStringList doubleHopEnds(const ServerInfo& server) const;

    QSharedPointer<ServiceConnector> daemon;
    FIREWALL_PARAMETERS params{};
    bool active = false;
    // What was last asked of the daemon; the answers follow in that order.
    bool target = false;
    int requests = 0;
    // Answers to requests up to this one came too late to count.
    int settled = 0;
    bool connectionActive = false;
    bool ipv6Asked = false;
    bool ipv6Held = false;
    bool serviceMissing = false;
    bool tunnelUp = false;
    int restartRound = 0;
    DaemonStartWatch* startWatch = nullptr;
    QMap<ServerIdentif, ServerInfo> servers;
    ServerInfo current;
    QStringList serviceHost;
    QTimer serviceRetry;
};
