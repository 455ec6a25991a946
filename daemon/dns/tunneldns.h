// What OpenVPN hands its up and down script, checked: the tunnel device, why
// the script runs, and the name servers and search domains the server pushed.
// Nothing the server pushed reaches a configuration or a command line
// unless it is a plain address or a plain domain name.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct DnsSettings
{
    std::vector<std::string> servers; // numeric IPv4 or IPv6 addresses, in pushed order
    std::vector<std::string> domains; // search domains
    bool operator==(const DnsSettings& other) const
    {
        return servers == other.servers && domains == other.domains;
    }
};

enum class ScriptEvent
{
    Up,
    Down,
    // Down for a restart (SIGHUP, SIGUSR1, ping-restart, connection reset):
    // OpenVPN goes on and brings the tunnel up again.
    Restart
};

struct TunnelEvent
{
    ScriptEvent event = ScriptEvent::Up;
    std::string device;
    DnsSettings dns;
    std::vector<std::string> ignored; // pushed values refused, for the log
};

using Environment = std::map<std::string, std::string>;

// A kernel interface name we act on: [A-Za-z0-9_.-]{1,15}, not starting with
// '-' (no tool may take it for an option).
bool isDeviceName(const std::string& name);
bool isNameServerAddress(const std::string& text);
bool isSearchDomain(const std::string& text);

// The event described by OpenVPN's environment, or nothing (and *why) when
// it names no usable device or no script type we know.
std::optional<TunnelEvent> readTunnelEvent(const Environment& environment, std::string* why);

Environment currentEnvironment();
