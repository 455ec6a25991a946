#include "systemservices.h"

#include "activesession.h"

#include "commandserver.h"
#include "daemonlog.h"
#include "daemonprotocol.h"
#include "firewall.h"
#include "managementportguards.h"
#include "openvpnlauncher.h"
#include "processinfo.h"
#include "timezoneworker.h"
#include "updatejob.h"

SystemServices::SystemServices(FireWall& firewall_, TimezoneWorker& timezone_, OpenvpnLauncher& launcher_,
                               ManagementPortGuards& guards_)
    : firewall(firewall_), timezone(timezone_), launcher(launcher_), guards(guards_)
{
}

void SystemServices::setInterfaceToSkip(const std::string& interfaceName)
{
    firewall.setInterfaceToSkip(interfaceName);
}

bool SystemServices::firewallOn(const std::string& ips, bool killConnect, bool blockIPv6, bool allowLocal,
                                bool blockDNS, uid_t caller)
{
    return firewall.firewallOn(ips, killConnect, blockIPv6, allowLocal, blockDNS, caller);
}

bool SystemServices::firewallChange(const std::string& ips, bool killConnect, bool blockIPv6, bool allowLocal,
                                    bool blockDNS, uid_t caller)
{
    return firewall.firewallChange(ips, killConnect, blockIPv6, allowLocal, blockDNS, caller);
}

bool SystemServices::firewallOff()
{
    return firewall.firewallOff();
}

std::optional<uid_t> SystemServices::firewallOwner()
{
    return firewall.owner();
}

void SystemServices::setFirewallOwner(uid_t uid)
{
    firewall.setOwner(uid);
}

std::optional<uid_t> SystemServices::activeSessionUser()
{
    return ::activeSessionUser();
}

std::set<uid_t> SystemServices::tunnelOwners()
{
    std::set<uid_t> owners;
    for (const auto& tunnel : guards.tunnels()) {
        if (tunnel.owner != 0) {
            owners.insert(tunnel.owner);
        }
    }
    return owners;
}

bool SystemServices::stopTunnels(uid_t uid)
{
    // A short grace for the down script: the command's reply is due within
    // the client's five seconds.
    bool stopped = true;
    for (const auto& tunnel : guards.tunnels()) {
        if (tunnel.owner == uid) {
            stopped = stopProcess(tunnel.pid, tunnel.started, std::chrono::milliseconds(2000)) && stopped;
        }
    }
    guards.sweep();
    return stopped;
}

bool SystemServices::timezoneSupported()
{
    return timezone.isSupported();
}

bool SystemServices::timezoneRestore()
{
    return timezone.restoreToDefault();
}

bool SystemServices::timezoneChange(const std::string& zone)
{
    return timezone.changeToIP(zone.c_str());
}

std::optional<std::string> SystemServices::readProfile(const OpenvpnOptions& options, uid_t peerUid,
                                                       std::string* why)
{
    return launcher.readProfile(options, peerUid, why);
}

bool SystemServices::runOpenvpn(const OpenvpnOptions& options, const std::string& profile, uid_t peerUid,
                                std::string* why)
{
    // The daemon's own port: the guard would cut every other user off it.
    if (options.managementPort == kDaemonPort) {
        *why = "the management port is the daemon's own";
        return false;
    }
    // The port is closed to everyone else before openvpn opens it, unless
    // openvpn connects out to the caller's own listener instead.
    const bool reserved = options.managementClient
                              ? guards.reserveClient(options.managementPort, peerUid, why)
                              : guards.reserve(options.managementPort, peerUid, why);
    if (!reserved) {
        return false;
    }
    std::set<pid_t> ours;
    for (const auto& tunnel : guards.tunnels()) {
        ours.insert(tunnel.pid);
    }
    pid_t pid = -1;
    const bool started = launcher.launch(options, profile, peerUid, why, &pid, ours);
    guards.attach(options.managementPort, peerUid, started ? pid : -1, options.managementClient);
    return started;
}

void SystemServices::releaseListeningSocket()
{
    if (server != nullptr) {
        const int released = server->release();
        WriteLog("close(%d)", released);
    }
}

std::optional<std::string> SystemServices::stageUpdate(const std::string& packagePath, uid_t peerUid)
{
    return UpdateJob::system().stage(packagePath, peerUid);
}

bool SystemServices::startUpdate(const std::string& stagedCopy)
{
    return UpdateJob::system().schedule(stagedCopy);
}
