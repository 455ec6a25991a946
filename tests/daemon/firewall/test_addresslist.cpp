#include "addresslist.h"
#include "firewallstate.h"

#include <gtest/gtest.h>

using Addresses = std::vector<std::string>;

TEST(AddressList, KeepsOrderAndWritesCanonicalForm)
{
    EXPECT_EQ(AddressList::parse("192.0.2.10;198.51.100.0/24;203.0.113.7/32;198.51.100.0/08"),
              (Addresses{"192.0.2.10", "198.51.100.0/24", "203.0.113.7/32", "198.51.100.0/8"}));
    EXPECT_EQ(AddressList::parse("0.0.0.0/0"), (Addresses{"0.0.0.0/0"}));
}

TEST(AddressList, SkipsEmptyItemsWhereverTheyAre)
{
    const Addresses one{"192.0.2.10"};
    EXPECT_EQ(AddressList::parse(";192.0.2.10"), one);
    EXPECT_EQ(AddressList::parse("192.0.2.10;"), one);
    EXPECT_EQ(AddressList::parse(";;192.0.2.10;;"), one);
    EXPECT_EQ(AddressList::parse(""), Addresses{});
    EXPECT_EQ(AddressList::parse(";"), Addresses{});
}

TEST(AddressList, RefusesTheWholeListForOneBadItem)
{
    const char* bad[] = {
        "192.0.2.10;999.0.2.1", // octet out of range
        "192.0.2",              // three parts, which inet_aton would take
        "192.0.2.010",          // leading zero, ambiguous octal
        "192.0.2.10/33",
        "192.0.2.10/",
        "/24",
        "192.0.2.10/-1",
        "192.0.2.10/1a",
        "192.0.2.10/100",
        " 192.0.2.10",
        "192.0.2.10 ",     // blanks
        "2001:db8::1",     // not IPv4
        "target.lab.test", // names are not looked up
        "192.0.2.10 -j ACCEPT\n-P OUTPUT ACCEPT",
        "192.0.2.10;$(reboot)",
        "192.0.2.10\n",
        "192.0.2.10/24/8",
    };
    for (const char* item : bad)
        EXPECT_FALSE(AddressList::parse(item).has_value()) << item;
}

TEST(AddressList, InterfaceNames)
{
    for (const char* ok : {"tun0", "wg-home_1.2", "a", "abcdefghijklmno"})
        EXPECT_TRUE(AddressList::isValidInterfaceName(ok)) << ok;
    for (const char* bad :
         {"", "abcdefghijklmnop", "tun 0", "tun0;", "-j", "--flush", "eth+", "tun0\n", "tün"})
        EXPECT_FALSE(AddressList::isValidInterfaceName(bad)) << bad;
}

TEST(FirewallState, RoundTripsAndRejectsDamagedFiles)
{
    FirewallState st;
    st.ipv4Blocked = true;
    st.dnsOpened = true;
    st.interfaceName = "tun0";
    st.addresses = {"192.0.2.10", "198.51.100.0/24"};
    const std::string text = st.serialize();
    ASSERT_EQ(FirewallState::parse(text), st);

    EXPECT_FALSE(FirewallState::parse(""));
    EXPECT_FALSE(FirewallState::parse("something else\n"));
    // Truncated: a line missing.
    EXPECT_FALSE(FirewallState::parse(text.substr(0, text.rfind("addresses"))));
    // Values are checked again as if they came from a client.
    std::string evil = text;
    evil.replace(evil.find("tun0"), 4, "tun0 -j ACCEPT");
    EXPECT_FALSE(FirewallState::parse(evil));
    std::string badFlag = text;
    badFlag.replace(badFlag.find("ipv4Blocked 1"), 13, "ipv4Blocked 2");
    EXPECT_FALSE(FirewallState::parse(badFlag));

    // The owner is kept; files written before it was (as `text`) still load.
    st.owner = 1000;
    const std::string owned = st.serialize();
    ASSERT_EQ(FirewallState::parse(owned), st);
    for (const char* badOwner : {"owner -1\n", "owner 4294967295\n", "owner 1e3\n"})
        EXPECT_FALSE(FirewallState::parse(text + badOwner)) << badOwner;
    EXPECT_FALSE(FirewallState::parse(owned + "owner 0\n")) << "a key twice";
}
