#include "outernetworkwatcher.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDebug>
#include <QHash>
#include <QSocketNotifier>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <functional>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Each = std::function<void(const nlmsghdr*)>;

// One dump request (links, addresses or routes of every family); calls back
// for every message of the reply. False when the kernel could not be asked.
bool dump(uint16_t type, size_t bodySize, const Each& each)
{
    const int s = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (s < 0) {
        return false;
    }
    struct
    {
        nlmsghdr header;
        char body[sizeof(rtmsg) > sizeof(ifinfomsg) ? sizeof(rtmsg) : sizeof(ifinfomsg)];
    } request;
    std::memset(&request, 0, sizeof request);
    // Every body starts with its family byte: zero asks for all families.
    request.header.nlmsg_len = NLMSG_LENGTH(bodySize);
    request.header.nlmsg_type = type;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = 1;
    sockaddr_nl kernel;
    std::memset(&kernel, 0, sizeof kernel);
    kernel.nl_family = AF_NETLINK;
    bool ok = ::sendto(s, &request, request.header.nlmsg_len, 0, reinterpret_cast<sockaddr*>(&kernel),
                       sizeof kernel) >= 0;
    alignas(nlmsghdr) char buffer[32768];
    bool done = !ok;
    while (!done) {
        const ssize_t n = ::recv(s, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ok = false;
            break;
        }
        int left = static_cast<int>(n);
        for (auto* h = reinterpret_cast<nlmsghdr*>(buffer); NLMSG_OK(h, left); h = NLMSG_NEXT(h, left)) {
            if (h->nlmsg_type == NLMSG_DONE || h->nlmsg_type == NLMSG_ERROR) {
                ok = h->nlmsg_type == NLMSG_DONE;
                done = true;
                break;
            }
            each(h);
        }
    }
    ::close(s);
    return ok;
}

template <typename Body, typename F> void eachAttribute(const nlmsghdr* h, F f)
{
    int left = static_cast<int>(h->nlmsg_len) - static_cast<int>(NLMSG_LENGTH(sizeof(Body)));
    const auto* a = reinterpret_cast<const rtattr*>(reinterpret_cast<const char*>(NLMSG_DATA(h)) +
                                                    NLMSG_ALIGN(sizeof(Body)));
    for (; RTA_OK(a, left); a = RTA_NEXT(a, left)) {
        f(a);
    }
}

QString addressText(int family, const rtattr* a)
{
    const int size = family == AF_INET ? 4 : 16;
    if ((family != AF_INET && family != AF_INET6) || RTA_PAYLOAD(a) < static_cast<unsigned>(size)) {
        return QString();
    }
    char text[INET6_ADDRSTRLEN] = {};
    return ::inet_ntop(family, RTA_DATA(a), text, sizeof text) ? QString::fromLatin1(text) : QString();
}

// Interfaces whose addresses and routes carry the tunnel's transport, by index.
QHash<int, QString> outerLinks()
{
    QHash<int, QString> links;
    dump(RTM_GETLINK, sizeof(ifinfomsg), [&](const nlmsghdr* h) {
        if (h->nlmsg_type != RTM_NEWLINK) {
            return;
        }
        const auto* info = static_cast<const ifinfomsg*>(NLMSG_DATA(h));
        QString name;
        eachAttribute<ifinfomsg>(h, [&](const rtattr* a) {
            if (a->rta_type == IFLA_IFNAME) {
                name = QString::fromLatin1(static_cast<const char*>(RTA_DATA(a)));
            }
        });
        const unsigned wanted = IFF_UP | IFF_RUNNING;
        // A tun device has no link layer (ARPHRD_NONE); a tap device is
        // known only by its name.
        if ((info->ifi_flags & wanted) == wanted && !(info->ifi_flags & IFF_LOOPBACK) &&
            info->ifi_type != ARPHRD_NONE && !name.startsWith(QLatin1String("tun")) &&
            !name.startsWith(QLatin1String("tap"))) {
            links.insert(info->ifi_index, name);
        }
    });
    return links;
}

} // namespace

OuterNetworkWatcher::OuterNetworkWatcher(QObject* parent)
    : OuterNetworkWatcher(QDBusConnection::systemBus(), parent)
{
}

OuterNetworkWatcher::OuterNetworkWatcher(QDBusConnection systemBus, QObject* parent) : QObject(parent)
{
    settleTimer.setSingleShot(true);
    settleTimer.setInterval(kSettleMs);
    connect(&settleTimer, &QTimer::timeout, this, &OuterNetworkWatcher::onSettled);
    gatewayWait.setSingleShot(true);
    gatewayWait.setInterval(kGatewayWaitMs);
    connect(&gatewayWait, &QTimer::timeout, this, &OuterNetworkWatcher::onGatewayWaitOver);
    clockTimer.setTimerType(Qt::VeryCoarseTimer);
    clockTimer.setInterval(kClockCheckMs);
    connect(&clockTimer, &QTimer::timeout, this, &OuterNetworkWatcher::onClockCheck);
    watchSleep(systemBus);
}

void OuterNetworkWatcher::watchSleep(QDBusConnection bus)
{
    // logind tells the system bus before a suspend and after the resume.
    // Until it is known to be there, and on a system without it, the clocks
    // are compared now and then instead.
    if (!bus.isConnected() || bus.interface() == nullptr ||
        !bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                     QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"),
                     this, SLOT(onPrepareForSleep(bool)))) {
        return;
    }
    auto* asked = new QDBusPendingCallWatcher(
        bus.interface()->asyncCall(QStringLiteral("NameHasOwner"), QStringLiteral("org.freedesktop.login1")),
        this);
    connect(asked, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        const QDBusPendingReply<bool> reply = *call;
        call->deleteLater();
        if (reply.isValid() && reply.value()) {
            sleepSignalled = true;
            clockTimer.stop();
        }
    });
}

void OuterNetworkWatcher::onPrepareForSleep(bool starting)
{
    if (starting || fd < 0) {
        return;
    }
    qDebug() << "OuterNetworkWatcher: resumed from suspend";
    emit changed();
}

OuterNetworkWatcher::~OuterNetworkWatcher()
{
    stop();
}

bool OuterNetworkWatcher::start()
{
    if (isActive()) {
        return true;
    }
    fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE);
    if (fd < 0) {
        qDebug() << "OuterNetworkWatcher: no netlink socket:" << std::strerror(errno);
        return false;
    }
    sockaddr_nl local;
    std::memset(&local, 0, sizeof local);
    local.nl_family = AF_NETLINK;
    local.nl_groups =
        RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV6_IFADDR | RTMGRP_IPV4_ROUTE | RTMGRP_IPV6_ROUTE;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        qDebug() << "OuterNetworkWatcher: can not listen to netlink:" << std::strerror(errno);
        ::close(fd);
        fd = -1;
        return false;
    }
    notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &OuterNetworkWatcher::onNetlinkReadable);
    last = current();
    changePending = false;
    outerLinkLost = false;
    lastSuspendedMs = suspendedMs();
    if (!sleepSignalled) {
        clockTimer.start();
    }
    return true;
}

void OuterNetworkWatcher::stop()
{
    settleTimer.stop();
    gatewayWait.stop();
    clockTimer.stop();
    delete notifier;
    notifier = nullptr;
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

OuterNetworkWatcher::Snapshot OuterNetworkWatcher::current()
{
    Snapshot snapshot;
    const QHash<int, QString> links = outerLinks();
    dump(RTM_GETADDR, sizeof(ifaddrmsg), [&](const nlmsghdr* h) {
        const auto* addr = static_cast<const ifaddrmsg*>(NLMSG_DATA(h));
        if (h->nlmsg_type != RTM_NEWADDR || addr->ifa_scope != RT_SCOPE_UNIVERSE ||
            !links.contains(static_cast<int>(addr->ifa_index))) {
            return;
        }
        quint32 flags = addr->ifa_flags;
        QString local;
        QString address;
        eachAttribute<ifaddrmsg>(h, [&](const rtattr* a) {
            if (a->rta_type == IFA_FLAGS && RTA_PAYLOAD(a) >= sizeof(quint32)) {
                std::memcpy(&flags, RTA_DATA(a), sizeof flags);
            } else if (a->rta_type == IFA_LOCAL) {
                local = addressText(addr->ifa_family, a);
            } else if (a->rta_type == IFA_ADDRESS) {
                address = addressText(addr->ifa_family, a);
            }
        });
        if (flags & (IFA_F_TEMPORARY | IFA_F_TENTATIVE | IFA_F_DADFAILED)) {
            return;
        }
        snapshot.addresses << links.value(static_cast<int>(addr->ifa_index)) + ' ' +
                                  (local.isEmpty() ? address : local) + '/' +
                                  QString::number(addr->ifa_prefixlen);
    });
    dump(RTM_GETROUTE, sizeof(rtmsg), [&](const nlmsghdr* h) {
        const auto* route = static_cast<const rtmsg*>(NLMSG_DATA(h));
        if (h->nlmsg_type != RTM_NEWROUTE || route->rtm_dst_len != 0 || route->rtm_type != RTN_UNICAST) {
            return;
        }
        quint32 table = route->rtm_table;
        int oif = -1;
        QString gateway;
        eachAttribute<rtmsg>(h, [&](const rtattr* a) {
            if (a->rta_type == RTA_TABLE && RTA_PAYLOAD(a) >= sizeof(quint32)) {
                std::memcpy(&table, RTA_DATA(a), sizeof table);
            } else if (a->rta_type == RTA_OIF && RTA_PAYLOAD(a) >= sizeof(int)) {
                std::memcpy(&oif, RTA_DATA(a), sizeof oif);
            } else if (a->rta_type == RTA_GATEWAY) {
                gateway = addressText(route->rtm_family, a);
            }
        });
        if (table == RT_TABLE_MAIN && links.contains(oif)) {
            snapshot.gateways << links.value(oif) + ' ' + gateway;
        }
    });
    snapshot.addresses.sort();
    snapshot.gateways.sort();
    return snapshot;
}

bool OuterNetworkWatcher::isChange(const Snapshot& last, const Snapshot& now)
{
    return now.addresses != last.addresses || (!now.gateways.isEmpty() && now.gateways != last.gateways);
}

bool OuterNetworkWatcher::losesOuterLink(const nlmsghdr* h) const
{
    // Named in the last snapshot: a link or an address the transport used.
    const auto used = [this](const QString& entry) {
        for (const QString& address : last.addresses) {
            if (address == entry || address.startsWith(entry + QLatin1Char(' '))) {
                return true;
            }
        }
        return false;
    };
    if (h->nlmsg_type == RTM_NEWLINK && h->nlmsg_len >= NLMSG_LENGTH(sizeof(ifinfomsg))) {
        const auto* info = static_cast<const ifinfomsg*>(NLMSG_DATA(h));
        const unsigned wanted = IFF_UP | IFF_RUNNING;
        if ((info->ifi_flags & wanted) == wanted) {
            return false;
        }
        QString name;
        eachAttribute<ifinfomsg>(h, [&](const rtattr* a) {
            if (a->rta_type == IFLA_IFNAME) {
                name = QString::fromLatin1(static_cast<const char*>(RTA_DATA(a)));
            }
        });
        return !name.isEmpty() && used(name);
    }
    if (h->nlmsg_type == RTM_DELADDR && h->nlmsg_len >= NLMSG_LENGTH(sizeof(ifaddrmsg))) {
        const auto* addr = static_cast<const ifaddrmsg*>(NLMSG_DATA(h));
        char name[IF_NAMESIZE] = {};
        if (addr->ifa_scope != RT_SCOPE_UNIVERSE || !::if_indextoname(addr->ifa_index, name)) {
            return false;
        }
        QString local;
        eachAttribute<ifaddrmsg>(h, [&](const rtattr* a) {
            if (a->rta_type == IFA_LOCAL || (a->rta_type == IFA_ADDRESS && local.isEmpty())) {
                local = addressText(addr->ifa_family, a);
            }
        });
        return !local.isEmpty() && used(QString::fromLatin1(name) + QLatin1Char(' ') + local +
                                        QLatin1Char('/') + QString::number(addr->ifa_prefixlen));
    }
    return false;
}

void OuterNetworkWatcher::onNetlinkReadable()
{
    // What the network is now is read afresh once the burst is over. A full
    // socket buffer (ENOBUFS) is a change as well. A link of the transport
    // that went down, or an address of it that went away, is a change even
    // when all is back before the burst ends: the kernel took the routes
    // through it with it, the one that keeps the server outside the tunnel
    // among them, and only a restart of the tunnel puts that back.
    alignas(nlmsghdr) char buffer[8192];
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno != EINTR && errno != ENOBUFS) {
            break;
        }
        if (n < 0 && errno == ENOBUFS) {
            outerLinkLost = true;
        }
        int left = static_cast<int>(n);
        for (const auto* h = reinterpret_cast<const nlmsghdr*>(buffer); n > 0 && NLMSG_OK(h, left);
             h = NLMSG_NEXT(h, left)) {
            if (losesOuterLink(h)) {
                outerLinkLost = true;
            }
        }
    }
    settleTimer.start();
}

bool OuterNetworkWatcher::hasGateway(const Snapshot& now, int family)
{
    for (const QString& gateway : now.gateways) {
        const bool v6 = gateway.section(' ', 1).contains(':');
        if (family == AF_UNSPEC || (family == AF_INET6) == v6) {
            return true;
        }
    }
    return false;
}

void OuterNetworkWatcher::onSettled()
{
    const Snapshot now = current();
    changePending = isChange(last, now) || outerLinkLost || changePending;
    outerLinkLost = false;
    last.addresses = now.addresses;
    if (!now.gateways.isEmpty()) {
        last.gateways = now.gateways;
    }
    if (!changePending) {
        return;
    }
    if (!hasGateway(now, serverFamily)) {
        if (!gatewayWait.isActive()) {
            gatewayWait.start();
        }
        return;
    }
    changePending = false;
    gatewayWait.stop();
    qDebug() << "OuterNetworkWatcher: the outer network changed:" << now.addresses << now.gateways;
    emit changed();
}

void OuterNetworkWatcher::onGatewayWaitOver()
{
    if (changePending) {
        changePending = false;
        qDebug() << "OuterNetworkWatcher: the outer network changed, no gateway for the server:"
                 << last.addresses;
        emit changed();
    }
}

qint64 OuterNetworkWatcher::suspendedMs()
{
    // The boot clock runs on through a suspend, the monotonic clock does not.
    timespec boot{};
    timespec mono{};
    ::clock_gettime(CLOCK_BOOTTIME, &boot);
    ::clock_gettime(CLOCK_MONOTONIC, &mono);
    return (boot.tv_sec - mono.tv_sec) * 1000 + (boot.tv_nsec - mono.tv_nsec) / 1000000;
}

void OuterNetworkWatcher::onClockCheck()
{
    const qint64 now = suspendedMs();
    const bool resumed = now - lastSuspendedMs > kSuspendMs;
    lastSuspendedMs = now;
    if (resumed) {
        qDebug() << "OuterNetworkWatcher: resumed from suspend";
        emit changed();
    }
}
