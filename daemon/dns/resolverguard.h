// Keeps the tunnel's setting in place for the life of the tunnel: wakes on
// every change in the resolver owner's folders (one inotify descriptor for
// its whole life, so no event falls between two waits), never on a timer,
// and ends when OpenVPN (its owner) ends, or on SIGTERM from the down or a
// later up. Each action takes the state lock and first checks that it is
// still the tunnel's guard.
#pragma once

#include "dnsstate.h"
#include "resolverbackend.h"

#include <sys/types.h>

class ResolverGuard
{
public:
    ResolverGuard(ResolverBackend& backend, DnsState& state, std::string device, DnsSettings dns, pid_t owner)
        : backend(backend), state(state), device(std::move(device)), dns(std::move(dns)), owner(owner)
    {
    }

    enum class End
    {
        Stopped,   // SIGTERM, or another guard took over: nothing undone
        OwnerGone, // OpenVPN ended without its down: undone here
        Failed
    };
    // SIGTERM must be blocked in the calling thread.
    End run();

private:
    void watchFolders(int watch);
    // Under the lock, and only while the record still names this process.
    bool stillGuard();

    ResolverBackend& backend;
    DnsState& state;
    std::string device;
    DnsSettings dns;
    pid_t owner;
};
