#include "resolvedbackend.h"

#include "resolvconffile.h"

#include <algorithm>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kDefaultRoute[] = "default-route";
const char kRoutingDomain[] = "routing-domain";

bool contains(const std::vector<std::string>& list, const std::string& value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

std::set<std::pair<std::string, std::string>> readRecord(const std::string& path)
{
    std::set<std::pair<std::string, std::string>> record;
    std::istringstream lines(readWholeFile(path).value_or(""));
    std::string name;
    std::string what;
    while (lines >> name >> what) {
        record.emplace(name, what);
    }
    return record;
}

} // namespace

std::map<std::string, std::vector<std::string>> ResolvedBackend::parseLinks(const std::string& output)
{
    std::map<std::string, std::vector<std::string>> links;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, 5, "Link ") != 0) {
            continue;
        }
        const size_t open = line.find(" (");
        const size_t close = line.find("):", open == std::string::npos ? 0 : open);
        if (open == std::string::npos || close == std::string::npos) {
            continue;
        }
        std::vector<std::string>& values = links[line.substr(open + 2, close - open - 2)];
        std::istringstream words(line.substr(close + 2));
        std::string word;
        while (words >> word) {
            values.push_back(word);
        }
    }
    return links;
}

std::map<std::string, std::vector<std::string>> ResolvedBackend::list(const std::string& verb)
{
    if (bus) {
        if (auto links = bus->list(verb)) {
            return *links;
        }
    }
    return parseLinks(runner.run({"resolvectl", verb}).output);
}

bool ResolvedBackend::setLink(const std::string& link, const std::optional<std::vector<std::string>>& servers,
                              const std::optional<std::vector<std::string>>& domains,
                              std::optional<bool> defaultRoute)
{
    if (bus && bus->setLink(link, servers, domains, defaultRoute)) {
        return true;
    }
    bool ok = true;
    if (servers) {
        std::vector<std::string> argv = {"resolvectl", "dns", "--", link};
        argv.insert(argv.end(), servers->begin(), servers->end());
        ok = runner.run(argv).exitCode == 0 && ok;
    }
    if (domains) {
        std::vector<std::string> argv = {"resolvectl", "domain", "--", link};
        argv.insert(argv.end(), domains->begin(), domains->end());
        if (argv.size() == 4) {
            argv.push_back("");
        }
        ok = runner.run(argv).exitCode == 0 && ok;
    }
    if (defaultRoute) {
        ok = runner.run({"resolvectl", "default-route", "--", link, *defaultRoute ? "yes" : "no"}).exitCode ==
                 0 &&
             ok;
    }
    return ok;
}

bool ResolvedBackend::setTunnelLink(const std::string& device, const DnsSettings& dns, std::string* why)
{
    std::vector<std::string> domains = {"~."};
    domains.insert(domains.end(), dns.domains.begin(), dns.domains.end());
    if (!setLink(device, dns.servers, domains, true)) {
        *why = "resolvectl cannot configure " + device;
        return false;
    }
    return true;
}

// Missing when resolved has no such link (its device is away during a
// restart); then there is nothing to set.
std::optional<bool> ResolvedBackend::tunnelLinkIsSet(const std::string& device, const DnsSettings& dns)
{
    const auto servers = list("dns");
    const auto domains = list("domain");
    const auto it = servers.find(device);
    const auto dt = domains.find(device);
    if (it == servers.end() || dt == domains.end()) {
        return std::nullopt;
    }
    const auto routes = list("default-route");
    const auto rt = routes.find(device);
    if (!contains(dt->second, "~.") || rt == routes.end() || !contains(rt->second, "yes")) {
        return false;
    }
    for (const std::string& server : dns.servers) {
        if (!contains(it->second, server)) {
            return false;
        }
    }
    return true;
}

// Records what was taken before taking it, so an undo after a crash half-way
// still gives it back.
bool ResolvedBackend::takeFromOtherLinks(const std::string& device, std::string* why)
{
    const auto routes = list("default-route");
    const auto domains = list("domain");
    auto record = readRecord(statePath(device));
    std::vector<std::pair<std::string, std::string>> toTake;
    for (const auto& [link, values] : routes) {
        if (link != device && contains(values, "yes")) {
            toTake.emplace_back(link, kDefaultRoute);
        }
    }
    for (const auto& [link, values] : domains) {
        if (link != device && contains(values, "~.")) {
            toTake.emplace_back(link, kRoutingDomain);
        }
    }
    if (toTake.empty()) {
        return true;
    }
    const size_t before = record.size();
    record.insert(toTake.begin(), toTake.end());
    if (record.size() != before) {
        std::string text;
        for (const auto& [link, what] : record) {
            text += link + " " + what + "\n";
        }
        mkdir(stateDir.c_str(), 0700);
        if (!writeFileAtomically(statePath(device), text, 0600)) {
            *why = "cannot record the links under " + stateDir;
            return false;
        }
    }
    bool ok = true;
    for (const auto& [link, what] : toTake) {
        if (!isDeviceName(link)) {
            continue;
        }
        if (what == kDefaultRoute) {
            ok = setLink(link, std::nullopt, std::nullopt, false) && ok;
            continue;
        }
        std::vector<std::string> kept;
        for (const std::string& domain : domains.at(link)) {
            if (domain != "~.") {
                kept.push_back(domain);
            }
        }
        ok = setLink(link, std::nullopt, kept, std::nullopt) && ok;
    }
    if (!ok) {
        *why = "resolvectl cannot take the default route from the other links";
    }
    return ok;
}

bool ResolvedBackend::apply(const std::string& device, const DnsSettings& dns, std::string* why)
{
    // The others first: until the tunnel's link is set, no link takes a name.
    const bool taken = takeFromOtherLinks(device, why);
    return setTunnelLink(device, dns, why) && taken;
}

bool ResolvedBackend::enforce(const std::string& device, const DnsSettings& dns, std::string* why)
{
    const bool taken = takeFromOtherLinks(device, why);
    const std::optional<bool> set = tunnelLinkIsSet(device, dns);
    if (set && !*set) {
        return setTunnelLink(device, dns, why) && taken;
    }
    return taken;
}

bool ResolvedBackend::undo(const std::string& device, std::string* /*why*/)
{
    runner.run({"resolvectl", "revert", "--", device});
    const auto record = readRecord(statePath(device));
    if (!record.empty()) {
        const auto routes = list("default-route");
        const auto domains = list("domain");
        for (const auto& [link, what] : record) {
            if (!isDeviceName(link) || link == device) {
                continue;
            }
            if (what == kDefaultRoute) {
                const auto it = routes.find(link);
                if (it != routes.end() && !contains(it->second, "yes")) {
                    setLink(link, std::nullopt, std::nullopt, true);
                }
            } else if (what == kRoutingDomain) {
                const auto it = domains.find(link);
                if (it != domains.end() && !contains(it->second, "~.")) {
                    std::vector<std::string> given = {"~."};
                    given.insert(given.end(), it->second.begin(), it->second.end());
                    setLink(link, std::nullopt, given, std::nullopt);
                }
            }
        }
    }
    unlink(statePath(device).c_str());
    return true;
}

void ResolvedBackend::forget(const std::string& device)
{
    unlink(statePath(device).c_str());
}

bool ResolvedBackend::holds(const std::string& device) const
{
    return access(statePath(device).c_str(), F_OK) == 0;
}
