#include "killswitch.h"

#include "allowlist.h"
#include "localsettings.h"
#include "networkmanager.h"
#include "serviceconnector.h"

#include <QDebug>
#include <QHostAddress>
#include <QHostInfo>
#include <QUrl>

const QString KillSwitch::kTunnelInterface = QStringLiteral("tun0");

namespace {

const char* boolText(bool value)
{
    return value ? "true" : "false";
}

bool settingIsTrue(const QString& key)
{
    return LocalSettings::instance()->value(key).toBool();
}

} // namespace

KillSwitch::KillSwitch(QSharedPointer<ServiceConnector> daemon, QObject* parent)
    : QObject(parent), daemon(std::move(daemon))
{
    readProtectionSettings();
    params.allow_local_ip = settingIsTrue(Keys::AllowLocalDevices);
    params.kill_connect = settingIsTrue(Keys::KillConnect);
    serviceRetry.setInterval(kServiceRetryMs);
    connect(&serviceRetry, &QTimer::timeout, this, &KillSwitch::retryService);
    // A daemon started afresh clears every rule, and nothing tells the
    // client: the rules are sent again now and then. The daemon changes
    // nothing for a set it already holds.
    hold.setInterval(kHoldMs);
    connect(&hold, &QTimer::timeout, this, [this] { refresh(bool(params.block_dns)); });
    resolveServiceHost();
}

void KillSwitch::readProtectionSettings()
{
    params.block_ipv6 = settingIsTrue(Keys::IPv6LeakProtect);
    params.change_timezone = settingIsTrue(Keys::ChangeTimezone);
}

void KillSwitch::resolveServiceHost()
{
    const QString host = QUrl(NetworkManager::apiLink()).host();
    if (host.isEmpty()) {
        return;
    }
    if (QHostAddress(host).protocol() != QAbstractSocket::UnknownNetworkLayerProtocol) {
        serviceHost.append(host);
        return;
    }
    // A slow resolver must not hold up the first window; the rules take the
    // address in as soon as it is known.
    QHostInfo::lookupHost(host, this, [this](const QHostInfo& info) {
        if (info.addresses().isEmpty()) {
            return;
        }
        serviceHost = QStringList{info.addresses().first().toString()};
        refresh(bool(params.block_dns));
    });
}

void KillSwitch::loadSettings(bool dnsOpen)
{
    const bool killConnect = settingIsTrue(Keys::KillConnect);
    const bool allowLocal = settingIsTrue(Keys::AllowLocalDevices);
    readProtectionSettings();
    if (bool(params.kill_connect) != killConnect || bool(params.allow_local_ip) != allowLocal) {
        params.kill_connect = killConnect;
        params.allow_local_ip = allowLocal;
        refresh(true);
    }
    setEnabled(killConnect, dnsOpen);
}

void KillSwitch::setEnabled(bool on, bool dnsOpen)
{
    if (!on) {
        setServiceMissing(false);
    }
    if (active == on) {
        return;
    }
    if (on) {
        // A daemon that is not running is not a system without a firewall:
        // the user can start it, and the sign-in must not wait for that.
        const ServiceConnector::FirewallSupport support = daemon->firewallSupport();
        setServiceMissing(support == ServiceConnector::FirewallSupport::Unreachable);
        if (support == ServiceConnector::FirewallSupport::Unreachable) {
            qWarning() << "The daemon does not answer; the kill switch waits for it";
            return;
        }
        if (support == ServiceConnector::FirewallSupport::NotSupported) {
            emit problem(Problem::NotSupported);
            return;
        }
        const QString allow = allowList().join(';');
        qDebug() << "kill_c: " << boolText(params.kill_connect);
        qDebug() << "ipv6_b: " << boolText(params.block_ipv6);
        qDebug() << "allow_loc_ip: " << boolText(params.allow_local_ip);
        qDebug() << "change_t: " << boolText(params.change_timezone);
        qDebug() << "Allow Firewall ip:" << allow;
        params.block_dns = !dnsOpen;
        if (daemon->firewallOn(allow, kTunnelInterface, params)) {
            active = true;
            hold.start();
            emit changed();
        } else {
            // The user believes the machine is protected: say that it is not,
            // and let the settings page show the kill switch as off.
            qWarning() << "The kill switch could not be switched on";
            params.kill_connect = false;
            LocalSettings::instance()->setValue(Keys::KillConnect, false);
            emit problem(Problem::CannotSwitchOn);
        }
    } else if (daemon->firewallOff()) {
        active = false;
        hold.stop();
        emit changed();
    } else {
        qWarning() << "The kill switch could not be switched off";
        emit problem(Problem::CannotSwitchOff);
    }
}

void KillSwitch::refresh(bool blockDns)
{
    if (!active) {
        return;
    }
    const QString allow = allowList().join(';');
    qDebug() << "Change Firewall ip:" << allow;
    params.block_dns = blockDns;
    if (!daemon->firewallChange(allow, kTunnelInterface, params)) {
        qWarning() << "The kill switch rules could not be refreshed";
    }
}

void KillSwitch::refreshLater()
{
    QTimer::singleShot(kWirelessSettleMs, this, [this] { refresh(true); });
}

void KillSwitch::setTunnelUp(bool up)
{
    if (tunnelUp != up) {
        tunnelUp = up;
        emit changed();
    }
}

void KillSwitch::setServers(const QMap<ServerIdentif, ServerInfo>& list)
{
    servers = list;
}

void KillSwitch::setCurrentServer(const ServerInfo& server)
{
    current = server;
}

bool KillSwitch::checkService()
{
    const bool reachable = daemon->firewallSupport() != ServiceConnector::FirewallSupport::Unreachable;
    setServiceMissing(!reachable);
    return reachable;
}

void KillSwitch::setServiceMissing(bool missing)
{
    if (missing) {
        serviceRetry.start();
    } else {
        serviceRetry.stop();
    }
    if (serviceMissing != missing) {
        serviceMissing = missing;
        emit changed();
    }
}

void KillSwitch::retryService()
{
    if (params.kill_connect) {
        setEnabled(true);
    } else {
        checkService();
    }
}

QStringList KillSwitch::allowList() const
{
    QStringList required{QStringLiteral("127.0.0.1")};
    if (!current.ip.isEmpty()) {
        required.append(current.ip);
        required.append(doubleHopEnds(current));
    }
    required.append(serviceHost);
    QStringList addresses;
    addresses.reserve(servers.size());
    for (const ServerInfo& server : servers) {
        addresses.append(server.ip);
    }
    return AllowList::build(required, addresses);
}

QStringList KillSwitch::doubleHopEnds(const ServerInfo& server) const
{
    // A double hop is named after its two locations ("Amsterdam - New York");
    // a dash may also sit inside a location's name, so every split is tried.
    QStringList ends;
    if (server.type != ServerInfo::Double) {
        return ends;
    }
    for (int dash = server.name.indexOf(QLatin1Char('-')); dash >= 0;
         dash = server.name.indexOf(QLatin1Char('-'), dash + 1)) {
        const QString entry = server.name.left(dash).trimmed();
        const QString exit = server.name.mid(dash + 1).trimmed();
        for (const ServerInfo& other : servers) {
            if (other.type != ServerInfo::Double && (other.name == entry || other.name == exit) &&
                !other.ip.isEmpty() && !ends.contains(other.ip)) {
                ends.append(other.ip);
            }
        }
    }
    return ends;
}
