#include "enginecall.h"

#include "controlprotocol.h"

#include <QFile>
#include <QJsonDocument>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Closes the descriptor on every way out.
struct Descriptor
{
    int fd;
    ~Descriptor()
    {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

// Reads what has come, keeping the first descriptor that came with it.
ssize_t receive(int fd, char* buffer, size_t size, int* descriptor)
{
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * 4)];
    iovec part{buffer, size};
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t n = ::recvmsg(fd, &message, MSG_CMSG_CLOEXEC);
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); n >= 0 && header;
         header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS) {
            continue;
        }
        const size_t count = (header->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (size_t i = 0; i < count; ++i) {
            int received;
            std::memcpy(&received, CMSG_DATA(header) + i * sizeof(int), sizeof(int));
            if (*descriptor < 0) {
                *descriptor = received;
            } else {
                ::close(received);
            }
        }
    }
    return n;
}

bool sendAll(int fd, const QByteArray& data)
{
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        sent += n;
    }
    return true;
}

} // namespace

std::optional<QJsonObject> EngineCall::run(const QString& socketPath, const QString& command, int timeoutMs,
                                           int* descriptor)
{
    if (descriptor) {
        *descriptor = -1;
    }
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    if (path.size() >= int(sizeof address.sun_path)) {
        return std::nullopt;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    Descriptor socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    if (socket.fd < 0 || ::connect(socket.fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        return std::nullopt;
    }
    // Only this user's own engine is believed.
    ucred peer{};
    socklen_t length = sizeof peer;
    if (::getsockopt(socket.fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 || length != sizeof peer ||
        peer.uid != ::getuid()) {
        return std::nullopt;
    }
    return converse(socket.fd, QJsonObject{{ControlProtocol::CommandField, command}}, timeoutMs, {},
                    descriptor);
}

std::optional<QJsonObject> EngineCall::converse(int fd, const QJsonObject& request, int timeoutMs,
                                                const std::function<void(const QJsonObject&)>& onEvent,
                                                int* descriptor, bool* heard)
{
    if (descriptor) {
        *descriptor = -1;
    }
    if (heard) {
        *heard = false;
    }
    if (!sendAll(fd, QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n')) {
        return std::nullopt;
    }
    return awaitReply(fd, timeoutMs, onEvent, descriptor, heard);
}

std::optional<QJsonObject> EngineCall::awaitReply(int fd, int timeoutMs,
                                                  const std::function<void(const QJsonObject&)>& onEvent,
                                                  int* descriptor, bool* heard)
{
    int unused = -1;
    if (!descriptor) {
        descriptor = &unused;
    }
    *descriptor = -1;
    if (heard) {
        *heard = false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    QByteArray received;
    for (;;) {
        int newline;
        while ((newline = received.indexOf('\n')) >= 0) {
            const QJsonObject object = QJsonDocument::fromJson(received.left(newline)).object();
            received.remove(0, newline + 1);
            if (heard) {
                *heard = true;
            }
            if (object.contains(ControlProtocol::OkField)) {
                // A descriptor nobody asked for is not kept open.
                if (descriptor == &unused && unused >= 0) {
                    ::close(unused);
                }
                return object;
            }
            if (onEvent && object.contains(ControlProtocol::EventField)) {
                onEvent(object);
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                .count();
        if (left <= 0 || received.size() > ControlProtocol::kMaxLineBytes) {
            break;
        }
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, int(left));
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        if (polled <= 0) {
            break;
        }
        char buffer[4096];
        const ssize_t n = receive(fd, buffer, sizeof buffer, descriptor);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        received.append(buffer, int(n));
    }
    if (*descriptor >= 0) {
        ::close(*descriptor);
        *descriptor = -1;
    }
    return std::nullopt;
}
