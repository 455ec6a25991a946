#include "labnet.h"

#include "firewallrunner.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace LabNet {

namespace {

bool toSockaddr(const std::string& address, int port, sockaddr_storage& out, socklen_t& len)
{
    std::memset(&out, 0, sizeof out);
    auto* v4 = reinterpret_cast<sockaddr_in*>(&out);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&out);
    if (inet_pton(AF_INET, address.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<uint16_t>(port));
        len = sizeof(sockaddr_in);
        return true;
    }
    if (inet_pton(AF_INET6, address.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<uint16_t>(port));
        len = sizeof(sockaddr_in6);
        return true;
    }
    return false;
}

bool waitReadable(int fd, int timeoutMs)
{
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, timeoutMs) == 1;
}

class Fd
{
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

bool inLabClientNamespace()
{
    // The namespace file that "ip netns" keeps for kv-client is the same
    // namespace object as our own: a positive check, it cannot match the host.
    const char* name = getenv("KESTROVA_LAB_CLIENT_NS");
    const std::string file = std::string("/run/netns/") + (name && *name ? name : "kv-client");
    struct stat self, lab;
    if (stat("/proc/self/ns/net", &self) != 0 || stat(file.c_str(), &lab) != 0)
        return false;
    return self.st_ino == lab.st_ino && self.st_dev == lab.st_dev;
}

bool mountPrivateFolders(std::string* error)
{
    // Only ever in the mount namespace that in_lab.sh made for us.
    if (!getenv("KESTROVA_PRIVATE_MOUNTS")) {
        *error = "not in a private mount namespace";
        return false;
    }
    for (const char* dir : {"/run", "/tmp", "/usr/share"}) {
        if (mount("kestrova-test", dir, "tmpfs", 0, "mode=0755") != 0) {
            *error = std::string("mount tmpfs on ") + dir + ": " + strerror(errno);
            return false;
        }
    }
    chmod("/tmp", 01777);
    return true;
}

bool tcpConnects(const std::string& address, int port, int timeoutMs)
{
    sockaddr_storage sa;
    socklen_t len;
    if (!toSockaddr(address, port, sa, len))
        return false;
    Fd s(socket(sa.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (s.get() < 0)
        return false;
    if (connect(s.get(), reinterpret_cast<sockaddr*>(&sa), len) != 0 && errno != EINPROGRESS)
        return false;
    pollfd p{s.get(), POLLOUT, 0};
    if (poll(&p, 1, timeoutMs) != 1)
        return false;
    int err = 0;
    socklen_t errLen = sizeof err;
    getsockopt(s.get(), SOL_SOCKET, SO_ERROR, &err, &errLen);
    if (err != 0)
        return false;
    // A real answer, not just a handshake: the echo service sends it back.
    const char probe[] = "kestrova";
    if (send(s.get(), probe, sizeof probe, MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof probe))
        return false;
    if (port != 7)
        return true;
    if (!waitReadable(s.get(), timeoutMs))
        return false;
    char buf[64];
    return recv(s.get(), buf, sizeof buf, 0) > 0;
}

bool udpEchoes(const std::string& address, int port, int timeoutMs)
{
    sockaddr_storage sa;
    socklen_t len;
    if (!toSockaddr(address, port, sa, len))
        return false;
    Fd s(socket(sa.ss_family, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (s.get() < 0 || connect(s.get(), reinterpret_cast<sockaddr*>(&sa), len) != 0)
        return false;
    const char probe[] = "kestrova-udp";
    if (send(s.get(), probe, sizeof probe, 0) < 0)
        return false;
    if (!waitReadable(s.get(), timeoutMs))
        return false;
    char buf[64];
    return recv(s.get(), buf, sizeof buf, 0) == static_cast<ssize_t>(sizeof probe) &&
           std::memcmp(buf, probe, sizeof probe) == 0;
}

bool pingAnswers(const std::string& address)
{
    return run({"ping", "-n", "-q", "-c", "1", "-W", "0.5", address});
}

bool dnsAnswers(const std::string& server, const std::string& name, int timeoutMs)
{
    std::string q("\x4b\x56\x01\x00\x00\x01\x00\x00\x00\x00\x00\x00", 12);
    size_t start = 0;
    while (start < name.size()) {
        size_t dot = name.find('.', start);
        if (dot == std::string::npos)
            dot = name.size();
        q += static_cast<char>(dot - start);
        q += name.substr(start, dot - start);
        start = dot + 1;
    }
    q += std::string("\x00\x00\x01\x00\x01", 5);

    sockaddr_storage sa;
    socklen_t len;
    if (!toSockaddr(server, 53, sa, len))
        return false;
    Fd s(socket(sa.ss_family, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (s.get() < 0 || connect(s.get(), reinterpret_cast<sockaddr*>(&sa), len) != 0)
        return false;
    if (send(s.get(), q.data(), q.size(), 0) < 0 || !waitReadable(s.get(), timeoutMs))
        return false;
    unsigned char buf[512];
    const ssize_t n = recv(s.get(), buf, sizeof buf, 0);
    // Our id, a response, no error, at least one answer.
    return n >= 12 && buf[0] == 0x4b && buf[1] == 0x56 && (buf[2] & 0x80) && (buf[3] & 0x0f) == 0 &&
           (buf[6] << 8 | buf[7]) > 0;
}

std::vector<std::string> output(const std::vector<std::string>& argv)
{
    char path[] = "/tmp/kestrova-out-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0)
        return {};
    close(fd);
    SystemFirewallRunner runner;
    runner.run(argv, {}, path, nullptr);
    std::vector<std::string> lines;
    std::ifstream f(path);
    for (std::string l; std::getline(f, l);)
        lines.push_back(l);
    unlink(path);
    return lines;
}

bool run(const std::vector<std::string>& argv, const std::string& input)
{
    SystemFirewallRunner runner;
    if (input.empty())
        return runner.run(argv, {}, {}, nullptr) == 0;
    char path[] = "/tmp/kestrova-in-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0)
        return false;
    const bool written = write(fd, input.data(), input.size()) == static_cast<ssize_t>(input.size());
    close(fd);
    const bool ok = written && runner.run(argv, path, {}, nullptr) == 0;
    unlink(path);
    return ok;
}

} // namespace LabNet
