// NetworkManager over the system bus (sd-bus): whether it owns the machine's
// resolver, and the name servers of one device's applied connection. The
// tunnel's device is one NetworkManager shows as connected externally;
// its DNS is changed with Reapply and the flag that keeps the addresses
// and routes others (OpenVPN) put on it.
#pragma once

#include "systembus.h"

#include "tunneldns.h"

#include <chrono>
#include <optional>
#include <string>

struct NetworkManagerDns
{
    DnsSettings dns;
    int priority = 0;
};

class NetworkManagerBus
{
public:
    virtual ~NetworkManagerBus() = default;
    // Running, and writing resolv.conf or configuring resolved itself.
    virtual bool ownsResolver() = 0;
    // False only where NetworkManager certainly does not run, told without
    // the bus.
    virtual bool mayRun() { return true; }
    // Its DNS mode: "systemd-resolved" when it configures resolved.
    virtual std::string dnsMode() = 0;
    // Nothing when NetworkManager does not know the device (yet).
    virtual std::optional<NetworkManagerDns> deviceDns(const std::string& device) = 0;
    virtual bool setDeviceDns(const std::string& device, const NetworkManagerDns& dns, std::string* why) = 0;
    // From this call on, NetworkManager's news of its devices (one added,
    // one changing state) is kept, so none falls between a look and a wait.
    virtual void watchDevices() = 0;
    // Until such news (true) or the time-out (false).
    virtual bool waitForDeviceNews(std::chrono::milliseconds timeout) = 0;
};

class SystemNetworkManagerBus : public NetworkManagerBus
{
public:
    explicit SystemNetworkManagerBus(std::string runFolder = "/run/NetworkManager")
        : runFolder(std::move(runFolder))
    {
    }
    ~SystemNetworkManagerBus() override;
    SystemNetworkManagerBus(const SystemNetworkManagerBus&) = delete;
    SystemNetworkManagerBus& operator=(const SystemNetworkManagerBus&) = delete;

    bool ownsResolver() override;
    bool mayRun() override;
    std::string dnsMode() override;
    std::optional<NetworkManagerDns> deviceDns(const std::string& device) override;
    bool setDeviceDns(const std::string& device, const NetworkManagerDns& dns, std::string* why) override;
    void watchDevices() override;
    bool waitForDeviceNews(std::chrono::milliseconds timeout) override;

    // In a forked child: the parent's connection is not ours to use.
    void forgetAfterFork();

private:
    std::optional<std::string> devicePath(const std::string& device);
    std::string runFolder;
    SystemBus system;
    struct sd_bus_slot* added = nullptr;
    struct sd_bus_slot* changed = nullptr;
    bool news = false;
};
