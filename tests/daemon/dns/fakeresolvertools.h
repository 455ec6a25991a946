// Stand-ins for the resolver owners' tools, keeping state as the real ones
// do: resolvectl per link (servers, domains, default route; an unknown link
// fails), resolvconf per record. Every call is recorded.
#pragma once

#include "commandrunner.h"
#include "networkmanagerbus.h"
#include "resolvedlinkbus.h"

#include <map>
#include <set>
#include <sstream>

struct FakeLink
{
    std::vector<std::string> servers;
    std::vector<std::string> domains;
    bool defaultRoute = false;
};

class FakeResolverTools : public CommandRunner
{
public:
    std::map<std::string, FakeLink> links;      // in index order by name
    std::map<std::string, std::string> records; // resolvconf
    std::vector<std::vector<std::string>> calls;
    std::set<std::string> tools = {"resolvectl", "resolvconf"};
    int resolvconfFailures = 0;

    bool available(const std::string& tool) override { return tools.count(tool) != 0; }

    CommandResult run(const std::vector<std::string>& argv, const std::string& input = {}) override
    {
        calls.push_back(argv);
        if (argv[0] == "resolvectl") {
            return resolvectl(withoutDashes(argv));
        }
        if (argv[0] == "resolvconf") {
            if (resolvconfFailures > 0) {
                --resolvconfFailures;
                return {1, ""};
            }
            if (argv[1] == "-a") {
                records[argv[2]] = input;
            } else if (argv[1] == "-d") {
                records.erase(argv[2]);
            }
            return {0, ""};
        }
        return {};
    }

    int callsOf(const std::string& tool, const std::string& verb) const
    {
        int count = 0;
        for (const auto& call : calls) {
            count += call[0] == tool && call.size() > 1 && call[1] == verb;
        }
        return count;
    }

private:
    static std::vector<std::string> withoutDashes(const std::vector<std::string>& argv)
    {
        std::vector<std::string> result;
        for (const std::string& arg : argv) {
            if (arg != "--") {
                result.push_back(arg);
            }
        }
        return result;
    }

    std::string listing(const std::string& verb, const std::string& only)
    {
        std::ostringstream out;
        if (verb != "default-route") {
            out << "Global:\n";
        }
        int index = 2;
        for (const auto& [name, link] : links) {
            if (only.empty() || only == name) {
                out << "Link " << index << " (" << name << "):";
                if (verb == "default-route") {
                    out << (link.defaultRoute ? " yes" : " no");
                }
                for (const std::string& value : verb == "dns" ? link.servers : link.domains) {
                    if (verb != "default-route") {
                        out << " " << value;
                    }
                }
                out << "\n";
            }
            ++index;
        }
        return out.str();
    }

    CommandResult resolvectl(const std::vector<std::string>& argv)
    {
        const std::string& verb = argv[1];
        if (argv.size() == 2) {
            return {0, listing(verb, "")};
        }
        const std::string& name = argv[2];
        if (!links.count(name)) {
            return {1, ""};
        }
        FakeLink& link = links[name];
        if (argv.size() == 3) {
            return verb == "revert" ? (link = FakeLink{}, CommandResult{0, ""})
                                    : CommandResult{0, listing(verb, name)};
        }
        std::vector<std::string> values(argv.begin() + 3, argv.end());
        if (values == std::vector<std::string>{""}) {
            values.clear();
        }
        if (verb == "dns") {
            link.servers = values;
        } else if (verb == "domain") {
            link.domains = values;
        } else if (verb == "default-route") {
            link.defaultRoute = values.at(0) == "yes";
        } else {
            return {1, ""};
        }
        return {0, ""};
    }
};

// resolved's bus, on the links of the resolvectl stand-in: a link it does
// not know, or every call while it does not answer, is refused.
class FakeResolvedBus : public ResolvedLinkBus
{
public:
    explicit FakeResolvedBus(FakeResolverTools& tools) : tools(tools) {}
    bool answers = true;
    int calls = 0;

    bool setLink(const std::string& name, const std::optional<std::vector<std::string>>& servers,
                 const std::optional<std::vector<std::string>>& domains,
                 std::optional<bool> defaultRoute) override
    {
        ++calls;
        if (!answers || !tools.links.count(name)) {
            return false;
        }
        FakeLink& link = tools.links[name];
        link.servers = servers.value_or(link.servers);
        link.domains = domains.value_or(link.domains);
        link.defaultRoute = defaultRoute.value_or(link.defaultRoute);
        return true;
    }

    std::optional<Links> list(const std::string& verb) override
    {
        ++calls;
        if (!answers) {
            return std::nullopt;
        }
        Links links;
        for (const auto& [name, link] : tools.links) {
            links[name] = verb == "dns"      ? link.servers
                          : verb == "domain" ? link.domains
                                             : std::vector<std::string>{link.defaultRoute ? "yes" : "no"};
        }
        return links;
    }

private:
    FakeResolverTools& tools;
};

// NetworkManager's devices and the DNS of their applied connections;
// Reapply fails for a device it refuses (an older NetworkManager).
class FakeNetworkManager : public NetworkManagerBus
{
public:
    bool owns = false;
    std::map<std::string, NetworkManagerDns> devices;
    std::set<std::string> refused;
    int reapplies = 0;
    // A device that shows up only after this many looks (NetworkManager
    // learns of a new device a moment after it appears).
    int lateLooks = 0;
    std::string lateDevice;

    int watches = 0;
    int waits = 0;

    std::string mode = "default";
    bool ownsResolver() override { return owns; }
    std::string dnsMode() override { return mode; }
    std::optional<NetworkManagerDns> deviceDns(const std::string& device) override
    {
        if (device == lateDevice && lateLooks > 0 && --lateLooks >= 0) {
            return std::nullopt;
        }
        const auto it = devices.find(device);
        return it == devices.end() ? std::nullopt : std::optional<NetworkManagerDns>(it->second);
    }
    void watchDevices() override { ++watches; }
    // The late device brings news until it shows; a device that is not
    // there at all brings none.
    bool waitForDeviceNews(std::chrono::milliseconds) override
    {
        ++waits;
        return watches > 0 && devices.count(lateDevice) != 0;
    }
    bool setDeviceDns(const std::string& device, const NetworkManagerDns& dns, std::string* why) override
    {
        if (!devices.count(device) || refused.count(device)) {
            *why = "refused";
            return false;
        }
        ++reapplies;
        NetworkManagerDns stored = dns;
        stored.dns.servers.clear();
        for (const std::string& server : dns.dns.servers) {
            if (server.find(':') == std::string::npos) {
                stored.dns.servers.push_back(server); // as GetAppliedConnection shows ipv4.dns
            }
        }
        devices[device] = stored;
        return true;
    }
};
