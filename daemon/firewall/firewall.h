// The kill switch: iptables and ip6tables rules that keep traffic inside the tunnel.
//
// Every change is loaded before the call returns and its exit status is
// checked, so a true result means the rules are in force. What is switched on
// is also kept on disk, so that a worker replacing a crashed one can put the
// kill switch back instead of leaving the machine open. When that fails, the
// rules in force are unknown: the next command clears whatever the kill switch
// could have left before it acts. Only the filter tables are ever saved,
// loaded or cleared; the daemon's rules in other tables are not the kill
// switch's business.
#pragma once

#include "firewallstate.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

class FirewallRunner;

class FireWall
{
public:
    static constexpr const char* kDefaultDir = "/usr/share/kestrova";

    FireWall();
    // `dir` stands in for "/usr/share/kestrova" and `runner` starts the
    // programs; tests give a temporary folder and a recording runner.
    FireWall(std::string dir, std::shared_ptr<FirewallRunner> runner, bool verbose = true);
    ~FireWall();

    FireWall(const FireWall&) = delete;
    FireWall& operator=(const FireWall&) = delete;

    void setInterfaceToSkip(const std::string& interfaceName);
    // False, and nothing changed, when the address list or the interface name
    // is invalid; false when a rule failed to load. `caller` becomes the
    // owner when the call switches the kill switch on.
    bool firewallOn(const std::string& ips, bool killConnect, bool blockIPv6, bool allowLocal, bool blockDNS,
                    uid_t caller = 0);
    bool firewallChange(const std::string& ips, bool killConnect, bool blockIPv6, bool allowLocal,
                        bool blockDNS, uid_t caller = 0);
    bool firewallOff();
    // The uid that switched the kill switch on, while it is on (or may be,
    // when the rules in force are unknown); nullopt when it is off or nobody
    // knows who switched it on.
    std::optional<uid_t> owner() const;
    // Hands a kill switch that is on to `uid` (the active session's user
    // taking over another account's); nothing while it is off.
    void setOwner(uid_t uid);

    // Every worker start: clears every rule and sets every policy to ACCEPT.
    // When a kill switch was on, the clearing waits for the next call, so that
    // a replacement worker never opens the machine, not even for a moment.
    void reset();
    // A worker that replaces one that crashed or was killed puts back the kill
    // switch that was in force, so the machine never opens behind the client's back.
    // False when it could not: the old rules stay and the state is unknown.
    bool restoreSavedState();
    // A fresh start of the daemon: nothing of an earlier run is restored (and
    // what reset() left in place is cleared now).
    void forgetSavedState();

    // The single steps, each writing its file and loading it to completion.
    bool firewallOnBlockIPv4(const std::vector<std::string>& addresses);
    // Loads a changed address list or interface while the block stays on.
    bool firewallChangeIPv4(const std::vector<std::string>& addresses, bool openDns = false);
    bool firewallOffBlockIPv4();
    bool firewallOnBlockDNS(bool block);
    bool firewallAllowLocalDevices(bool allow);
    bool firewallOnBlockIPv6();
    bool firewallOffBlockIPv6();
    bool dumpUserIPv4Settings();
    bool restoreUserIPv4Setting();
    bool dumpUserIPv6Settings();
    bool restoreUserIPv6Setting();

    // What is in force now (for tests and the daemon's log).
    FirewallState state() const;
    std::string directory() const { return fwFilesDir; }
    std::string stateFile() const { return fwFilesDir + "/firewall.state"; }

private:
    bool applyChange(const std::vector<std::string>& addresses, bool killConnect, bool blockIPv6,
                     bool allowLocal, bool blockDNS);
    bool writeFile(const std::string& path, const std::string& text);
    bool writeAndRunScript(const std::string& name, const std::string& text);
    bool writeAndLoadIPv6(const std::string& name, const std::string& text);
    bool dump(const char* program, const std::string& file);
    bool restore(const char* program, const std::string& file);
    bool execute(const std::vector<std::string>& argv, const std::string& inputPath = {},
                 const std::string& outputPath = {});
    void trace(const char* format, ...) const __attribute__((format(printf, 2, 3)));
    void persist();
    bool clearRules();
    bool clearUnknownState();
    FirewallState current() const;

    std::string fwFilesDir;
    std::shared_ptr<FirewallRunner> runner;
    bool verbose;
    mutable std::mutex mutex;

    std::string interfaceToSkip;
    std::string ipv4RulesFile = "/iptables.rules";
    std::string ipv6RulesFile = "/ip6tables.rules";
    bool ipv4Blocked = false;
    bool ipv6Blocked = false;
    bool localDevicesAllowed = false;
    bool dnsBlocked = false;
    bool dnsOpened = false;
    // reset() found a saved kill switch and left the rules in place.
    bool resetDeferred = false;
    // A restore or a clear failed: the rules in force may not match the flags.
    bool unknown = false;
    std::optional<uid_t> ownerUid;
    // The interface and addresses the IPv4 block was loaded with.
    std::string loadedInterface;
    std::vector<std::string> loadedAddresses;
};
