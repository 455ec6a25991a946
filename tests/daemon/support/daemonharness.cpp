#include "daemonharness.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <sched.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace harness {

namespace {

std::map<pid_t, int> reaped;

bool mountTmpfs(const char* target)
{
    return mount("kvtest", target, "tmpfs", MS_NOSUID | MS_NODEV, "mode=0755") == 0;
}

// The build folder may itself live under /tmp, which the namespace hides
// behind a tmpfs: a copy on the namespace's own /run stays reachable.
bool keepProgramReachable(std::string& program)
{
    mkdir("/run/kv-bin", 0755);
    const std::string copy = "/run/kv-bin/" + program.substr(program.find_last_of('/') + 1);
    std::ifstream in(program, std::ios::binary);
    std::ofstream out(copy, std::ios::binary);
    out << in.rdbuf();
    out.close();
    if (!in || !out || chmod(copy.c_str(), 0755) != 0) {
        perror("copy the program under test");
        return false;
    }
    program = copy;
    return true;
}

bool setUpMounts(std::string* program)
{
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        perror("make mounts private");
        return false;
    }
    if (mount("proc", "/proc", "proc", MS_NOSUID | MS_NODEV | MS_NOEXEC, nullptr) != 0 ||
        !mountTmpfs("/run")) {
        perror("mount");
        return false;
    }
    if (program && !keepProgramReachable(*program)) {
        return false;
    }
    if (!mountTmpfs("/tmp")) {
        perror("mount /tmp");
        return false;
    }
    chmod("/tmp", 01777);
    struct stat info;
    if (stat("/usr/share/kestrova", &info) != 0) {
        // No such folder on the host: an overlay gives this namespace one.
        mkdir("/run/kv-overlay", 0700);
        mountTmpfs("/run/kv-overlay");
        mkdir("/run/kv-overlay/upper", 0755);
        mkdir("/run/kv-overlay/work", 0755);
        if (mount("overlay", "/usr/share", "overlay", 0,
                  "lowerdir=/usr/share,upperdir=/run/kv-overlay/upper,workdir=/run/kv-overlay/work") != 0) {
            perror("overlay /usr/share");
            return false;
        }
        mkdir("/usr/share/kestrova", 0700);
    }
    if (!mountTmpfs("/usr/share/kestrova")) {
        perror("tmpfs /usr/share/kestrova");
        return false;
    }
    // With no system log reachable the log would go to the console.
    mount("/dev/null", "/dev/console", nullptr, MS_BIND, nullptr);
    bindText("/etc/timezone", "Etc/UTC\n");
    if (system("ip link set lo up") != 0) {
        return false;
    }
    // The stand-ins for openvpn listen on fixed ports from 41000. An
    // outgoing connection may be given the same port as its own and leave it
    // in TIME_WAIT, and the stand-in's bind then fails: in this namespace
    // the kernel hands out ports above them only.
    std::ofstream("/proc/sys/net/ipv4/ip_local_port_range") << "45000 60999\n";
    return true;
}

} // namespace

bool enterPrivateNamespaces(std::string* program)
{
    if (unshare(CLONE_NEWNS | CLONE_NEWNET | CLONE_NEWPID) != 0) {
        perror("unshare");
        return false;
    }
    const pid_t child = fork();
    if (child < 0) {
        return false;
    }
    if (child > 0) {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        exit(WIFEXITED(status) ? WEXITSTATUS(status) : 1);
    }
    signal(SIGPIPE, SIG_IGN);
    return setUpMounts(program);
}

bool bindText(const std::string& target, const std::string& content)
{
    static int counter = 0;
    mkdir("/run/kv-bind", 0755);
    const std::string source = "/run/kv-bind/" + std::to_string(++counter);
    std::ofstream(source) << content;
    chmod(source.c_str(), 0644);
    return mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) == 0;
}

void unbind(const std::string& target)
{
    umount2(target.c_str(), MNT_DETACH);
}

const std::map<pid_t, int>& reapChildren()
{
    int status = 0;
    pid_t pid;
    while ((pid = waitpid(-1, &status, WNOHANG)) > 0) {
        reaped[pid] = status;
    }
    return reaped;
}

bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        reapChildren();
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::optional<pid_t> readPidFile(const std::string& path)
{
    const std::string text = readFile(path);
    if (text.empty()) {
        return std::nullopt;
    }
    return static_cast<pid_t>(atoi(text.c_str()));
}

std::string log()
{
    return readFile(kLogFile);
}

bool logHas(const std::string& text)
{
    return log().find(text) != std::string::npos;
}

namespace {

pid_t launch(const std::string& program, const std::vector<std::string>& env, bool ignoreChildSignals)
{
    const pid_t launcher = fork();
    if (launcher != 0) {
        return launcher;
    }
    // The launcher is the daemon's parent: it is not process 1, so the daemon
    // detaches as it does under a start script.
    const pid_t daemon = fork();
    if (daemon == 0) {
        setenv("KESTROVAD_LOG_FILE", kLogFile, 1);
        for (const std::string& assignment : env) {
            putenv(strdup(assignment.c_str()));
        }
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (ignoreChildSignals) {
            signal(SIGCHLD, SIG_IGN);
        }
        const int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, 1);
        dup2(devNull, 2);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(daemon, &status, 0);
    _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 126);
}

} // namespace

int runOnce(const std::string& program, const std::vector<std::string>& env, bool ignoreChildSignals)
{
    const pid_t launcher = launch(program, env, ignoreChildSignals);
    int status = 0;
    waitpid(launcher, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool Daemon::start()
{
    if (truncate(kLogFile, 0) != 0 && errno != ENOENT) {
        return false;
    }
    if (runOnce(program, {}, ignoreChildSignals) != 0) {
        return false;
    }
    return waitFor([] { return readPidFile("/run/kestrovad.pid").has_value() && portAnswers(); }, 5000);
}

pid_t Daemon::monitorPid() const
{
    return readPidFile("/run/kestrovad.pid").value_or(0);
}

pid_t Daemon::workerPid() const
{
    const pid_t monitor = monitorPid();
    if (monitor <= 0) {
        return 0;
    }
    const std::string path =
        "/proc/" + std::to_string(monitor) + "/task/" + std::to_string(monitor) + "/children";
    return static_cast<pid_t>(atoi(readFile(path).c_str()));
}

std::vector<pid_t> Daemon::allPids() const
{
    std::vector<pid_t> pids;
    for (pid_t pid : {monitorPid(), workerPid()}) {
        if (pid > 0) {
            pids.push_back(pid);
        }
    }
    return pids;
}

void Daemon::stop()
{
    const std::vector<pid_t> pids = allPids();
    if (pids.empty()) {
        return;
    }
    kill(pids.front(), SIGTERM);
    const bool gone = waitFor(
        [&pids] {
            for (pid_t pid : pids) {
                if (kill(pid, 0) == 0) {
                    return false;
                }
            }
            return true;
        },
        5000);
    if (!gone) {
        for (pid_t pid : pids) {
            kill(pid, SIGKILL);
        }
        waitFor([] { return false; }, 200);
    }
    unlink("/run/kestrovad.pid");
}

namespace {

int connectTo(const char* address)
{
    const int sock = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(kDaemonPort);
    inet_pton(AF_INET, address, &to.sin_addr);
    if (connect(sock, reinterpret_cast<sockaddr*>(&to), sizeof(to)) != 0) {
        close(sock);
        return -1;
    }
    return sock;
}

} // namespace

bool portAnswers()
{
    // A reply, not a connection: a starting worker holds the port while it
    // settles the kill switch, and connections wait until it has.
    MessagePacket packet;
    std::memset(&packet, 0, sizeof(packet));
    packet.command = AA_COMMAND_FIREWALL_SUPPORTED;
    return exchange(packet).has_value();
}

std::optional<MessageReply> exchange(const MessagePacket& packet, const char* address)
{
    const int sock = connectTo(address);
    if (sock < 0) {
        return std::nullopt;
    }
    const char* out = reinterpret_cast<const char*>(&packet);
    size_t sent = 0;
    while (sent < sizeof(packet)) {
        const ssize_t put = send(sock, out + sent, sizeof(packet) - sent, MSG_NOSIGNAL);
        if (put <= 0) {
            close(sock);
            return std::nullopt;
        }
        sent += static_cast<size_t>(put);
    }
    MessageReply reply;
    char* in = reinterpret_cast<char*>(&reply);
    size_t got = 0;
    while (got < sizeof(reply)) {
        timeval timeout = {kClientReplyTimeoutSec, 0};
        setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
        const ssize_t n = recv(sock, in + got, sizeof(reply) - got, 0);
        if (n <= 0) {
            close(sock);
            return std::nullopt;
        }
        got += static_cast<size_t>(n);
    }
    close(sock);
    return reply;
}

std::optional<MessageReply> exchangeAs(uid_t uid, const MessagePacket& packet)
{
    int fds[2];
    if (pipe(fds) != 0) {
        return std::nullopt;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        if (setgid(65534) != 0 || setuid(uid) != 0) {
            _exit(2);
        }
        const auto reply = exchange(packet);
        unsigned char answer[1 + sizeof(MessageReply)] = {};
        answer[0] = reply ? 1 : 0;
        if (reply) {
            std::memcpy(answer + 1, &*reply, sizeof(MessageReply));
        }
        ssize_t ignored = write(fds[1], answer, sizeof(answer));
        (void)ignored;
        _exit(0);
    }
    close(fds[1]);
    unsigned char answer[1 + sizeof(MessageReply)] = {};
    const ssize_t got = read(fds[0], answer, sizeof(answer));
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got != static_cast<ssize_t>(sizeof(answer)) || answer[0] == 0) {
        return std::nullopt;
    }
    MessageReply reply;
    std::memcpy(&reply, answer + 1, sizeof(reply));
    return reply;
}

} // namespace harness
