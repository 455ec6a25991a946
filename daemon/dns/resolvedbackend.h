// systemd-resolved: the tunnel's link gets the servers, the routing domain
// "~." and the default route. Every other link that would also take any
// name (the default route, or "~.") gives that up for the life of the
// tunnel, restarts included, and keeps its own domains, so the LAN's own
// names stay on the LAN. On undo, each link that gave something up gets it
// back as it is then.
#pragma once

#include "commandrunner.h"
#include "resolvedlinkbus.h"
#include "resolverbackend.h"

#include <map>
#include <optional>

class ResolvedBackend : public ResolverBackend
{
public:
    ResolvedBackend(CommandRunner& runner, std::string stateDir,
                    std::string runFolder = "/run/systemd/resolve")
        : runner(runner), stateDir(std::move(stateDir)), runFolder(std::move(runFolder))
    {
    }

    // Over the bus where it answers, else through resolvectl.
    void useBus(ResolvedLinkBus* linkBus) { bus = linkBus; }

    std::string name() const override { return "resolved"; }
    bool apply(const std::string& device, const DnsSettings& dns, std::string* why) override;
    bool enforce(const std::string& device, const DnsSettings& dns, std::string* why) override;
    bool undo(const std::string& device, std::string* why) override;
    // NetworkManager sets a link's default route again on a renewal, which
    // changes neither resolv.conf file; resolved keeps every link's setting
    // from the bus (default route included) in a file per link under netif,
    // written on every change.
    std::vector<std::string> watchedFolders() const override { return {runFolder, runFolder + "/netif"}; }
    // The owner configured the links anew: nothing to give back to them.
    void forget(const std::string& device);
    // Links were taken for the device and not given back yet.
    bool holds(const std::string& device) const;

    // "Link 2 (eth0): ~. lan" lines of resolvectl, by link name.
    static std::map<std::string, std::vector<std::string>> parseLinks(const std::string& output);

private:
    std::string statePath(const std::string& device) const { return stateDir + "/resolved-links." + device; }
    bool setTunnelLink(const std::string& device, const DnsSettings& dns, std::string* why);
    std::optional<bool> tunnelLinkIsSet(const std::string& device, const DnsSettings& dns);
    bool takeFromOtherLinks(const std::string& device, std::string* why);
    std::map<std::string, std::vector<std::string>> list(const std::string& verb);
    bool setLink(const std::string& link, const std::optional<std::vector<std::string>>& servers,
                 const std::optional<std::vector<std::string>>& domains, std::optional<bool> defaultRoute);

    CommandRunner& runner;
    ResolvedLinkBus* bus = nullptr;
    std::string stateDir;
    std::string runFolder;
};
