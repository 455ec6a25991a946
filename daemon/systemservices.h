// The daemon's own DaemonServices: the program-wide kill switch and timezone
// changer, the openvpn launcher, the update job and the command server.
#pragma once

#include "daemonservices.h"

class CommandServer;
class FireWall;
class ManagementPortGuards;
class OpenvpnLauncher;
class TimezoneWorker;

class SystemServices : public DaemonServices
{
public:
    SystemServices(FireWall& firewall, TimezoneWorker& timezone, OpenvpnLauncher& launcher,
                   ManagementPortGuards& guards);

    // The server is made after the dispatcher that uses these services.
    void setServer(CommandServer* server) { this->server = server; }

    void setInterfaceToSkip(const std::string& interfaceName) override;
    bool firewallOn(const std::string& ips, bool killConnect, bool blockIPv6, bool allowLocal, bool blockDNS,
                    uid_t caller) override;
    bool firewallChange(const std::string& ips, bool killConnect, bool blockIPv6, bool allowLocal,
                        bool blockDNS, uid_t caller) override;
    bool firewallOff() override;
    std::optional<uid_t> firewallOwner() override;
    void setFirewallOwner(uid_t uid) override;
    std::optional<uid_t> activeSessionUser() override;
    std::set<uid_t> tunnelOwners() override;
    bool stopTunnels(uid_t uid) override;
    bool timezoneSupported() override;
    bool timezoneRestore() override;
    bool timezoneChange(const std::string& zone) override;
    std::optional<std::string> readProfile(const OpenvpnOptions& options, uid_t peerUid,
                                           std::string* why) override;
    bool runOpenvpn(const OpenvpnOptions& options, const std::string& profile, uid_t peerUid,
                    std::string* why) override;
    void releaseListeningSocket() override;
    std::optional<std::string> stageUpdate(const std::string& packagePath, uid_t peerUid) override;
    bool startUpdate(const std::string& stagedCopy) override;

private:
    FireWall& firewall;
    TimezoneWorker& timezone;
    OpenvpnLauncher& launcher;
    ManagementPortGuards& guards;
    CommandServer* server = nullptr;
};
