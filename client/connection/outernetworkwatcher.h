// Watches the network outside the tunnel while a connection runs: the
// machine's addresses and default gateways (through netlink) and a resume
// from suspend (logind's word on the system bus). A laptop that changed Wi-Fi, lost its link or woke up has a
// tunnel whose transport is gone; changed() lets the connection restart it at
// once instead of waiting for OpenVPN's own ping-restart.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QTimer>

class QSocketNotifier;

class OuterNetworkWatcher : public QObject
{
    Q_OBJECT
public:
    // What the tunnel's transport depends on. Tunnel interfaces, loopback,
    // links without carrier, link-local, temporary (privacy) and tentative
    // addresses take no part: the tunnel's own coming and going, and the
    // daily rotation of a privacy address, are no change of the network.
    struct Snapshot
    {
        QStringList addresses; // "interface address", sorted
        QStringList gateways;  // "interface gateway" of default routes, sorted
    };

    // Netlink events arrive in bursts (an address, then its routes): the
    // network is looked at once they have stopped for this long. Kept short:
    // a new address without its gateway yet is not reported (see below), so
    // a burst cut in two costs nothing but a second look.
    static constexpr int kSettleMs = 40;
    // A changed network is reported once a default gateway of the server's
    // family is there again: a restart before it would send the new attempt
    // nowhere and leave it waiting for OpenVPN's retry. A network that has no
    // such gateway (the server reached through a route of its own) is
    // reported after this long all the same.
    static constexpr int kGatewayWaitMs = 2000;
    // Without logind: how often the clocks are compared to notice a resume
    // from suspend, and the sleep that counts as one.
    static constexpr int kClockCheckMs = 2000;
    static constexpr qint64 kSuspendMs = 1500;

    explicit OuterNetworkWatcher(QObject* parent = nullptr);
    // Hears logind on `systemBus` (tests give a bus of their own).
    OuterNetworkWatcher(QDBusConnection systemBus, QObject* parent = nullptr);
    ~OuterNetworkWatcher() override;

    // Starts watching from the network as it is now; false when netlink can
    // not be opened (nothing is then reported).
    bool start();
    void stop();
    // The address family of the VPN server (AF_INET, AF_INET6; AF_UNSPEC
    // when unknown): only a default gateway of that family can carry the
    // transport.
    void setServerFamily(int family) { serverFamily = family; }
    bool isActive() const { return fd >= 0; }
    // A resume is reported on logind's word rather than found by comparing
    // clocks.
    bool hearsSleep() const { return sleepSignalled; }

    static Snapshot current();
    // Whether going from the last snapshot to now changes the network. A
    // default route that only disappears is no change: OpenVPN's
    // redirect-gateway without def1 deletes it itself, and a real loss of
    // the link takes its addresses too.
    static bool isChange(const Snapshot& last, const Snapshot& now);
    // Whether the network has a default gateway of that family.
    static bool hasGateway(const Snapshot& now, int family);

signals:
    void changed();

private slots:
    void onNetlinkReadable();
    void onSettled();
    void onGatewayWaitOver();
    void onClockCheck();
    void onPrepareForSleep(bool starting);

private:
    void watchSleep(QDBusConnection bus);
    static qint64 suspendedMs();
    // A link of the last snapshot that went down, or an address of it that
    // went away.
    bool losesOuterLink(const struct nlmsghdr* h) const;

    int fd = -1;
    QSocketNotifier* notifier = nullptr;
    QTimer settleTimer;
    QTimer gatewayWait;
    QTimer clockTimer;
    Snapshot last;
    // A change was seen that is not reported yet, for want of a gateway.
    bool changePending = false;
    int serverFamily = 0;
    qint64 lastSuspendedMs = 0;
    bool outerLinkLost = false;
    bool sleepSignalled = false;
};
