#include "networkmanagerbus.h"

#include <arpa/inet.h>
#include <cstring>
#include <sys/stat.h>
#include <systemd/sd-bus.h>

namespace {

const char kService[] = "org.freedesktop.NetworkManager";
const char kRoot[] = "/org/freedesktop/NetworkManager";
const char kDevice[] = "org.freedesktop.NetworkManager.Device";
// Reapply: keep the addresses and routes that are on the device already.
constexpr uint32_t kPreserveExternalIp = 0x1;
constexpr uint64_t kTimeoutUs = 5'000'000;

struct Reply
{
    sd_bus_message* message = nullptr;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    ~Reply()
    {
        sd_bus_message_unref(message);
        sd_bus_error_free(&error);
    }
    std::string why(int r) const { return error.message ? error.message : std::strerror(-r); }
};

bool isDnsKey(const char* key)
{
    return std::strcmp(key, "dns") == 0 || std::strcmp(key, "dns-search") == 0 ||
           std::strcmp(key, "dns-priority") == 0;
}

int openEntry(sd_bus_message* m, const char* key, const char* signature)
{
    int r = sd_bus_message_open_container(m, 'e', "sv");
    if (r >= 0) {
        r = sd_bus_message_append(m, "s", key);
    }
    if (r >= 0) {
        r = sd_bus_message_open_container(m, 'v', signature);
    }
    return r;
}

int closeEntry(sd_bus_message* m)
{
    int r = sd_bus_message_close_container(m);
    return r < 0 ? r : sd_bus_message_close_container(m);
}

// The tunnel's part of an "ipv4" or "ipv6" setting.
int appendDns(sd_bus_message* m, bool ipv6, const NetworkManagerDns& dns)
{
    int r = 0;
    if (!ipv6) {
        r = openEntry(m, "dns", "au");
        r = r < 0 ? r : sd_bus_message_open_container(m, 'a', "u");
        for (const std::string& server : dns.dns.servers) {
            in_addr address{};
            if (r >= 0 && inet_pton(AF_INET, server.c_str(), &address) == 1) {
                r = sd_bus_message_append(m, "u", address.s_addr);
            }
        }
        r = r < 0 ? r : sd_bus_message_close_container(m);
        r = r < 0 ? r : closeEntry(m);
        r = r < 0 ? r : openEntry(m, "dns-search", "as");
        r = r < 0 ? r : sd_bus_message_open_container(m, 'a', "s");
        for (const std::string& domain : dns.dns.domains) {
            r = r < 0 ? r : sd_bus_message_append(m, "s", domain.c_str());
        }
        r = r < 0 ? r : sd_bus_message_close_container(m);
        r = r < 0 ? r : closeEntry(m);
    } else {
        r = openEntry(m, "dns", "aay");
        r = r < 0 ? r : sd_bus_message_open_container(m, 'a', "ay");
        for (const std::string& server : dns.dns.servers) {
            in6_addr address{};
            if (r >= 0 && inet_pton(AF_INET6, server.c_str(), &address) == 1) {
                r = sd_bus_message_append_array(m, 'y', &address, sizeof address);
            }
        }
        r = r < 0 ? r : sd_bus_message_close_container(m);
        r = r < 0 ? r : closeEntry(m);
    }
    r = r < 0 ? r : openEntry(m, "dns-priority", "i");
    r = r < 0 ? r : sd_bus_message_append(m, "i", dns.priority);
    return r < 0 ? r : closeEntry(m);
}

// Copies the applied connection into `m`, with the DNS of both IP settings
// replaced. Leaves `applied` after the connection, before its version.
int copyWithDns(sd_bus_message* m, sd_bus_message* applied, const NetworkManagerDns& dns)
{
    int r = sd_bus_message_enter_container(applied, 'a', "{sa{sv}}");
    r = r < 0 ? r : sd_bus_message_open_container(m, 'a', "{sa{sv}}");
    while (r >= 0 && (r = sd_bus_message_enter_container(applied, 'e', "sa{sv}")) > 0) {
        const char* setting = nullptr;
        r = sd_bus_message_read(applied, "s", &setting);
        if (r < 0) {
            break;
        }
        const bool ipv4 = std::strcmp(setting, "ipv4") == 0;
        const bool ipv6 = std::strcmp(setting, "ipv6") == 0;
        r = sd_bus_message_open_container(m, 'e', "sa{sv}");
        r = r < 0 ? r : sd_bus_message_append(m, "s", setting);
        r = r < 0 ? r : sd_bus_message_open_container(m, 'a', "{sv}");
        r = r < 0 ? r : sd_bus_message_enter_container(applied, 'a', "{sv}");
        while (r >= 0 && (r = sd_bus_message_enter_container(applied, 'e', "sv")) > 0) {
            const char* key = nullptr;
            r = sd_bus_message_read(applied, "s", &key);
            if (r >= 0 && (ipv4 || ipv6) && isDnsKey(key)) {
                r = sd_bus_message_skip(applied, "v");
            } else if (r >= 0) {
                r = sd_bus_message_open_container(m, 'e', "sv");
                r = r < 0 ? r : sd_bus_message_append(m, "s", key);
                r = r < 0 ? r : sd_bus_message_copy(m, applied, false);
                r = r < 0 ? r : sd_bus_message_close_container(m);
            }
            r = r < 0 ? r : sd_bus_message_exit_container(applied);
        }
        r = r < 0 ? r : sd_bus_message_exit_container(applied);
        if (r >= 0 && (ipv4 || ipv6)) {
            r = appendDns(m, ipv6, dns);
        }
        r = r < 0 ? r : sd_bus_message_close_container(m);
        r = r < 0 ? r : sd_bus_message_close_container(m);
        r = r < 0 ? r : sd_bus_message_exit_container(applied);
    }
    r = r < 0 ? r : sd_bus_message_close_container(m);
    return r < 0 ? r : sd_bus_message_exit_container(applied);
}

} // namespace

SystemNetworkManagerBus::~SystemNetworkManagerBus()
{
    // Nothing to free without a connection: no call may load libsystemd then.
    // The slots go before the bus closes.
    if (system.current()) {
        sd_bus_slot_unref(added);
        sd_bus_slot_unref(changed);
    }
}

void SystemNetworkManagerBus::forgetAfterFork()
{
    system.forgetAfterFork();
    added = changed = nullptr;
    news = false;
}

void SystemNetworkManagerBus::watchDevices()
{
    if (!system.open() || added) {
        return;
    }
    auto heard = [](sd_bus_message*, void* self, sd_bus_error*) {
        static_cast<SystemNetworkManagerBus*>(self)->news = true;
        return 0;
    };
    sd_bus_match_signal(system.current(), &added, kService, kRoot, kService, "DeviceAdded", heard, this);
    sd_bus_match_signal(system.current(), &changed, kService, nullptr, kDevice, "StateChanged", heard, this);
}

bool SystemNetworkManagerBus::waitForDeviceNews(std::chrono::milliseconds timeout)
{
    if (!system.current() || !added || !changed) {
        return false;
    }
    // What came in during the calls since the last wait is processed first.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    news = false;
    while (!news) {
        const int r = sd_bus_process(system.current(), nullptr);
        if (r < 0) {
            return false;
        }
        if (r > 0) {
            continue;
        }
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || sd_bus_wait(system.current(), static_cast<uint64_t>(left.count())) < 0) {
            return false;
        }
    }
    return true;
}

bool SystemNetworkManagerBus::mayRun()
{
    // NetworkManager makes its run-time folder whenever it starts: without
    // it, it has never run since boot, and the bus need not be asked.
    struct stat folder;
    return stat(runFolder.c_str(), &folder) == 0;
}

bool SystemNetworkManagerBus::ownsResolver()
{
    if (!mayRun() || !system.open()) {
        return false;
    }
    Reply owner;
    int has = 0;
    if (sd_bus_call_method(system.current(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
                           "org.freedesktop.DBus", "NameHasOwner", &owner.error, &owner.message, "s",
                           kService) < 0 ||
        sd_bus_message_read(owner.message, "b", &has) < 0 || !has) {
        return false;
    }
    // Mode "none" leaves resolv.conf alone; "unmanaged" leaves it to
    // others unless NetworkManager hands everything to resolved.
    sd_bus_error error = SD_BUS_ERROR_NULL;
    char* mode = nullptr;
    char* rcManager = nullptr;
    const bool known =
        sd_bus_get_property_string(system.current(), kService, "/org/freedesktop/NetworkManager/DnsManager",
                                   "org.freedesktop.NetworkManager.DnsManager", "Mode", &error, &mode) >= 0 &&
        sd_bus_get_property_string(system.current(), kService, "/org/freedesktop/NetworkManager/DnsManager",
                                   "org.freedesktop.NetworkManager.DnsManager", "RcManager", &error,
                                   &rcManager) >= 0;
    const bool owns =
        known && std::strcmp(mode, "none") != 0 &&
        (std::strcmp(rcManager, "unmanaged") != 0 || std::strcmp(mode, "systemd-resolved") == 0);
    free(mode);
    free(rcManager);
    sd_bus_error_free(&error);
    return owns;
}

std::string SystemNetworkManagerBus::dnsMode()
{
    if (!system.open()) {
        return {};
    }
    sd_bus_error error = SD_BUS_ERROR_NULL;
    char* mode = nullptr;
    std::string result;
    if (sd_bus_get_property_string(system.current(), kService, "/org/freedesktop/NetworkManager/DnsManager",
                                   "org.freedesktop.NetworkManager.DnsManager", "Mode", &error, &mode) >= 0) {
        result = mode;
    }
    free(mode);
    sd_bus_error_free(&error);
    return result;
}

std::optional<std::string> SystemNetworkManagerBus::devicePath(const std::string& device)
{
    if (!system.open()) {
        return std::nullopt;
    }
    Reply reply;
    const char* path = nullptr;
    if (sd_bus_call_method(system.current(), kService, kRoot, kService, "GetDeviceByIpIface", &reply.error,
                           &reply.message, "s", device.c_str()) < 0 ||
        sd_bus_message_read(reply.message, "o", &path) < 0) {
        return std::nullopt;
    }
    return std::string(path);
}

std::optional<NetworkManagerDns> SystemNetworkManagerBus::deviceDns(const std::string& device)
{
    const std::optional<std::string> path = devicePath(device);
    if (!path) {
        return std::nullopt;
    }
    Reply applied;
    if (sd_bus_call_method(system.current(), kService, path->c_str(), kDevice, "GetAppliedConnection",
                           &applied.error, &applied.message, "u", 0u) < 0) {
        return std::nullopt;
    }
    NetworkManagerDns result;
    sd_bus_message* m = applied.message;
    int r = sd_bus_message_enter_container(m, 'a', "{sa{sv}}");
    while (r >= 0 && (r = sd_bus_message_enter_container(m, 'e', "sa{sv}")) > 0) {
        const char* setting = nullptr;
        r = sd_bus_message_read(m, "s", &setting);
        const bool ipv4 = r >= 0 && std::strcmp(setting, "ipv4") == 0;
        r = r < 0 ? r : sd_bus_message_enter_container(m, 'a', "{sv}");
        while (r >= 0 && (r = sd_bus_message_enter_container(m, 'e', "sv")) > 0) {
            const char* key = nullptr;
            r = sd_bus_message_read(m, "s", &key);
            if (r >= 0 && ipv4 && std::strcmp(key, "dns") == 0) {
                r = sd_bus_message_enter_container(m, 'v', "au");
                r = r < 0 ? r : sd_bus_message_enter_container(m, 'a', "u");
                uint32_t value = 0;
                while (r >= 0 && (r = sd_bus_message_read(m, "u", &value)) > 0) {
                    char text[INET_ADDRSTRLEN];
                    in_addr address{value};
                    result.dns.servers.push_back(inet_ntop(AF_INET, &address, text, sizeof text));
                }
                r = r < 0 ? r : sd_bus_message_exit_container(m);
                r = r < 0 ? r : sd_bus_message_exit_container(m);
            } else if (r >= 0 && ipv4 && std::strcmp(key, "dns-priority") == 0) {
                r = sd_bus_message_read(m, "v", "i", &result.priority);
            } else if (r >= 0) {
                r = sd_bus_message_skip(m, "v");
            }
            r = r < 0 ? r : sd_bus_message_exit_container(m);
        }
        r = r < 0 ? r : sd_bus_message_exit_container(m);
        r = r < 0 ? r : sd_bus_message_exit_container(m);
    }
    if (r < 0) {
        return std::nullopt;
    }
    return result;
}

bool SystemNetworkManagerBus::setDeviceDns(const std::string& device, const NetworkManagerDns& dns,
                                           std::string* why)
{
    const std::optional<std::string> path = devicePath(device);
    if (!path) {
        *why = "NetworkManager does not know " + device;
        return false;
    }
    Reply applied;
    int r = sd_bus_call_method(system.current(), kService, path->c_str(), kDevice, "GetAppliedConnection",
                               &applied.error, &applied.message, "u", 0u);
    if (r < 0) {
        *why = "GetAppliedConnection: " + applied.why(r);
        return false;
    }
    sd_bus_message* call = nullptr;
    r = sd_bus_message_new_method_call(system.current(), &call, kService, path->c_str(), kDevice, "Reapply");
    uint64_t version = 0;
    r = r < 0 ? r : copyWithDns(call, applied.message, dns);
    r = r < 0 ? r : sd_bus_message_read(applied.message, "t", &version);
    r = r < 0 ? r : sd_bus_message_append(call, "tu", version, kPreserveExternalIp);
    if (r < 0) {
        sd_bus_message_unref(call);
        *why = std::string("cannot build Reapply: ") + std::strerror(-r);
        return false;
    }
    Reply reapplied;
    r = sd_bus_call(system.current(), call, kTimeoutUs, &reapplied.error, &reapplied.message);
    sd_bus_message_unref(call);
    if (r < 0) {
        *why = "Reapply: " + reapplied.why(r);
        return false;
    }
    return true;
}
