#include "networkmanagerbackend.h"

#include <net/if.h>

namespace {

std::vector<std::string> ipv4Servers(const DnsSettings& dns)
{
    std::vector<std::string> servers;
    for (const std::string& server : dns.servers) {
        if (server.find(':') == std::string::npos) {
            servers.push_back(server);
        }
    }
    return servers;
}

} // namespace

std::vector<std::string> NetworkManagerBackend::watchedFolders() const
{
    std::vector<std::string> folders = file.watchedFolders();
    for (const std::string& folder : resolved.watchedFolders()) {
        folders.push_back(folder);
    }
    return folders;
}

bool NetworkManagerBackend::hold(const std::string& device, const DnsSettings& dns, std::string* why)
{
    if (mode.empty()) {
        mode = bus.dnsMode();
    }
    if (mode == "systemd-resolved") {
        return resolved.enforce(device, dns, why);
    }
    return file.enforce(device, dns, why);
}

// NetworkManager writes its own setting again now that it has the device:
// the copy kept during the hold is stale, and the links it took were
// configured anew.
void NetworkManagerBackend::dropHold(const std::string& device)
{
    file.forget(device);
    resolved.forget(device);
}

bool NetworkManagerBackend::apply(const std::string& device, const DnsSettings& dns, std::string* why)
{
    // OpenVPN runs the up script right after it set the device up:
    // NetworkManager may not show it yet. Looked at again on each of its
    // signals about devices, not on a timer.
    bus.watchDevices();
    const auto deadline = std::chrono::steady_clock::now() + waitForDevice;
    while (!bus.deviceDns(device)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !bus.waitForDeviceNews(left)) {
            *why = "NetworkManager does not show " + device;
            return false;
        }
    }
    if (!bus.setDeviceDns(device, {dns, kExclusivePriority}, why)) {
        return false;
    }
    mode = bus.dnsMode();
    dropHold(device);
    return true;
}

bool NetworkManagerBackend::kernelHasDevice(const std::string& device)
{
    return if_nametoindex(device.c_str()) != 0;
}

bool NetworkManagerBackend::enforce(const std::string& device, const DnsSettings& dns, std::string* why)
{
    if (!deviceExists(device)) {
        return hold(device, dns, why);
    }
    const std::optional<NetworkManagerDns> now = bus.deviceDns(device);
    if (!now) {
        return hold(device, dns, why); // away during a restart
    }
    if (now->priority == kExclusivePriority && now->dns.servers == ipv4Servers(dns)) {
        return true;
    }
    return bus.setDeviceDns(device, {dns, kExclusivePriority}, why);
}

bool NetworkManagerBackend::undo(const std::string& device, std::string* why)
{
    // A hold of a restart that did not come back: given back as any other.
    bool ok = file.undo(device, why);
    // Only after a hold on resolved's links: resolvectl may wait long for a
    // resolved that does not run.
    if (resolved.holds(device)) {
        ok = resolved.undo(device, why) && ok;
    }
    const std::optional<NetworkManagerDns> now = bus.deviceDns(device);
    if (now && now->priority == kExclusivePriority) {
        ok = bus.setDeviceDns(device, {}, why) && ok;
    }
    return ok;
}
