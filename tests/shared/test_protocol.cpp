#include "daemonprotocol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

// The layout is checked at compile time; these cases check what the compiler
// cannot: that writing one field lands on the bytes a peer will read.
namespace {

std::vector<uint8_t> bytesOf(const MessagePacket& p)
{
    std::vector<uint8_t> out(sizeof p);
    std::memcpy(out.data(), &p, sizeof p);
    return out;
}

uint32_t unitAt(const std::vector<uint8_t>& b, size_t offset)
{
    uint32_t u;
    std::memcpy(&u, b.data() + offset, 4);
    return u;
}

} // namespace

TEST(Protocol, FirewallFieldsLandOnTheirOffsets)
{
    auto* p = new MessagePacket{};
    p->command = AA_COMMAND_FIREWALL_ON;
    p->firewall.allowIpList[0] = '1';
    p->firewall.allowIpList[kAllowIpListUnits - 1] = 'z';
    p->firewall.interfaceToSkip[0] = 't';
    p->firewall.params.kill_connect = 1;
    p->firewall.params.block_dns = 1;
    auto b = bytesOf(*p);
    delete p;
    EXPECT_EQ(unitAt(b, 0), 1u);
    EXPECT_EQ(unitAt(b, 4), uint32_t('1'));
    EXPECT_EQ(unitAt(b, 4 + 4 * 10239), uint32_t('z'));
    EXPECT_EQ(unitAt(b, 40964), uint32_t('t'));
    EXPECT_EQ(b[43012], 1);
    EXPECT_EQ(b[43013], 0);
    EXPECT_EQ(b[43016], 1);
}

TEST(Protocol, OddOffsetWideFieldOfTheUpdateCommand)
{
    auto* p = new MessagePacket{};
    p->command = AA_COMMAND_UPDATE_INSTALL;
    p->update.updatePathName[0] = '/';
    p->update.updatePathName[1] = 0x1F600; // one unit, not a surrogate pair
    auto b = bytesOf(*p);
    delete p;
    EXPECT_EQ(b[4], 0);
    EXPECT_EQ(unitAt(b, 5), uint32_t('/'));
    EXPECT_EQ(unitAt(b, 9), 0x1F600u);
}

TEST(Protocol, TimezoneTerminatorIsByte516)
{
    auto* p = new MessagePacket{};
    std::memset(p->timezone.timezoneIANA, 'a', kTimezoneIanaBytes - 1);
    auto b = bytesOf(*p);
    delete p;
    EXPECT_EQ(b[5], 'a');
    EXPECT_EQ(b[515], 'a');
    EXPECT_EQ(b[516], 0);
}
