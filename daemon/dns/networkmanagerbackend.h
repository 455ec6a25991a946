// NetworkManager owns the resolver: the tunnel's servers go to it, on the
// tunnel's own device, with an exclusive (negative) DNS priority, so every
// resolv.conf or resolved setting NetworkManager writes from then on holds
// only the tunnel's servers, through re-activations and renewals. When
// OpenVPN ends, the device goes and its servers with it.
//
// Except during a restart: OpenVPN closes the device on SIGHUP, and
// NetworkManager at once writes the LAN's servers. Until the device is back,
// the guard holds the tunnel's setting the way the owner's files allow (the
// file backend, or resolved's links where NetworkManager configures
// resolved); the hold is dropped once NetworkManager has the device again.
#pragma once

#include "filebackend.h"
#include "networkmanagerbus.h"
#include "resolvedbackend.h"

#include <chrono>
#include <climits>
#include <functional>

class NetworkManagerBackend : public ResolverBackend
{
public:
    static constexpr int kExclusivePriority = INT_MIN + 1;

    using DeviceExists = std::function<bool(const std::string&)>;
    // deviceExists asks the kernel: during a restart the hold must not wait
    // for NetworkManager, which is busy writing the LAN's setting then.
    NetworkManagerBackend(NetworkManagerBus& bus, FileBackend file, ResolvedBackend resolved,
                          std::chrono::milliseconds waitForDevice = std::chrono::seconds(3),
                          DeviceExists deviceExists = kernelHasDevice)
        : bus(bus), file(std::move(file)), resolved(std::move(resolved)), waitForDevice(waitForDevice),
          deviceExists(std::move(deviceExists))
    {
    }
    static bool kernelHasDevice(const std::string& device);

    std::string name() const override { return "networkmanager"; }
    bool apply(const std::string& device, const DnsSettings& dns, std::string* why) override;
    bool enforce(const std::string& device, const DnsSettings& dns, std::string* why) override;
    bool undo(const std::string& device, std::string* why) override;
    std::vector<std::string> watchedFolders() const override;

private:
    bool hold(const std::string& device, const DnsSettings& dns, std::string* why);
    void dropHold(const std::string& device);

    NetworkManagerBus& bus;
    FileBackend file;
    ResolvedBackend resolved;
    std::chrono::milliseconds waitForDevice;
    DeviceExists deviceExists;
    std::string mode; // NetworkManager's DNS mode, learnt at apply
};
