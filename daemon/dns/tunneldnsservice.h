// The up and the down of one tunnel, under the state lock: the backend is
// chosen when the tunnel comes up and recorded, so the down undoes with the
// same backend whatever changed meanwhile; a guard left by an earlier up is
// stopped first.
#pragma once

#include "dnsstate.h"
#include "resolversystem.h"

#include <memory>

class TunnelDnsService
{
public:
    TunnelDnsService(ResolverSystem& system, DnsState& state) : system(system), state(state) {}

    // Applies and records; *backend is the one applied. The lock stays held
    // on success, for the caller to record its guard.
    bool up(const TunnelEvent& event, std::unique_ptr<ResolverBackend>* backend, std::string* why);
    bool down(const std::string& device, std::string* why);

    // Ends a recorded guard of the device (it does nothing more once its pid
    // is no longer recorded). Called under the lock.
    void stopGuard(const std::string& device);

private:
    ResolverSystem& system;
    DnsState& state;
};
