#include "firewallscripts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(FirewallScripts, BlockIsOneRestoreLoadInTheOrderOfTheRules)
{
    const std::string text = FirewallScripts::blockIPv4("tun0", {"192.0.2.10", "198.51.100.0/24"});
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(lines(text), (Lines{
                               "#!/bin/sh",
                               "exec iptables-restore -w --noflush <<'RULES'",
                               "*filter",
                               ":KESTROVA-DNS - [0:0]",
                               "-A KESTROVA-DNS -o lo -j RETURN",
                               "-A KESTROVA-DNS -o tun0 -j RETURN",
                               "-A KESTROVA-DNS -j DROP",
                               "-A FORWARD -i lo -j ACCEPT",
                               "-A INPUT -i lo -j ACCEPT",
                               "-A OUTPUT -o lo -j ACCEPT",
                               "-A FORWARD -i tun0 -j ACCEPT",
                               "-A INPUT -i tun0 -j ACCEPT",
                               "-A OUTPUT -o tun0 -j ACCEPT",
                               "-A OUTPUT -p udp --dport 53 -j KESTROVA-DNS",
                               "-A OUTPUT -p tcp --dport 53 -j KESTROVA-DNS",
                               "-A OUTPUT -d 192.0.2.10 -j ACCEPT",
                               "-A INPUT -s 192.0.2.10 -j ACCEPT",
                               "-A OUTPUT -d 198.51.100.0/24 -j ACCEPT",
                               "-A INPUT -s 198.51.100.0/24 -j ACCEPT",
                               "#other drop",
                               ":INPUT DROP [0:0]",
                               ":OUTPUT DROP [0:0]",
                               ":FORWARD DROP [0:0]",
                               "COMMIT",
                               "RULES",
                           }));
}

TEST(FirewallScripts, EmptyInterfaceLeavesOutItsThreeRules)
{
    const auto l = lines(FirewallScripts::blockIPv4("", {}));
    EXPECT_EQ(l.size(), 17u);
    for (const auto& line : l) {
        EXPECT_EQ(line.find("-i  "), std::string::npos) << line;
        EXPECT_EQ(line.find("-o  "), std::string::npos) << line;
    }
    EXPECT_EQ(l[5], "-A KESTROVA-DNS -j DROP");
    EXPECT_EQ(l[8], "-A OUTPUT -o lo -j ACCEPT");
    EXPECT_EQ(l[11], "#other drop");
}

TEST(FirewallScripts, UnblockFlushesThenAccepts)
{
    EXPECT_EQ(lines(FirewallScripts::unblockIPv4()),
              (Lines{"#!/bin/sh", "exec iptables-restore -w --noflush <<'RULES'", "*filter",
                     ":KESTROVA-DNS - [0:0]", "-F", "-X KESTROVA-DNS", ":INPUT ACCEPT [0:0]",
                     ":FORWARD ACCEPT [0:0]", ":OUTPUT ACCEPT [0:0]", "COMMIT", "RULES"}));
}

TEST(FirewallScripts, DnsOpenAndCloseTouchTheSameSixRules)
{
    const Lines open = lines(FirewallScripts::dns(false, "tun0"));
    EXPECT_EQ(open, (Lines{
                        "#!/bin/sh",
                        "# Enable DNS",
                        "exec iptables-restore -w --noflush <<'RULES'",
                        "*filter",
                        ":KESTROVA-DNS - [0:0]",
                        "#dhcp",
                        "-A OUTPUT -p udp --sport 68 --dport 67 -j ACCEPT",
                        "-A INPUT -p udp --sport 67 --dport 68 -j ACCEPT",
                        "# dns server ports ##",
                        "-A OUTPUT -p udp --dport 53 -j ACCEPT",
                        "-A INPUT -p udp --sport 53 -j ACCEPT",
                        "-A OUTPUT -p tcp --dport 53 -j ACCEPT",
                        "-A INPUT -p tcp --sport 53 -j ACCEPT",
                        "COMMIT",
                        "RULES",
                    }));
    // Closing removes exactly what opening added, tolerating rules that are
    // not there (the first close after an on command).
    const Lines close = lines(FirewallScripts::dns(true, "tun0"));
    ASSERT_GE(close.size(), 9u);
    EXPECT_EQ(close[1], "# Disable DNS");
    // The chain drops queries outside the tunnel before the accept rules go.
    EXPECT_EQ(Lines(close.begin() + 4, close.begin() + 8),
              (Lines{":KESTROVA-DNS - [0:0]", "-A KESTROVA-DNS -o lo -j RETURN",
                     "-A KESTROVA-DNS -o tun0 -j RETURN", "-A KESTROVA-DNS -j DROP"}));
    // Normally that is one load that also takes out all six accept rules.
    Lines deleted(close.begin() + 8, close.begin() + 14);
    for (auto& l : deleted)
        l.replace(0, 3, "remove ");
    Lines removed;
    for (const auto& l : close) {
        if (l.rfind("remove ", 0) == 0)
            removed.push_back(l);
    }
    Lines expected;
    for (const auto& l : open) {
        if (l.rfind("-A ", 0) == 0)
            expected.push_back("remove " + l.substr(3) + " || exit 1");
    }
    EXPECT_EQ(removed, expected);
    for (auto& l : expected)
        l.erase(l.size() - 10);
    EXPECT_EQ(deleted, expected);
    EXPECT_EQ(close[14], "COMMIT");
    EXPECT_EQ(FirewallScripts::dns(true, "tun0").find("#dhcp"), std::string::npos);
}

TEST(FirewallScripts, LocalDevices)
{
    const Lines allow = lines(FirewallScripts::localDevices(true));
    EXPECT_EQ(allow[1], "# Enable access traffic to the LAN network");
    EXPECT_EQ(allow[4], "-A INPUT -s 192.168.0.0/16 -j ACCEPT");
    EXPECT_EQ(allow[5], "-A OUTPUT -d 192.168.0.0/16 -j ACCEPT");
    const std::string deny = FirewallScripts::localDevices(false);
    EXPECT_NE(deny.find("# Disable access traffic to LAN network\n"), std::string::npos);
    EXPECT_NE(deny.find("remove INPUT -s 192.168.0.0/16 -j ACCEPT || exit 1\n"), std::string::npos);
    EXPECT_NE(deny.find("remove OUTPUT -d 192.168.0.0/16 -j ACCEPT || exit 1\n"), std::string::npos);
}

TEST(FirewallScripts, IPv6Tables)
{
    EXPECT_EQ(FirewallScripts::ipv6(true),
              "*filter\n\n:INPUT DROP [0:0]\n:FORWARD DROP [0:0]\n:OUTPUT DROP [0:0]\n\nCOMMIT\n");
    EXPECT_EQ(FirewallScripts::ipv6(false),
              "*filter\n\n:INPUT ACCEPT [0:0]\n:FORWARD ACCEPT [0:0]\n:OUTPUT ACCEPT [0:0]\n\nCOMMIT\n");
}

TEST(FirewallScripts, RestoreReplacesTheTableWithTheWholeKillSwitch)
{
    const Lines l = lines(FirewallScripts::restoreIPv4("tun0", {"192.0.2.10"}, true, true));
    EXPECT_EQ(l[1], "exec iptables-restore -w <<'RULES'");
    const auto at = [&](const std::string& line) { return std::find(l.begin(), l.end(), line) - l.begin(); };
    EXPECT_LT(at("-A INPUT -s 192.0.2.10 -j ACCEPT"), at("-A OUTPUT -p udp --dport 53 -j ACCEPT"));
    EXPECT_LT(at("-A INPUT -p tcp --sport 53 -j ACCEPT"), at("-A INPUT -s 192.168.0.0/16 -j ACCEPT"));
    EXPECT_LT(at("-A OUTPUT -d 192.168.0.0/16 -j ACCEPT"), at(":INPUT DROP [0:0]"));
    EXPECT_EQ(l.size(), 20u + 6 + 2);
    EXPECT_EQ(at("-A KESTROVA-DNS -j DROP"), static_cast<long>(l.size())) << "opened DNS stays open";

    const std::string bare = FirewallScripts::restoreIPv4("", {}, false, false);
    EXPECT_EQ(bare.find("dport 53 -j ACCEPT"), std::string::npos);
    EXPECT_NE(bare.find("-A KESTROVA-DNS -j DROP"), std::string::npos) << "closed DNS stays closed";
    EXPECT_EQ(bare.find("192.168."), std::string::npos);
}

TEST(FirewallScripts, ANewTunnelInterfaceKeepsItsOwnDnsQueriesInTheSameLoad)
{
    const Lines l = lines(FirewallScripts::changeIPv4("tun0", {"192.0.2.10"}, "tun1", {"192.0.2.10"}, false));
    const auto at = [&](const std::string& line) { return std::find(l.begin(), l.end(), line) - l.begin(); };
    EXPECT_LT(at("-A KESTROVA-DNS -o tun1 -j RETURN"), at("COMMIT"));
    EXPECT_EQ(at("-A KESTROVA-DNS -o tun0 -j RETURN"), static_cast<long>(l.size()));
    EXPECT_LT(at("-A OUTPUT -o tun1 -j ACCEPT"), at("COMMIT"));
    EXPECT_EQ(FirewallScripts::changeIPv4("tun0", {"192.0.2.10"}, "tun0", {"192.0.2.11"}, false)
                  .find("KESTROVA-DNS"),
              std::string::npos)
        << "the same interface leaves the chain alone";
}
