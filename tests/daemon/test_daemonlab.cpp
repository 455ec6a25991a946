// The real kestrovad, run inside private namespaces (see daemonharness.h).
#include "support/daemonharness.h"
#include "support/packetbuilder.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace harness;

namespace {

std::string daemonProgram;

// A stand-in for openvpn in this namespace: records its arguments.
const char* kFakeOpenvpn = "#!/bin/sh\necho \"$@\" > /tmp/openvpn-args\n";

const char* kProfile = "client\r\ndev tun\r\nproto udp\r\nremote 192.0.2.10 1194 udp\r\nnobind\r\n"
                       "<ca>\r\nMIIB\r\n</ca>\r\n<cert>\r\nMIIC\r\n</cert>\r\n<key>\r\nMIIE\r\n</key>\r\n";

// A stand-in for openvpn that opens its management port, as root, greets
// whoever connects, and records its pid.
const char* kListeningOpenvpn = "#!/usr/bin/python3\n"
                                "import os, socket, sys\n"
                                "port = int(sys.argv[sys.argv.index('--management') + 2])\n"
                                "open('/tmp/openvpn-%d.pid' % port, 'w').write(str(os.getpid()))\n"
                                "s = socket.socket()\n"
                                "s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)\n"
                                "s.bind(('127.0.0.1', port))\n"
                                "s.listen(8)\n"
                                "while True:\n"
                                "    c, _ = s.accept()\n"
                                "    c.sendall(b'>INFO:OpenVPN Management Interface\\r\\n')\n"
                                "    c.close()\n";

bool isZeroReply(const std::optional<MessageReply>& reply)
{
    if (!reply) {
        return false;
    }
    MessageReply zero;
    std::memset(&zero, 0, sizeof(zero));
    return std::memcmp(&*reply, &zero, sizeof(zero)) == 0;
}

int resultOf(const std::optional<MessageReply>& reply)
{
    return reply ? reply->result : -1;
}

void writeText(const std::string& path, const std::string& text, mode_t mode = 0644)
{
    FILE* file = fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr) << path;
    fputs(text.c_str(), file);
    fclose(file);
    chmod(path.c_str(), mode);
}

std::string commandOutput(const char* command)
{
    std::string text;
    FILE* pipe = popen(command, "r");
    char buffer[512];
    while (pipe != nullptr && fgets(buffer, sizeof(buffer), pipe) != nullptr) {
        text += buffer;
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    return text;
}

// Whether `uid` gets the management greeting on 127.0.0.1:port within a second.
bool managementAnswers(uid_t uid, int port)
{
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(uid) != 0) {
            _exit(2);
        }
        const int sock = socket(AF_INET, SOCK_STREAM, 0);
        timeval timeout = {1, 0};
        setsockopt(sock, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
        setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
        char greeting[6] = {};
        const bool ok = connect(sock, reinterpret_cast<sockaddr*>(&to), sizeof(to)) == 0 &&
                        recv(sock, greeting, 5, MSG_WAITALL) == 5 && std::string(greeting) == ">INFO";
        _exit(ok ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class DaemonLab : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(daemon.start()) << log(); }
    void TearDown() override { daemon.stop(); }
    Daemon daemon{daemonProgram};
};

} // namespace

TEST_F(DaemonLab, AnswersEveryCommandAndZeroesUnknownOnes)
{
    auto firewall = makePacket(AA_COMMAND_FIREWALL_ON);
    putWideAscii(*firewall, kAllowIpListOffset, "192.0.2.10");
    putWideAscii(*firewall, kInterfaceToSkipOffset, "tun0");
    putFlags(*firewall, true, true, false, false, false);
    EXPECT_EQ(resultOf(exchange(*firewall)), 1);
    EXPECT_TRUE(
        logHas("AA_COMMAND_FIREWALL_ON | Kill connect = true | block_ipv6 = true | allow_local_ip = false"
               " | change_timezone = false | block_dns = false"))
        << log();
    firewall->command = AA_COMMAND_FIREWALL_CHANGE;
    EXPECT_EQ(resultOf(exchange(*firewall)), 1);
    EXPECT_EQ(resultOf(exchange(*makePacket(AA_COMMAND_FIREWALL_OFF))), 1);
    EXPECT_EQ(resultOf(exchange(*makePacket(AA_COMMAND_FIREWALL_SUPPORTED))), 1);
    EXPECT_EQ(resultOf(exchange(*makePacket(AA_COMMAND_FIREWALL_ENABLE_ON_START))), 1);
    // /etc/timezone names Etc/UTC in this namespace: supported.
    EXPECT_EQ(resultOf(exchange(*makePacket(AA_COMMAND_TIMEZONE_CHANGE_SUPPORTED))), 1);
    auto zone = makePacket(AA_COMMAND_TIMEZONE_CHANGE);
    putZone(*zone, false, "Europe/Berlin");
    EXPECT_EQ(resultOf(exchange(*zone)), 1);
    EXPECT_TRUE(logHas("AA_COMMAND_TIMEZONE_CHANGE | restore timezone = false | timezone = Europe/Berlin"));

    for (int32_t command : {0, 4, 11, -1}) {
        EXPECT_TRUE(isZeroReply(exchange(*makePacket(command)))) << command;
    }
}

TEST_F(DaemonLab, LongestFieldsArriveWhole)
{
    // 930 addresses of 10 characters and one of 9, joined: 10239 characters,
    // valid only when the last one arrives whole.
    std::string list;
    for (int i = 0; i < 930; ++i) {
        list += "192.0.2.10;";
    }
    list += "192.0.2.1";
    ASSERT_EQ(list.size(), kAllowIpListUnits - 1);
    auto firewall = makePacket(AA_COMMAND_FIREWALL_ON);
    putWideAscii(*firewall, kAllowIpListOffset, list);
    EXPECT_EQ(resultOf(exchange(*firewall)), 1);
    putWideAscii(*firewall, kAllowIpListOffset, std::string(kAllowIpListUnits, '1'));
    EXPECT_EQ(resultOf(exchange(*firewall)), 0) << "no terminator: refused";

    const std::string longZone = "Zone/" + std::string(506, 'x');
    ASSERT_EQ(longZone.size(), 511u);
    auto zone = makePacket(AA_COMMAND_TIMEZONE_CHANGE);
    putZone(*zone, false, longZone);
    EXPECT_EQ(resultOf(exchange(*zone)), 1);
    EXPECT_TRUE(logHas("Refused timezone name: " + longZone + "\n")) << "the whole zone reached the daemon";
}

TEST_F(DaemonLab, ShortOrSlowPacketGetsNoReply)
{
    for (bool slow : {false, true}) {
        const int sock = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(kDaemonPort);
        inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
        ASSERT_EQ(connect(sock, reinterpret_cast<sockaddr*>(&to), sizeof(to)), 0);
        auto packet = makePacket(AA_COMMAND_FIREWALL_SUPPORTED);
        ASSERT_EQ(send(sock, packet.get(), 1000, 0), 1000);
        if (slow) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2500));
            send(sock, reinterpret_cast<char*>(packet.get()) + 1000, sizeof(MessagePacket) - 1000,
                 MSG_NOSIGNAL);
        }
        timeval timeout = {6, 0};
        setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
        char reply[9];
        EXPECT_LE(recv(sock, reply, sizeof(reply), 0), 0) << (slow ? "slow" : "short");
        close(sock);
    }
    EXPECT_TRUE(logHas("recv failed"));
    EXPECT_EQ(resultOf(exchange(*makePacket(AA_COMMAND_FIREWALL_SUPPORTED))), 1) << "still serving";
}

TEST_F(DaemonLab, ListensOnLoopbackOnlyAndWritesTheSocketId)
{
    ASSERT_EQ(system("ip link add kvd0 type veth peer name kvd1 && ip addr add 192.0.2.1/24 dev kvd0 && "
                     "ip link set kvd0 up && ip link set kvd1 up"),
              0);
    EXPECT_FALSE(exchange(*makePacket(AA_COMMAND_FIREWALL_SUPPORTED), "192.0.2.1"));
    EXPECT_EQ(resultOf(exchange(*makePacket(AA_COMMAND_FIREWALL_SUPPORTED))), 1);
    EXPECT_EQ(system("ip link del kvd0"), 0);

    const std::string id = readFile("/tmp/kestrovad-socket.id");
    EXPECT_FALSE(id.empty());
    EXPECT_GT(atoi(id.c_str()), 2);
    EXPECT_EQ(id.find('\n'), std::string::npos);
}

TEST(DaemonLabStart, SocketIdFileLinkIsReplacedNotFollowed)
{
    writeText("/tmp/victim", "precious");
    unlink("/tmp/kestrovad-socket.id");
    ASSERT_EQ(symlink("/tmp/victim", "/tmp/kestrovad-socket.id"), 0);
    Daemon daemon(daemonProgram);
    ASSERT_TRUE(daemon.start());
    EXPECT_EQ(readFile("/tmp/victim"), "precious");
    struct stat info;
    ASSERT_EQ(lstat("/tmp/kestrovad-socket.id", &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    daemon.stop();
}

TEST_F(DaemonLab, RunOpenvpnStartsFromAPrivateCopyAndRefusesBadProfiles)
{
    ASSERT_TRUE(bindText("/usr/sbin/openvpn", kFakeOpenvpn));
    chmod("/usr/sbin/openvpn", 0755);
    writeText("/tmp/Kestrova.good", kProfile);
    auto packet = makePacket(AA_COMMAND_RUN_OPENVPN);
    putWideAscii(*packet, kOpenvpnParamsOffset, clientOptions("/tmp/Kestrova.good", 41000));
    EXPECT_EQ(resultOf(exchange(*packet)), 1) << log();
    EXPECT_TRUE(waitFor([] { return !readFile("/tmp/openvpn-args").empty(); }, 3000));
    EXPECT_EQ(readFile("/tmp/openvpn-args"),
              "--config /run/kestrovad/openvpn-41000.conf --management 127.0.0.1 41000 "
              "--management-query-passwords "
              "--script-security 2 --up /usr/share/kestrova/script/update-resolv-conf.sh --down "
              "/usr/share/kestrova/script/update-resolv-conf.sh\n");
    struct stat info;
    ASSERT_EQ(stat("/run/kestrovad", &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    EXPECT_EQ(readFile("/run/kestrovad/openvpn-41000.conf"), kProfile);

    unlink("/tmp/openvpn-args");
    writeText("/tmp/Kestrova.plugin", std::string(kProfile) + "plugin /tmp/evil.so\n");
    writeText("/tmp/Kestrova.down", std::string(kProfile) + "route-pre-down /tmp/evil.sh\n");
    ASSERT_EQ(symlink("/tmp/Kestrova.good", "/tmp/Kestrova.link"), 0);
    for (const char* profile : {"/tmp/Kestrova.plugin", "/tmp/Kestrova.down", "/tmp/Kestrova.link"}) {
        putWideAscii(*packet, kOpenvpnParamsOffset, clientOptions(profile, 41001));
        EXPECT_EQ(resultOf(exchange(*packet)), 0) << profile;
    }
    packet = makePacket(AA_COMMAND_RUN_OPENVPN);
    putWideAscii(*packet, kOpenvpnParamsOffset, clientOptions("/tmp/Kestrova.good", 41002) + " --up /tmp/x");
    EXPECT_EQ(resultOf(exchange(*packet)), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(readFile("/tmp/openvpn-args").empty()) << "nothing refused was started";
    unbind("/usr/sbin/openvpn");

    // No openvpn at all: the reply says so.
    ASSERT_TRUE(bindText("/usr/sbin/openvpn", "not a program"));
    chmod("/usr/sbin/openvpn", 0644);
    putWideAscii(*packet, kOpenvpnParamsOffset,
                 clientOptions("/tmp/Kestrova.good", 41003) + std::string(20, ' '));
    EXPECT_EQ(resultOf(exchange(*packet)), 0);
    unbind("/usr/sbin/openvpn");
}

TEST_F(DaemonLab, TimezoneNamesThatAreNotZonesRunNothing)
{
    for (const char* bad : {"$(id)", "../../etc/passwd", "Europe/Berlin\";reboot"}) {
        auto zone = makePacket(AA_COMMAND_TIMEZONE_CHANGE);
        putZone(*zone, false, bad);
        EXPECT_EQ(resultOf(exchange(*zone)), 1) << "reply stays the supported flag";
    }
    EXPECT_TRUE(logHas("Refused timezone name: $(id)"));
    EXPECT_FALSE(logHas("Execute cmd: timedatectl set-timezone $(id)"));
}

TEST_F(DaemonLab, PeersOutsideTheKestrovaGroupAreRefused)
{
    const auto served = exchangeAs(65534, *makePacket(AA_COMMAND_FIREWALL_SUPPORTED));
    EXPECT_EQ(resultOf(served), 1) << "no kestrova group: every local user";

    auto update = makePacket(AA_COMMAND_UPDATE_INSTALL);
    putWideAscii(*update, kUpdatePathNameOffset, "/tmp/kestrova.deb");
    EXPECT_TRUE(isZeroReply(exchangeAs(65534, *update))) << "update only for root and sudo";

    ASSERT_TRUE(bindText("/etc/group", readFile("/etc/group") + "kestrova:x:4242:\n"));
    EXPECT_TRUE(isZeroReply(exchangeAs(65534, *makePacket(AA_COMMAND_FIREWALL_SUPPORTED))));
    EXPECT_TRUE(logHas("Refused command 5 from uid 65534"));
    EXPECT_EQ(resultOf(exchange(*makePacket(AA_COMMAND_FIREWALL_SUPPORTED))), 1) << "root is served";
    unbind("/etc/group");
}

TEST_F(DaemonLab, KillSwitchBelongsToWhoSwitchedItOnAcrossWorkerRestarts)
{
    auto on = makePacket(AA_COMMAND_FIREWALL_ON);
    putWideAscii(*on, kAllowIpListOffset, "192.0.2.10");
    putWideAscii(*on, kInterfaceToSkipOffset, "tun0");
    putFlags(*on, true, true, false, false, false);
    auto change = makePacket(AA_COMMAND_FIREWALL_CHANGE);
    putWideAscii(*change, kInterfaceToSkipOffset, "tun0");
    const auto off = makePacket(AA_COMMAND_FIREWALL_OFF);
    ASSERT_EQ(resultOf(exchangeAs(1000, *on)), 1);

    for (bool replaced : {false, true}) {
        EXPECT_EQ(resultOf(exchangeAs(65534, *off)), 0) << replaced;
        EXPECT_EQ(resultOf(exchangeAs(65534, *change)), 0) << replaced;
        EXPECT_EQ(resultOf(exchangeAs(65534, *on)), 0) << replaced;
        EXPECT_NE(commandOutput("iptables -S OUTPUT").find("-P OUTPUT DROP"), std::string::npos) << replaced;
        EXPECT_TRUE(logHas("the kill switch belongs to uid 1000")) << log();
        if (!replaced) {
            const pid_t worker = daemon.workerPid();
            kill(worker, SIGKILL);
            ASSERT_TRUE(waitFor([&] { return daemon.workerPid() != worker && portAnswers(); }, 5000));
        }
    }
    EXPECT_EQ(resultOf(exchangeAs(1000, *off)), 1);
    EXPECT_NE(commandOutput("iptables -S OUTPUT").find("-P OUTPUT ACCEPT"), std::string::npos);

    // Off, it belongs to nobody; root may always switch it off.
    ASSERT_EQ(resultOf(exchangeAs(65534, *on)), 1);
    EXPECT_EQ(resultOf(exchange(*off)), 1);
}

TEST_F(DaemonLab, ManagementPortServesOnlyTheUserWhoStartedTheTunnel)
{
    ASSERT_TRUE(bindText("/usr/sbin/openvpn", kListeningOpenvpn));
    chmod("/usr/sbin/openvpn", 0755);
    for (uid_t uid : {1000u, 65534u}) {
        const std::string profile = "/tmp/Kestrova-" + std::to_string(uid) + ".ovpn";
        writeText(profile, kProfile);
        ASSERT_EQ(chown(profile.c_str(), uid, 65534), 0);
    }
    auto start = makePacket(AA_COMMAND_RUN_OPENVPN);
    putWideAscii(*start, kOpenvpnParamsOffset, clientOptions("/tmp/Kestrova-1000.ovpn", 41010));
    ASSERT_EQ(resultOf(exchangeAs(1000, *start)), 1) << log();
    ASSERT_TRUE(waitFor([] { return managementAnswers(0, 41010); }, 5000)) << "openvpn listens";
    const pid_t openvpn = atoi(readFile("/tmp/openvpn-41010.pid").c_str());

    const auto onlyTheOwner = [](const char* moment) {
        EXPECT_TRUE(managementAnswers(1000, 41010)) << moment;
        EXPECT_FALSE(managementAnswers(65534, 41010)) << moment;
    };
    onlyTheOwner("started");
    auto killSwitch = makePacket(AA_COMMAND_FIREWALL_ON);
    putWideAscii(*killSwitch, kInterfaceToSkipOffset, "tun0");
    putFlags(*killSwitch, true, false, false, false, true);
    ASSERT_EQ(resultOf(exchange(*killSwitch)), 1);
    onlyTheOwner("kill switch on");
    ASSERT_EQ(resultOf(exchange(*makePacket(AA_COMMAND_FIREWALL_OFF))), 1);
    onlyTheOwner("kill switch off");
    const pid_t worker = daemon.workerPid();
    kill(worker, SIGKILL);
    ASSERT_TRUE(waitFor([&] { return daemon.workerPid() != worker && portAnswers(); }, 5000));
    onlyTheOwner("worker replaced");

    // Another user cannot take the port over while that openvpn runs.
    auto other = makePacket(AA_COMMAND_RUN_OPENVPN);
    putWideAscii(*other, kOpenvpnParamsOffset, clientOptions("/tmp/Kestrova-65534.ovpn", 41010));
    EXPECT_EQ(resultOf(exchangeAs(65534, *other)), 0);
    EXPECT_FALSE(managementAnswers(65534, 41010));

    // Once that openvpn has ended, the port is nobody's.
    ASSERT_GT(openvpn, 0);
    kill(openvpn, SIGTERM);
    EXPECT_TRUE(
        waitFor([] { return commandOutput("iptables -t raw -S").find("41010") == std::string::npos; }, 5000))
        << commandOutput("iptables -t raw -S");
    unbind("/usr/sbin/openvpn");
}

TEST_F(DaemonLab, RefusedUpdateKeepsServing)
{
    auto update = makePacket(AA_COMMAND_UPDATE_INSTALL);
    putWideAscii(*update, kUpdatePathNameOffset, "/tmp/kestrova.deb");
    const auto reply = exchange(*update);
    ASSERT_TRUE(reply);
    if (reply->result == 0) {
        EXPECT_TRUE(waitFor([] { return portAnswers(); }, 4000)) << "listening again after the refusal";
        EXPECT_EQ(resultOf(exchange(*makePacket(AA_COMMAND_FIREWALL_SUPPORTED))), 1);
    } else {
        EXPECT_TRUE(waitFor([] { return readFile("/tmp/kestrovad-socket.id") == "0"; }, 4000));
    }
}

TEST_F(DaemonLab, KilledWorkerIsReplacedAtOnceCrashedOneAfterASecond)
{
    const pid_t first = daemon.workerPid();
    ASSERT_GT(first, 0);
    kill(first, SIGKILL);
    EXPECT_TRUE(waitFor(
        [&] { return daemon.workerPid() > 0 && daemon.workerPid() != first && portAnswers(); }, 3000));
    EXPECT_FALSE(logHas("Childer restart"));
    EXPECT_TRUE(logHas("firewallImpl.restoreSavedState();")) << "a replacing worker restores the kill switch";

    const pid_t second = daemon.workerPid();
    const auto crashed = std::chrono::steady_clock::now();
    kill(second, SIGSEGV);
    ASSERT_TRUE(waitFor([&] { return daemon.workerPid() > 0 && daemon.workerPid() != second; }, 5000));
    EXPECT_GE(std::chrono::steady_clock::now() - crashed, std::chrono::milliseconds(900));
    EXPECT_TRUE(logHas("[DAEMON] Signal: Segmentation fault")) << log();
    EXPECT_TRUE(logHas("== Backtrace =="));
    EXPECT_TRUE(logHas("== End Backtrace =="));
    EXPECT_TRUE(logHas("[MONITOR] Childer restart"));
    EXPECT_TRUE(waitFor([] { return portAnswers(); }, 3000));
}

TEST_F(DaemonLab, SigtermToTheWorkerStopsTheMonitorToo)
{
    const pid_t monitor = daemon.monitorPid();
    kill(daemon.workerPid(), SIGTERM);
    EXPECT_TRUE(waitFor([&] { return kill(monitor, 0) != 0; }, 5000));
    EXPECT_NE(access("/run/kestrovad.pid", F_OK), 0);
    EXPECT_TRUE(logHas("[MONITOR] Childer stopped"));
}

TEST_F(DaemonLab, SigtermToTheMonitorRemovesThePidFileAndStopsTheWorker)
{
    const pid_t monitor = daemon.monitorPid();
    const pid_t worker = daemon.workerPid();
    EXPECT_EQ(readFile("/run/kestrovad.pid"), std::to_string(monitor) + "\n");
    EXPECT_EQ(readFile("/run/kestrovad_child.pid"), std::to_string(monitor));
    kill(monitor, SIGTERM);
    EXPECT_TRUE(waitFor([&] { return kill(monitor, 0) != 0 && kill(worker, 0) != 0; }, 5000));
    EXPECT_NE(access("/run/kestrovad.pid", F_OK), 0);
    EXPECT_TRUE(logHas("[WORK PROC] Stopped"));
}

TEST_F(DaemonLab, SecondInstanceExitsWithStatusOne)
{
    const auto before = reapChildren();
    EXPECT_EQ(runOnce(daemonProgram), 0) << "the starting process detaches";
    bool sawExitOne = false;
    waitFor(
        [&] {
            for (const auto& [pid, status] : reapChildren()) {
                if (before.count(pid) == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 1) {
                    sawExitOne = true;
                }
            }
            return sawExitOne;
        },
        3000);
    EXPECT_TRUE(sawExitOne);
    EXPECT_TRUE(logHas("Could not lock PID lock file /var/run/kestrovad.pid, exiting"));
    EXPECT_EQ(resultOf(exchange(*makePacket(AA_COMMAND_FIREWALL_SUPPORTED))), 1) << "the first is unaffected";
}

TEST(DaemonLabStart, ParentProcessOneMeansNoDetachingAndExitZero)
{
    writeText(kLogFile, "");
    const pid_t child = fork();
    if (child == 0) {
        setenv("KESTROVAD_LOG_FILE", kLogFile, 1);
        const int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, 2);
        execl(daemonProgram.c_str(), daemonProgram.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const std::string text = log();
    const size_t up = text.find("Daemon starting up");
    const size_t running = text.find("Daemon running");
    const size_t exiting = text.find("Daemon exiting");
    EXPECT_NE(up, std::string::npos);
    EXPECT_TRUE(up < running && running < exiting && exiting != std::string::npos) << text;
    EXPECT_NE(access("/run/kestrovad.pid", F_OK), 0);
    EXPECT_FALSE(portAnswers());
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2 || geteuid() != 0) {
        fprintf(stderr, "usage (as root): %s PATH-TO-KESTROVAD\n", argv[0]);
        return geteuid() != 0 ? 77 : 2;
    }
    daemonProgram = argv[1];
    if (!enterPrivateNamespaces(&daemonProgram)) {
        return 1;
    }
    return RUN_ALL_TESTS();
}
