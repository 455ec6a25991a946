#include "tunneldns.h"

#include <arpa/inet.h>
#include <cstring>

extern char** environ;

namespace {

bool lookup(const Environment& environment, const std::string& name, std::string* value)
{
    const auto it = environment.find(name);
    if (it == environment.end()) {
        return false;
    }
    *value = it->second;
    return true;
}

std::vector<std::string> words(const std::string& text)
{
    std::vector<std::string> result;
    std::string word;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            if (!word.empty()) {
                result.push_back(word);
            }
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) {
        result.push_back(word);
    }
    return result;
}

void addUnique(std::vector<std::string>* list, const std::string& value)
{
    for (const std::string& existing : *list) {
        if (existing == value) {
            return;
        }
    }
    list->push_back(value);
}

} // namespace

bool isDeviceName(const std::string& name)
{
    if (name.empty() || name.size() > 15 || name[0] == '-' || name == "." || name == "..") {
        return false;
    }
    for (const char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '_' || c == '.' || c == '-';
        if (!ok) {
            return false;
        }
    }
    return true;
}

bool isNameServerAddress(const std::string& text)
{
    unsigned char buffer[sizeof(struct in6_addr)];
    if (inet_pton(AF_INET, text.c_str(), buffer) == 1) {
        return true;
    }
    // A scope ("%eth0") would name a link of the machine: not from a server.
    return text.find('%') == std::string::npos && inet_pton(AF_INET6, text.c_str(), buffer) == 1;
}

bool isSearchDomain(const std::string& text)
{
    if (text.empty() || text.size() > 253 || text.front() == '.' || text.front() == '-' ||
        text.find("..") != std::string::npos) {
        return false;
    }
    for (const char c : text) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '.' || c == '-';
        if (!ok) {
            return false;
        }
    }
    return true;
}

std::optional<TunnelEvent> readTunnelEvent(const Environment& environment, std::string* why)
{
    TunnelEvent event;
    std::string type;
    lookup(environment, "script_type", &type);
    if (type == "up") {
        event.event = ScriptEvent::Up;
    } else if (type == "down") {
        std::string signal;
        lookup(environment, "signal", &signal);
        const bool restart = signal == "sigusr1" || signal == "sighup" || signal == "ping-restart" ||
                             signal == "connection-reset";
        event.event = restart ? ScriptEvent::Restart : ScriptEvent::Down;
    } else {
        *why = "unknown script type '" + type + "'";
        return std::nullopt;
    }
    if (!lookup(environment, "dev", &event.device) || !isDeviceName(event.device)) {
        *why = "unusable device name";
        return std::nullopt;
    }

    auto addServer = [&event](const std::string& value) {
        if (isNameServerAddress(value)) {
            addUnique(&event.dns.servers, value);
        } else {
            event.ignored.push_back("name server '" + value + "'");
        }
    };
    auto addDomain = [&event](const std::string& value) {
        if (isSearchDomain(value)) {
            addUnique(&event.dns.domains, value);
        } else {
            event.ignored.push_back("domain '" + value + "'");
        }
    };
    // foreign_option_N = "dhcp-option DNS 203.0.113.53" and the like.
    std::string value;
    for (int i = 1; lookup(environment, "foreign_option_" + std::to_string(i), &value); ++i) {
        const std::vector<std::string> parts = words(value);
        if (parts.size() != 3 || parts[0] != "dhcp-option") {
            continue;
        }
        if (parts[1] == "DNS" || parts[1] == "DNS6") {
            addServer(parts[2]);
        } else if (parts[1] == "DOMAIN" || parts[1] == "DOMAIN-SEARCH") {
            addDomain(parts[2]);
        }
    }
    // The newer form: dns_server_N_address_M and dns_search_domain_M.
    for (int n = 0; lookup(environment, "dns_server_" + std::to_string(n) + "_address_1", &value); ++n) {
        for (int m = 1;
             lookup(environment, "dns_server_" + std::to_string(n) + "_address_" + std::to_string(m), &value);
             ++m) {
            addServer(value);
        }
    }
    for (int m = 1; lookup(environment, "dns_search_domain_" + std::to_string(m), &value); ++m) {
        addDomain(value);
    }
    return event;
}

Environment currentEnvironment()
{
    Environment result;
    for (char** entry = environ; entry && *entry; ++entry) {
        const char* equals = std::strchr(*entry, '=');
        if (equals) {
            result.emplace(std::string(*entry, static_cast<size_t>(equals - *entry)),
                           std::string(equals + 1));
        }
    }
    return result;
}
