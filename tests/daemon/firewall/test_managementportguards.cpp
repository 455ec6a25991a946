#include "fakerunner.h"
#include "managementportguards.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

class GuardLoads : public ::testing::Test
{
protected:
    TempDir dir;
    std::shared_ptr<FakeRunner> runner = std::make_shared<FakeRunner>();
    ManagementPortGuards guards{runner, dir / "guards"};

    // Reserves `port` for uid 1000 and hands it a live process, as a
    // connect does; returns the programs that took.
    std::vector<RecordedCommand> connect(int port)
    {
        runner->commands.clear();
        std::string why;
        EXPECT_TRUE(guards.reserve(port, 1000, &why)) << why;
        guards.attach(port, 1000, getpid());
        return runner->commands;
    }
};

} // namespace

TEST_F(GuardLoads, EveryConnectIsOneLoadThatKeepsTheJumpSingle)
{
    // No jump yet: taking it out fails the whole load, the next one adds it.
    runner->inputFailures["-D OUTPUT"] = 1;
    const auto first = connect(47001);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[1].line, "iptables-restore -w --noflush < " + dir / "guards.rules");
    EXPECT_EQ(first[1].input.find("-D OUTPUT"), std::string::npos);
    EXPECT_NE(first[1].input.find("-I OUTPUT -o lo -p tcp -j KESTROVA-MGMT\n"), std::string::npos);
    EXPECT_NE(first[1].input.find("--dport 47001"), std::string::npos);

    // A new port on every connect: still one process, and the jump is
    // replaced, never added a second time.
    runner->inputFailures.clear();
    for (int port : {47002, 47003}) {
        const auto next = connect(port);
        ASSERT_EQ(next.size(), 1u) << port;
        EXPECT_EQ(next[0].line.rfind("iptables-restore -w --noflush < ", 0), 0u);
        const std::string& rules = next[0].input;
        const size_t removed = rules.find("-D OUTPUT -o lo -p tcp -j KESTROVA-MGMT\n");
        const size_t added = rules.find("-I OUTPUT -o lo -p tcp -j KESTROVA-MGMT\n");
        ASSERT_NE(removed, std::string::npos);
        EXPECT_GT(added, removed);
        EXPECT_NE(rules.find("--dport 47001"), std::string::npos) << "earlier guards stay";
        EXPECT_NE(
            rules.find("--dport " + std::to_string(port) + " --syn -m owner --uid-owner 1000 -j RETURN"),
            std::string::npos);
    }

    // The same port again for the same user needs no load at all.
    EXPECT_TRUE(connect(47003).empty());
}

TEST_F(GuardLoads, ARefusedLoadRefusesThePort)
{
    runner->failures["iptables-restore"] = 2;
    std::string why;
    EXPECT_FALSE(guards.reserve(47004, 1000, &why));
    EXPECT_EQ(why, "could not close the management port to other users");
    EXPECT_EQ(runner->commands.size(), 2u);
}
