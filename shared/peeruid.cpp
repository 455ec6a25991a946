#include "peeruid.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

class FdCloser
{
public:
    explicit FdCloser(int fd) : fd(fd) {}
    ~FdCloser()
    {
        if (fd >= 0) {
            close(fd);
        }
    }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int fd;
};

} // namespace

std::optional<uid_t> lookupPeerUid(const sockaddr_in& local, const sockaddr_in& peer)
{
    const int fd = socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
    if (fd < 0) {
        return std::nullopt;
    }
    FdCloser closer(fd);
    timeval timeout = {1, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));

    struct
    {
        nlmsghdr header;
        inet_diag_req_v2 request;
    } message;
    std::memset(&message, 0, sizeof(message));
    message.header.nlmsg_len = sizeof(message);
    message.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    message.header.nlmsg_flags = NLM_F_REQUEST;
    message.header.nlmsg_seq = 1;
    message.request.sdiag_family = AF_INET;
    message.request.sdiag_protocol = IPPROTO_TCP;
    message.request.idiag_states = 1u << TCP_ESTABLISHED;
    // The peer's socket: its source is our peer, its destination is us.
    message.request.id.idiag_sport = peer.sin_port;
    message.request.id.idiag_dport = local.sin_port;
    message.request.id.idiag_src[0] = peer.sin_addr.s_addr;
    message.request.id.idiag_dst[0] = local.sin_addr.s_addr;
    message.request.id.idiag_if = 0;
    message.request.id.idiag_cookie[0] = INET_DIAG_NOCOOKIE;
    message.request.id.idiag_cookie[1] = INET_DIAG_NOCOOKIE;

    sockaddr_nl kernel;
    std::memset(&kernel, 0, sizeof(kernel));
    kernel.nl_family = AF_NETLINK;
    if (sendto(fd, &message, sizeof(message), 0, reinterpret_cast<sockaddr*>(&kernel), sizeof(kernel)) < 0) {
        return std::nullopt;
    }
    alignas(nlmsghdr) char buffer[8192];
    ssize_t length;
    do {
        length = recv(fd, buffer, sizeof(buffer), 0);
    } while (length < 0 && errno == EINTR);
    if (length <= 0) {
        return std::nullopt;
    }
    for (nlmsghdr* reply = reinterpret_cast<nlmsghdr*>(buffer); NLMSG_OK(reply, static_cast<size_t>(length));
         reply = NLMSG_NEXT(reply, length)) {
        if (reply->nlmsg_type != SOCK_DIAG_BY_FAMILY ||
            reply->nlmsg_len < NLMSG_LENGTH(sizeof(inet_diag_msg))) {
            return std::nullopt;
        }
        const inet_diag_msg* diag = static_cast<const inet_diag_msg*>(NLMSG_DATA(reply));
        if (diag->idiag_family == AF_INET && diag->idiag_state == TCP_ESTABLISHED && diag->idiag_inode != 0 &&
            diag->id.idiag_sport == peer.sin_port && diag->id.idiag_dport == local.sin_port &&
            diag->id.idiag_src[0] == peer.sin_addr.s_addr && diag->id.idiag_dst[0] == local.sin_addr.s_addr) {
            return static_cast<uid_t>(diag->idiag_uid);
        }
    }
    return std::nullopt;
}

std::optional<uid_t> lookupPeerUid(int connection)
{
    sockaddr_in local;
    sockaddr_in peer;
    socklen_t localLength = sizeof(local);
    socklen_t peerLength = sizeof(peer);
    if (getsockname(connection, reinterpret_cast<sockaddr*>(&local), &localLength) != 0 ||
        getpeername(connection, reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0 ||
        local.sin_family != AF_INET || peer.sin_family != AF_INET) {
        return std::nullopt;
    }
    return lookupPeerUid(local, peer);
}

std::optional<uid_t> waitForPeerUid(int connection, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    auto pause = std::chrono::milliseconds(1);
    std::optional<uid_t> owner;
    while (!(owner = lookupPeerUid(connection)) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
    return owner;
}
