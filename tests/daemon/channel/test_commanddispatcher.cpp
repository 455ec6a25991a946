#include "commanddispatcher.h"
#include "daemonservices.h"
#include "support/packetbuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>
#include <vector>

using ::testing::_;
using ::testing::Return;
using ::testing::StrictMock;

namespace {

class MockServices : public DaemonServices
{
public:
    MOCK_METHOD(void, setInterfaceToSkip, (const std::string&), (override));
    MOCK_METHOD(bool, firewallOn, (const std::string&, bool, bool, bool, bool, uid_t), (override));
    MOCK_METHOD(bool, firewallChange, (const std::string&, bool, bool, bool, bool, uid_t), (override));
    MOCK_METHOD(bool, firewallOff, (), (override));
    MOCK_METHOD(std::optional<uid_t>, firewallOwner, (), (override));
    MOCK_METHOD(void, setFirewallOwner, (uid_t), (override));
    MOCK_METHOD(std::optional<uid_t>, activeSessionUser, (), (override));
    MOCK_METHOD(std::set<uid_t>, tunnelOwners, (), (override));
    MOCK_METHOD(bool, stopTunnels, (uid_t), (override));
    MOCK_METHOD(bool, timezoneSupported, (), (override));
    MOCK_METHOD(bool, timezoneRestore, (), (override));
    MOCK_METHOD(bool, timezoneChange, (const std::string&), (override));
    MOCK_METHOD(std::optional<std::string>, readProfile, (const OpenvpnOptions&, uid_t, std::string*),
                (override));
    MOCK_METHOD(bool, runOpenvpn, (const OpenvpnOptions&, const std::string&, uid_t, std::string*),
                (override));
    MOCK_METHOD(void, releaseListeningSocket, (), (override));
    MOCK_METHOD(std::optional<std::string>, stageUpdate, (const std::string&, uid_t), (override));
    MOCK_METHOD(bool, startUpdate, (const std::string&), (override));
};

// Group table for the access rules: which uids are in which group.
AccessPolicy policyWith(bool kestrovaGroupExists)
{
    return AccessPolicy([kestrovaGroupExists](uid_t uid, const std::string& group) -> std::optional<bool> {
        if (group == "kestrova") {
            if (!kestrovaGroupExists) {
                return std::nullopt;
            }
            return uid == 1000;
        }
        if (group == "sudo") {
            return uid == 1001;
        }
        return std::nullopt;
    });
}

bool allZero(const MessageReply& reply)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&reply);
    for (size_t i = 0; i < sizeof(reply); ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

class DispatcherTest : public ::testing::Test
{
protected:
    DispatcherTest()
    {
        EXPECT_CALL(services, firewallOwner()).WillRepeatedly(Return(std::nullopt));
        EXPECT_CALL(services, activeSessionUser()).WillRepeatedly(Return(std::nullopt));
        EXPECT_CALL(services, tunnelOwners()).WillRepeatedly(Return(std::set<uid_t>{}));
    }
    MessageReply send(const MessagePacket& packet, std::optional<uid_t> uid = 0)
    {
        return dispatcher.processMessagePacket(packet, uid);
    }
    StrictMock<MockServices> services;
    CommandDispatcher dispatcher{services, policyWith(false)};
};

} // namespace

TEST_F(DispatcherTest, UnknownCommandsGetNineZeroBytesAndTouchNothing)
{
    for (int32_t command : {0, 4, 11, -1, 1000000}) {
        EXPECT_TRUE(allZero(send(*makePacket(command)))) << command;
    }
}

TEST_F(DispatcherTest, ConstantAndSupportQueriesAnswerWhileAChangeHoldsTheLock)
{
    EXPECT_CALL(services, timezoneSupported()).WillOnce(Return(false)).WillOnce(Return(true));
    {
        // A firewall load or a timezone change in progress on another thread.
        std::unique_lock<std::mutex> busy(dispatcher.stateLock());
        auto queries = std::async(std::launch::async, [this] {
            return std::vector<int32_t>{send(*makePacket(AA_COMMAND_FIREWALL_SUPPORTED)).result,
                                        send(*makePacket(AA_COMMAND_FIREWALL_ENABLE_ON_START)).result,
                                        send(*makePacket(AA_COMMAND_TIMEZONE_CHANGE_SUPPORTED)).result};
        });
        const bool answered = queries.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
        busy.unlock();
        EXPECT_TRUE(answered) << "a query waited for the change to finish";
        EXPECT_EQ(queries.get(), (std::vector<int32_t>{1, 1, 0}));
    }
    MessageReply reply = send(*makePacket(AA_COMMAND_TIMEZONE_CHANGE_SUPPORTED));
    EXPECT_EQ(reply.result, 1);
    reply.result = 0;
    EXPECT_TRUE(allZero(reply)) << "reserved bytes stay zero";
}

TEST_F(DispatcherTest, FirewallOnAndChangePassFieldsInFlagOrderAndReplyTheResult)
{
    auto packet = makePacket(AA_COMMAND_FIREWALL_ON);
    putWideAscii(*packet, kAllowIpListOffset, "192.0.2.10;192.0.2.11");
    putWideAscii(*packet, kInterfaceToSkipOffset, "tun0");
    putFlags(*packet, true, false, true, true, false);
    {
        ::testing::InSequence order;
        EXPECT_CALL(services, setInterfaceToSkip("tun0"));
        EXPECT_CALL(services, firewallOn("192.0.2.10;192.0.2.11", true, false, true, false, 0u))
            .WillOnce(Return(true));
        EXPECT_CALL(services, setInterfaceToSkip("tun0"));
        EXPECT_CALL(services, firewallChange("192.0.2.10;192.0.2.11", true, false, true, false, 0u))
            .WillOnce(Return(false));
    }
    EXPECT_EQ(send(*packet).result, 1);
    packet->command = AA_COMMAND_FIREWALL_CHANGE;
    EXPECT_EQ(send(*packet).result, 0) << "a failing firewall is not reported as success";
}

TEST_F(DispatcherTest, FirewallRefusesBadInterfaceAndUnterminatedFields)
{
    auto packet = makePacket(AA_COMMAND_FIREWALL_ON);
    putWideAscii(*packet, kInterfaceToSkipOffset, "tun0; iptables -F");
    EXPECT_EQ(send(*packet).result, 0);

    packet = makePacket(AA_COMMAND_FIREWALL_CHANGE);
    putWideAscii(*packet, kInterfaceToSkipOffset, std::string(kInterfaceToSkipUnits, 't'));
    EXPECT_EQ(send(*packet).result, 0);
}

TEST(DispatcherOwnership, RootActsOnAUsersKillSwitchWithoutTakingItTheUserInFrontTakesIt)
{
    StrictMock<MockServices> services;
    CommandDispatcher dispatcher{services, policyWith(false)};
    EXPECT_CALL(services, firewallOwner()).WillRepeatedly(Return(std::optional<uid_t>(1001)));
    EXPECT_CALL(services, activeSessionUser()).WillRepeatedly(Return(std::optional<uid_t>(1000)));
    EXPECT_CALL(services, setInterfaceToSkip("tun0")).Times(2);
    EXPECT_CALL(services, firewallChange("", true, false, false, false, _))
        .Times(2)
        .WillRepeatedly(Return(true));
    auto packet = makePacket(AA_COMMAND_FIREWALL_CHANGE);
    putWideAscii(*packet, kInterfaceToSkipOffset, "tun0");
    putFlags(*packet, true, false, false, false, false);

    // Root's change leaves the kill switch with its owner (no setFirewallOwner).
    EXPECT_EQ(dispatcher.processMessagePacket(*packet, 0u).result, 1);
    EXPECT_CALL(services, setFirewallOwner(1000u));
    EXPECT_EQ(dispatcher.processMessagePacket(*packet, 1000u).result, 1);
    // A third account is refused before anything is touched.
    EXPECT_EQ(dispatcher.processMessagePacket(*packet, 1002u).result, 0);
    EXPECT_EQ(dispatcher.processMessagePacket(*makePacket(AA_COMMAND_FIREWALL_OFF), 1002u).result, 0);
}

TEST(DispatcherOwnership, AnotherAccountsTunnelEndsOnlyForTheUserInFront)
{
    StrictMock<MockServices> services;
    CommandDispatcher dispatcher{services, policyWith(false)};
    EXPECT_CALL(services, tunnelOwners()).WillRepeatedly(Return(std::set<uid_t>{1001}));
    EXPECT_CALL(services, activeSessionUser()).WillRepeatedly(Return(std::optional<uid_t>(1000)));
    EXPECT_CALL(services, readProfile(_, _, _)).WillRepeatedly(Return(std::optional<std::string>("client")));
    auto packet = makePacket(AA_COMMAND_RUN_OPENVPN);
    putWideAscii(*packet, kOpenvpnParamsOffset, clientOptions("/home/u/Kestrova.ovpn", 41000));

    EXPECT_EQ(dispatcher.processMessagePacket(*packet, 1002u).result, 0) << "a third account";
    EXPECT_CALL(services, runOpenvpn(_, _, 1001u, _)).WillOnce(Return(true));
    EXPECT_EQ(dispatcher.processMessagePacket(*packet, 1001u).result, 1) << "the owner again";
    EXPECT_CALL(services, runOpenvpn(_, _, 0u, _)).WillOnce(Return(true));
    EXPECT_EQ(dispatcher.processMessagePacket(*packet, 0u).result, 1) << "root joins, ending nothing";
    {
        ::testing::InSequence order;
        EXPECT_CALL(services, stopTunnels(1001u)).WillOnce(Return(false));
        EXPECT_CALL(services, stopTunnels(1001u)).WillOnce(Return(true));
        EXPECT_CALL(services, runOpenvpn(_, _, 1000u, _)).WillOnce(Return(true));
    }
    EXPECT_EQ(dispatcher.processMessagePacket(*packet, 1000u).result, 0) << "a tunnel that would not end";
    EXPECT_EQ(dispatcher.processMessagePacket(*packet, 1000u).result, 1);
}

TEST_F(DispatcherTest, FirewallOffRepliesItsResult)
{
    EXPECT_CALL(services, firewallOff()).WillOnce(Return(true));
    EXPECT_EQ(send(*makePacket(AA_COMMAND_FIREWALL_OFF)).result, 1);
}

TEST_F(DispatcherTest, TimezoneChangeAndRestoreReplyTheSupportedFlag)
{
    auto packet = makePacket(AA_COMMAND_TIMEZONE_CHANGE);
    putZone(*packet, false, "Europe/Berlin");
    EXPECT_CALL(services, timezoneChange("Europe/Berlin")).WillOnce(Return(true));
    EXPECT_EQ(send(*packet).result, 1);

    packet = makePacket(AA_COMMAND_TIMEZONE_CHANGE);
    putZone(*packet, true, "ignored");
    EXPECT_CALL(services, timezoneRestore()).WillOnce(Return(false));
    EXPECT_CALL(services, timezoneSupported()).WillOnce(Return(true));
    EXPECT_EQ(send(*packet).result, 1);
}

TEST_F(DispatcherTest, RunOpenvpnOnlyWithTheClientsOptionsAndRepliesWhetherItStarted)
{
    auto packet = makePacket(AA_COMMAND_RUN_OPENVPN);
    putWideAscii(*packet, kOpenvpnParamsOffset, clientOptions("/tmp/Kestrova.abc123", 41000));
    EXPECT_CALL(services, readProfile(_, 1000u, _))
        .WillOnce([](const OpenvpnOptions& options, uid_t, std::string*) {
            EXPECT_EQ(options.configPath, "/tmp/Kestrova.abc123");
            EXPECT_EQ(options.managementPort, 41000);
            return std::optional<std::string>("client");
        })
        .WillOnce(Return(std::optional<std::string>("client")))
        .WillOnce(Return(std::nullopt));
    EXPECT_CALL(services, runOpenvpn(_, "client", 1000u, _)).WillOnce(Return(true)).WillOnce(Return(false));
    EXPECT_EQ(send(*packet, 1000).result, 1);
    EXPECT_EQ(send(*packet, 1000).result, 0);
    EXPECT_EQ(send(*packet, 1000).result, 0) << "a refused profile starts nothing";

    packet = makePacket(AA_COMMAND_RUN_OPENVPN);
    putWideAscii(*packet, kOpenvpnParamsOffset, clientOptions("/tmp/p", 41000) + " --up /tmp/x");
    EXPECT_EQ(send(*packet).result, 0) << "refused before anything runs";
}

TEST_F(DispatcherTest, UpdateSwitchesOffAndReleasesOnlyForAnAcceptedPackage)
{
    auto packet = makePacket(AA_COMMAND_UPDATE_INSTALL);
    putWideAscii(*packet, kUpdatePathNameOffset, "/tmp/kestrova.deb");
    {
        ::testing::InSequence order;
        EXPECT_CALL(services, stageUpdate("/tmp/kestrova.deb", 0u)).WillOnce(Return("/staged/1"));
        EXPECT_CALL(services, startUpdate("/staged/1")).WillOnce(Return(true));
        EXPECT_CALL(services, firewallOff()).WillOnce(Return(true));
        EXPECT_CALL(services, releaseListeningSocket());
        // A refused package, or a job that cannot be scheduled, leaves the
        // kill switch on and the port served.
        EXPECT_CALL(services, stageUpdate("/tmp/kestrova.deb", 0u)).WillOnce(Return(std::nullopt));
        EXPECT_CALL(services, stageUpdate("/tmp/kestrova.deb", 0u)).WillOnce(Return("/staged/2"));
        EXPECT_CALL(services, startUpdate("/staged/2")).WillOnce(Return(false));
    }
    EXPECT_EQ(send(*packet).result, 1);
    EXPECT_EQ(send(*packet).result, 0);
    EXPECT_EQ(send(*packet).result, 0);

    packet = makePacket(AA_COMMAND_UPDATE_INSTALL);
    putWideAscii(*packet, kUpdatePathNameOffset, "relative/x.deb");
    EXPECT_EQ(send(*packet).result, 0) << "refused without releasing anything";
}

TEST(DispatcherAccess, UnknownSenderIsRefused)
{
    StrictMock<MockServices> services;
    CommandDispatcher dispatcher(services, policyWith(false));
    EXPECT_TRUE(
        allZero(dispatcher.processMessagePacket(*makePacket(AA_COMMAND_FIREWALL_SUPPORTED), std::nullopt)));
}

TEST(DispatcherAccess, KestrovaGroupLimitsWhoIsServed)
{
    StrictMock<MockServices> services;
    CommandDispatcher open(services, policyWith(false));
    EXPECT_EQ(open.processMessagePacket(*makePacket(AA_COMMAND_FIREWALL_SUPPORTED), 1234).result, 1);

    CommandDispatcher limited(services, policyWith(true));
    EXPECT_EQ(limited.processMessagePacket(*makePacket(AA_COMMAND_FIREWALL_SUPPORTED), 1234).result, 0);
    EXPECT_EQ(limited.processMessagePacket(*makePacket(AA_COMMAND_FIREWALL_SUPPORTED), 1000).result, 1);
    EXPECT_EQ(limited.processMessagePacket(*makePacket(AA_COMMAND_FIREWALL_SUPPORTED), 0).result, 1);
}

TEST(DispatcherAccess, UpdateOnlyForRootAndSudoMembers)
{
    StrictMock<MockServices> services;
    CommandDispatcher dispatcher(services, policyWith(false));
    auto packet = makePacket(AA_COMMAND_UPDATE_INSTALL);
    putWideAscii(*packet, kUpdatePathNameOffset, "/tmp/kestrova.deb");
    EXPECT_EQ(dispatcher.processMessagePacket(*packet, 1000).result, 0) << "not in sudo: nothing is called";

    EXPECT_CALL(services, firewallOff()).WillOnce(Return(true));
    EXPECT_CALL(services, releaseListeningSocket());
    EXPECT_CALL(services, stageUpdate(_, 1001u)).WillOnce(Return("/staged/1"));
    EXPECT_CALL(services, startUpdate("/staged/1")).WillOnce(Return(true));
    EXPECT_EQ(dispatcher.processMessagePacket(*packet, 1001).result, 1);
}
