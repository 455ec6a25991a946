#include "openvpnconnectorqt.h"

#include "constants.h"
#include "peeruid.h"
#include "serviceconnector.h"

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// One management connection per process. Sends from both threads and the
// close are serialised, so a command never interleaves with another and
// nobody writes to a descriptor that has been closed and reused.
std::atomic<int> socketOpenVPNfd{-1};
// Where OpenVPN connects to, until it has.
std::atomic<int> listenerFd{-1};
std::mutex socketMutex;

int sendAll(int fd, const char* data, int length)
{
    if (length < 1) {
        return 0;
    }
    int sent = 0;
    while (sent < length) {
        const ssize_t n = ::send(fd, data + sent, length - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return -1;
        }
        sent += static_cast<int>(n);
    }
    return sent;
}

constexpr int kReadTimedOut = -2;

// Reads one line, a byte at a time, up to its line feed. At most size - 1
// bytes are kept and zero-terminated (a carriage return before the line feed
// stays); the rest of a longer line is read and dropped. Returns the bytes
// received including the line feed, -1 when the peer closed or recv failed,
// or kReadTimedOut when a receive time-out set on the socket ran out.
int sgetline(int fd, char* buffer, int size)
{
    int kept = 0;
    int received = 0;
    for (;;) {
        char c;
        const ssize_t n = ::recv(fd, &c, 1, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return kReadTimedOut;
        }
        if (n <= 0) {
            return -1;
        }
        ++received;
        if (c == '\n') {
            break;
        }
        if (kept < size - 1) {
            buffer[kept++] = c;
        }
    }
    buffer[kept] = '\0';
    return received;
}

void closeListener()
{
    std::lock_guard<std::mutex> lock(socketMutex);
    const int fd = listenerFd.exchange(-1);
    if (fd >= 0) {
        ::close(fd);
    }
}

// A listener on 127.0.0.1 at a port the system picks; -1 when none.
int openListener(int* port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    sockaddr_in addr;
    std::memset(&addr, 0, sizeof addr);
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    // A small backlog: besides OpenVPN only someone else's probes come, and
    // each is looked at and dropped.
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 8) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        ::close(fd);
        return -1;
    }
    *port = ntohs(addr.sin_port);
    return fd;
}

void setReceiveTimeout(int fd, int ms)
{
    timeval timeout{ms / 1000, (ms % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
}

void closeManagementSocket()
{
    std::lock_guard<std::mutex> lock(socketMutex);
    const int fd = socketOpenVPNfd.exchange(-1);
    if (fd >= 0) {
        ::close(fd);
    }
}

qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool containsAny(const QString& line, const char* a, const char* b)
{
    return line.contains(QLatin1String(a), Qt::CaseInsensitive) ||
           line.contains(QLatin1String(b), Qt::CaseInsensitive);
}

// ">LOG:time,flags,text": the text of a line whose flags mark it fatal.
QString fatalMessage(const QString& line)
{
    const int start = line.indexOf(QLatin1String(">LOG:"), 0, Qt::CaseInsensitive);
    const QStringList parts = line.mid(start + 5).split(',');
    if (parts.size() < 3 || !parts.at(1).contains('F')) {
        return QString();
    }
    return parts.mid(2).join(',').trimmed();
}

} // namespace

struct OpenVPNConnectorQt::RunFlags
{
    // Attached to a running OpenVPN: the answer to "state" (one line in the
    // history format, then END) is its current state.
    bool stateQueryPending = false;
    bool tapErrorRaised = false;
    bool proxyErrorRaised = false;
    bool fatalRaised = false;
    bool exitNotified = false;
    bool secondStopSent = false;
    QElapsedTimer exitNotifyTimer;
    QByteArray usernameCommand;
    QByteArray passwordCommand;
};

OpenVPNConnectorQt::OpenVPNConnectorQt(Parameters params, QObject* parent)
    : QThread(parent), serviceConnector(params.serviceConnector)
{
    stalledStop.setSingleShot(true);
    stalledStop.setInterval(kDrainMs + 1000);
    QObject::connect(&stalledStop, &QTimer::timeout, this, &OpenVPNConnectorQt::cutStalledWorker);
    // Emitted on the worker's own thread; handled on the owner's.
    QObject::connect(this, &QThread::finished, this, &OpenVPNConnectorQt::onWorkerFinished,
                     Qt::QueuedConnection);
}

OpenVPNConnectorQt::~OpenVPNConnectorQt()
{
    stopWorker();
}

void OpenVPNConnectorQt::stopWorker()
{
    if (!isRunning()) {
        return;
    }
    disconnect();
    // OpenVPN closes the management socket when it exits; if it does not, the
    // worker's blocking read is cut short here.
    if (!wait(kDrainMs + 1000)) {
        cutStalledWorker();
    }
    wait();
}

void OpenVPNConnectorQt::cutStalledWorker()
{
    std::lock_guard<std::mutex> lock(socketMutex);
    // Wakes a worker that still waits for OpenVPN to connect, too.
    for (const int fd : {socketOpenVPNfd.load(), listenerFd.load()}) {
        if (fd >= 0) {
            ::shutdown(fd, SHUT_RDWR);
        }
    }
}

void OpenVPNConnectorQt::connect(const QString& configFile, const QString& login, const QString& password)
{
    begin(configFile, login, password, -1);
}

void OpenVPNConnectorQt::attach(int managementSocket, const QString& login, const QString& password)
{
    begin(QString(), login, password, managementSocket);
}

int OpenVPNConnectorQt::managementSocket() const
{
    return socketConnected ? socketOpenVPNfd.load() : -1;
}

void OpenVPNConnectorQt::begin(const QString& configFile, const QString& login, const QString& password,
                               int socket)
{
    if (pendingAttachSocket >= 0 && pendingAttachSocket != socket) {
        // Replaced before its run began: its OpenVPN quits with it.
        ::close(pendingAttachSocket);
    }
    pendingAttachSocket = socket;
    pendingConfigFile = configFile;
    pendingLogin = login;
    pendingPassword = password;
    if (isRunning() || restartPending) {
        // The previous run (for example one that failed authentication and
        // still waits for OpenVPN to exit) is told to stop and its OpenVPN
        // to quit; none of its late signals reach the new connection, which
        // starts when that run has ended, without holding up the caller.
        if (!restartPending) {
            retiring = true;
            disconnect();
            restartPending = true;
            stalledStop.start();
        }
        return;
    }
    startRun();
}

void OpenVPNConnectorQt::onWorkerFinished()
{
    stalledStop.stop();
    if (!restartPending) {
        emit idle();
        return;
    }
    restartPending = false;
    startRun();
}

void OpenVPNConnectorQt::startRun()
{
    retiring = false;
    configFile = pendingConfigFile;
    attachSocket = std::exchange(pendingAttachSocket, -1);
    login = pendingLogin;
    password = pendingPassword;
    socketConnected = false;
    stopRequested = false;
    restartAskedMs = 0;
    restartWhenManaged = false;
    closeManagementSocket();
    closeListener();
    state = 1;
    qDebug() << "start OpenVPNConnectorQt";
    start(QThread::LowPriority);
}

void OpenVPNConnectorQt::disconnect()
{
    if (restartPending) {
        // Nothing new starts after all; the ending run reports its end.
        restartPending = false;
        retiring = false;
    }
    // Set first: the worker reads OpenVPN's answer to the signal as part of
    // a stop.
    stopRequested = true;
    if (socketOpenVPNfd.load() != -1 && socketConnected) {
        sendOnManagement("signal SIGTERM\n");
    }
}

void OpenVPNConnectorQt::restart()
{
    if (state == 0 || stopRequested) {
        return;
    }
    if (socketOpenVPNfd.load() == -1 || !socketConnected) {
        // OpenVPN is starting, with the network as it was: it starts over as
        // soon as its management connection is there to tell it.
        if (isRunning()) {
            restartWhenManaged = true;
        }
        return;
    }
    const qint64 now = steadyMs();
    const qint64 asked = restartAskedMs.load();
    if (asked != 0 && now - asked < kRestartPendingMs) {
        return;
    }
    restartAskedMs = now;
    sendOnManagement("signal SIGHUP\n");
}

int OpenVPNConnectorQt::getAvailablePort()
{
    addrinfo hints;
    std::memset(&hints, 0, sizeof hints);
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* result = nullptr;
    if (::getaddrinfo("127.0.0.1", nullptr, &hints, &result) != 0 || result == nullptr) {
        return -1;
    }
    int port = -1;
    const int fd = ::socket(result->ai_family, result->ai_socktype | SOCK_CLOEXEC, result->ai_protocol);
    if (fd >= 0) {
        sockaddr_storage bound;
        socklen_t len = sizeof bound;
        if (::bind(fd, result->ai_addr, result->ai_addrlen) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &len) == 0) {
            if (bound.ss_family == AF_INET) {
                port = ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
            } else if (bound.ss_family == AF_INET6) {
                port = ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port);
            }
        }
        ::close(fd);
    }
    ::freeaddrinfo(result);
    return port > 0 ? port : -1;
}

QString OpenVPNConnectorQt::openVpnArguments(const QString& configFile, int managementPort)
{
    return QString("--config \"%1\"").arg(QDir::toNativeSeparators(configFile)) + " --management 127.0.0.1 " +
           QString::number(managementPort) + " --management-client --management-query-passwords " +
           " --script-security 2 " + " --up " + Constants::ResolvConfScript + " " + " --down " +
           Constants::ResolvConfScript + " ";
}

bool OpenVPNConnectorQt::connectToPipeAndRunOpenVPN()
{
    // The path goes inside double quotes on the daemon's side: a quote or a
    // control character in it could not be carried intact.
    for (QChar c : configFile) {
        if (c == '"' || c.unicode() < 0x20 || c.unicode() == 0x7f) {
            qDebug() << "OpenVPN profile path can not be passed to the helper";
            return false;
        }
    }
    if (serviceConnector.isNull()) {
        return false;
    }
    return serviceConnector->runOpenVpnWithConfig(openVpnArguments(configFile, managementPort));
}

QByteArray OpenVPNConnectorQt::credentialCommand(const char* kind, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    if (utf8.contains('\n') || utf8.contains('\r') || utf8.contains('\0')) {
        return QByteArray();
    }
    QByteArray escaped;
    escaped.reserve(utf8.size() + 8);
    for (char c : utf8) {
        if (c == '\\' || c == '"') {
            escaped.append('\\');
        }
        escaped.append(c);
    }
    const QByteArray command = QByteArray(kind) + " \"Auth\" \"" + escaped + "\"\n";
    // The command and its terminating zero must fit the command buffer.
    if (command.size() + 1 > kCommandBufferSize) {
        return QByteArray();
    }
    return command;
}

void OpenVPNConnectorQt::sendOnManagement(const QByteArray& data)
{
    std::lock_guard<std::mutex> lock(socketMutex);
    const int fd = socketOpenVPNfd.load();
    if (fd >= 0) {
        sendAll(fd, data.constData(), data.size());
    }
}

bool OpenVPNConnectorQt::heldByRoot(int fd, int ownerWaitMs)
{
    const std::optional<uid_t> owner = waitForPeerUid(fd, std::chrono::milliseconds(ownerWaitMs));
    if (owner == std::optional<uid_t>(0)) {
        return true;
    }
    if (!foreignPortLogged) {
        foreignPortLogged = true;
        qWarning("A connection to the management port %d is not openvpn's as root (uid %d): dropped",
                 managementPort, owner ? static_cast<int>(*owner) : -1);
    }
    return false;
}

bool OpenVPNConnectorQt::greetsAsOpenVpn(int fd, int waitMs)
{
    // OpenVPN greets first. Another root process that was pointed at the
    // port (a tunnel with its remote on 127.0.0.1) sends no such line.
    char line[256];
    setReceiveTimeout(fd, waitMs);
    const int read = sgetline(fd, line, sizeof line);
    setReceiveTimeout(fd, 0);
    return read > 0 && std::strncmp(line, ">INFO:", 6) == 0;
}

namespace {

// A connection to the management port that has not yet shown whether it is
// root's OpenVPN.
struct Candidate
{
    int fd;
    bool root; // the kernel named root as its owner; its greeting is awaited
    QElapsedTimer age;
};

// Whose socket is at the other end: root (0), another user, or nullopt while
// the kernel cannot say (the peer closed at once, or is not established yet).
std::optional<uid_t> ownerOf(int fd)
{
    return lookupPeerUid(fd);
}

} // namespace

bool OpenVPNConnectorQt::acceptManagement(int listener, const QElapsedTimer& since, int windowMs)
{
    // Every connection is looked at side by side with the listener: one that
    // another user made first (and perhaps closed at once, so that nobody can
    // name its owner) costs OpenVPN no time. Only root's OpenVPN ends the
    // wait; until then the listener stays open, so nobody else can take the
    // port from under it.
    std::vector<Candidate> candidates;
    auto drop = [&candidates](size_t i) {
        ::close(candidates[i].fd);
        candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(i));
    };
    auto dropAll = [&candidates] {
        for (const Candidate& c : candidates) {
            ::close(c.fd);
        }
        candidates.clear();
    };
    for (;;) {
        const int leftMs = windowMs - static_cast<int>(since.elapsed());
        const bool rootWaiting =
            std::any_of(candidates.begin(), candidates.end(), [](const Candidate& c) { return c.root; });
        if (leftMs <= 0 && !rootWaiting) {
            dropAll();
            return false;
        }
        // An owner the kernel could not name yet is asked again shortly;
        // otherwise only events wake the wait.
        const bool unknownWaiting =
            candidates.size() > static_cast<size_t>(std::count_if(candidates.begin(), candidates.end(),
                                                                  [](const Candidate& c) { return c.root; }));
        int waitMs = std::max(leftMs, 0);
        for (const Candidate& c : candidates) {
            waitMs = std::max(waitMs, kMinOwnerWaitMs - static_cast<int>(c.age.elapsed()));
        }
        if (unknownWaiting) {
            waitMs = std::min(waitMs, kOwnerLookupRetryMs);
        }
        std::vector<pollfd> ready{{listener, POLLIN, 0}};
        for (const Candidate& c : candidates) {
            ready.push_back({c.fd, POLLIN | POLLRDHUP, 0});
        }
        const int count = ::poll(ready.data(), ready.size(), std::max(waitMs, 0));
        if (count < 0 && errno != EINTR) {
            dropAll();
            return false;
        }
        if ((ready[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            // Cut by a stop that could not wait any longer.
            dropAll();
            return false;
        }
        for (size_t i = candidates.size(); i-- > 0;) {
            Candidate& c = candidates[i];
            const short events = count > 0 ? ready[i + 1].revents : 0;
            if (c.root && (events & POLLIN) != 0) {
                // OpenVPN greets first. Another root process that was pointed
                // at the port (a tunnel with its remote on 127.0.0.1) sends no
                // such line.
                if (!greetsAsOpenVpn(c.fd, kMinOwnerWaitMs)) {
                    drop(i);
                    continue;
                }
                const int fd = c.fd;
                candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(i));
                dropAll();
                // Commands are short lines that each wait for OpenVPN's
                // answer: Nagle's algorithm would hold every one back for a
                // delayed ACK.
                const int one = 1;
                ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                socketOpenVPNfd = fd;
                socketConnected = true;
                return true;
            }
            if ((events & (POLLRDHUP | POLLHUP | POLLERR)) != 0 || c.age.elapsed() >= kMinOwnerWaitMs) {
                // Gone again, or never showed itself: not OpenVPN.
                drop(i);
                continue;
            }
            if (!c.root) {
                const std::optional<uid_t> owner = ownerOf(c.fd);
                if (owner == std::optional<uid_t>(0)) {
                    c.root = true;
                } else if (owner) {
                    refuseForeign(*owner);
                    drop(i);
                }
            }
        }
        if (count > 0 && (ready[0].revents & POLLIN) != 0) {
            const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) {
                if (errno != EINTR && errno != ECONNABORTED && errno != EAGAIN) {
                    dropAll();
                    return false;
                }
                continue;
            }
            // The daemon starts openvpn as root. Anybody may connect to the
            // port; only root's openvpn is handed the VPN login and password.
            const std::optional<uid_t> owner = ownerOf(fd);
            if (owner && *owner != 0) {
                refuseForeign(*owner);
                ::close(fd);
            } else if (candidates.size() >= kMaxCandidates) {
                ::close(fd);
            } else {
                candidates.push_back(Candidate{fd, owner.has_value(), QElapsedTimer()});
                candidates.back().age.start();
            }
        }
    }
}

void OpenVPNConnectorQt::refuseForeign(uid_t owner)
{
    if (!foreignPortLogged) {
        foreignPortLogged = true;
        qWarning("A connection to the management port %d is not openvpn's as root (uid %d): dropped",
                 managementPort, static_cast<int>(owner));
    }
}

void OpenVPNConnectorQt::lingerForLateOpenVpn(int listener)
{
    // An OpenVPN that comes after the wait was given up must not find the
    // port free for someone else to take: the listener stays a while longer,
    // and root's OpenVPN, should it still come, is told to quit.
    try {
        std::thread([listener] {
            QElapsedTimer since;
            since.start();
            while (since.elapsed() < kLateOpenVpnMs) {
                pollfd ready{listener, POLLIN, 0};
                if (::poll(&ready, 1, static_cast<int>(kLateOpenVpnMs - since.elapsed())) <= 0 ||
                    (ready.revents & POLLIN) == 0) {
                    continue;
                }
                const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
                if (fd < 0) {
                    continue;
                }
                if (waitForPeerUid(fd, std::chrono::milliseconds(kMinOwnerWaitMs)) ==
                        std::optional<uid_t>(0) &&
                    greetsAsOpenVpn(fd, kMinOwnerWaitMs)) {
                    sendAll(fd, "signal SIGTERM\n", 15);
                    ::close(fd);
                    break;
                }
                ::close(fd);
            }
            ::close(listener);
        }).detach();
    } catch (const std::system_error&) {
        ::close(listener);
    }
}

int OpenVPNConnectorQt::takeListener()
{
    std::lock_guard<std::mutex> lock(socketMutex);
    return listenerFd.exchange(-1);
}

void OpenVPNConnectorQt::run()
{
    RunFlags flags;
    // Closed on every way out before the dialogue: its OpenVPN quits with it.
    const int adopted = std::exchange(attachSocket, -1);
    auto dropAdopted = [adopted] {
        if (adopted >= 0) {
            ::close(adopted);
        }
    };
    flags.usernameCommand = credentialCommand("username", login);
    flags.passwordCommand = credentialCommand("password", password);
    if (flags.usernameCommand.isEmpty() || flags.passwordCommand.isEmpty()) {
        // Never sent: a line break would end the command early and the rest
        // would be read as further commands.
        qDebug() << "VPN login or password can not be sent to OpenVPN";
        dropAdopted();
        state = 0;
        if (live()) {
            emit error(ErrorAuthFailed);
        }
        return;
    }
    if (stopRequested) {
        // Stopped before anything was started: nothing to clean up.
        dropAdopted();
        state = 0;
        if (live()) {
            emit disconnected();
        }
        return;
    }
    int listener = -1;
    QElapsedTimer windowTimer;
    windowTimer.start();
    if (adopted < 0) {
        listener = openListener(&managementPort);
        if (listener < 0) {
            if (live()) {
                emit error(ErrorNoFreePort);
            }
            return;
        }
        listenerFd = listener;
        if (!connectToPipeAndRunOpenVPN()) {
            // Refused, or no answer in time: an openvpn started all the same
            // finds the port still ours.
            const int kept = takeListener();
            if (kept >= 0) {
                lingerForLateOpenVpn(kept);
            }
            if (live()) {
                emit error(ErrorHelperRefused);
            }
            return;
        }
        // The wait for OpenVPN begins once it has been started: a slow
        // answer of a busy daemon does not eat into it.
        windowTimer.restart();
    }

    socketConnected = false;
    foreignPortLogged = false;
    if (adopted >= 0) {
        flags.stateQueryPending = true;
        if (!heldByRoot(adopted, kMinOwnerWaitMs)) {
            ::close(adopted);
            state = 0;
            if (live()) {
                emit error(ErrorManagementUnreachable);
            }
            return;
        }
        const int one = 1;
        ::setsockopt(adopted, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        socketOpenVPNfd = adopted;
        socketConnected = true;
    }
    bool commandsSent = false;
    // After a stop request the worker reads on until OpenVPN closes the
    // management socket, which it does last of all, once the tunnel and its
    // routes are gone; so disconnected() means the tunnel is down and a new
    // connection will not meet the old one. The wait is bounded.
    bool draining = false;
    QElapsedTimer drainTimer;
    auto startDraining = [&]() {
        draining = true;
        drainTimer.start();
        setReceiveTimeout(socketOpenVPNfd.load(), 250);
    };
    QByteArray buffer(kLineBufferSize, '\0');
    for (;;) {
        if (!socketConnected) {
            const bool came = acceptManagement(listener, windowTimer, kConnectRetryWindowMs);
            // OpenVPN connects once; nobody else is let in after it. When it
            // did not come, the port is kept from others a while longer.
            const int kept = takeListener();
            if (kept >= 0) {
                if (came) {
                    ::close(kept);
                } else {
                    lingerForLateOpenVpn(kept);
                }
            }
            if (!came) {
                qDebug() << "OpenVPN did not connect to its management port within" << kConnectRetryWindowMs
                         << "ms";
                if (stopRequested) {
                    // The user asked to stop; the end is not an error.
                    break;
                }
                state = 0;
                if (live()) {
                    emit error(ErrorManagementUnreachable);
                }
                return;
            }
        }
        if (stopRequested && !draining) {
            if (!commandsSent) {
                // Asked to stop before the dialogue began: OpenVPN is running
                // by now, so tell it to quit rather than leave it behind.
                sendOnManagement("signal SIGTERM\n");
                commandsSent = true;
            }
            startDraining();
        }
        if (!commandsSent) {
            // A running OpenVPN's history holds its earlier states too; only
            // the current one counts.
            sendOnManagement(flags.stateQueryPending ? "state on\nstate\n" : "state on all\n");
            sendOnManagement("log on\n");
            sendOnManagement("bytecount 1\n");
            commandsSent = true;
        }
        if (restartWhenManaged.exchange(false) && !stopRequested) {
            restartAskedMs = steadyMs();
            sendOnManagement("signal SIGHUP\n");
        }
        // OpenVPN writes its answers in small pieces and waits for each ACK
        // before the next (Nagle's algorithm on its side): ACK at once rather
        // than after the delayed-ACK timer. The kernel drops the flag again
        // by itself, so it is renewed for every line.
        const int quickAck = 1;
        ::setsockopt(socketOpenVPNfd.load(), IPPROTO_TCP, TCP_QUICKACK, &quickAck, sizeof quickAck);
        const int read = sgetline(socketOpenVPNfd.load(), buffer.data(), buffer.size());
        if (read == -1) {
            break;
        }
        if (read != kReadTimedOut) {
            const QString line = QString::fromUtf8(buffer.constData());
            if (stopRequested && !flags.exitNotified &&
                line.contains(QLatin1String("sending exit notification to peer"), Qt::CaseInsensitive)) {
                // The notification is on its way; what OpenVPN would wait
                // for now is only its repetition.
                flags.exitNotified = true;
                flags.exitNotifyTimer.start();
                setReceiveTimeout(socketOpenVPNfd.load(), kExitNotifyGraceMs);
            }
            handleLine(line, flags);
        }
        if (flags.exitNotified && !flags.secondStopSent &&
            flags.exitNotifyTimer.hasExpired(kExitNotifyGraceMs)) {
            flags.secondStopSent = true;
            sendOnManagement("signal SIGTERM\n");
            setReceiveTimeout(socketOpenVPNfd.load(), 250);
        }
        if (draining && drainTimer.hasExpired(kDrainMs)) {
            break;
        }
    }

    qDebug() << "OpenVPN socket thread stopped";
    closeManagementSocket();
    closeListener();
    socketConnected = false;
    if (state != 0) {
        state = 0;
        if (live()) {
            emit disconnected();
        }
    }
}

void OpenVPNConnectorQt::handleLine(const QString& line, RunFlags& flags)
{
    if (!live()) {
        return;
    }
    if (flags.stateQueryPending && !line.startsWith(QLatin1Char('>'))) {
        // The answer to "state": "time,STATE,detail,local,remote,..." and END.
        if (line.startsWith(QLatin1String("END"))) {
            flags.stateQueryPending = false;
        } else if (!line.isEmpty() && line.at(0).isDigit() && line.count(QLatin1Char(',')) >= 2) {
            flags.stateQueryPending = false;
            handleLine(QLatin1String(">STATE:") + line, flags);
        }
        return;
    }
    // OpenVPN's own log quotes management traffic ("MANAGEMENT: >STATE:..."),
    // so a log line never counts as a notification or a reply: it would
    // report the tunnel up twice or send the credentials again.
    const bool logLine = line.startsWith(QLatin1String(">LOG:"), Qt::CaseInsensitive);
    if (!logLine &&
        line.contains(QLatin1String("PASSWORD:Need 'Auth' username/password"), Qt::CaseInsensitive)) {
        sendOnManagement(flags.usernameCommand);
    } else if (!logLine && line.contains(QLatin1String("'Auth' username entered, but not yet verified"),
                                         Qt::CaseInsensitive)) {
        sendOnManagement(flags.passwordCommand);
    } else if (line.contains(QLatin1String("AUTH: Received control message: AUTH_FAILED"))) {
        emit error(ErrorAuthFailed);
    } else if (line.contains(QLatin1String("There are no TAP-Windows adapters on this system"),
                             Qt::CaseInsensitive)) {
        if (!flags.tapErrorRaised) {
            flags.tapErrorRaised = true;
            emit error(ErrorNoTapAdapter);
        }
    } else if (line.contains(QLatin1String("Proxy requires authentication"), Qt::CaseInsensitive)) {
        if (!flags.proxyErrorRaised) {
            flags.proxyErrorRaised = true;
            emit error(ErrorProxyAuth);
        }
    } else if (!logLine && line.contains(QLatin1String(">BYTECOUNT:"), Qt::CaseInsensitive)) {
        const QStringList parts = line.split(':', Qt::SkipEmptyParts);
        if (parts.size() < 2) {
            return;
        }
        const QStringList counts = parts.at(1).split(',', Qt::SkipEmptyParts);
        if (counts.size() == 2) {
            emit statisticsUpdated(counts.at(0).trimmed().toULongLong(),
                                   counts.at(1).trimmed().toULongLong());
        }
    } else if (!logLine && line.contains(QLatin1String(">STATE:"), Qt::CaseInsensitive)) {
        const QStringList parts = line.split(',', Qt::SkipEmptyParts);
        // A state line without a state word names no state; nothing is reported for it.
        if (parts.size() >= 2) {
            if (parts.at(1).compare(QLatin1String("RECONNECTING"), Qt::CaseInsensitive) != 0) {
                restartAskedMs = 0;
            }
            emit stateChanged(parts.at(1));
        }
        if (line.contains(QLatin1String("CONNECTED,SUCCESS"), Qt::CaseInsensitive)) {
            state = 2;
            // ">STATE:time,CONNECTED,SUCCESS,local address,remote address,..."
            const int start = line.indexOf(QLatin1String(">STATE:"), 0, Qt::CaseInsensitive) + 7;
            const QStringList fields = line.mid(start).split(QLatin1Char(','));
            emit tunnelUp(fields.value(3).trimmed(), fields.value(0).trimmed().toLongLong());
            emit connected();
        } else if (line.contains(QLatin1String("CONNECTED,ERROR"), Qt::CaseInsensitive)) {
            state = 0;
            emit error(ErrorConnectedWithError);
        } else if (line.contains(QLatin1String("RECONNECTING"), Qt::CaseInsensitive)) {
            state = 1;
            emit reconnecting();
        }
    } else if (line.contains(QLatin1String(">LOG:"), Qt::CaseInsensitive)) {
        if (containsAny(line, "write UDPv4: No buffer space available (WSAENOBUFS) (code=10055)",
                        "write UDPv4: No Route to Host (WSAEHOSTUNREACH) (code=10065)")) {
            emit error(ErrorUdpWrite);
        }
        emit log(line);
        const QString message = fatalMessage(line);
        if (!message.isEmpty() && !flags.fatalRaised) {
            // OpenVPN exits after this line: the attempt ends here, with its
            // reason rather than a bare disconnect.
            flags.fatalRaised = true;
            state = 0;
            emit fatal(QStringLiteral("OpenVPN: ") + message);
        }
    }
}
