// The daemon's contact with the system that needs no root: the socket-id
// file, starting programs, the openvpn launcher and the peer lookup.
#include "callerfile.h"
#include "commanddispatcher.h"
#include "commandserver.h"
#include "daemonservices.h"
#include "openvpnlauncher.h"
#include "peeridentity.h"
#include "processrunner.h"
#include "socketidfile.h"
#include "support/packetbuilder.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <pthread.h>
#include <sstream>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class FakeRunner : public ProcessRunner
{
public:
    pid_t spawnDetached(const std::vector<std::string>& argv, std::string* error) override
    {
        spawned.push_back(argv);
        if (!succeed) {
            *error = "exec failed";
        }
        return succeed ? 4242 : -1;
    }
    int runAndWait(const std::vector<std::string>&, int) override { return 0; }
    std::vector<std::vector<std::string>> spawned;
    bool succeed = true;
};

class NullServices : public DaemonServices
{
public:
    void setInterfaceToSkip(const std::string&) override {}
    bool firewallOn(const std::string&, bool, bool, bool, bool, uid_t) override { return false; }
    bool firewallChange(const std::string&, bool, bool, bool, bool, uid_t) override { return false; }
    bool firewallOff() override { return false; }
    std::optional<uid_t> firewallOwner() override { return std::nullopt; }
    void setFirewallOwner(uid_t) override {}
    std::optional<uid_t> activeSessionUser() override { return std::nullopt; }
    std::set<uid_t> tunnelOwners() override { return {}; }
    bool stopTunnels(uid_t) override { return false; }
    bool timezoneSupported() override { return false; }
    bool timezoneRestore() override { return false; }
    bool timezoneChange(const std::string&) override { return false; }
    std::optional<std::string> readProfile(const OpenvpnOptions&, uid_t, std::string*) override
    {
        return std::nullopt;
    }
    bool runOpenvpn(const OpenvpnOptions&, const std::string&, uid_t, std::string*) override { return false; }
    void releaseListeningSocket() override {}
    std::optional<std::string> stageUpdate(const std::string&, uid_t) override { return std::nullopt; }
    bool startUpdate(const std::string&) override { return false; }
};

int freeLoopbackPort()
{
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    socklen_t length = sizeof(address);
    if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(probe);
        return -1;
    }
    close(probe);
    return ntohs(address.sin_port);
}

int connectTo(int port)
{
    const int sock = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    timeval timeout = {3, 0};
    setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
    if (connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        close(sock);
        return -1;
    }
    return sock;
}

// True when the server closed the connection without a reply.
bool closedByServer(int sock)
{
    char byte;
    const ssize_t got = recv(sock, &byte, 1, 0);
    return got == 0 || (got < 0 && errno == ECONNRESET);
}

const char* kProfile =
    "client\r\ndev tun\r\nproto udp\r\nremote 192.0.2.10 1194 udp\r\n<ca>\r\nMIIB\r\n</ca>\r\n";

} // namespace

TEST(SocketIdFile, WritesDecimalWithoutNewlineAndReplacesALinkInsteadOfFollowingIt)
{
    TempDir dir;
    const std::string path = dir.path + "/kestrovad-socket.id";
    ASSERT_TRUE(setSocketIdToFile(path, 7));
    EXPECT_EQ(readFile(path), "7");
    EXPECT_EQ(getSocketIdFromFile(path), 7);

    const std::string victim = dir.file("victim", "precious");
    unlink(path.c_str());
    ASSERT_EQ(symlink(victim.c_str(), path.c_str()), 0);
    EXPECT_EQ(getSocketIdFromFile(path), 0) << "a link is not read";
    ASSERT_TRUE(setSocketIdToFile(path, 0));
    EXPECT_EQ(readFile(victim), "precious");
    struct stat info;
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(readFile(path), "0");
    EXPECT_EQ(getSocketIdFromFile(dir.path + "/missing"), 0);
}

TEST(ProcessRunner, ReportsWhetherExecSucceeded)
{
    SystemProcessRunner runner;
    std::string error;
    EXPECT_GT(runner.spawnDetached({"/bin/true"}, &error), 0) << error;
    EXPECT_EQ(runner.spawnDetached({"/nonexistent/openvpn"}, &error), -1);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(runner.spawnDetached({"true"}, &error), -1) << "no PATH search";

    EXPECT_EQ(runner.runAndWait({"/bin/sh", "-c", "exit 3"}, 5), 3 << 8);
    EXPECT_EQ(runner.runAndWait({"/nonexistent"}, 5), -1);
    // Arguments are passed as they are, never through a shell.
    TempDir dir;
    const std::string marker = dir.path + "/marker";
    runner.runAndWait({"/bin/echo", "x; touch " + marker}, 5);
    EXPECT_NE(access(marker.c_str(), F_OK), 0);
}

namespace {

// Field `index` (1-based, after the command name) of /proc/PID/stat.
long statField(pid_t pid, int index)
{
    const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    const size_t name = stat.rfind(')');
    if (name == std::string::npos) {
        return -1;
    }
    std::istringstream fields(stat.substr(name + 2));
    std::string field;
    for (int at = 3; at <= index && fields >> field; ++at) {
    }
    return std::stol(field);
}

bool gone(pid_t pid)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (access(("/proc/" + std::to_string(pid)).c_str(), F_OK) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace

TEST(ProcessRunner, AChildStartsInItsOwnSessionAndIsReapedWhenItEnds)
{
    SystemProcessRunner runner;
    std::string error;
    const pid_t pid = runner.spawnChild({"/bin/sleep", "30"}, &error);
    ASSERT_GT(pid, 0) << error;
    EXPECT_EQ(statField(pid, 4), getpid()) << "one fork, no middle process";
    EXPECT_EQ(statField(pid, 6), pid) << "a session of its own";
    kill(pid, SIGKILL);
    EXPECT_TRUE(gone(pid)) << "left as a zombie, it would count as a running openvpn";

    EXPECT_EQ(runner.spawnChild({"/nonexistent/openvpn"}, &error), -1);
    EXPECT_EQ(error, strerror(ENOENT));
    EXPECT_EQ(runner.spawnChild({"sleep", "1"}, &error), -1) << "no PATH search";
}

TEST(ProcessRunner, HungProgramIsKilledAtTheTimeOut)
{
    SystemProcessRunner runner;
    const int status = runner.runAndWait({"/bin/sleep", "30"}, 1);
    EXPECT_TRUE(WIFSIGNALED(status));
}

TEST(ProcessRunner, ProgramsStartWithCleanSignalsAndNoDaemonDescriptors)
{
    TempDir dir;
    const std::string notAProgram = dir.file("not-a-program", "\x7f"
                                                              "ELF garbage");
    chmod(notAProgram.c_str(), 0700);
    SystemProcessRunner runner;
    std::string error;
    EXPECT_EQ(runner.spawnDetached({notAProgram}, &error), -1)
        << "the exec failure of the grandchild is seen";
    EXPECT_EQ(error, strerror(ENOEXEC));
    EXPECT_EQ(runner.runAndWait({notAProgram}, 5), -1);

    // What the daemon ignores, blocks or holds open stays behind.
    const int fd = open(dir.file("secret", "").c_str(), O_RDWR); // without O_CLOEXEC
    ASSERT_GE(fd, 3);
    sigset_t block, old;
    sigemptyset(&block);
    sigaddset(&block, SIGUSR2);
    pthread_sigmask(SIG_BLOCK, &block, &old);
    const auto oldHandler = signal(SIGUSR1, SIG_IGN);
    // The shell reads its own status with builtins: a grep it forks would
    // see the mask the shell blocks all signals with while it forks.
    const std::string probe = "[ ! -e /proc/$$/fd/" + std::to_string(fd) +
                              " ] && while read -r key value; do case $key$value in"
                              " SigIgn:*[!0]* | SigBlk:*[!0]*) exit 1 ;; esac; done </proc/$$/status"
                              " && [ \"$(pwd)\" = / ]";
    EXPECT_EQ(runner.runAndWait({"/bin/sh", "-c", probe}, 5), 0);
    const std::string marker = dir.path + "/clean";
    const pid_t child = runner.spawnChild({"/bin/sh", "-c", probe + " && : >" + marker}, &error);
    ASSERT_GT(child, 0) << error;
    EXPECT_TRUE(gone(child));
    EXPECT_EQ(access(marker.c_str(), F_OK), 0) << "a started child inherited the daemon's state";
    EXPECT_EQ(runner.spawnChild({notAProgram}, &error), -1);
    EXPECT_EQ(error, strerror(ENOEXEC));
    signal(SIGUSR1, oldHandler);
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    close(fd);
}

namespace {

// Reads the profile as command 9 does and starts from it.
bool readAndLaunch(OpenvpnLauncher& launcher, const OpenvpnOptions& options, uid_t uid, std::string* why)
{
    const auto profile = launcher.readProfile(options, uid, why);
    return profile && launcher.launch(options, *profile, uid, why);
}

// A process of ours in a stand-in for /proc that runs with `copy` as its
// profile, as the openvpn started from it does.
void runsFrom(const TempDir& dir, int pid, const std::string& copy)
{
    mkdir((dir.path + "/proc").c_str(), 0755);
    mkdir((dir.path + "/proc/" + std::to_string(pid)).c_str(), 0755);
    const std::string argv = std::string("/usr/sbin/openvpn\0--config\0", 27) + copy + '\0';
    dir.file("proc/" + std::to_string(pid) + "/cmdline", argv);
}

} // namespace

TEST(OpenvpnLauncher, CopiesACheckedProfileIntoAPrivateFolderAndStartsFromTheCopy)
{
    TempDir dir;
    FakeRunner runner;
    OpenvpnLauncher launcher(runner, {dir.path + "/copies", "/usr/sbin/openvpn", dir.path + "/proc"});
    const std::string profile = dir.file("Kestrova.abc123", kProfile);
    std::string why;
    ASSERT_TRUE(readAndLaunch(launcher, {profile, 41000}, getuid(), &why)) << why;

    ASSERT_EQ(runner.spawned.size(), 1u);
    const std::vector<std::string>& argv = runner.spawned[0];
    EXPECT_EQ(argv, OpenvpnLauncher::buildArguments("/usr/sbin/openvpn", argv[2], 41000));
    EXPECT_EQ(argv[2].rfind(dir.path + "/copies/openvpn-" + std::to_string(getuid()) + "-", 0), 0u)
        << argv[2];
    EXPECT_EQ(readFile(argv[2]), kProfile);
    struct stat info;
    ASSERT_EQ(stat((dir.path + "/copies").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    ASSERT_EQ(stat(argv[2].c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0077, 0u);
}

TEST(OpenvpnLauncher, CopiesArePrunedOnlyAmongTheCallersFinishedLaunches)
{
    TempDir dir;
    FakeRunner runner;
    OpenvpnLauncher launcher(runner, {dir.path + "/copies", "/usr/sbin/openvpn", dir.path + "/proc"});
    const uid_t caller = 1000;
    const uid_t other = 1001;
    // The openvpn processes the daemon started and that still run.
    std::set<pid_t> ours;
    std::string why;
    ASSERT_TRUE(launcher.launch({"/p", 41000}, "first", caller, &why, nullptr, ours)) << why;
    const std::string first = runner.spawned.back()[2];
    runsFrom(dir, 100, first);
    ours.insert(100);
    ASSERT_TRUE(launcher.launch({"/p", 41000}, "finished", caller, &why, nullptr, ours)) << why;
    const std::string finished = runner.spawned.back()[2];
    ASSERT_TRUE(launcher.launch({"/p", 41000}, "another user's", other, &why, nullptr, ours)) << why;
    const std::string othersCopy = runner.spawned.back()[2];
    EXPECT_NE(first, finished) << "the same port gets a copy of its own";
    // Another process names the finished copy in its arguments (a set-uid
    // program run by another user, say): that keeps nothing alive.
    runsFrom(dir, 99, finished);

    ASSERT_TRUE(launcher.launch({"/p", 41000}, "newest", caller, &why, nullptr, ours)) << why;
    EXPECT_EQ(readFile(first), "first") << "a running openvpn keeps its copy";
    EXPECT_NE(access(finished.c_str(), F_OK), 0) << "the caller's finished launch is pruned";
    EXPECT_EQ(readFile(othersCopy), "another user's") << "another caller's copy is left alone";

    // Sixteen running copies are the most one caller may hold; processes
    // that are not the daemon's openvpn never count towards them.
    int pid = 101;
    runsFrom(dir, pid, runner.spawned.back()[2]);
    ours.insert(pid++);
    for (size_t running = 2; running < OpenvpnLauncher::kMaxProfileCopies; ++running) {
        ASSERT_TRUE(launcher.launch({"/p", 41000}, "more", caller, &why, nullptr, ours)) << why;
        runsFrom(dir, pid, runner.spawned.back()[2]);
        runsFrom(dir, pid + 1000, othersCopy);
        ours.insert(pid++);
    }
    const size_t before = runner.spawned.size();
    EXPECT_FALSE(launcher.launch({"/p", 41000}, "one too many", caller, &why, nullptr, ours));
    EXPECT_EQ(runner.spawned.size(), before);
    EXPECT_TRUE(launcher.launch({"/p", 41000}, "another user's second", other, &why, nullptr, ours)) << why;
}

TEST(OpenvpnLauncher, RefusesLinksForeignFilesAndBadProfiles)
{
    TempDir dir;
    FakeRunner runner;
    OpenvpnLauncher launcher(runner, {dir.path + "/copies", "/usr/sbin/openvpn", dir.path + "/proc"});
    const std::string good = dir.file("good.ovpn", kProfile);
    std::string why;

    const std::string link = dir.path + "/link.ovpn";
    ASSERT_EQ(symlink(good.c_str(), link.c_str()), 0);
    EXPECT_FALSE(readAndLaunch(launcher, {link, 41000}, getuid(), &why)) << "symlinked profile";

    mkdir((dir.path + "/real").c_str(), 0755);
    dir.file("real/p.ovpn", kProfile);
    ASSERT_EQ(symlink((dir.path + "/real").c_str(), (dir.path + "/via").c_str()), 0);
    EXPECT_FALSE(readAndLaunch(launcher, {dir.path + "/via/p.ovpn", 41000}, getuid(), &why))
        << "link on the path";

    EXPECT_FALSE(readAndLaunch(launcher, {dir.path, 41000}, getuid(), &why)) << "a folder";

    // A special file is refused without ever being opened: opening a device
    // as root can already act on it. A FIFO stands in for the device.
    const std::string fifo = dir.path + "/fifo.ovpn";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, fifo.c_str(), IN_OPEN), 0);
    EXPECT_FALSE(readAndLaunch(launcher, {fifo, 41000}, getuid(), &why)) << "a FIFO";
    char events[4096];
    EXPECT_LT(read(watch, events, sizeof(events)), 0) << "the FIFO was opened";
    close(watch);
    EXPECT_FALSE(readAndLaunch(launcher, {good, 41000}, getuid() + 1, &why)) << "someone else's file";

    for (const char* bad :
         {"plugin /tmp/x.so\n", "up /tmp/x\n", "route-pre-down /tmp/x\n", "log /etc/passwd\n"}) {
        const std::string path = dir.file("bad.ovpn", std::string(kProfile) + bad);
        EXPECT_FALSE(readAndLaunch(launcher, {path, 41000}, getuid(), &why)) << bad;
        EXPECT_NE(why.find("profile line"), std::string::npos) << why;
    }
    EXPECT_TRUE(runner.spawned.empty());

    runner.succeed = false;
    EXPECT_FALSE(readAndLaunch(launcher, {good, 41000}, getuid(), &why)) << "exec failure is a failure";
}

namespace {

std::atomic<int> forks{0};

} // namespace

TEST(CallerFile, AFileOnTheRootFileSystemIsReadWithoutAChildAndUnderTheSameRules)
{
    static const int registered = pthread_atfork([] { ++forks; }, nullptr, nullptr);
    (void)registered;
    TempDir dir;
    struct stat info;
    struct stat root;
    ASSERT_EQ(stat(dir.path.c_str(), &info), 0);
    ASSERT_EQ(stat("/", &root), 0);
    if (info.st_dev != root.st_dev) {
        GTEST_SKIP() << "/tmp is not on the root file system here";
    }
    const std::string profile = dir.file("Kestrova.abc", kProfile);
    const int before = forks;
    std::string why;
    const auto text = readCallerFile(profile, {getuid(), 1 << 20, std::chrono::seconds(3)}, &why);
    ASSERT_TRUE(text) << why;
    EXPECT_EQ(*text, kProfile);
    EXPECT_EQ(forks, before) << "a child read a file that cannot hang";

    // Refusals are the same either way.
    EXPECT_FALSE(readCallerFile(profile, {getuid(), 10, std::chrono::seconds(3)}, &why));
    EXPECT_EQ(why, "too large");
    EXPECT_FALSE(readCallerFile(profile, {getuid() + 1, 1 << 20, std::chrono::seconds(3)}, &why));
    EXPECT_EQ(why, "not owned by the caller");
    const std::string link = dir.path + "/link";
    ASSERT_EQ(symlink(profile.c_str(), link.c_str()), 0);
    EXPECT_FALSE(readCallerFile(link, {getuid(), 1 << 20, std::chrono::seconds(3)}, &why));
    ASSERT_EQ(mkdir((dir.path + "/real").c_str(), 0700), 0);
    dir.file("real/p", kProfile);
    ASSERT_EQ(symlink((dir.path + "/real").c_str(), (dir.path + "/via").c_str()), 0);
    EXPECT_FALSE(readCallerFile(dir.path + "/via/p", {getuid(), 1 << 20, std::chrono::seconds(3)}, &why))
        << "a link on the path";
}

TEST(PeerIdentity, FindsTheUidOfALoopbackPeer)
{
    const int server = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(listen(server, 1), 0);
    socklen_t length = sizeof(address);
    getsockname(server, reinterpret_cast<sockaddr*>(&address), &length);

    const int client = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    const int accepted = accept(server, nullptr, nullptr);
    ASSERT_GE(accepted, 0);
    EXPECT_EQ(lookupPeerUid(accepted), std::optional<uid_t>(getuid()));

    // A port pair that no socket has is not guessed.
    sockaddr_in local{};
    sockaddr_in peer{};
    length = sizeof(local);
    getsockname(accepted, reinterpret_cast<sockaddr*>(&local), &length);
    length = sizeof(peer);
    getpeername(accepted, reinterpret_cast<sockaddr*>(&peer), &length);
    peer.sin_port = htons(static_cast<uint16_t>(ntohs(peer.sin_port) ^ 1));
    EXPECT_FALSE(lookupPeerUid(local, peer));
    close(client);
    close(accepted);
    close(server);
}

TEST(AccessPolicyRules, RootAlwaysAndGroupsWhenTheyExist)
{
    AccessPolicy noGroups([](uid_t, const std::string&) -> std::optional<bool> { return std::nullopt; });
    EXPECT_TRUE(noGroups.allows(1000, AA_COMMAND_RUN_OPENVPN));
    EXPECT_FALSE(noGroups.allows(1000, AA_COMMAND_UPDATE_INSTALL)) << "no sudo group: root only";
    EXPECT_TRUE(noGroups.allows(0, AA_COMMAND_UPDATE_INSTALL));
    EXPECT_TRUE(AccessPolicy::systemMembership(0, "root").value_or(false));
    EXPECT_FALSE(AccessPolicy::systemMembership(0, "no-such-group-kv"));
}

TEST(SocketIo, ReadsWholeRecordsAndGivesUpOnClosedSilentOrTricklingSenders)
{
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    std::thread writer([fd = fds[1]] {
        const std::string first(6000, 'a');
        const std::string second(4000, 'b');
        EXPECT_EQ(socketSendAll(fd, first.data(), first.size(), 2), 6000);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(socketSendAll(fd, second.data(), second.size(), 2), 4000);
    });
    std::string buffer(10000, '\0');
    EXPECT_EQ(socketRecvAll(fds[0], &buffer[0], buffer.size(), 2), 10000);
    EXPECT_EQ(buffer.substr(5998, 4), "aabb");
    writer.join();

    // Silence longer than the per-call time-out.
    EXPECT_EQ(socketRecvAll(fds[0], &buffer[0], 10, 1), -1);

    // A byte every 300 ms never hits the per-call limit, only the total one.
    std::thread trickle([fd = fds[1]] {
        for (int i = 0; i < 8; ++i) {
            if (send(fd, "x", 1, MSG_NOSIGNAL) != 1) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
    });
    EXPECT_EQ(socketRecvAll(fds[0], &buffer[0], 100, 1, 1), -1);
    trickle.join();

    // The sender closes before the record is complete.
    send(fds[1], "yy", 2, 0);
    close(fds[1]);
    EXPECT_EQ(socketRecvAll(fds[0], &buffer[0], 100, 1), -1);
    close(fds[0]);
}

TEST(CommandServerLimits, OneUserCannotTakeEverySlot)
{
    TempDir dir;
    const int port = freeLoopbackPort();
    ASSERT_GT(port, 0);
    ServerConfig config;
    config.address = "127.0.0.1";
    config.port = port;
    config.socketIdPath = dir.path + "/socket.id";
    config.ioTimeoutSec = 10;
    config.packetTimeoutSec = 10;
    config.maxConnectionsPerUser = 2;
    // Detached handler threads may outlive the test body: keep the server alive.
    static NullServices services;
    static CommandDispatcher dispatcher(services);
    static CommandServer* server = new CommandServer(dispatcher, config);
    ASSERT_TRUE(server->start());
    ASSERT_TRUE(server->waitUntilListening(3000));

    // Two silent connections of this user hold both of its slots ...
    const int first = connectTo(port);
    const int second = connectTo(port);
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    // ... so a third is closed at once instead of waiting for a packet.
    const int third = connectTo(port);
    ASSERT_GE(third, 0);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(closedByServer(third));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    close(third);

    // Once one is given up, the user is served again.
    close(first);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const int fourth = connectTo(port);
    ASSERT_GE(fourth, 0);
    const auto packet = makePacket(AA_COMMAND_FIREWALL_SUPPORTED);
    ASSERT_EQ(send(fourth, packet.get(), sizeof(MessagePacket), MSG_NOSIGNAL),
              static_cast<ssize_t>(sizeof(MessagePacket)));
    MessageReply reply{};
    EXPECT_EQ(socketRecvAll(fourth, &reply, sizeof(reply), 3), static_cast<ssize_t>(sizeof(reply)));
    EXPECT_EQ(reply.result, 1);
    close(fourth);
    close(second);

    server->release();
    for (int i = 0; i < 30 && readFile(config.socketIdPath) != "0"; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(readFile(config.socketIdPath), "0") << "stopped listening";
}
