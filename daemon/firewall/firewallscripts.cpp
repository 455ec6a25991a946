#include "firewallscripts.h"

#include <unordered_map>

namespace FirewallScripts {

namespace {

constexpr const char* kHeader = "#!/bin/sh\n";
// A quoted here-document: the shell expands nothing inside it. Every tool
// waits for the xtables lock (-w) instead of failing while another holds it.
constexpr const char* kRestoreStart = "exec iptables-restore -w --noflush <<'RULES'\n*filter\n";
constexpr const char* kRestoreEnd = "COMMIT\nRULES\n";

// Deleting a rule that is not there is not a failure; any other error is.
constexpr const char* kDeleteHelper = "remove() {\n"
                                      "    iptables -w -C \"$@\" 2>/dev/null || return 0\n"
                                      "    iptables -w -D \"$@\"\n"
                                      "}\n";

const char* const kDnsRules[] = {
    "OUTPUT -p udp --destination-port 67 -m iprange --src-range 0.0.0.0-255.255.255.255",
    "INPUT -p udp --source-port 68",
    "OUTPUT -p udp --dport 53 -j ACCEPT",
    "INPUT -p udp --sport 53 -j ACCEPT",
    "OUTPUT -p tcp --dport 53 -j ACCEPT",
    "INPUT -p tcp --sport 53 -j ACCEPT",
};

const char* const kLanRules[] = {
    "INPUT -s 192.168.0.0/16 -j ACCEPT",
    "OUTPUT -d 192.168.0.0/16 -j ACCEPT",
};

} // namespace

std::vector<std::string> acceptRules(const std::string& interfaceToSkip,
                                     const std::vector<std::string>& addresses)
{
    std::vector<std::string> rules{"FORWARD -i lo -j ACCEPT", "INPUT -i lo -j ACCEPT",
                                   "OUTPUT -o lo -j ACCEPT"};
    rules.reserve(6 + 2 * addresses.size());
    if (!interfaceToSkip.empty()) {
        rules.push_back("FORWARD -i " + interfaceToSkip + " -j ACCEPT");
        rules.push_back("INPUT -i " + interfaceToSkip + " -j ACCEPT");
        rules.push_back("OUTPUT -o " + interfaceToSkip + " -j ACCEPT");
    }
    for (const auto& a : addresses) {
        rules.push_back("OUTPUT -d " + a + " -j ACCEPT");
        rules.push_back("INPUT -s " + a + " -j ACCEPT");
    }
    return rules;
}

std::string blockIPv4(const std::string& interfaceToSkip, const std::vector<std::string>& addresses)
{
    std::string s = kHeader;
    s.reserve(256 + addresses.size() * 64);
    s += kRestoreStart;
    for (const auto& rule : acceptRules(interfaceToSkip, addresses)) {
        s += "-A ";
        s += rule;
        s += '\n';
    }
    s += "#other drop\n";
    s += ":INPUT DROP [0:0]\n";
    s += ":OUTPUT DROP [0:0]\n";
    s += ":FORWARD DROP [0:0]\n";
    s += kRestoreEnd;
    return s;
}

std::string changeIPv4(const std::string& loadedInterface, const std::vector<std::string>& loadedAddresses,
                       const std::string& interfaceToSkip, const std::vector<std::string>& addresses)
{
    std::unordered_map<std::string, int> loaded;
    for (auto& rule : acceptRules(loadedInterface, loadedAddresses))
        ++loaded[rule];
    std::string rules;
    for (const auto& rule : acceptRules(interfaceToSkip, addresses)) {
        auto it = loaded.find(rule);
        if (it != loaded.end() && it->second > 0) {
            --it->second;
            continue;
        }
        rules += "-A " + rule + "\n";
    }
    for (const auto& [rule, count] : loaded) {
        for (int i = 0; i < count; ++i)
            rules += "-D " + rule + "\n";
    }
    if (rules.empty())
        return {};
    return kHeader + std::string(kRestoreStart) + rules + kRestoreEnd;
}

std::string restoreIPv4(const std::string& interfaceToSkip, const std::vector<std::string>& addresses,
                        bool dnsOpened, bool localDevicesAllowed)
{
    // The block script's rules, but as a table that replaces the current one.
    std::string s = blockIPv4(interfaceToSkip, addresses);
    const std::string noflush = " --noflush";
    s.erase(s.find(noflush), noflush.size());
    std::string extra;
    if (dnsOpened) {
        for (const char* rule : kDnsRules)
            extra += std::string("-A ") + rule + "\n";
    }
    if (localDevicesAllowed) {
        for (const char* rule : kLanRules)
            extra += std::string("-A ") + rule + "\n";
    }
    s.insert(s.find("#other drop\n"), extra);
    return s;
}

std::string unblockIPv4()
{
    std::string s = kHeader;
    s += kRestoreStart;
    s += "-F\n";
    s += ":INPUT ACCEPT [0:0]\n";
    s += ":FORWARD ACCEPT [0:0]\n";
    s += ":OUTPUT ACCEPT [0:0]\n";
    s += kRestoreEnd;
    return s;
}

std::string dns(bool block)
{
    std::string s = kHeader;
    if (!block) {
        s += "# Enable DNS\n";
        s += kRestoreStart;
        s += "#dhcp\n";
        for (int i = 0; i < 6; ++i) {
            if (i == 2)
                s += "# dns server ports ##\n";
            s += std::string("-A ") + kDnsRules[i] + "\n";
        }
        s += kRestoreEnd;
        return s;
    }
    s += "# Disable DNS\n";
    s += kDeleteHelper;
    for (const char* rule : kDnsRules)
        s += std::string("remove ") + rule + " || exit 1\n";
    return s;
}

std::string localDevices(bool allow)
{
    std::string s = kHeader;
    if (allow) {
        s += "# Enable access traffic to the LAN network\n";
        s += kRestoreStart;
        for (const char* rule : kLanRules)
            s += std::string("-A ") + rule + "\n";
        s += kRestoreEnd;
        return s;
    }
    s += "# Disable access traffic to LAN network\n";
    s += kDeleteHelper;
    for (const char* rule : kLanRules)
        s += std::string("remove ") + rule + " || exit 1\n";
    return s;
}

std::string ipv6(bool block)
{
    const std::string policy = block ? "DROP" : "ACCEPT";
    return "*filter\n\n:INPUT " + policy + " [0:0]\n:FORWARD " + policy + " [0:0]\n:OUTPUT " + policy +
           " [0:0]\n\nCOMMIT\n";
}

std::string acceptFilterTable()
{
    return "*filter\n:INPUT ACCEPT [0:0]\n:FORWARD ACCEPT [0:0]\n:OUTPUT ACCEPT [0:0]\nCOMMIT\n";
}

} // namespace FirewallScripts
