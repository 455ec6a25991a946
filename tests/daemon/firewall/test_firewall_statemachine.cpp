#include "fakerunner.h"
#include "firewall.h"
#include "firewallscripts.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Lines = std::vector<std::string>;

class FireWallStateMachine : public ::testing::Test
{
protected:
    TempDir dir;
    std::shared_ptr<FakeRunner> runner = std::make_shared<FakeRunner>();
    std::unique_ptr<FireWall> fw = make();

    std::unique_ptr<FireWall> make() { return std::make_unique<FireWall>(dir.path(), runner, false); }
    Lines lines() const { return runner->lines(dir.path()); }
    std::string scriptRun(const std::string& name) const
    {
        for (const auto& c : runner->commands) {
            if (c.line == "sh " + dir.path() + name)
                return c.input;
        }
        return {};
    }
    bool on(const std::string& ips, bool kill, bool v6, bool local, bool dns)
    {
        fw->setInterfaceToSkip("tun0");
        return fw->firewallOn(ips, kill, v6, local, dns);
    }
};

} // namespace

TEST_F(FireWallStateMachine, FirstOnWithAllFlagsRunsEachStepInOrder)
{
    EXPECT_TRUE(on("192.0.2.10;192.0.2.11", true, true, true, true));
    EXPECT_EQ(lines(), (Lines{
                           "iptables-save -t filter > D/iptables.rules.tmp",
                           "sh D/fw.sh",
                           "sh D/fw_local_devs.sh",
                           "ip6tables-save -t filter > D/ip6tables.rules.tmp",
                           "ip6tables-restore -w < D/fw_v6.sh",
                       }));
    EXPECT_NE(scriptRun("/fw.sh").find("-A OUTPUT -d 192.0.2.11 -j ACCEPT\n"), std::string::npos);
    EXPECT_NE(scriptRun("/fw.sh").find("-A INPUT -i tun0 -j ACCEPT\n"), std::string::npos);
    // The block itself goes on with DNS closed outside the tunnel.
    EXPECT_NE(scriptRun("/fw.sh").find("-A KESTROVA-DNS -j DROP\n"), std::string::npos);
    EXPECT_NE(scriptRun("/fw_local_devs.sh").find("-A INPUT -s 192.168.0.0/16"), std::string::npos);
    EXPECT_EQ(runner->commands.back().input, FirewallScripts::ipv6(true));

    const FirewallState st = fw->state();
    EXPECT_TRUE(st.ipv4Blocked && st.ipv6Blocked && st.localDevicesAllowed && st.dnsBlocked);
    EXPECT_FALSE(st.dnsOpened);

    // The directory and its files are root's alone.
    struct stat s;
    ASSERT_EQ(stat((dir / "fw.sh").c_str(), &s), 0);
    EXPECT_EQ(s.st_mode & 0777, 0600u);
}

TEST_F(FireWallStateMachine, CreatesItsFolderPrivate)
{
    const std::string sub = dir / "kestrova";
    FireWall other(sub, runner, false);
    struct stat s;
    ASSERT_EQ(stat(sub.c_str(), &s), 0);
    EXPECT_EQ(s.st_mode & 0777, 0700u);
}

TEST_F(FireWallStateMachine, DnsRulesAreWhatEachCommandAskedWhateverCameBefore)
{
    // A fresh daemon: the block goes on with DNS closed, then opens it.
    EXPECT_TRUE(on("192.0.2.10", true, false, false, false));
    // The tunnel carries no IPv6, so the kill switch blocks it even when the
    // separate IPv6 choice is off.
    EXPECT_EQ(lines(), (Lines{"iptables-save -t filter > D/iptables.rules.tmp", "sh D/fw.sh",
                              "sh D/fw_dns.sh", "ip6tables-save -t filter > D/ip6tables.rules.tmp",
                              "ip6tables-restore -w < D/fw_v6.sh"}));
    EXPECT_NE(scriptRun("/fw_dns.sh").find("# Enable DNS"), std::string::npos);
    EXPECT_TRUE(fw->state().dnsOpened);
    EXPECT_TRUE(fw->state().ipv6Blocked);

    // Every sequence of on, change and off ends with the rules the last
    // command asked for.
    struct Step
    {
        bool kill;
        bool blockDns;
        bool scriptRuns;
    };
    const Step steps[] = {{true, true, true},   {false, false, false}, {true, false, true},
                          {true, false, false}, {false, true, false},  {true, true, false},
                          {true, false, true},  {true, true, true}};
    for (const Step& step : steps) {
        runner->commands.clear();
        EXPECT_TRUE(on("192.0.2.10", step.kill, false, false, step.blockDns));
        const FirewallState st = fw->state();
        EXPECT_EQ(st.dnsOpened, step.kill && !step.blockDns) << step.kill << step.blockDns;
        EXPECT_EQ(st.dnsBlocked, step.kill && step.blockDns) << step.kill << step.blockDns;
        EXPECT_EQ(scriptRun("/fw_dns.sh").empty(), !step.scriptRuns) << step.kill << step.blockDns;
    }
}

TEST_F(FireWallStateMachine, OffRestoresBothSavedRuleSetsAndRunsNoScript)
{
    ASSERT_TRUE(on("192.0.2.10", true, true, true, true));
    runner->commands.clear();
    EXPECT_TRUE(fw->firewallOff());
    EXPECT_EQ(lines(), (Lines{"iptables-restore -w -T filter < D/iptables.rules",
                              "ip6tables-restore -w -T filter < D/ip6tables.rules"}));
    const FirewallState st = fw->state();
    EXPECT_FALSE(st.ipv4Blocked || st.ipv6Blocked || st.localDevicesAllowed || st.dnsOpened);
    // Off forgets the DNS choice too: the next on starts from nothing.
    EXPECT_FALSE(st.dnsBlocked);

    runner->commands.clear();
    EXPECT_TRUE(fw->firewallOff());
    EXPECT_TRUE(lines().empty());
}

TEST_F(FireWallStateMachine, IPv6OnlyIgnoresDnsAndLanWhileIPv4IsOpen)
{
    EXPECT_TRUE(on("192.0.2.10", false, true, true, true));
    EXPECT_EQ(lines(), (Lines{"ip6tables-save -t filter > D/ip6tables.rules.tmp",
                              "ip6tables-restore -w < D/fw_v6.sh"}));
    EXPECT_FALSE(fw->state().localDevicesAllowed);
    EXPECT_FALSE(fw->state().dnsBlocked);
}

TEST_F(FireWallStateMachine, ChangedListWhileOnLoadsOnlyTheDifference)
{
    ASSERT_TRUE(on("192.0.2.10;192.0.2.11", true, false, false, false));
    runner->commands.clear();
    EXPECT_TRUE(on("192.0.2.11;192.0.2.12", true, false, false, false));
    EXPECT_EQ(lines(), Lines{"sh D/fw_change.sh"});
    const std::string change = runner->commands[0].input;
    EXPECT_NE(change.find("--noflush"), std::string::npos);
    EXPECT_NE(change.find("-A OUTPUT -d 192.0.2.12 -j ACCEPT\n-A INPUT -s 192.0.2.12 -j ACCEPT\n"),
              std::string::npos);
    EXPECT_NE(change.find("-D OUTPUT -d 192.0.2.10 -j ACCEPT\n"), std::string::npos);
    EXPECT_NE(change.find("-D INPUT -s 192.0.2.10 -j ACCEPT\n"), std::string::npos);
    EXPECT_EQ(change.find("192.0.2.11"), std::string::npos);
    EXPECT_EQ(change.find("lo"), std::string::npos);
    EXPECT_EQ(fw->state().addresses, (Lines{"192.0.2.11", "192.0.2.12"}));
    // What the package's removal reads describes the rules now in force.
    EXPECT_EQ(FakeRunner::read(dir / "fw.sh"),
              FirewallScripts::blockIPv4("tun0", {"192.0.2.11", "192.0.2.12"}, true));

    // The same addresses in another order: nothing to load.
    runner->commands.clear();
    EXPECT_TRUE(on("192.0.2.12;192.0.2.11", true, false, false, false));
    EXPECT_TRUE(lines().empty());
    runner->failures["fw_change.sh"] = 1;
    EXPECT_FALSE(on("192.0.2.13", true, false, false, false));
    EXPECT_EQ(fw->state().addresses, (Lines{"192.0.2.12", "192.0.2.11"}));
}

TEST_F(FireWallStateMachine, NewServerWithDnsOpenedForItsStartIsOneLoad)
{
    // Connected before, DNS closed; the next connection goes to a server not
    // on the list yet, and its start needs DNS.
    ASSERT_TRUE(on("192.0.2.10", true, false, false, true));
    runner->commands.clear();
    EXPECT_TRUE(on("192.0.2.10;192.0.2.20", true, false, false, false));
    EXPECT_EQ(lines(), Lines{"sh D/fw_change.sh"});
    const std::string change = runner->commands[0].input;
    EXPECT_NE(change.find("-A OUTPUT -d 192.0.2.20 -j ACCEPT\n"), std::string::npos);
    EXPECT_NE(change.find(":KESTROVA-DNS - [0:0]\n"), std::string::npos);
    EXPECT_EQ(change.find("-A KESTROVA-DNS -j DROP"), std::string::npos);
    EXPECT_NE(change.find("-A OUTPUT -p udp --dport 53 -j ACCEPT\n"), std::string::npos);
    EXPECT_TRUE(fw->state().dnsOpened);
    // The package's removal finds the opened rules where it looks for them.
    EXPECT_EQ(FakeRunner::read(dir / "fw_dns.sh"), FirewallScripts::dns(false, "tun0"));

    // Closing again once connected is one load of its own, as before.
    runner->commands.clear();
    EXPECT_TRUE(on("192.0.2.10;192.0.2.20", true, false, false, true));
    EXPECT_EQ(lines(), Lines{"sh D/fw_dns.sh"});
    EXPECT_FALSE(fw->state().dnsOpened);

    // A failed load is reported and keeps the list it had; the same command
    // again loads the new one.
    runner->failures["fw_change.sh"] = 1;
    EXPECT_FALSE(on("192.0.2.30", true, false, false, false));
    runner->failures.clear();
    EXPECT_EQ(fw->state().addresses, (Lines{"192.0.2.10", "192.0.2.20"}));
    EXPECT_TRUE(on("192.0.2.30", true, false, false, false));
    EXPECT_TRUE(fw->state().dnsOpened);
}

TEST_F(FireWallStateMachine, InvalidInputRefusesTheWholeCommand)
{
    EXPECT_FALSE(on("192.0.2.10;192.0.2.300", true, true, true, true));
    fw->setInterfaceToSkip("tun0;reboot");
    EXPECT_FALSE(fw->firewallChange("192.0.2.10", true, true, false, false));
    EXPECT_TRUE(runner->commands.empty());
    EXPECT_FALSE(fw->state().ipv4Blocked);
    // Off needs no input and still works.
    EXPECT_TRUE(fw->firewallOff());
}

TEST_F(FireWallStateMachine, ListStartingWithSeparatorYieldsOnlyRealAddresses)
{
    ASSERT_TRUE(on(";192.0.2.10;;", true, false, false, false));
    const std::string script = scriptRun("/fw.sh");
    EXPECT_EQ(script.find("-d  "), std::string::npos);
    EXPECT_NE(script.find("-A OUTPUT -d 192.0.2.10 -j ACCEPT\n-A INPUT -s 192.0.2.10 -j ACCEPT\n"),
              std::string::npos);
}

TEST_F(FireWallStateMachine, FailedLoadRepliesFalseAndIsRetried)
{
    runner->failures["fw.sh"] = 1;
    EXPECT_FALSE(on("192.0.2.10", true, false, false, false));
    EXPECT_FALSE(fw->state().ipv4Blocked);

    runner->failures.clear();
    runner->commands.clear();
    EXPECT_TRUE(on("192.0.2.10", true, false, false, true));
    EXPECT_EQ(lines(), (Lines{"iptables-save -t filter > D/iptables.rules.tmp", "sh D/fw.sh",
                              "ip6tables-save -t filter > D/ip6tables.rules.tmp",
                              "ip6tables-restore -w < D/fw_v6.sh"}));
    EXPECT_TRUE(fw->state().ipv4Blocked);
}

TEST_F(FireWallStateMachine, FailedSaveKeepsTheBlockOffAndTheOldSavedRules)
{
    runner->outputs["iptables-save"] = "*filter\n-A INPUT -s 198.51.100.99 -j DROP\nCOMMIT\n";
    ASSERT_TRUE(on("192.0.2.10", true, false, false, false));
    ASSERT_TRUE(fw->firewallOff());
    runner->failures["iptables-save"] = 4;
    runner->commands.clear();
    EXPECT_FALSE(on("192.0.2.10", true, false, false, false));
    EXPECT_EQ(lines(), Lines{"iptables-save -t filter > D/iptables.rules.tmp"});
    EXPECT_NE(FakeRunner::read(dir / "iptables.rules").find("198.51.100.99"), std::string::npos);
}

TEST_F(FireWallStateMachine, SavedSetWithoutFilterTableStillClearsTheBlock)
{
    // A machine that never loaded a rule saves nothing at all.
    runner->outputs["iptables-save"] = "";
    ASSERT_TRUE(on("192.0.2.10", true, false, false, false));
    EXPECT_EQ(FakeRunner::read(dir / "iptables.rules"), FirewallScripts::acceptFilterTable());
}

TEST_F(FireWallStateMachine, OffFallsBackToClearingWhenTheSavedRulesDoNotLoad)
{
    ASSERT_TRUE(on("192.0.2.10", true, true, false, false));
    runner->failures["iptables-restore -w -T filter < " + dir.path() + "/iptables.rules"] = 1;
    runner->commands.clear();
    EXPECT_FALSE(fw->firewallOff());
    EXPECT_EQ(lines(), (Lines{"iptables-restore -w -T filter < D/iptables.rules", "sh D/fwoff.sh",
                              "ip6tables-restore -w -T filter < D/ip6tables.rules"}));
    EXPECT_FALSE(fw->state().ipv4Blocked);
    EXPECT_FALSE(fw->state().ipv6Blocked);
}

TEST_F(FireWallStateMachine, DnsScriptFailureKeepsTheRecordedChoice)
{
    ASSERT_TRUE(on("192.0.2.10", true, false, false, false));
    runner->failures["fw_dns.sh"] = 1;
    EXPECT_FALSE(on("192.0.2.10", true, false, false, true));
    EXPECT_FALSE(fw->state().dnsBlocked);
}

TEST_F(FireWallStateMachine, ResetClearsBothFamiliesAndKeepsTheFlags)
{
    fw->reset();
    EXPECT_EQ(lines(), (Lines{"sh D/fwoff.sh", "ip6tables-restore -w < D/fwoff_v6.sh"}));
    EXPECT_EQ(runner->commands[1].input, FirewallScripts::ipv6(false));
}

TEST_F(FireWallStateMachine, ReplacementWorkerPutsTheKillSwitchBackWithoutOpeningOrSavingAgain)
{
    ASSERT_TRUE(on("192.0.2.10;198.51.100.0/24", true, true, true, true));
    ASSERT_TRUE(on("192.0.2.10;198.51.100.0/24", true, true, true, false)); // opens DNS
    const std::string savedUserRules = FakeRunner::read(dir / "iptables.rules");

    // The worker dies; its successor starts with every flag off. Its reset
    // leaves the old rules alone, and the restore replaces them in one load
    // per family, so there is no moment without a kill switch.
    fw = make();
    runner->commands.clear();
    fw->reset();
    EXPECT_TRUE(lines().empty());
    ASSERT_TRUE(fw->restoreSavedState());
    EXPECT_EQ(lines(), (Lines{"sh D/fw_restore.sh", "ip6tables-restore -w < D/fw_v6.sh"}));
    EXPECT_EQ(runner->commands[0].input,
              FirewallScripts::restoreIPv4("tun0", {"192.0.2.10", "198.51.100.0/24"}, true, true));
    EXPECT_EQ(FakeRunner::read(dir / "iptables.rules"), savedUserRules);

    const FirewallState st = fw->state();
    EXPECT_TRUE(st.ipv4Blocked && st.ipv6Blocked && st.localDevicesAllowed && st.dnsOpened);
    EXPECT_FALSE(st.dnsBlocked);

    // Off from the new worker gives the user's rules back.
    runner->commands.clear();
    EXPECT_TRUE(fw->firewallOff());
    EXPECT_EQ(lines(), (Lines{"iptables-restore -w -T filter < D/iptables.rules",
                              "ip6tables-restore -w -T filter < D/ip6tables.rules"}));
}

TEST_F(FireWallStateMachine, AfterAFailedRestoreTheNextCommandClearsFirstAndAnswersHonestly)
{
    ASSERT_TRUE(on("192.0.2.10", true, false, false, false));
    fw = make();
    runner->commands.clear();
    runner->failures["fw_restore.sh"] = 1;
    fw->reset();
    EXPECT_FALSE(fw->restoreSavedState());
    // Nothing cleared the previous worker's IPv4 rules; IPv6, blocked with
    // the kill switch, is blocked again.
    EXPECT_EQ(lines(), (Lines{"sh D/fw_restore.sh", "ip6tables-restore -w < D/fw_v6.sh"}));

    // Neither the user's rules nor the clear load: the machine may still be
    // blocked, and off says so.
    runner->failures = {{"iptables-restore -w -T filter", 1}, {"fwoff.sh", 1}};
    EXPECT_FALSE(fw->firewallOff());

    runner->failures.clear();
    runner->commands.clear();
    EXPECT_TRUE(fw->firewallOff());
    EXPECT_EQ(lines(), (Lines{"iptables-restore -w -T filter < D/iptables.rules",
                              "ip6tables-restore -w -T filter < D/ip6tables.rules"}));
    EXPECT_FALSE(fw->state().ipv4Blocked);
}

TEST_F(FireWallStateMachine, DamagedStateKeepsTheRulesUntilACommandClearsThem)
{
    ASSERT_TRUE(on("192.0.2.10", true, true, false, false));
    std::ofstream(fw->stateFile()) << "kestrova-firewall-state 1\nipv4Blocked 1\n";
    fw = make();
    runner->commands.clear();
    fw->reset();
    EXPECT_FALSE(fw->restoreSavedState());
    EXPECT_TRUE(lines().empty()) << "closed rather than open on a state nobody can read";

    // The user's saved rules replace whatever is left, then the block goes on.
    EXPECT_TRUE(on("192.0.2.11", true, false, false, true));
    EXPECT_EQ(lines(), (Lines{"iptables-restore -w -T filter < D/iptables.rules",
                              "ip6tables-restore -w -T filter < D/ip6tables.rules",
                              "iptables-save -t filter > D/iptables.rules.tmp", "sh D/fw.sh",
                              "ip6tables-save -t filter > D/ip6tables.rules.tmp",
                              "ip6tables-restore -w < D/fw_v6.sh"}));
    EXPECT_EQ(fw->state().addresses, Lines{"192.0.2.11"});
}

TEST_F(FireWallStateMachine, FreshDaemonForgetsTheKillSwitch)
{
    ASSERT_TRUE(on("192.0.2.10", true, true, false, false));
    fw = make();
    runner->commands.clear();
    fw->reset();
    fw->forgetSavedState();
    EXPECT_EQ(lines(), (Lines{"sh D/fwoff.sh", "ip6tables-restore -w < D/fwoff_v6.sh"}));
    runner->commands.clear();
    EXPECT_TRUE(fw->restoreSavedState());
    EXPECT_TRUE(lines().empty());
    EXPECT_FALSE(fw->state().ipv4Blocked);
}

TEST_F(FireWallStateMachine, NothingToRestoreAfterOffOrOnADamagedState)
{
    ASSERT_TRUE(on("192.0.2.10", true, false, false, false));
    ASSERT_TRUE(fw->firewallOff());
    fw = make();
    runner->commands.clear();
    EXPECT_TRUE(fw->restoreSavedState());
    EXPECT_TRUE(lines().empty());

    std::ofstream(fw->stateFile()) << "kestrova-firewall-state 1\nipv4Blocked 1\n";
    EXPECT_FALSE(fw->restoreSavedState());
    EXPECT_TRUE(lines().empty());
}
