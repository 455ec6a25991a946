#include "killswitch.h"

#include "allowlist.h"
#include "daemonstartwatch.h"
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

KillSwitch::KillSwitch(QSharedPointer<ServiceConnector> daemon, QObject* parent, const QString& daemonPidFile)
    : QObject(parent), daemon(std::move(daemon))
{
    readProtectionSettings();
    params.allow_local_ip = settingIsTrue(Keys::AllowLocalDevices);
    params.kill_connect = settingIsTrue(Keys::KillConnect);
    serviceRetry.setInterval(kServiceRetryMs);
    connect(&serviceRetry, &QTimer::timeout, this, &KillSwitch::retryService);
    // A daemon started afresh clears every rule and tells nobody: its start
    // is watched, so nothing is sent while nothing changes.
    startWatch = new DaemonStartWatch(
        daemonPidFile.isEmpty() ? DaemonStartWatch::kDefaultPidFile : daemonPidFile, this);
    connect(startWatch, &DaemonStartWatch::started, this, &KillSwitch::onDaemonStarted);
    resolveServiceHost();
}

KillSwitch::~KillSwitch() = default;

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
    followIPv6();
}

void KillSwitch::setEnabled(bool on, bool dnsOpen)
{
    if (!on) {
        setServiceMissing(false);
    }
    if (target == on) {
        return;
    }
    target = on;
    const int request = ++requests;
    const QString allow = allowList().join(';');
    if (on) {
        // The kill switch's rules block IPv6 as well.
        ipv6Asked = false;
        qDebug() << "kill_c: " << boolText(params.kill_connect);
        qDebug() << "ipv6_b: " << boolText(params.block_ipv6);
        qDebug() << "allow_loc_ip: " << boolText(params.allow_local_ip);
        qDebug() << "change_t: " << boolText(params.change_timezone);
        qDebug() << "Allow Firewall ip:" << allow;
        params.block_dns = !dnsOpen;
        const FIREWALL_PARAMETERS asked = params;
        daemon->post<Answer>(
            this,
            [allow, asked](ServiceConnector& d) {
                Answer answer{d.firewallSupport(), false};
                if (answer.support == FirewallSupport::Supported) {
                    answer.ok = d.firewallOn(allow, kTunnelInterface, asked);
                }
                return answer;
            },
            [this, request](Answer answer) { switchedOn(request, answer); });
        return;
    }
    // A connection under way that wants IPv6 blocked keeps that block: only
    // the rest goes.
    const bool keepIPv6 = connectionActive && params.block_ipv6;
    ipv6Asked = keepIPv6;
    if (keepIPv6) {
        const FIREWALL_PARAMETERS asked = ipv6OnlyParameters();
        daemon->post<bool>(
            this,
            [allow, asked](ServiceConnector& d) { return d.firewallChange(allow, kTunnelInterface, asked); },
            [this, request](bool ok) { switchedOff(request, ok, true); });
    } else {
        daemon->post<bool>(
            this, [](ServiceConnector& d) { return d.firewallOff(); },
            [this, request](bool ok) { switchedOff(request, ok, false); });
    }
}

void KillSwitch::switchedOn(int request, Answer answer)
{
    if (request <= settled) {
        return;
    }
    const bool latest = request == requests;
    if (answer.support == FirewallSupport::Unreachable) {
        // A daemon that is not running is not a system without a firewall:
        // the user can start it, and the sign-in must not wait for that.
        qWarning() << "The daemon does not answer; the kill switch waits for it";
        if (latest) {
            target = false;
        }
        setServiceMissing(true);
        return;
    }
    setServiceMissing(false);
    if (answer.support == FirewallSupport::NotSupported) {
        if (latest) {
            target = false;
        }
        emit problem(Problem::NotSupported);
        return;
    }
    if (answer.ok) {
        ipv6Held = false;
        if (!active) {
            active = true;
            emit changed();
        }
        return;
    }
    // The user believes the machine is protected: say that it is not, and
    // let the settings page show the kill switch as off.
    qWarning() << "The kill switch could not be switched on";
    if (latest) {
        target = false;
    }
    params.kill_connect = false;
    LocalSettings::instance()->setValue(Keys::KillConnect, false);
    emit problem(Problem::CannotSwitchOn);
    followIPv6();
}

void KillSwitch::switchedOff(int request, bool ok, bool ipv6Kept)
{
    if (request <= settled) {
        return;
    }
    if (ok) {
        ipv6Held = ipv6Kept;
        if (active) {
            active = false;
            emit changed();
        }
        return;
    }
    if (!active && !ipv6Held) {
        // Nothing was in force (the daemon was not there to switch it on).
        return;
    }
    qWarning() << "The kill switch could not be switched off";
    if (request == requests) {
        target = active;
    }
    emit problem(Problem::CannotSwitchOff);
}

void KillSwitch::switchOffNow()
{
    setServiceMissing(false);
    const bool anything = target || active || ipv6Asked || ipv6Held;
    target = false;
    ipv6Asked = false;
    // Answers still on their way describe what this call replaces.
    settled = ++requests;
    if (!anything) {
        return;
    }
    if (daemon->firewallOff()) {
        ipv6Held = false;
        if (active) {
            active = false;
            emit changed();
        }
        return;
    }
    qWarning() << "The kill switch could not be switched off";
    target = active;
    if (active || ipv6Held) {
        emit problem(Problem::CannotSwitchOff);
    }
}

void KillSwitch::refresh(bool blockDns)
{
    if (!target) {
        return;
    }
    const QString allow = allowList().join(';');
    qDebug() << "Change Firewall ip:" << allow;
    params.block_dns = blockDns;
    const FIREWALL_PARAMETERS asked = params;
    daemon->post<bool>(
        this,
        [allow, asked](ServiceConnector& d) { return d.firewallChange(allow, kTunnelInterface, asked); },
        [](bool ok) {
            if (!ok) {
                qWarning() << "The kill switch rules could not be refreshed";
            }
        });
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

void KillSwitch::setConnectionActive(bool busy)
{
    if (connectionActive != busy) {
        connectionActive = busy;
        followIPv6();
    }
}

FIREWALL_PARAMETERS KillSwitch::ipv6OnlyParameters() const
{
    FIREWALL_PARAMETERS only = params;
    only.kill_connect = false;
    only.block_ipv6 = true;
    only.block_dns = false;
    return only;
}

void KillSwitch::followIPv6()
{
    // The tunnel carries IPv4 only: IPv6 would pass beside it.
    const bool want = connectionActive && params.block_ipv6 && !target;
    if (want == ipv6Asked) {
        return;
    }
    ipv6Asked = want;
    const int request = ++requests;
    if (want) {
        const QString allow = allowList().join(';');
        const FIREWALL_PARAMETERS asked = ipv6OnlyParameters();
        daemon->post<bool>(
            this,
            [allow, asked](ServiceConnector& d) { return d.firewallOn(allow, kTunnelInterface, asked); },
            [this, request](bool ok) {
                if (request <= settled) {
                    return;
                }
                ipv6Held = ipv6Held || ok;
                if (!ok) {
                    qWarning() << "IPv6 could not be blocked";
                }
            });
        return;
    }
    daemon->post<bool>(
        this, [](ServiceConnector& d) { return d.firewallOff(); },
        [this, request](bool ok) {
            if (request <= settled) {
                return;
            }
            if (ok) {
                ipv6Held = false;
            } else if (ipv6Held) {
                qWarning() << "The IPv6 block could not be lifted";
            }
        });
}

void KillSwitch::onDaemonStarted()
{
    if (!target && !ipv6Asked) {
        return;
    }
    qDebug() << "The daemon has started again; it gets the rules again";
    resendAfterRestart(++restartRound, kRestartRetries);
}

void KillSwitch::resendAfterRestart(int round, int attemptsLeft)
{
    if (round != restartRound || (!target && !ipv6Asked)) {
        return;
    }
    const QString allow = allowList().join(';');
    const FIREWALL_PARAMETERS asked = target ? params : ipv6OnlyParameters();
    daemon->post<Answer>(
        this,
        [allow, asked](ServiceConnector& d) {
            Answer answer{d.firewallSupport(), false};
            if (answer.support == FirewallSupport::Supported) {
                answer.ok = d.firewallChange(allow, kTunnelInterface, asked);
            }
            return answer;
        },
        [this, round, attemptsLeft](Answer answer) {
            // The monitor writes its file before its worker listens.
            if (answer.support == FirewallSupport::Unreachable && attemptsLeft > 1) {
                QTimer::singleShot(kRestartRetryMs, this, [this, round, attemptsLeft] {
                    resendAfterRestart(round, attemptsLeft - 1);
                });
                return;
            }
            if (!answer.ok) {
                qWarning() << "The restarted daemon did not take the rules again";
            }
        });
}

void KillSwitch::setServers(const QMap<ServerIdentif, ServerInfo>& list)
{
    servers = list;
}

void KillSwitch::setCurrentServer(const ServerInfo& server)
{
    current = server;
}

void KillSwitch::checkService(std::function<void(bool)> done)
{
    daemon->post<FirewallSupport>(
        this, [](ServiceConnector& d) { return d.firewallSupport(); },
        [this, done](FirewallSupport support) {
            const bool reachable = support != FirewallSupport::Unreachable;
            setServiceMissing(!reachable);
            if (done) {
                done(reachable);
            }
        });
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
