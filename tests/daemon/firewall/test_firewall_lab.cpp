// The kill switch against real iptables and ip6tables, and real traffic to the
// lab's hosts. Runs only inside the lab's client namespace (see in_lab.sh).
#include "daemonprotocol.h"
#include "firewall.h"
#include "firewallrunner.h"
#include "firewallscripts.h"
#include "labnet.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Lines = std::vector<std::string>;

const char* const kAllowed = "203.0.113.10";
const char* const kOther = "203.0.113.11";
const char* const kResolver = "203.0.113.53";
const char* const kTarget6 = "2001:db8:2::10";

// Back to an empty filter table with ACCEPT policies in both families.
void clearRules()
{
    const std::string empty = FirewallScripts::acceptFilterTable();
    LabNet::run({"iptables-restore"}, empty);
    LabNet::run({"ip6tables-restore"}, empty);
}

Lines rules(const char* program = "iptables")
{
    return LabNet::output({program, "-S"});
}

// The user's own rules, which the kill switch must give back.
const char* const kUserRule =
    "-A OUTPUT -d 203.0.113.11/32 -p tcp -m tcp --dport 8080 -j REJECT --reject-with icmp-port-unreachable";
const char* const kUserRule6 = "-A INPUT -s 2001:db8:2::99/128 -j DROP";

class KillSwitchLab : public ::testing::Test
{
protected:
    TempDir dir;
    std::shared_ptr<SystemFirewallRunner> runner = std::make_shared<SystemFirewallRunner>();
    std::unique_ptr<FireWall> fw = std::make_unique<FireWall>(dir.path(), runner, false);

    void SetUp() override { clearRules(); }
    void TearDown() override { clearRules(); }

    void addUserRules()
    {
        ASSERT_TRUE(LabNet::run(
            {"iptables", "-A", "OUTPUT", "-d", kOther, "-p", "tcp", "--dport", "8080", "-j", "REJECT"}));
        ASSERT_TRUE(LabNet::run({"ip6tables", "-A", "INPUT", "-s", "2001:db8:2::99", "-j", "DROP"}));
    }
    bool on(const std::string& ips, bool kill, bool v6, bool local, bool dns)
    {
        fw->setInterfaceToSkip("tun0");
        return fw->firewallChange(ips, kill, v6, local, dns);
    }
};

bool contains(const Lines& l, const std::string& s)
{
    return std::find(l.begin(), l.end(), s) != l.end();
}

// Puts stand-ins for iptables and iptables-restore first in PATH that note
// each start and run the real program: what one kill-switch step costs.
class ProgramCount
{
public:
    ProgramCount()
    {
        for (const char* name : {"iptables", "iptables-restore"}) {
            const std::string path = dir / name;
            std::ofstream(path) << "#!/bin/sh\necho " << name << " >>" << (dir / "log") << "\nexec /usr/sbin/"
                                << name << " \"$@\"\n";
            chmod(path.c_str(), 0755);
        }
        const char* path = getenv("PATH");
        oldPath = path ? path : "";
        setenv("PATH", (dir.path() + ":" + oldPath).c_str(), 1);
    }
    ~ProgramCount() { setenv("PATH", oldPath.c_str(), 1); }
    // The programs started since the last call.
    Lines take()
    {
        Lines started;
        std::ifstream in(dir / "log");
        for (std::string line; std::getline(in, line);)
            started.push_back(line);
        unlink((dir / "log").c_str());
        return started;
    }

private:
    TempDir dir;
    std::string oldPath;
};

} // namespace

TEST_F(KillSwitchLab, RuleSetAfterEachTransition)
{
    addUserRules();
    const Lines user4 = rules();
    const Lines user6 = rules("ip6tables");
    ASSERT_TRUE(contains(user4, kUserRule));

    // First on with every flag: DNS leaves only through loopback and the
    // tunnel, ahead of every allowed address and the LAN.
    const std::string allowed = std::string(kAllowed) + ";198.51.100.0/25";
    ASSERT_TRUE(on(allowed, true, true, true, true));
    const Lines expectedOn{
        "-P INPUT DROP",
        "-P FORWARD DROP",
        "-P OUTPUT DROP",
        "-N KESTROVA-DNS",
        "-A INPUT -i lo -j ACCEPT",
        "-A INPUT -i tun0 -j ACCEPT",
        "-A INPUT -s 203.0.113.10/32 -j ACCEPT",
        "-A INPUT -s 198.51.100.0/25 -j ACCEPT",
        "-A INPUT -s 192.168.0.0/16 -j ACCEPT",
        "-A FORWARD -i lo -j ACCEPT",
        "-A FORWARD -i tun0 -j ACCEPT",
        kUserRule,
        "-A OUTPUT -o lo -j ACCEPT",
        "-A OUTPUT -o tun0 -j ACCEPT",
        "-A OUTPUT -p udp -m udp --dport 53 -j KESTROVA-DNS",
        "-A OUTPUT -p tcp -m tcp --dport 53 -j KESTROVA-DNS",
        "-A OUTPUT -d 203.0.113.10/32 -j ACCEPT",
        "-A OUTPUT -d 198.51.100.0/25 -j ACCEPT",
        "-A OUTPUT -d 192.168.0.0/16 -j ACCEPT",
        "-A KESTROVA-DNS -o lo -j RETURN",
        "-A KESTROVA-DNS -o tun0 -j RETURN",
        "-A KESTROVA-DNS -j DROP",
    };
    EXPECT_EQ(rules(), expectedOn);
    EXPECT_EQ(rules("ip6tables"), (Lines{"-P INPUT DROP", "-P FORWARD DROP", "-P OUTPUT DROP"}));

    // DNS opened: the DNS chain empties, the DHCP and port-53 rules accept.
    ASSERT_TRUE(on(allowed, true, true, true, false));
    const Lines withDns = rules();
    EXPECT_TRUE(contains(withDns, "-A OUTPUT -p udp -m udp --sport 68 --dport 67 -j ACCEPT"));
    EXPECT_TRUE(contains(withDns, "-A INPUT -p udp -m udp --sport 67 --dport 68 -j ACCEPT"));
    EXPECT_TRUE(contains(withDns, "-A OUTPUT -p tcp -m tcp --dport 53 -j ACCEPT"));
    EXPECT_TRUE(contains(withDns, "-A INPUT -p udp -m udp --sport 53 -j ACCEPT"));
    EXPECT_FALSE(contains(withDns, "-A KESTROVA-DNS -j DROP"));
    EXPECT_EQ(withDns.size(), expectedOn.size() + 6 - 3);

    // DNS closed again, as after every connect: the first set, in one load.
    ProgramCount count;
    ASSERT_TRUE(on(allowed, true, true, true, true));
    EXPECT_EQ(count.take(), Lines{"iptables-restore"});
    EXPECT_EQ(rules(), expectedOn);
    // With an accept rule already gone by other hands, it still closes.
    ASSERT_TRUE(on(allowed, true, true, true, false));
    ASSERT_TRUE(LabNet::run({"iptables", "-D", "OUTPUT", "-p", "tcp", "--dport", "53", "-j", "ACCEPT"}));
    ASSERT_TRUE(on(allowed, true, true, true, true));
    EXPECT_EQ(rules(), expectedOn);
    count.take(); // the test's own iptables above

    // LAN off: back to the first set without the LAN rules.
    ASSERT_TRUE(on(allowed, true, true, false, true));
    EXPECT_EQ(count.take(), Lines{"iptables-restore"});
    Lines withoutLan = expectedOn;
    withoutLan.erase(
        std::remove_if(withoutLan.begin(), withoutLan.end(),
                       [](const std::string& l) { return l.find("192.168.") != std::string::npos; }),
        withoutLan.end());
    EXPECT_EQ(rules(), withoutLan);

    // A server not on the list, with DNS opened for its start: one load.
    count.take(); // the test's own iptables -S above
    ASSERT_TRUE(on(allowed + ";192.0.2.30", true, true, false, false));
    EXPECT_EQ(count.take(), Lines{"iptables-restore"});
    const Lines newServer = rules();
    EXPECT_TRUE(contains(newServer, "-A OUTPUT -d 192.0.2.30/32 -j ACCEPT"));
    EXPECT_TRUE(contains(newServer, "-A INPUT -s 192.0.2.30/32 -j ACCEPT"));
    EXPECT_TRUE(contains(newServer, "-A OUTPUT -p tcp -m tcp --dport 53 -j ACCEPT"));
    EXPECT_TRUE(contains(newServer, "-A OUTPUT -p udp -m udp --sport 68 --dport 67 -j ACCEPT"));
    EXPECT_FALSE(contains(newServer, "-A KESTROVA-DNS -j DROP"));
    EXPECT_EQ(newServer.size(), withoutLan.size() + 2 + 6 - 3);

    // Off: exactly the user's own rules in both families.
    ASSERT_TRUE(fw->firewallOff());
    EXPECT_EQ(rules(), user4);
    EXPECT_EQ(rules("ip6tables"), user6);
    EXPECT_TRUE(contains(rules("ip6tables"), kUserRule6));
}

TEST_F(KillSwitchLab, IPv6OnlyBlockLeavesIPv4Alone)
{
    ASSERT_TRUE(on(kAllowed, false, true, true, true));
    EXPECT_EQ(rules(), (Lines{"-P INPUT ACCEPT", "-P FORWARD ACCEPT", "-P OUTPUT ACCEPT"}));
    EXPECT_FALSE(LabNet::tcpConnects(kTarget6, 7));
    EXPECT_TRUE(LabNet::tcpConnects(kOther, 7));
    ASSERT_TRUE(fw->firewallOff());
    EXPECT_TRUE(LabNet::tcpConnects(kTarget6, 7));
}

TEST_F(KillSwitchLab, TrafficFollowsTheKillSwitch)
{
    // Before: everything answers.
    ASSERT_TRUE(LabNet::tcpConnects(kOther, 7)) << "lab target host not reachable; is the lab up?";
    ASSERT_TRUE(LabNet::dnsAnswers(kResolver, "target.lab.test"));
    ASSERT_TRUE(LabNet::tcpConnects(kTarget6, 7));
    addUserRules();

    ASSERT_TRUE(on(kAllowed, true, true, false, true));
    // The allowed host over TCP, UDP and ICMP.
    EXPECT_TRUE(LabNet::tcpConnects(kAllowed, 7));
    EXPECT_TRUE(LabNet::tcpConnects(kAllowed, 8080));
    EXPECT_TRUE(LabNet::udpEchoes(kAllowed, 7));
    EXPECT_TRUE(LabNet::pingAnswers(kAllowed));
    // Any other host not at all.
    EXPECT_FALSE(LabNet::tcpConnects(kOther, 7));
    EXPECT_FALSE(LabNet::udpEchoes(kOther, 7));
    EXPECT_FALSE(LabNet::pingAnswers(kOther));
    EXPECT_FALSE(LabNet::dnsAnswers(kResolver, "target.lab.test"));
    EXPECT_FALSE(LabNet::tcpConnects(kTarget6, 7));
    EXPECT_FALSE(LabNet::pingAnswers(kTarget6));

    // DNS allowed: the resolver answers, other hosts stay closed.
    ASSERT_TRUE(on(kAllowed, true, true, false, false));
    EXPECT_TRUE(LabNet::dnsAnswers(kResolver, "target.lab.test"));
    EXPECT_FALSE(LabNet::tcpConnects(kOther, 7));
    EXPECT_FALSE(LabNet::tcpConnects(kTarget6, 7));

    ASSERT_TRUE(on(kAllowed, true, true, false, true));
    EXPECT_FALSE(LabNet::dnsAnswers(kResolver, "target.lab.test"));

    // Off: open again, with the user's own rule back in force.
    ASSERT_TRUE(fw->firewallOff());
    EXPECT_TRUE(LabNet::tcpConnects(kOther, 7));
    EXPECT_TRUE(LabNet::udpEchoes(kOther, 7));
    EXPECT_TRUE(LabNet::dnsAnswers(kResolver, "target.lab.test"));
    EXPECT_TRUE(LabNet::tcpConnects(kTarget6, 7));
    EXPECT_FALSE(LabNet::tcpConnects(kOther, 8080)) << "the user's REJECT rule is gone";

    // An address the kill switch lets through, a VPN server's or the LAN's
    // alike (both are accepted after the DNS chain), is no way around the
    // DNS block with "allow LAN" on: its port 53 stays closed.
    const std::string withResolver = std::string(kAllowed) + ";" + kResolver;
    ASSERT_TRUE(on(withResolver, true, true, true, true));
    EXPECT_FALSE(LabNet::dnsAnswers(kResolver, "target.lab.test"));
    EXPECT_TRUE(LabNet::tcpConnects(kAllowed, 7));
    ASSERT_TRUE(on(withResolver, true, true, true, false));
    EXPECT_TRUE(LabNet::dnsAnswers(kResolver, "target.lab.test"));
    ASSERT_TRUE(fw->firewallOff());
}

TEST_F(KillSwitchLab, ReplacementWorkerRestoresTheSameRules)
{
    addUserRules();
    const Lines user4 = rules();
    ASSERT_TRUE(on(kAllowed, true, true, true, false));
    ASSERT_TRUE(on(kAllowed, true, true, true, true));
    ASSERT_TRUE(on(kAllowed, true, true, true, false));
    const Lines before = rules();
    const Lines before6 = rules("ip6tables");

    fw = std::make_unique<FireWall>(dir.path(), runner, false);
    fw->reset();
    EXPECT_FALSE(LabNet::tcpConnects(kOther, 7)) << "the machine opened between two workers";
    ASSERT_TRUE(fw->restoreSavedState());
    // The user's rule is not among the restored ones (the new table replaced
    // it; it comes back with off); everything else is the same set of rules as before (the order of
    // ACCEPT rules does not matter).
    Lines expected = before;
    expected.erase(std::find(expected.begin(), expected.end(), std::string(kUserRule)));
    Lines now = rules();
    std::sort(expected.begin(), expected.end());
    std::sort(now.begin(), now.end());
    EXPECT_EQ(now, expected);
    EXPECT_EQ(rules("ip6tables"), before6);
    EXPECT_FALSE(LabNet::tcpConnects(kOther, 7));

    // Off from the new worker gives the user's rules back.
    ASSERT_TRUE(fw->firewallOff());
    EXPECT_EQ(rules(), user4);
}

TEST_F(KillSwitchLab, FreshDaemonClearsWhatAnEarlierRunLeft)
{
    addUserRules();
    ASSERT_TRUE(on(kAllowed, true, true, false, true));
    fw = std::make_unique<FireWall>(dir.path(), runner, false);
    fw->reset();
    fw->forgetSavedState();
    EXPECT_EQ(rules(), (Lines{"-P INPUT ACCEPT", "-P FORWARD ACCEPT", "-P OUTPUT ACCEPT"}));
    EXPECT_EQ(rules("ip6tables"), (Lines{"-P INPUT ACCEPT", "-P FORWARD ACCEPT", "-P OUTPUT ACCEPT"}));
    EXPECT_TRUE(LabNet::tcpConnects(kOther, 7));
}

TEST_F(KillSwitchLab, LargeAddressListLoadsInOneGo)
{
    std::string ips;
    for (int i = 0; i < 2000; ++i)
        ips += "198.18." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1) + ";";
    ips += kAllowed;
    ASSERT_TRUE(on(ips, true, false, false, true));
    // Policies, loopback, tunnel, the DNS chain with its jumps, addresses.
    EXPECT_EQ(rules().size(), 3u + 3 + 3 + 6 + 2 * 2001);
    EXPECT_TRUE(LabNet::tcpConnects(kAllowed, 7));
}

// A worker of the real daemon killed while the kill switch is on: its
// replacement keeps the rules in force.
namespace {

bool sendCommand(const MessagePacket& packet, MessageReply& reply)
{
    int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(kDaemonPort);
    inet_pton(AF_INET, "127.0.0.1", &sa.sin_addr);
    timeval tv{5, 0};
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    bool ok = connect(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
    const auto* bytes = reinterpret_cast<const char*>(&packet);
    size_t sent = 0;
    while (ok && sent < sizeof packet) {
        ssize_t n = send(s, bytes + sent, sizeof packet - sent, MSG_NOSIGNAL);
        ok = n > 0;
        sent += ok ? static_cast<size_t>(n) : 0;
    }
    std::memset(&reply, 0, sizeof reply);
    ok = ok && recv(s, &reply, sizeof reply, MSG_WAITALL) == static_cast<ssize_t>(sizeof reply);
    close(s);
    return ok;
}

void putWide(WideUnit* field, const std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i)
        field[i] = static_cast<unsigned char>(text[i]);
}

std::vector<pid_t> childrenOf(pid_t parent)
{
    std::vector<pid_t> out;
    DIR* d = opendir("/proc");
    while (dirent* e = d ? readdir(d) : nullptr) {
        const pid_t pid = static_cast<pid_t>(atoi(e->d_name));
        if (pid <= 0)
            continue;
        std::ifstream stat("/proc/" + std::string(e->d_name) + "/stat");
        std::string line;
        std::getline(stat, line);
        const size_t close = line.rfind(')');
        if (close == std::string::npos)
            continue;
        char state;
        int ppid = 0;
        if (sscanf(line.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == parent && state != 'Z')
            out.push_back(pid);
    }
    if (d)
        closedir(d);
    return out;
}

template <typename F> bool waitFor(F condition, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

} // namespace

TEST(KillSwitchDaemon, KilledWorkerKeepsTheKillSwitch)
{
    const char* daemon = getenv("KESTROVAD");
    if (!daemon || !*daemon || access(daemon, X_OK) != 0)
        GTEST_SKIP() << "kestrovad is not built in this tree yet; this test needs the daemon's target";
    clearRules();

    MessagePacket packet;
    std::memset(&packet, 0, sizeof packet);
    packet.command = AA_COMMAND_FIREWALL_ON;
    putWide(packet.firewall.allowIpList, kAllowed);
    putWide(packet.firewall.interfaceToSkip, "tun0");
    packet.firewall.params.kill_connect = 1;
    packet.firewall.params.block_ipv6 = 1;
    packet.firewall.params.block_dns = 1;

    // Started by a living parent (not process 1), or it would not serve; its
    // output must not hold our pipe open.
    ASSERT_TRUE(LabNet::run({"sh", "-c", "exec \"$0\" </dev/null >/dev/null 2>&1", daemon}));
    pid_t monitor = 0;
    ASSERT_TRUE(waitFor(
        [&] {
            std::ifstream f("/var/run/kestrovad_child.pid");
            return static_cast<bool>(f >> monitor) && monitor > 0;
        },
        5000));
    auto stopDaemon = [&] {
        kill(monitor, SIGTERM);
        waitFor([&] { return kill(monitor, 0) != 0; }, 5000);
        clearRules();
    };

    MessageReply reply;
    const bool sent = waitFor([&] { return sendCommand(packet, reply); }, 5000);
    if (!sent || reply.result != 1) {
        stopDaemon();
        FAIL() << "the daemon did not accept the kill switch";
    }
    EXPECT_FALSE(LabNet::tcpConnects(kOther, 7));
    const Lines before = rules();

    const std::vector<pid_t> workers = childrenOf(monitor);
    ASSERT_EQ(workers.size(), 1u);
    kill(workers[0], SIGKILL);
    const bool replaced = waitFor(
        [&] {
            auto now = childrenOf(monitor);
            return now.size() == 1 && now[0] != workers[0];
        },
        5000);
    EXPECT_TRUE(replaced);
    // The new worker answers once it has set the rules up again.
    MessagePacket supported;
    std::memset(&supported, 0, sizeof supported);
    supported.command = AA_COMMAND_FIREWALL_SUPPORTED;
    EXPECT_TRUE(waitFor([&] { return sendCommand(supported, reply) && reply.result == 1; }, 5000));
    EXPECT_EQ(rules(), before);
    EXPECT_FALSE(LabNet::tcpConnects(kOther, 7));
    EXPECT_TRUE(LabNet::tcpConnects(kAllowed, 7));

    MessagePacket off;
    std::memset(&off, 0, sizeof off);
    off.command = AA_COMMAND_FIREWALL_OFF;
    EXPECT_TRUE(sendCommand(off, reply) && reply.result == 1);
    EXPECT_TRUE(LabNet::tcpConnects(kOther, 7));
    stopDaemon();
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Never load a rule in the host's own namespace: that would cut the
    // network of everyone on this machine.
    if (!LabNet::inLabClientNamespace()) {
        fprintf(stderr, "refusing to run: not inside the lab namespace kv-client (use in_lab.sh)\n");
        return 1;
    }
    std::string error;
    if (!LabNet::mountPrivateFolders(&error)) {
        fprintf(stderr, "refusing to run: %s (run in a private mount namespace)\n", error.c_str());
        return 1;
    }
    return RUN_ALL_TESTS();
}
