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
                               "-A FORWARD -i lo -j ACCEPT",
                               "-A INPUT -i lo -j ACCEPT",
                               "-A OUTPUT -o lo -j ACCEPT",
                               "-A FORWARD -i tun0 -j ACCEPT",
                               "-A INPUT -i tun0 -j ACCEPT",
                               "-A OUTPUT -o tun0 -j ACCEPT",
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
    EXPECT_EQ(l.size(), 12u);
    for (const auto& line : l)
        EXPECT_EQ(line.find("-i  "), std::string::npos) << line;
    EXPECT_EQ(l[5], "-A OUTPUT -o lo -j ACCEPT");
    EXPECT_EQ(l[6], "#other drop");
}

TEST(FirewallScripts, UnblockFlushesThenAccepts)
{
    EXPECT_EQ(
        lines(FirewallScripts::unblockIPv4()),
        (Lines{"#!/bin/sh", "exec iptables-restore -w --noflush <<'RULES'", "*filter", "-F",
               ":INPUT ACCEPT [0:0]", ":FORWARD ACCEPT [0:0]", ":OUTPUT ACCEPT [0:0]", "COMMIT", "RULES"}));
}

TEST(FirewallScripts, DnsOpenAndCloseTouchTheSameSixRules)
{
    const Lines open = lines(FirewallScripts::dns(false));
    EXPECT_EQ(open,
              (Lines{
                  "#!/bin/sh",
                  "# Enable DNS",
                  "exec iptables-restore -w --noflush <<'RULES'",
                  "*filter",
                  "#dhcp",
                  "-A OUTPUT -p udp --destination-port 67 -m iprange --src-range 0.0.0.0-255.255.255.255",
                  "-A INPUT -p udp --source-port 68",
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
    const Lines close = lines(FirewallScripts::dns(true));
    ASSERT_GE(close.size(), 2u);
    EXPECT_EQ(close[1], "# Disable DNS");
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
    EXPECT_EQ(FirewallScripts::dns(true).find("#dhcp"), std::string::npos);
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
    EXPECT_EQ(l.size(), 17u + 6 + 2);

    const std::string bare = FirewallScripts::restoreIPv4("", {}, false, false);
    EXPECT_EQ(bare.find("dport 53"), std::string::npos);
    EXPECT_EQ(bare.find("192.168."), std::string::npos);
}
