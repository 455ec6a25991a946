// What the kill switch has put in place, kept on disk so that a worker that
// replaces a crashed or killed one can put it back (fail closed).
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct FirewallState
{
    bool ipv4Blocked = false;
    bool ipv6Blocked = false;
    bool localDevicesAllowed = false;
    bool dnsBlocked = false;
    // The DNS and DHCP rules are actually loaded (they are not after the
    // first on with DNS allowed: the recorded choice alone changed nothing).
    bool dnsOpened = false;
    // Interface and addresses of the IPv4 block as it was loaded.
    std::string interfaceName;
    std::vector<std::string> addresses;
    // Who switched the kill switch on; only they and root may change it while
    // it is on. Files written before the owner was kept have none.
    std::optional<uid_t> owner;

    bool anyOn() const { return ipv4Blocked || ipv6Blocked; }

    std::string serialize() const;
    // nullopt for a file that is not ours or was damaged; every value is
    // checked again as if it came from a client. The owner line is optional.
    static std::optional<FirewallState> parse(const std::string& text);

    // Written to a temporary file and renamed, so a crash mid-write never
    // leaves half a state behind. Not synced to disk: after a power loss the
    // rules are gone too, and a fresh daemon forgets the state anyway.
    bool save(const std::string& path) const;
    static std::optional<FirewallState> load(const std::string& path);

    bool operator==(const FirewallState& other) const;
};
