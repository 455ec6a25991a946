#include "systemservices.h"

#include "commandserver.h"
#include "daemonlog.h"
#include "firewall.h"
#include "openvpnlauncher.h"
#include "timezoneworker.h"
#include "updatejob.h"

SystemServices::SystemServices(FireWall& firewall_, TimezoneWorker& timezone_, OpenvpnLauncher& launcher_)
    : firewall(firewall_), timezone(timezone_), launcher(launcher_)
{
}

void SystemServices::setInterfaceToSkip(const std::string& interfaceName)
{
    firewall.setInterfaceToSkip(interfaceName);
}

bool SystemServices::firewallOn(const std::string& ips, bool killConnect, bool blockIPv6, bool allowLocal,
                                bool blockDNS)
{
    return firewall.firewallOn(ips, killConnect, blockIPv6, allowLocal, blockDNS);
}

bool SystemServices::firewallChange(const std::string& ips, bool killConnect, bool blockIPv6, bool allowLocal,
                                    bool blockDNS)
{
    return firewall.firewallChange(ips, killConnect, blockIPv6, allowLocal, blockDNS);
}

bool SystemServices::firewallOff()
{
    return firewall.firewallOff();
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
    return launcher.launch(options, profile, peerUid, why);
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
