#include "firewallscripts.h"

#include <unordered_map>

namespace FirewallScripts {

namespace {

constexpr const char* kHeader = "#!/bin/sh\n";
// A quoted here-document: the shell expands nothing inside it. Every tool
// waits for the xtables lock (-w) instead of failing while another holds it.
constexpr const char* kRestoreStart = "exec iptables-restore -w --noflush <<'RULES'\n*filter\n";
constexpr const char* kRestoreEnd = "COMMIT\nRULES\n";
// Removing rules in one load, which fails as a whole, and changes nothing,
// when one of them is missing; the script then goes on to remove them one by
// one, tolerating the missing ones.
constexpr const char* kOneLoadStart =
    "iptables-restore -w --noflush 2>/dev/null <<'RULES' && exit 0\n*filter\n";

// Deleting a rule that is not there is not a failure; any other error is.
constexpr const char* kDeleteHelper = "remove() {\n"
                                      "    iptables -w -C \"$@\" 2>/dev/null || return 0\n"
                                      "    iptables -w -D \"$@\"\n"
                                      "}\n";

// DHCP (client port 68, server port 67) and DNS while the tunnel is being
// set up. Every rule has a target: a rule without one matches and lets the
// packet fall through to the DROP policy.
const char* const kDnsRules[] = {
    "OUTPUT -p udp --sport 68 --dport 67 -j ACCEPT",
    "INPUT -p udp --sport 67 --dport 68 -j ACCEPT",
    "OUTPUT -p udp --dport 53 -j ACCEPT",
    "INPUT -p udp --sport 53 -j ACCEPT",
    "OUTPUT -p tcp --dport 53 -j ACCEPT",
    "INPUT -p tcp --sport 53 -j ACCEPT",
};

const char* const kLanRules[] = {
    "INPUT -s 192.168.0.0/16 -j ACCEPT",
    "OUTPUT -d 192.168.0.0/16 -j ACCEPT",
};

// Every DNS query leaving the machine passes the DNS chain before any
// allowed address or the LAN could accept it.
const char* const kDnsJumps[] = {
    "OUTPUT -p udp --dport 53 -j KESTROVA-DNS",
    "OUTPUT -p tcp --dport 53 -j KESTROVA-DNS",
};

std::vector<std::string> interfaceRules(const std::string& interfaceToSkip)
{
    std::vector<std::string> rules{"FORWARD -i lo -j ACCEPT", "INPUT -i lo -j ACCEPT",
                                   "OUTPUT -o lo -j ACCEPT"};
    if (!interfaceToSkip.empty()) {
        rules.push_back("FORWARD -i " + interfaceToSkip + " -j ACCEPT");
        rules.push_back("INPUT -i " + interfaceToSkip + " -j ACCEPT");
        rules.push_back("OUTPUT -o " + interfaceToSkip + " -j ACCEPT");
    }
    return rules;
}

std::vector<std::string> addressRules(const std::vector<std::string>& addresses)
{
    std::vector<std::string> rules;
    rules.reserve(2 * addresses.size());
    for (const auto& a : addresses) {
        rules.push_back("OUTPUT -d " + a + " -j ACCEPT");
        rules.push_back("INPUT -s " + a + " -j ACCEPT");
    }
    return rules;
}

std::vector<std::string> acceptRules(const std::string& interfaceToSkip,
                                     const std::vector<std::string>& addresses)
{
    std::vector<std::string> rules = interfaceRules(interfaceToSkip);
    const std::vector<std::string> more = addressRules(addresses);
    rules.insert(rules.end(), more.begin(), more.end());
    return rules;
}

void appendRules(std::string& s, const std::vector<std::string>& rules)
{
    for (const auto& rule : rules) {
        s += "-A ";
        s += rule;
        s += '\n';
    }
}

} // namespace

std::string dnsChain(const std::string& interfaceToSkip, bool open)
{
    // Declaring the chain empties it, so one load replaces its rules. Open,
    // it is empty and queries go on to the rules after the jumps.
    std::string s = std::string(":") + kDnsChain + " - [0:0]\n";
    if (!open) {
        const std::string rule = std::string("-A ") + kDnsChain;
        s += rule + " -o lo -j RETURN\n";
        if (!interfaceToSkip.empty())
            s += rule + " -o " + interfaceToSkip + " -j RETURN\n";
        s += rule + " -j DROP\n";
    }
    return s;
}

std::string blockIPv4(const std::string& interfaceToSkip, const std::vector<std::string>& addresses,
                      bool dnsOpen)
{
    std::string s = kHeader;
    s.reserve(512 + addresses.size() * 64);
    s += kRestoreStart;
    s += dnsChain(interfaceToSkip, dnsOpen);
    appendRules(s, interfaceRules(interfaceToSkip));
    for (const char* jump : kDnsJumps) {
        s += std::string("-A ") + jump + "\n";
    }
    appendRules(s, addressRules(addresses));
    s += "#other drop\n";
    s += ":INPUT DROP [0:0]\n";
    s += ":OUTPUT DROP [0:0]\n";
    s += ":FORWARD DROP [0:0]\n";
    s += kRestoreEnd;
    return s;
}

std::string changeIPv4(const std::string& loadedInterface, const std::vector<std::string>& loadedAddresses,
                       const std::string& interfaceToSkip, const std::vector<std::string>& addresses,
                       bool dnsOpen, bool openDns)
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
    if (openDns) {
        // A connection to a server not yet on the list opens DNS for its
        // start: one load rather than two.
        rules = dnsChain(interfaceToSkip, true) + rules;
        for (const char* rule : kDnsRules)
            rules += std::string("-A ") + rule + "\n";
    } else if (rules.empty()) {
        return {};
    } else if (interfaceToSkip != loadedInterface) {
        // The new tunnel's own queries are no leak: the chain lets them pass
        // in the same load that accepts the new interface.
        rules = dnsChain(interfaceToSkip, dnsOpen) + rules;
    }
    return kHeader + std::string(kRestoreStart) + rules + kRestoreEnd;
}

std::string restoreIPv4(const std::string& interfaceToSkip, const std::vector<std::string>& addresses,
                        bool dnsOpened, bool localDevicesAllowed)
{
    // The block script's rules, but as a table that replaces the current one.
    std::string s = blockIPv4(interfaceToSkip, addresses, dnsOpened);
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
    // Declared first, so that deleting it cannot fail when it is missing.
    s += std::string(":") + kDnsChain + " - [0:0]\n";
    s += "-F\n";
    s += std::string("-X ") + kDnsChain + "\n";
    s += ":INPUT ACCEPT [0:0]\n";
    s += ":FORWARD ACCEPT [0:0]\n";
    s += ":OUTPUT ACCEPT [0:0]\n";
    s += kRestoreEnd;
    return s;
}

std::string dns(bool block, const std::string& interfaceToSkip)
{
    std::string s = kHeader;
    if (!block) {
        s += "# Enable DNS\n";
        s += kRestoreStart;
        s += dnsChain(interfaceToSkip, true);
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
    // One load closes the chain and takes the accept rules out together.
    s += kOneLoadStart;
    s += dnsChain(interfaceToSkip, false);
    for (const char* rule : kDnsRules)
        s += std::string("-D ") + rule + "\n";
    s += kRestoreEnd;
    // Some rule was gone already, so that load changed nothing. The chain
    // drops the queries first; the accept rules behind it then go, so no
    // query slips out between the two steps.
    s += "iptables-restore -w --noflush <<'RULES' || exit 1\n*filter\n";
    s += dnsChain(interfaceToSkip, false);
    s += kRestoreEnd;
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
    s += kOneLoadStart;
    for (const char* rule : kLanRules)
        s += std::string("-D ") + rule + "\n";
    s += kRestoreEnd;
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
