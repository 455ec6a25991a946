#include "statusquery.h"

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

std::optional<QJsonObject> StatusQuery::ask(const QString& socketPath, int timeoutMs)
{
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
    const QJsonObject request{{ControlProtocol::CommandField, ControlProtocol::Status}};
    if (!sendAll(socket.fd, QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n')) {
        return std::nullopt;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    QByteArray received;
    for (;;) {
        int newline;
        while ((newline = received.indexOf('\n')) >= 0) {
            const QJsonObject object = QJsonDocument::fromJson(received.left(newline)).object();
            received.remove(0, newline + 1);
            if (object.contains(ControlProtocol::OkField)) {
                return object;
            }
        }
        if (received.size() > ControlProtocol::kMaxLineBytes) {
            return std::nullopt;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                .count();
        if (left <= 0) {
            return std::nullopt;
        }
        pollfd ready{socket.fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, int(left));
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        if (polled <= 0) {
            return std::nullopt;
        }
        char buffer[4096];
        const ssize_t n = ::recv(socket.fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return std::nullopt;
        }
        received.append(buffer, int(n));
    }
}
