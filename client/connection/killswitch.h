// The kill switch as the client asks the daemon for it: whether the user
// wants it, whether the daemon holds it, the addresses it lets through, and
// whether the daemon can be reached at all.
#pragma once

#include "daemonprotocol.h"
#include "serverinfo.h"

#include <QMap>
#include <QObject>
#include <QSharedPointer>
#include <QStringList>
#include <QTimer>

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
    // How often the rules are sent again while the switch is on: a daemon
    // that was stopped and started again holds none.
    static constexpr int kHoldMs = 2000;
    // The tunnel's interface, named in every rule set.
    static const QString kTunnelInterface;

    explicit KillSwitch(QSharedPointer<ServiceConnector> daemon, QObject* parent = nullptr);

    // Reads the protection settings; a change of the kill switch or of the
    // local network's exception refreshes the rules, then the switch follows
    // the setting. dnsOpen: the rules let name lookups out when switched on
    // (a connection is about to start by itself).
    void loadSettings(bool dnsOpen);
    // Re-reads the IPv6 and timezone flags only.
    void readProtectionSettings();
    // Switches the rules on or off in the daemon.
    void setEnabled(bool on, bool dnsOpen = false);
    // Sends the rules again (new addresses, DNS open or closed); only while on.
    void refresh(bool blockDns = true);
    // The same, after the network has had time to settle.
    void refreshLater();

    // For tests: how often the rules are sent again while on.
    void setHoldInterval(int ms) { hold.setInterval(ms); }

    // The tunnel carries traffic: the rules no longer block the user.
    void setTunnelUp(bool up);

    void setServers(const QMap<ServerIdentif, ServerInfo>& servers);
    void setCurrentServer(const ServerInfo& server);

    // Asks the daemon whether it is there; false (and serviceMissing) when not.
    bool checkService();

    bool isWanted() const { return params.kill_connect; }
    bool isActive() const { return active; }
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
    void setServiceMissing(bool missing);
    void retryService();
    void resolveServiceHost();
    // The addresses of the two locations a double hop joins, where known.
    QStringList doubleHopEnds(const ServerInfo& server) const;

    QSharedPointer<ServiceConnector> daemon;
    FIREWALL_PARAMETERS params{};
    bool active = false;
    bool serviceMissing = false;
    bool tunnelUp = false;
    QMap<ServerIdentif, ServerInfo> servers;
    ServerInfo current;
    QStringList serviceHost;
    QTimer serviceRetry;
    QTimer hold;
};
