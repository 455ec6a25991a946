#include "commandfields.h"
#include "support/packetbuilder.h"

#include <gtest/gtest.h>

TEST(CommandFields, FirewallFieldsDecodeAtTheirOffsets)
{
    auto packet = makePacket(AA_COMMAND_FIREWALL_ON);
    putWideAscii(*packet, kAllowIpListOffset, "192.0.2.10;192.0.2.11");
    putWideAscii(*packet, kInterfaceToSkipOffset, "tun0");
    putFlags(*packet, true, false, true, false, true);

    const auto request = decodeFirewallRequest(*packet);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->ips, "192.0.2.10;192.0.2.11");
    EXPECT_EQ(request->interfaceName, "tun0");
    EXPECT_TRUE(request->killConnect);
    EXPECT_FALSE(request->blockIPv6);
    EXPECT_TRUE(request->allowLocal);
    EXPECT_FALSE(request->changeTimezone);
    EXPECT_TRUE(request->blockDNS);
}

TEST(CommandFields, LongestAllowListArrivesWholeAndAFullFieldIsRefused)
{
    auto packet = makePacket(AA_COMMAND_FIREWALL_ON);
    std::string list(kAllowIpListUnits - 1, '1');
    list.back() = '9';
    putWideAscii(*packet, kAllowIpListOffset, list);
    auto request = decodeFirewallRequest(*packet);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->ips.size(), 10239u);
    EXPECT_EQ(request->ips.back(), '9');

    // No terminator anywhere in the field: refused, not read into the next field.
    putWideAscii(*packet, kAllowIpListOffset, std::string(kAllowIpListUnits, '1'));
    EXPECT_FALSE(decodeFirewallRequest(*packet));
}

TEST(CommandFields, WideUnitsKeepTheirLowByteForFirewallText)
{
    auto packet = makePacket(AA_COMMAND_FIREWALL_ON);
    putWide(*packet, kInterfaceToSkipOffset, U"t\u0175n");
    const auto request = decodeFirewallRequest(*packet);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->interfaceName, std::string("t\x75n"));
}

TEST(CommandFields, ZoneOf511BytesIsReadIntact)
{
    auto packet = makePacket(AA_COMMAND_TIMEZONE_CHANGE);
    const std::string zone(511, 'Z');
    putZone(*packet, false, zone);
    const auto request = decodeTimezoneRequest(*packet);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->timezoneIANA, zone);
    EXPECT_FALSE(request->restore);
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(packet.get())[516], 0);

    putZone(*packet, true, std::string(512, 'Z'));
    EXPECT_FALSE(decodeTimezoneRequest(*packet));
}

TEST(CommandFields, UpdatePathIsReadFromTheOddOffset)
{
    auto packet = makePacket(AA_COMMAND_UPDATE_INSTALL);
    putWideAscii(*packet, kUpdatePathNameOffset, "/tmp/kestrova_3.7.0_amd64.deb");
    EXPECT_EQ(decodeUpdatePathName(*packet).value_or(""), "/tmp/kestrova_3.7.0_amd64.deb");

    // The same text at the aligned offset 4 is not what the daemon reads.
    auto aligned = makePacket(AA_COMMAND_UPDATE_INSTALL);
    putWideAscii(*aligned, 4, "/tmp/x.deb");
    EXPECT_NE(decodeUpdatePathName(*aligned).value_or(""), "/tmp/x.deb");
}

TEST(CommandFields, AsciiFieldsRefuseWhatTheConversionCannotCarry)
{
    auto packet = makePacket(AA_COMMAND_RUN_OPENVPN);
    putWide(*packet, kOpenvpnParamsOffset, U"--config \"/tmp/\u00e9\"");
    EXPECT_FALSE(decodeOpenvpnParams(*packet)) << "non-ASCII";

    packet = makePacket(AA_COMMAND_RUN_OPENVPN);
    putWideAscii(*packet, kOpenvpnParamsOffset, std::string(kMaxOpenvpnParamsBytes, 'a'));
    EXPECT_TRUE(decodeOpenvpnParams(*packet));
    putWideAscii(*packet, kOpenvpnParamsOffset, std::string(kMaxOpenvpnParamsBytes + 1, 'a'));
    EXPECT_FALSE(decodeOpenvpnParams(*packet)) << "longer than the daemon converts";

    packet = makePacket(AA_COMMAND_UPDATE_INSTALL);
    putWideAscii(*packet, kUpdatePathNameOffset, "/" + std::string(kMaxUpdatePathBytes, 'a'));
    EXPECT_FALSE(decodeUpdatePathName(*packet));
}
