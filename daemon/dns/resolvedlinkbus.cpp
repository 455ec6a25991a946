#include "resolvedlinkbus.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <map>
#include <net/if.h>
#include <sys/socket.h>
#include <syslog.h>
#include <systemd/sd-bus.h>

namespace {

const char kService[] = "org.freedesktop.resolve1";
const char kPath[] = "/org/freedesktop/resolve1";
const char kManager[] = "org.freedesktop.resolve1.Manager";
constexpr uint64_t kTimeoutUs = 5'000'000;

int appendServers(sd_bus_message* m, const std::vector<std::string>& servers)
{
    int r = sd_bus_message_open_container(m, 'a', "(iay)");
    for (const std::string& server : servers) {
        unsigned char bytes[16];
        int family = AF_INET;
        size_t size = 4;
        if (inet_pton(AF_INET, server.c_str(), bytes) != 1) {
            family = AF_INET6;
            size = 16;
            if (inet_pton(AF_INET6, server.c_str(), bytes) != 1) {
                return -EINVAL;
            }
        }
        r = r < 0 ? r : sd_bus_message_open_container(m, 'r', "iay");
        r = r < 0 ? r : sd_bus_message_append(m, "i", family);
        r = r < 0 ? r : sd_bus_message_append_array(m, 'y', bytes, size);
        r = r < 0 ? r : sd_bus_message_close_container(m);
    }
    return r < 0 ? r : sd_bus_message_close_container(m);
}

int appendDomains(sd_bus_message* m, const std::vector<std::string>& domains)
{
    int r = sd_bus_message_open_container(m, 'a', "(sb)");
    for (const std::string& domain : domains) {
        const bool routeOnly = !domain.empty() && domain[0] == '~';
        std::string name = routeOnly ? domain.substr(1) : domain;
        if (name.empty()) {
            continue;
        }
        r = r < 0 ? r : sd_bus_message_append(m, "(sb)", name.c_str(), static_cast<int>(routeOnly));
    }
    return r < 0 ? r : sd_bus_message_close_container(m);
}

struct Reply
{
    sd_bus_message* message = nullptr;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    ~Reply()
    {
        sd_bus_message_unref(message);
        sd_bus_error_free(&error);
    }
};

// The property's reply, entered into its variant.
bool getProperty(sd_bus* bus, const char* path, const char* interface, const char* name, const char* type,
                 Reply* reply)
{
    const int r = sd_bus_call_method(bus, kService, path, "org.freedesktop.DBus.Properties", "Get",
                                     &reply->error, &reply->message, "ss", interface, name);
    if (r < 0) {
        syslog(LOG_WARNING, "kestrova-dns: resolved's bus refused %s: %s", name,
               reply->error.message ? reply->error.message : std::strerror(-r));
        return false;
    }
    return sd_bus_message_enter_container(reply->message, 'v', type) >= 0;
}

// Every kernel link, by index.
std::map<int, std::string> kernelLinks()
{
    std::map<int, std::string> links;
    if (struct if_nameindex* all = if_nameindex()) {
        for (const struct if_nameindex* link = all; link->if_index != 0; ++link) {
            links[static_cast<int>(link->if_index)] = link->if_name;
        }
        if_freenameindex(all);
    }
    return links;
}

} // namespace

SystemResolvedLinkBus::~SystemResolvedLinkBus() = default;

bool SystemResolvedLinkBus::call(const char* member, int index,
                                 const std::optional<std::vector<std::string>>& values, bool on)
{
    sd_bus_message* m = nullptr;
    int r = sd_bus_message_new_method_call(system.current(), &m, kService, kPath, kManager, member);
    r = r < 0 ? r : sd_bus_message_append(m, "i", index);
    if (std::string(member) == "SetLinkDNS") {
        r = r < 0 ? r : appendServers(m, *values);
    } else if (std::string(member) == "SetLinkDomains") {
        r = r < 0 ? r : appendDomains(m, *values);
    } else {
        r = r < 0 ? r : sd_bus_message_append(m, "b", static_cast<int>(on));
    }
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    r = r < 0 ? r : sd_bus_call(system.current(), m, kTimeoutUs, &error, &reply);
    if (r < 0) {
        // resolvectl is tried next; this says why it was needed.
        syslog(LOG_WARNING, "kestrova-dns: resolved's bus refused %s: %s", member,
               error.message ? error.message : std::strerror(-r));
    }
    sd_bus_message_unref(reply);
    sd_bus_message_unref(m);
    sd_bus_error_free(&error);
    return r >= 0;
}

bool SystemResolvedLinkBus::setLink(const std::string& link,
                                    const std::optional<std::vector<std::string>>& servers,
                                    const std::optional<std::vector<std::string>>& domains,
                                    std::optional<bool> defaultRoute)
{
    const unsigned index = if_nametoindex(link.c_str());
    if (index == 0 || !system.open()) {
        return false;
    }
    const int i = static_cast<int>(index);
    return (!servers || call("SetLinkDNS", i, servers, false)) &&
           (!domains || call("SetLinkDomains", i, domains, false)) &&
           (!defaultRoute || call("SetLinkDefaultRoute", i, std::nullopt, *defaultRoute));
}

std::optional<ResolvedLinkBus::Links> SystemResolvedLinkBus::list(const std::string& verb)
{
    if (!system.open()) {
        return std::nullopt;
    }
    Links links;
    const std::map<int, std::string> kernel = kernelLinks();
    if (verb == "default-route") {
        // Only the links resolved has an object for, as resolvectl lists them.
        for (const auto& [index, name] : kernel) {
            Reply link;
            const char* path = nullptr;
            if (sd_bus_call_method(system.current(), kService, kPath, kManager, "GetLink", &link.error,
                                   &link.message, "i", index) < 0 ||
                sd_bus_message_read(link.message, "o", &path) < 0) {
                continue;
            }
            Reply route;
            int on = 0;
            if (!getProperty(system.current(), path, "org.freedesktop.resolve1.Link", "DefaultRoute", "b",
                             &route) ||
                sd_bus_message_read(route.message, "b", &on) < 0) {
                return std::nullopt;
            }
            links[name].push_back(on ? "yes" : "no");
        }
        return links;
    }
    for (const auto& [index, name] : kernel) {
        links[name];
    }
    Reply all;
    if (verb == "domain") {
        if (!getProperty(system.current(), kPath, kManager, "Domains", "a(isb)", &all) ||
            sd_bus_message_enter_container(all.message, 'a', "(isb)") < 0) {
            return std::nullopt;
        }
        int index = 0;
        const char* domain = nullptr;
        int routeOnly = 0;
        int r = 0;
        while ((r = sd_bus_message_read(all.message, "(isb)", &index, &domain, &routeOnly)) > 0) {
            const auto it = kernel.find(index);
            if (it != kernel.end()) {
                links[it->second].push_back((routeOnly ? "~" : "") + std::string(domain));
            }
        }
        return r < 0 ? std::nullopt : std::optional<Links>(links);
    }
    if (verb == "dns") {
        if (!getProperty(system.current(), kPath, kManager, "DNS", "a(iiay)", &all) ||
            sd_bus_message_enter_container(all.message, 'a', "(iiay)") < 0) {
            return std::nullopt;
        }
        int r = 0;
        while ((r = sd_bus_message_enter_container(all.message, 'r', "iiay")) > 0) {
            int index = 0;
            int family = 0;
            const void* bytes = nullptr;
            size_t size = 0;
            char text[INET6_ADDRSTRLEN] = {};
            if (sd_bus_message_read(all.message, "ii", &index, &family) < 0 ||
                sd_bus_message_read_array(all.message, 'y', &bytes, &size) < 0 ||
                sd_bus_message_exit_container(all.message) < 0) {
                return std::nullopt;
            }
            const auto it = kernel.find(index);
            if (it != kernel.end() && size == (family == AF_INET ? 4u : 16u) &&
                inet_ntop(family, bytes, text, sizeof text)) {
                links[it->second].push_back(text);
            }
        }
        return r < 0 ? std::nullopt : std::optional<Links>(links);
    }
    return std::nullopt;
}
