// Which resolver owner this machine has, looked at when the tunnel comes
// up, and the backend for it (or, on down, for the owner recorded at up).
#pragma once

#include "commandrunner.h"
#include "networkmanagerbus.h"
#include "resolvedlinkbus.h"
#include "resolverbackend.h"

#include <memory>

struct ResolverPaths
{
    std::string resolvConf = "/etc/resolv.conf";
    std::string stateDir = "/run/kestrova";
    std::string resolvedSocket = "/run/systemd/resolve/io.systemd.Resolve";
};

class ResolverSystem
{
public:
    ResolverSystem(CommandRunner& runner, NetworkManagerBus& networkManager, ResolverPaths paths = {},
                   ResolvedLinkBus* resolvedBus = nullptr)
        : runner(runner), networkManager(networkManager), paths(std::move(paths)), resolvedBus(resolvedBus)
    {
    }

    bool networkManagerRuns();
    bool resolvedRuns();
    bool hasResolvconf();

    // The plain file owns the resolver, as far as can be told without the
    // bus or another program (false where only the bus can tell).
    bool plainFileOwns();
    // NetworkManager where it runs (it owns resolv.conf or resolved's
    // settings then), else resolved, else resolvconf, else the file.
    std::string choose();
    std::unique_ptr<ResolverBackend> make(const std::string& name);

private:
    CommandRunner& runner;
    NetworkManagerBus& networkManager;
    ResolverPaths paths;
    ResolvedLinkBus* resolvedBus;
};
