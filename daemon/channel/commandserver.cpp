#include "commandserver.h"

#include "commanddispatcher.h"
#include "daemonlog.h"
#include "peeridentity.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

void setTimeout(int sock, int option, int seconds)
{
    timeval timeout = {seconds, 0};
    setsockopt(sock, SOL_SOCKET, option, &timeout, sizeof(timeout));
}

} // namespace

ssize_t socketRecvAll(int sock, void* buffer, size_t len, int seconds, int totalSeconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(totalSeconds);
    char* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < len) {
        if (totalSeconds > 0 && std::chrono::steady_clock::now() > deadline) {
            errno = ETIMEDOUT;
            return -1;
        }
        setTimeout(sock, SO_RCVTIMEO, seconds);
        const ssize_t got = recv(sock, out + done, len - done, 0);
        if (got <= 0) {
            return -1;
        }
        done += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(len);
}

ssize_t socketSendAll(int sock, const void* buffer, size_t len, int seconds)
{
    const char* in = static_cast<const char*>(buffer);
    size_t done = 0;
    while (done < len) {
        setTimeout(sock, SO_SNDTIMEO, seconds);
        // MSG_NOSIGNAL: a client that went away must not kill the worker.
        const ssize_t put = send(sock, in + done, len - done, MSG_NOSIGNAL);
        if (put < 0) {
            return -1;
        }
        done += static_cast<size_t>(put);
    }
    return static_cast<ssize_t>(len);
}

CommandServer::CommandServer(CommandDispatcher& dispatcher_, ServerConfig config_)
    : dispatcher(dispatcher_), config(std::move(config_))
{
}

bool CommandServer::claimPort()
{
    std::lock_guard<std::mutex> guard(stateMutex);
    if (claimedFd < 0 && !running) {
        claimedFd = createListeningSocket();
    }
    return claimedFd >= 0 || running;
}

bool CommandServer::start()
{
    {
        std::lock_guard<std::mutex> guard(stateMutex);
        if (running) {
            return true;
        }
        running = true;
        releasing = false;
    }
    try {
        std::thread(&CommandServer::listenThread, this).detach();
    } catch (const std::system_error&) {
        std::lock_guard<std::mutex> guard(stateMutex);
        running = false;
        return false;
    }
    return true;
}

int CommandServer::release()
{
    std::lock_guard<std::mutex> guard(stateMutex);
    releasing = true;
    if (listenFd >= 0) {
        // Wakes the blocked accept; the listening thread closes the socket.
        shutdown(listenFd, SHUT_RDWR);
    }
    return listenFd;
}

bool CommandServer::waitUntilListening(int timeoutMs)
{
    std::unique_lock<std::mutex> guard(stateMutex);
    return stateChanged.wait_for(guard, std::chrono::milliseconds(timeoutMs), [this] {
        return listening || !running;
    }) && listening;
}

int CommandServer::createListeningSocket()
{
    const int sock = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (sock < 0) {
        printDiagnostic("Could not create socket\n");
        return -1;
    }
    printDiagnostic("Socket created\n");
    setSocketIdToFile(config.socketIdPath, sock);

    const int on = 1;
    if (setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on)) < 0) {
        printDiagnostic("setsockopt(SO_REUSEADDR) failed\n");
    }
    // No SO_REUSEPORT: a second socket must never share the command port.
    linger noLinger = {1, 0};
    if (setsockopt(sock, SOL_SOCKET, SO_LINGER, &noLinger, sizeof(noLinger)) < 0) {
        printDiagnostic("setsockopt(SO_LINGER) failed\n");
    }
    sockaddr_in address;
    std::memset(&address, 0, sizeof(address));
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(config.port));
    inet_pton(AF_INET, config.address.c_str(), &address.sin_addr);
    if (bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)) < 0) {
        printDiagnostic("bind failed. Error: %s\n", strerror(errno));
        WriteLog("bind failed. Error: %s", strerror(errno));
        close(sock);
        setSocketIdToFile(config.socketIdPath, 0);
        return -1;
    }
    printDiagnostic("bind done\n");
    listen(sock, 3);
    printDiagnostic("Waiting for incoming connections...\n");
    return sock;
}

void CommandServer::listenThread()
{
    int claimed;
    {
        std::lock_guard<std::mutex> guard(stateMutex);
        claimed = claimedFd;
        claimedFd = -1;
    }
    const int sock = claimed >= 0 ? claimed : createListeningSocket();
    {
        std::lock_guard<std::mutex> guard(stateMutex);
        if (sock < 0) {
            running = false;
            stateChanged.notify_all();
            return;
        }
        listenFd = sock;
        listening = true;
        if (releasing) {
            shutdown(sock, SHUT_RDWR);
        }
    }
    stateChanged.notify_all();

    while (true) {
        const int connection = accept4(sock, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            bool released;
            {
                std::lock_guard<std::mutex> guard(stateMutex);
                released = releasing;
            }
            if (released || errno == EBADF || errno == EINVAL) {
                break;
            }
            // Out of descriptors or a connection that died in the queue:
            // wait a little and go on serving.
            if (errno != EINTR && errno != ECONNABORTED) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            continue;
        }
        printDiagnostic("Connection accepted\n");
        if (activeConnections.load() >= config.maxConnections) {
            WriteLog("Too many connections, closed one");
            close(connection);
            continue;
        }
        const std::optional<uid_t> peerUid = lookupPeerUid(connection);
        if (!admit(peerUid)) {
            WriteLog("Too many connections from uid %d, closed one",
                     peerUid ? static_cast<int>(*peerUid) : -1);
            close(connection);
            continue;
        }
        ++activeConnections;
        try {
            std::thread(&CommandServer::connectionHandler, this, connection, peerUid).detach();
            printDiagnostic("Handler assigned\n");
        } catch (const std::system_error& error) {
            printDiagnostic("could not create thread: %s\n", error.what());
            --activeConnections;
            leave(peerUid);
            close(connection);
        }
    }
    {
        std::lock_guard<std::mutex> guard(stateMutex);
        close(sock);
        listenFd = -1;
        listening = false;
        setSocketIdToFile(config.socketIdPath, 0);
        running = false;
    }
    stateChanged.notify_all();
}

bool CommandServer::admit(std::optional<uid_t> peerUid)
{
    std::lock_guard<std::mutex> guard(usersMutex);
    size_t& count = connectionsPerUser[peerUid.value_or(static_cast<uid_t>(-1))];
    if (count >= config.maxConnectionsPerUser) {
        return false;
    }
    ++count;
    return true;
}

void CommandServer::leave(std::optional<uid_t> peerUid)
{
    std::lock_guard<std::mutex> guard(usersMutex);
    const auto entry = connectionsPerUser.find(peerUid.value_or(static_cast<uid_t>(-1)));
    if (entry != connectionsPerUser.end() && --entry->second == 0) {
        connectionsPerUser.erase(entry);
    }
}

void CommandServer::connectionHandler(int connection, std::optional<uid_t> peerUid)
{
    // A reply must reach the client in full: no reset on close here.
    linger graceful = {0, 0};
    setsockopt(connection, SOL_SOCKET, SO_LINGER, &graceful, sizeof(graceful));

    auto packet = std::make_unique<MessagePacket>();
    const ssize_t count = socketRecvAll(connection, packet.get(), sizeof(MessagePacket), config.ioTimeoutSec,
                                        config.packetTimeoutSec);
    if (count == static_cast<ssize_t>(sizeof(MessagePacket))) {
        printDiagnostic("Data readed: %d\n", static_cast<int>(count));
        // A sender may write the whole record and close at once: its socket
        // then belongs to nobody, and the kernel reports its owner as root.
        // The owner counts only while the socket is still open now, and is
        // still the one found at accept.
        const std::optional<uid_t> sender =
            peerUid && lookupPeerUid(connection) == peerUid ? peerUid : std::nullopt;
        const MessageReply reply = dispatcher.processMessagePacket(*packet, sender);
        printDiagnostic("Message processing is finished\n");
        if (socketSendAll(connection, &reply, sizeof(reply), config.ioTimeoutSec) ==
            static_cast<ssize_t>(sizeof(reply))) {
            printDiagnostic("writed\n");
        } else {
            printDiagnostic("write failed\n");
        }
    } else {
        printDiagnostic("recv failed: %s\n", strerror(errno));
        WriteLog("recv failed");
    }
    WriteLog("close(client_sock);");
    close(connection);
    leave(peerUid);
    --activeConnections;
}
