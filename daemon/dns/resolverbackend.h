// One way of giving the tunnel's name servers to the machine, per kind of
// resolver owner (NetworkManager, systemd-resolved, resolvconf, a plain
// file). Each backend applies against the system as it is and undoes against
// the system as it is then: nothing is put back from a copy that the owner
// has since replaced.
#pragma once

#include "tunneldns.h"

#include <string>
#include <vector>

class ResolverBackend
{
public:
    virtual ~ResolverBackend() = default;

    virtual std::string name() const = 0;
    // The tunnel is up (or up again after a restart).
    virtual bool apply(const std::string& device, const DnsSettings& dns, std::string* why) = 0;
    // The owner may have rewritten the resolver: put the tunnel's setting
    // back where it is missing. Cheap when nothing changed.
    virtual bool enforce(const std::string& device, const DnsSettings& dns, std::string* why) = 0;
    // The tunnel is gone for good: give the machine its current setting.
    virtual bool undo(const std::string& device, std::string* why) = 0;
    // Folders whose changes mean the owner rewrote something: every change
    // that undoes the tunnel's setting must show in one of them, as the
    // guard wakes on nothing else. A folder may appear later.
    virtual std::vector<std::string> watchedFolders() const = 0;
};
