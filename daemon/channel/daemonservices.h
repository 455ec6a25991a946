// What the command dispatcher acts on. The daemon's own implementation
// forwards to the program-wide FireWall and TimezoneWorker, the openvpn
// launcher, the update job and the command server; tests put in a fake.
#pragma once

#include "openvpnoptions.h"

#include <optional>
#include <set>
#include <string>
#include <sys/types.h>

class DaemonServices
{
public:
    virtual ~DaemonServices() = default;

    virtual void setInterfaceToSkip(const std::string& interfaceName) = 0;
    // `caller` owns the kill switch when this call switches it on.
    virtual bool firewallOn(const std::string& ips, bool killConnect, bool blockIPv6, bool allowLocal,
                            bool blockDNS, uid_t caller) = 0;
    virtual bool firewallChange(const std::string& ips, bool killConnect, bool blockIPv6, bool allowLocal,
                                bool blockDNS, uid_t caller) = 0;
    virtual bool firewallOff() = 0;
    // Who switched the kill switch on, while it is on; nullopt otherwise.
    virtual std::optional<uid_t> firewallOwner() = 0;
    // Hands a kill switch that is on to `uid`.
    virtual void setFirewallOwner(uid_t uid) = 0;
    // The user of the session active on logind's seat; nullopt without one.
    virtual std::optional<uid_t> activeSessionUser() = 0;

    // The uids, root's aside, whose openvpn started by this daemon still runs.
    virtual std::set<uid_t> tunnelOwners() = 0;
    // Ends every openvpn this daemon started for `uid`; false when one of
    // them would not end.
    virtual bool stopTunnels(uid_t uid) = 0;

    virtual bool timezoneSupported() = 0;
    virtual bool timezoneRestore() = 0;
    virtual bool timezoneChange(const std::string& zone) = 0;

    // The caller's files are read before the command lock is taken (a read
    // may hang); only what they stage is acted on under it.

    // The checked text of the caller's profile, or nullopt with *why.
    virtual std::optional<std::string> readProfile(const OpenvpnOptions& options, uid_t peerUid,
                                                   std::string* why) = 0;
    // True only when openvpn was started from `profile`; *why says why not.
    virtual bool runOpenvpn(const OpenvpnOptions& options, const std::string& profile, uid_t peerUid,
                            std::string* why) = 0;

    // Stops accepting connections and frees the port for the new package.
    virtual void releaseListeningSocket() = 0;
    // Copies and checks the package; `peerUid`: who asked, the package must
    // be their own file unless root. The staged copy, or nullopt.
    virtual std::optional<std::string> stageUpdate(const std::string& packagePath, uid_t peerUid) = 0;
    // Schedules the job that installs a staged copy.
    virtual bool startUpdate(const std::string& stagedCopy) = 0;
};
