#include "systemservices.h"

#include "commandserver.h"
#include "daemonlog.h"
#include "firewall.h"
#include "managementportguards.h"
#include "openvpnlauncher.h"
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
    // The port is closed to everyone else before openvpn opens it.
    if (!guards.reserve(options.managementPort, peerUid, why)) {
        return false;
    }
    pid_t pid = -1;
    const bool started = launcher.launch(options, profile, peerUid, why, &pid);
    guards.attach(options.managementPort, peerUid, started ? pid : -1);
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
