// The real kestrovad, run inside private namespaces (see daemonharness.h).
#include "openvpnlauncher.h"
#include "support/daemonharness.h"
#include "support/packetbuilder.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sstream>
#include <sys/mount.h>
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

// A stand-in for openvpn --management-client: connects to its management
// port, greets, records its arguments and pid, and runs on.
const char* kConnectingOpenvpn = "#!/usr/bin/python3\n"
                                 "import os, socket, sys, time\n"
                                 "port = int(sys.argv[sys.argv.index('--management') + 2])\n"
                                 "open('/tmp/openvpn-%d.args' % port, 'w').write(' '.join(sys.argv[1:]))\n"
                                 "open('/tmp/openvpn-%d.pid' % port, 'w').write(str(os.getpid()))\n"
                                 "s = socket.create_connection(('127.0.0.1', port))\n"
                                 "s.sendall(b'>INFO:OpenVPN Management Interface\\r\\n')\n"
                                 "time.sleep(60)\n";

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

unsigned long long packetsSeenBy(const std::string& device)
{
    return std::stoull("0" + readFile("/sys/class/net/" + device + "/statistics/rx_packets"));
}

// Whether a packet to `to`:`port` leaves this host: 0 when it does, else the
// error the firewall gave (EPERM for a dropped packet). A TCP connect does
// not report a dropped SYN; it counts as left when `peer`, the other end of
// the link, received it. `fromPort` binds the sender first.
int probe(const char* to, int port, bool tcp, int fromPort = 0, const char* peer = "kvlan1")
{
    if (tcp) {
        const unsigned long long before = packetsSeenBy(peer);
        const int sock = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET, to, &address.sin_addr);
        connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        const bool left = waitFor([&] { return packetsSeenBy(peer) > before; }, 300);
        close(sock);
        return left ? 0 : EPERM;
    }

    const int sock = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    if (fromPort != 0) {
        sockaddr_in from{};
        from.sin_family = AF_INET;
        from.sin_port = htons(static_cast<uint16_t>(fromPort));
        if (bind(sock, reinterpret_cast<sockaddr*>(&from), sizeof(from)) != 0) {
            close(sock);
            return -1;
        }
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, to, &address.sin_addr);
    int error = 0;
    if (sendto(sock, "q", 1, 0, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 1) {
        error = errno;
    }
    close(sock);
    return error;
}

// logind's record of the session in front on seat0, as sd-login reads it;
// no uid: no logind at all.
void activeSession(std::optional<uid_t> uid)
{
    if (!uid) {
        unlink("/run/systemd/seats/seat0");
        return;
    }
    mkdir("/run/systemd", 0755);
    mkdir("/run/systemd/seats", 0755);
    writeText("/run/systemd/seats/seat0",
              "# This is private data. Do not parse.\nACTIVE=c1\nACTIVE_UID=" + std::to_string(*uid) +
                  "\nSESSIONS=c1\nUIDS=" + std::to_string(*uid) + "\n");
}

// A profile of `uid`'s own, as the client writes it.
std::string profileOf(uid_t uid)
{
    const std::string path = "/tmp/Kestrova-" + std::to_string(uid) + ".ovpn";
    writeText(path, kProfile);
    EXPECT_EQ(chown(path.c_str(), uid, 65534), 0);
    return path;
}

int runOpenvpnAs(uid_t uid, int port)
{
    auto packet = makePacket(AA_COMMAND_RUN_OPENVPN);
    putWideAscii(*packet, kOpenvpnParamsOffset, clientOptions(profileOf(uid), port));
    return resultOf(exchangeAs(uid, *packet));
}

bool processRuns(pid_t pid)
{
    const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    const size_t end = stat.rfind(')');
    return end != std::string::npos && stat.compare(end + 2, 1, "Z") != 0;
}

// Whether a TCP connection of `uid` to address:port is accepted within a
// second (a dropped SYN times out, a port nobody holds is refused).
bool connects(uid_t uid, const char* address, int port)
{
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(uid) != 0) {
            _exit(2);
        }
        const int sock = socket(AF_INET, SOCK_STREAM, 0);
        timeval timeout = {1, 0};
        setsockopt(sock, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET, address, &to.sin_addr);
        _exit(connect(sock, reinterpret_cast<sockaddr*>(&to), sizeof(to)) == 0 ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A service of `uid` listening on address:port until killed.
pid_t serviceOf(uid_t uid, const char* address, int port)
{
    int ready[2];
    if (pipe(ready) != 0) {
        return -1;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(ready[0]);
        if (setgid(65534) != 0 || setuid(uid) != 0) {
            _exit(2);
        }
        const int sock = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET, address, &at.sin_addr);
        if (bind(sock, reinterpret_cast<sockaddr*>(&at), sizeof(at)) != 0 || listen(sock, 8) != 0) {
            _exit(3);
        }
        const ssize_t ignored = write(ready[1], "r", 1);
        (void)ignored;
        while (true) {
            const int peer = accept(sock, nullptr, nullptr);
            if (peer >= 0) {
                close(peer);
            }
        }
    }
    close(ready[1]);
    char byte = 0;
    const bool listening = read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    return listening ? child : -1;
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
    const std::string args = readFile("/tmp/openvpn-args");
    const std::string copy = args.substr(9, args.find(' ', 9) - 9);
    EXPECT_EQ(args, "--config " + copy +
                        " --management 127.0.0.1 41000 --management-query-passwords "
                        "--script-security 2 --up /usr/share/kestrova/script/update-resolv-conf.sh --down "
                        "/usr/share/kestrova/script/update-resolv-conf.sh\n");
    EXPECT_EQ(copy.rfind("/run/kestrovad/openvpn-0-", 0), 0u) << copy;
    struct stat info;
    ASSERT_EQ(stat("/run/kestrovad", &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    EXPECT_EQ(readFile(copy), kProfile);

    unlink("/tmp/openvpn-args");
    writeText("/tmp/Kestrova.plugin", std::string(kProfile) + "plugin /tmp/evil.so\n");
    writeText("/tmp/Kestrova.down", std::string(kProfile) + "route-pre-down /tmp/evil.sh\n");
    ASSERT_EQ(symlink("/tmp/Kestrova.good", "/tmp/Kestrova.link"), 0);
    std::string dashDevice = kProfile;
    dashDevice.replace(dashDevice.find("dev tun"), 7, "dev -tun0");
    writeText("/tmp/Kestrova.dashdev", dashDevice);
    for (const char* profile :
         {"/tmp/Kestrova.plugin", "/tmp/Kestrova.down", "/tmp/Kestrova.link", "/tmp/Kestrova.dashdev"}) {
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
    ASSERT_TRUE(waitFor([] { return managementAnswers(1000, 41010); }, 10000)) << "openvpn listens" << log();
    const pid_t openvpn = atoi(readFile("/tmp/openvpn-41010.pid").c_str());

    const auto onlyTheOwner = [](const char* moment) {
        EXPECT_TRUE(managementAnswers(1000, 41010)) << moment;
        EXPECT_FALSE(managementAnswers(65534, 41010)) << moment;
        // Root's processes neither: another user's root openvpn could
        // otherwise be pointed at the port.
        EXPECT_FALSE(managementAnswers(0, 41010)) << moment;
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

TEST_F(DaemonLab, KillSwitchLetsDnsOutOnlyThroughTheTunnelUnlessAConnectionIsBeingMade)
{
    // A LAN with its resolver at 192.168.77.1, an allowed server, and a
    // stand-in tunnel device (veth pairs: packets leave into nothing).
    // The devices of this network namespace, not the host's.
    ASSERT_EQ(mount("sysfs", "/sys", "sysfs", MS_NOSUID | MS_NODEV | MS_NOEXEC, nullptr), 0);
    // Static neighbours and no IPv6: nothing but the probes crosses the link.
    ASSERT_EQ(
        system("ip link add kvlan type veth peer name kvlan1 && ip addr add 192.168.77.2/24 dev kvlan && "
               "sysctl -qw net.ipv6.conf.kvlan.disable_ipv6=1 net.ipv6.conf.kvlan1.disable_ipv6=1 && "
               "ip addr add 192.0.2.2/24 dev kvlan && ip addr add 203.0.113.2/24 dev kvlan && "
               "ip link set kvlan up && ip link set kvlan1 up && ip route add default via 203.0.113.1 && "
               "ip link add tun0 type veth peer name tun1 && ip addr add 10.8.0.2/24 dev tun0 && "
               "ip link set tun0 up && ip link set tun1 up && "
               "ip neigh replace 192.168.77.1 lladdr 02:00:00:00:00:01 dev kvlan nud permanent && "
               "ip neigh replace 203.0.113.1 lladdr 02:00:00:00:00:01 dev kvlan nud permanent"),
        0);
    auto command = [](int32_t code, bool blockDns) {
        auto packet = makePacket(code);
        putWideAscii(*packet, kAllowIpListOffset, "127.0.0.1;192.0.2.10");
        putWideAscii(*packet, kInterfaceToSkipOffset, "tun0");
        putFlags(*packet, true, false, true, false, blockDns);
        return resultOf(exchangeAs(1000, *packet));
    };
    const auto dnsOpen = [](const std::string& moment) {
        EXPECT_EQ(probe("192.168.77.1", 53, false), 0) << moment;
        EXPECT_EQ(probe("198.51.100.53", 53, true), 0) << moment;
        EXPECT_EQ(probe("203.0.113.1", 67, false, 68), 0) << moment << ": DHCP";
    };
    const auto dnsClosed = [](const std::string& moment) {
        EXPECT_EQ(probe("192.168.77.1", 53, false), EPERM) << moment << ": the LAN's resolver";
        EXPECT_EQ(probe("192.168.77.1", 53, true), EPERM) << moment << ": the LAN's resolver over TCP";
        EXPECT_EQ(probe("192.0.2.10", 53, false), EPERM) << moment << ": an allowed address";
        EXPECT_EQ(probe("198.51.100.53", 53, false), EPERM) << moment << ": anywhere else";
        EXPECT_EQ(probe("203.0.113.1", 67, false, 68), EPERM) << moment << ": DHCP";
        EXPECT_EQ(probe("10.8.0.1", 53, false), 0) << moment << ": through the tunnel";
        EXPECT_EQ(probe("127.0.0.53", 53, false), 0) << moment << ": the local stub resolver";
        EXPECT_EQ(probe("192.168.77.1", 80, true), 0) << moment << ": the rest of the LAN stays allowed";
    };

    // A fresh daemon, connecting: DNS goes out.
    ASSERT_EQ(command(AA_COMMAND_FIREWALL_ON, false), 1) << log();
    dnsOpen("connecting on a fresh daemon");
    EXPECT_EQ(probe("198.51.100.80", 80, true), EPERM) << "the kill switch holds";
    ASSERT_EQ(command(AA_COMMAND_FIREWALL_CHANGE, true), 1);
    dnsClosed("connected");

    // The worker is replaced while the tunnel is up: still closed.
    const pid_t worker = daemon.workerPid();
    kill(worker, SIGKILL);
    ASSERT_TRUE(waitFor([&] { return daemon.workerPid() != worker && portAnswers(); }, 5000));
    dnsClosed("after the worker was replaced");

    // Off and on again: each command's own choice, whatever came before.
    ASSERT_EQ(resultOf(exchangeAs(1000, *makePacket(AA_COMMAND_FIREWALL_OFF))), 1);
    EXPECT_EQ(probe("198.51.100.53", 53, false), 0) << "off";
    ASSERT_EQ(command(AA_COMMAND_FIREWALL_ON, true), 1);
    dnsClosed("on with DNS blocked");
    ASSERT_EQ(resultOf(exchangeAs(1000, *makePacket(AA_COMMAND_FIREWALL_OFF))), 1);
    ASSERT_EQ(command(AA_COMMAND_FIREWALL_ON, false), 1);
    dnsOpen("on with DNS allowed after an off");
    ASSERT_EQ(resultOf(exchangeAs(1000, *makePacket(AA_COMMAND_FIREWALL_OFF))), 1);
    EXPECT_EQ(system("ip link del kvlan && ip link del tun0"), 0);
    umount2("/sys", MNT_DETACH);
}

TEST_F(DaemonLab, TheActiveSessionsUserTakesOverAKillSwitchNobodyElseMay)
{
    const uid_t desktop = 1000, other = 65534, third = 1001;
    auto on = [](const char* address) {
        auto packet = makePacket(AA_COMMAND_FIREWALL_ON);
        putWideAscii(*packet, kAllowIpListOffset, address);
        putWideAscii(*packet, kInterfaceToSkipOffset, "tun0");
        putFlags(*packet, true, false, false, false, true);
        return packet;
    };
    auto change = on("192.0.2.10");
    change->command = AA_COMMAND_FIREWALL_CHANGE;
    const auto off = makePacket(AA_COMMAND_FIREWALL_OFF);
    const auto allowed = [] { return commandOutput("iptables -S OUTPUT"); };
    activeSession(desktop);

    // Another account locks the machine down while the desktop's user is
    // not connected: that user's commands still work, and take it over.
    ASSERT_EQ(resultOf(exchangeAs(other, *on("198.51.100.66"))), 1);
    EXPECT_EQ(resultOf(exchangeAs(desktop, *on("192.0.2.10"))), 1) << log();
    EXPECT_NE(allowed().find("192.0.2.10"), std::string::npos);
    EXPECT_EQ(allowed().find("198.51.100.66"), std::string::npos);
    EXPECT_TRUE(logHas("uid 1000, the user of the active session, takes over the kill switch of uid 65534"));

    // Now it is theirs: nobody else lifts or replaces it, across a worker.
    for (bool replaced : {false, true}) {
        for (uid_t uid : {other, third}) {
            EXPECT_EQ(resultOf(exchangeAs(uid, *off)), 0) << uid << replaced;
            EXPECT_EQ(resultOf(exchangeAs(uid, *change)), 0) << uid << replaced;
            EXPECT_EQ(resultOf(exchangeAs(uid, *on("198.51.100.66"))), 0) << uid << replaced;
        }
        EXPECT_NE(allowed().find("-P OUTPUT DROP"), std::string::npos) << replaced;
        EXPECT_EQ(allowed().find("198.51.100.66"), std::string::npos) << replaced;
        if (!replaced) {
            const pid_t worker = daemon.workerPid();
            kill(worker, SIGKILL);
            ASSERT_TRUE(waitFor([&] { return daemon.workerPid() != worker && portAnswers(); }, 5000));
        }
    }
    EXPECT_EQ(resultOf(exchangeAs(desktop, *change)), 1);
    EXPECT_EQ(resultOf(exchangeAs(desktop, *off)), 1);
    EXPECT_NE(allowed().find("-P OUTPUT ACCEPT"), std::string::npos);

    // A switch off by the user in front is a take-over too.
    ASSERT_EQ(resultOf(exchangeAs(other, *on("198.51.100.66"))), 1);
    EXPECT_EQ(resultOf(exchangeAs(desktop, *off)), 1);
    EXPECT_NE(allowed().find("-P OUTPUT ACCEPT"), std::string::npos);

    // Without logind nobody is in front: only the owner and root.
    activeSession(std::nullopt);
    ASSERT_EQ(resultOf(exchangeAs(other, *on("198.51.100.66"))), 1);
    EXPECT_EQ(resultOf(exchangeAs(desktop, *on("192.0.2.10"))), 0);
    EXPECT_EQ(resultOf(exchangeAs(desktop, *off)), 0);
    EXPECT_EQ(resultOf(exchange(*off)), 1);
}

TEST_F(DaemonLab, OneTunnelPerMachineAndTheUserInFrontMayReplaceIt)
{
    ASSERT_TRUE(bindText("/usr/sbin/openvpn", kListeningOpenvpn));
    chmod("/usr/sbin/openvpn", 0755);
    const uid_t desktop = 1000, other = 65534, third = 1001;
    const auto openvpnOf = [](int port) {
        pid_t pid = 0;
        waitFor(
            [&] {
                return (pid = atoi(readFile("/tmp/openvpn-" + std::to_string(port) + ".pid").c_str())) > 0;
            },
            5000);
        return pid;
    };
    activeSession(desktop);

    ASSERT_EQ(runOpenvpnAs(other, 41020), 1) << log();
    const pid_t others = openvpnOf(41020);
    ASSERT_GT(others, 0);
    // A third account may neither run a second tunnel nor end that one.
    EXPECT_EQ(runOpenvpnAs(third, 41021), 0);
    EXPECT_TRUE(logHas("the tunnel belongs to uid 65534")) << log();
    EXPECT_TRUE(processRuns(others));
    // The same account may start again (the client's retries do).
    EXPECT_EQ(runOpenvpnAs(other, 41022), 1) << log();
    const pid_t othersSecond = openvpnOf(41022);

    // The user in front replaces it: the other account's tunnels end first.
    EXPECT_EQ(runOpenvpnAs(desktop, 41023), 1) << log();
    const pid_t desktops = openvpnOf(41023);
    EXPECT_FALSE(processRuns(others));
    EXPECT_FALSE(processRuns(othersSecond));
    EXPECT_TRUE(processRuns(desktops));
    for (uid_t uid : {other, third}) {
        EXPECT_EQ(runOpenvpnAs(uid, 41024), 0) << uid;
    }
    EXPECT_TRUE(processRuns(desktops)) << "nobody replaces the tunnel of the user in front";

    // Without logind: the first tunnel's owner keeps the machine's tunnel.
    activeSession(std::nullopt);
    EXPECT_EQ(runOpenvpnAs(other, 41025), 0);
    EXPECT_TRUE(processRuns(desktops));
    kill(desktops, SIGTERM);
    ASSERT_TRUE(waitFor([&] { return !processRuns(desktops); }, 3000));
    EXPECT_EQ(runOpenvpnAs(other, 41026), 1) << "a tunnel that ended belongs to nobody";
    EXPECT_EQ(runOpenvpnAs(desktop, 41027), 0);
    kill(openvpnOf(41026), SIGTERM);
    unbind("/usr/sbin/openvpn");
}

TEST_F(DaemonLab, ProcessesThatOnlyNameAProfileCopyDoNotUseUpItsOwnersLaunches)
{
    ASSERT_TRUE(bindText("/usr/sbin/openvpn", kFakeOpenvpn));
    chmod("/usr/sbin/openvpn", 0755);
    const uid_t user = 1000;
    // Each openvpn ends at once; after each launch a root process (a set-uid
    // program another user started, say) carries the copy's path in its
    // arguments for as long as it likes.
    std::vector<pid_t> holders;
    for (size_t launch = 0; launch <= OpenvpnLauncher::kMaxProfileCopies; ++launch) {
        unlink("/tmp/openvpn-args");
        ASSERT_EQ(runOpenvpnAs(user, 41030), 1) << "launch " << launch << log();
        ASSERT_TRUE(waitFor([] { return !readFile("/tmp/openvpn-args").empty(); }, 3000));
        const std::string args = readFile("/tmp/openvpn-args");
        const std::string copy = args.substr(9, args.find(' ', 9) - 9);
        const pid_t holder = fork();
        if (holder == 0) {
            execl("/usr/bin/python3", "python3", "-c", "import time; time.sleep(60)", "--config",
                  copy.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        holders.push_back(holder);
    }
    for (pid_t holder : holders) {
        kill(holder, SIGKILL);
    }
    unbind("/usr/sbin/openvpn");
}

TEST_F(DaemonLab, ManagementGuardsCutNobodyOffAPortThatIsNotTheTunnels)
{
    // An openvpn that never gets its port, and lives on.
    ASSERT_TRUE(bindText("/usr/sbin/openvpn", "#!/bin/sh\nexec sleep 60\n"));
    chmod("/usr/sbin/openvpn", 0755);
    const uid_t attacker = 65534, desktop = 1000, neighbour = 1001;

    // The daemon's own port: refused, and every user is still served.
    EXPECT_EQ(runOpenvpnAs(attacker, kDaemonPort), 0);
    EXPECT_TRUE(connects(desktop, "127.0.0.1", kDaemonPort));
    EXPECT_EQ(resultOf(exchangeAs(desktop, *makePacket(AA_COMMAND_FIREWALL_SUPPORTED))), 1);

    // A port where another user's service listens, on another local address.
    const pid_t listening = serviceOf(neighbour, "127.0.0.2", 41040);
    ASSERT_GT(listening, 0);
    EXPECT_EQ(runOpenvpnAs(attacker, 41040), 0);
    EXPECT_TRUE(logHas("something already listens on port 41040")) << log();
    EXPECT_TRUE(connects(desktop, "127.0.0.2", 41040));

    // A service that comes to the port after the tunnel: the guard covers
    // 127.0.0.1 only, where openvpn listens.
    ASSERT_EQ(runOpenvpnAs(attacker, 41041), 1) << log();
    const pid_t later = serviceOf(neighbour, "127.0.0.2", 41041);
    ASSERT_GT(later, 0);
    EXPECT_TRUE(connects(desktop, "127.0.0.2", 41041));

    kill(listening, SIGKILL);
    kill(later, SIGKILL);
    // The openvpn the daemon started, as its guards record them.
    std::istringstream guards(readFile("/run/kestrovad.guards"));
    for (std::string line; std::getline(guards, line);) {
        std::istringstream fields(line);
        int port = 0;
        uid_t owner = 0;
        pid_t openvpn = 0;
        if (fields >> port >> owner >> openvpn && openvpn > 0) {
            kill(openvpn, SIGKILL);
        }
    }
    unbind("/usr/sbin/openvpn");
}

TEST_F(DaemonLab, OpenvpnConnectsOnlyToTheCallersOwnListenerAndNeedsNoRule)
{
    ASSERT_TRUE(bindText("/usr/sbin/openvpn", kConnectingOpenvpn));
    chmod("/usr/sbin/openvpn", 0755);
    const uid_t desktop = 1000, other = 65534;
    const auto startAs = [](uid_t uid, int port) {
        auto packet = makePacket(AA_COMMAND_RUN_OPENVPN);
        putWideAscii(*packet, kOpenvpnParamsOffset, clientOptions(profileOf(uid), port, true));
        return resultOf(exchangeAs(uid, *packet));
    };
    const pid_t desktopsPort = serviceOf(desktop, "127.0.0.1", 41050);
    const pid_t rootsPort = serviceOf(0, "127.0.0.1", 41051);
    ASSERT_GT(desktopsPort, 0);
    ASSERT_GT(rootsPort, 0);

    // Nobody else's listener, and no listener at all, gets an openvpn.
    EXPECT_EQ(startAs(other, 41050), 0);
    EXPECT_TRUE(logHas("management port 41050 is not the caller's")) << log();
    EXPECT_EQ(startAs(desktop, 41051), 0);
    EXPECT_EQ(startAs(desktop, 41052), 0);
    EXPECT_TRUE(logHas("nothing listens on management port 41052")) << log();
    EXPECT_EQ(readFile("/tmp/openvpn-41050.args"), "");

    ASSERT_EQ(startAs(desktop, 41050), 1) << log();
    ASSERT_TRUE(waitFor([] { return !readFile("/tmp/openvpn-41050.pid").empty(); }, 5000));
    const std::string args = readFile("/tmp/openvpn-41050.args");
    EXPECT_NE(args.find("--management 127.0.0.1 41050 --management-query-passwords"), std::string::npos)
        << args;
    EXPECT_EQ(args.substr(args.size() - 20), " --management-client") << args;
    EXPECT_EQ(commandOutput("iptables -t raw -S").find("41050"), std::string::npos)
        << commandOutput("iptables -t raw -S");
    // It is still the desktop user's tunnel: nobody else's starts beside it.
    EXPECT_EQ(runOpenvpnAs(other, 41053), 0);
    EXPECT_TRUE(logHas("the tunnel belongs to uid 1000")) << log();

    const pid_t openvpn = atoi(readFile("/tmp/openvpn-41050.pid").c_str());
    ASSERT_GT(openvpn, 0);
    kill(openvpn, SIGKILL);
    kill(desktopsPort, SIGKILL);
    kill(rootsPort, SIGKILL);
    unbind("/usr/sbin/openvpn");
}

TEST_F(DaemonLab, RefusedUpdateKeepsServing)
{
    writeText("/tmp/kestrova.deb", "not a package");
    auto update = makePacket(AA_COMMAND_UPDATE_INSTALL);
    putWideAscii(*update, kUpdatePathNameOffset, "/tmp/kestrova.deb");
    EXPECT_TRUE(isZeroReply(exchange(*update)));
    EXPECT_TRUE(logHas("AA_COMMAND_UPDATE_INSTALL refused package /tmp/kestrova.deb")) << log();
    EXPECT_EQ(resultOf(exchange(*makePacket(AA_COMMAND_FIREWALL_SUPPORTED))), 1) << "still serving";
    EXPECT_NE(readFile("/tmp/kestrovad-socket.id"), "0");
}

TEST_F(DaemonLab, EveryLaunchReadsACopyOfItsOwn)
{
    // Records its pid and profile copy, and runs on as openvpn would.
    ASSERT_TRUE(
        bindText("/usr/sbin/openvpn", "#!/bin/sh\necho \"$$ $2\" >> /tmp/openvpn-runs\nsleep 60 &\nwait\n"));
    chmod("/usr/sbin/openvpn", 0755);
    writeText("/tmp/root.ovpn", std::string(kProfile) + "verb 1\n");
    writeText("/tmp/nobody.ovpn", std::string(kProfile) + "verb 2\n");
    ASSERT_EQ(chown("/tmp/nobody.ovpn", 65534, 65534), 0);
    auto launch = [](const std::string& profile, uid_t uid, size_t runs) {
        auto packet = makePacket(AA_COMMAND_RUN_OPENVPN);
        putWideAscii(*packet, kOpenvpnParamsOffset, clientOptions(profile, 41000));
        EXPECT_EQ(resultOf(uid == 0 ? exchange(*packet) : exchangeAs(uid, *packet)), 1) << log();
        std::vector<std::pair<pid_t, std::string>> started;
        waitFor(
            [&] {
                std::istringstream lines(readFile("/tmp/openvpn-runs"));
                started.clear();
                pid_t pid;
                std::string copy;
                while (lines >> pid >> copy) {
                    started.emplace_back(pid, copy);
                }
                return started.size() == runs;
            },
            3000);
        return started.size() == runs ? started.back() : std::make_pair(pid_t(0), std::string());
    };
    // Two users on the same management port (root may join another user's
    // port, not the other way round): neither copy replaces the other.
    const auto nobody = launch("/tmp/nobody.ovpn", 65534, 1);
    const auto root = launch("/tmp/root.ovpn", 0, 2);
    ASSERT_GT(root.first, 0);
    ASSERT_GT(nobody.first, 0);
    EXPECT_NE(root.second, nobody.second);
    EXPECT_EQ(readFile(root.second), readFile("/tmp/root.ovpn"));
    EXPECT_EQ(readFile(nobody.second), readFile("/tmp/nobody.ovpn"));

    // Once both have ended, a launch of one user prunes only that user's copy.
    kill(root.first, SIGKILL);
    kill(nobody.first, SIGKILL);
    waitFor([&] { return kill(root.first, 0) != 0 && kill(nobody.first, 0) != 0; }, 3000);
    const auto third = launch("/tmp/nobody.ovpn", 65534, 3);
    EXPECT_NE(access(nobody.second.c_str(), F_OK), 0);
    EXPECT_EQ(readFile(root.second), readFile("/tmp/root.ovpn"));
    kill(third.first, SIGKILL);
    unbind("/usr/sbin/openvpn");
}

TEST_F(DaemonLab, PacketsFromClosedSocketsAreNeverServedAsRoot)
{
    // Processes of another user write a whole command and close at once,
    // half of them with a reset: their sockets are gone, or belong to
    // nobody, by the time the daemon has read the packet. (The start's own
    // check came from root, on a socket it kept open.)
    ASSERT_EQ(truncate(kLogFile, 0), 0);
    constexpr int kSenders = 16;
    constexpr int kRounds = 30;
    std::vector<pid_t> senders;
    for (int i = 0; i < kSenders; ++i) {
        const pid_t child = fork();
        if (child == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0) {
                _exit(2);
            }
            const auto packet = makePacket(AA_COMMAND_FIREWALL_SUPPORTED);
            sockaddr_in to{};
            to.sin_family = AF_INET;
            to.sin_port = htons(kDaemonPort);
            inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
            for (int round = 0; round < kRounds; ++round) {
                const int sock = socket(AF_INET, SOCK_STREAM, 0);
                if (i % 2 == 1) {
                    const linger reset = {1, 0};
                    setsockopt(sock, SOL_SOCKET, SO_LINGER, &reset, sizeof(reset));
                }
                if (connect(sock, reinterpret_cast<sockaddr*>(&to), sizeof(to)) == 0) {
                    const char* out = reinterpret_cast<const char*>(packet.get());
                    size_t sent = 0;
                    ssize_t put = 0;
                    while (sent < sizeof(MessagePacket) &&
                           (put = send(sock, out + sent, sizeof(MessagePacket) - sent, MSG_NOSIGNAL)) > 0) {
                        sent += static_cast<size_t>(put);
                    }
                }
                close(sock);
            }
            _exit(0);
        }
        senders.push_back(child);
    }
    for (pid_t sender : senders) {
        waitpid(sender, nullptr, 0);
    }
    // Settled once the log has not grown for a second.
    size_t length = 0;
    auto still = std::chrono::steady_clock::now();
    waitFor(
        [&] {
            const size_t now = log().size();
            if (now != length) {
                length = now;
                still = std::chrono::steady_clock::now();
            }
            return std::chrono::steady_clock::now() - still > std::chrono::seconds(1);
        },
        30000);
    const std::string text = log();
    auto count = [&text](const std::string& line) {
        size_t found = 0;
        for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) {
            ++found;
        }
        return found;
    };
    EXPECT_EQ(count("Command 5 from uid 0"), 0u) << "a closed socket passed for root";
    EXPECT_GT(count("Receive command: 5"), 0u);
    EXPECT_GT(count("Refused command 5: the sender's socket is closed"), 0u);
}

TEST_F(DaemonLab, AFileThatNeverReadsHoldsUpNoOtherCommand)
{
    // A FUSE mount whose server never answers: everything there hangs.
    mkdir("/tmp/hang", 0755);
    const int fuse = open("/dev/fuse", O_RDWR | O_CLOEXEC);
    ASSERT_GE(fuse, 0);
    const std::string options = "fd=" + std::to_string(fuse) + ",rootmode=40000,user_id=0,group_id=0";
    ASSERT_EQ(mount("kvtest", "/tmp/hang", "fuse", MS_NOSUID | MS_NODEV, options.c_str()), 0);

    std::optional<MessageReply> hanging;
    std::thread caller([&hanging] {
        auto packet = makePacket(AA_COMMAND_RUN_OPENVPN);
        putWideAscii(*packet, kOpenvpnParamsOffset, clientOptions("/tmp/hang/Kestrova.x", 41000));
        hanging = exchange(*packet);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(resultOf(exchangeAs(65534, *makePacket(AA_COMMAND_FIREWALL_OFF))), 1) << "another user waited";
    caller.join();
    EXPECT_TRUE(isZeroReply(hanging)) << "the read is given up in time and reported";
    EXPECT_TRUE(logHas("not read within")) << log();
    close(fuse);
    umount2("/tmp/hang", MNT_DETACH);
}

TEST_F(DaemonLab, KilledWorkerIsReplacedAtOnceCrashedOneAfterASecond)
{
    const pid_t first = daemon.workerPid();
    ASSERT_GT(first, 0);
    kill(first, SIGKILL);
    EXPECT_TRUE(waitFor(
        [&] { return daemon.workerPid() > 0 && daemon.workerPid() != first && portAnswers(); }, 3000));
    EXPECT_FALSE(logHas("Childer restart"));
    EXPECT_TRUE(logHas("firewallImpl.restoreSavedState();"))
        << "a replacing worker restores the kill switch" << log();

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

TEST(DaemonLabStart, KilledWorkerIsReplacedThoughStartedWithSigchldIgnored)
{
    Daemon daemon{daemonProgram};
    daemon.ignoreChildSignals = true;
    ASSERT_TRUE(daemon.start()) << log();
    const pid_t first = daemon.workerPid();
    ASSERT_GT(first, 0);
    kill(first, SIGKILL);
    EXPECT_TRUE(waitFor(
        [&] { return daemon.workerPid() > 0 && daemon.workerPid() != first && portAnswers(); }, 5000));
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

// A worker whose monitor was killed serves on. A daemon started beside it
// cannot have the command port: it must go without clearing the kill switch
// that worker still holds, or the user believes in rules nobody keeps.
TEST_F(DaemonLab, ADaemonStartedBesideAWorkerWithoutMonitorLeavesItsKillSwitchAlone)
{
    auto on = makePacket(AA_COMMAND_FIREWALL_ON);
    putWideAscii(*on, kAllowIpListOffset, "192.0.2.10");
    putWideAscii(*on, kInterfaceToSkipOffset, "tun0");
    putFlags(*on, true, true, false, false, false);
    ASSERT_EQ(resultOf(exchangeAs(1000, *on)), 1);
    const pid_t monitor = daemon.monitorPid();
    const pid_t worker = daemon.workerPid();
    ASSERT_GT(worker, 0);
    kill(monitor, SIGKILL);
    ASSERT_TRUE(waitFor([&] { return kill(monitor, 0) != 0; }, 3000));

    EXPECT_EQ(runOnce(daemonProgram), 0);
    EXPECT_TRUE(waitFor([] { return access("/run/kestrovad.pid", F_OK) != 0; }, 8000))
        << "the second daemon stops\n"
        << log();
    EXPECT_TRUE(logHas("[WORK PROC] Create work thread failed")) << log();
    EXPECT_NE(commandOutput("iptables -S OUTPUT").find("-P OUTPUT DROP"), std::string::npos);
    EXPECT_NE(commandOutput("ip6tables -S OUTPUT").find("-P OUTPUT DROP"), std::string::npos);

    // The worker that holds the rules still answers, and lifts them.
    EXPECT_EQ(resultOf(exchangeAs(1000, *makePacket(AA_COMMAND_FIREWALL_OFF))), 1);
    EXPECT_NE(commandOutput("iptables -S OUTPUT").find("-P OUTPUT ACCEPT"), std::string::npos);
    kill(worker, SIGTERM);
    EXPECT_TRUE(waitFor([&] { return kill(worker, 0) != 0; }, 5000));
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
