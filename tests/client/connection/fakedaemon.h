// A stand-in for kestrovad on a free loopback port: it records every packet it
// receives and answers with a chosen reply, after a chosen delay.
#pragma once

#include "daemonprotocol.h"

#include <QtGlobal>

#include <algorithm>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class FakeDaemon
{
public:
    using Packet = std::vector<uint8_t>;
    // Called for each packet before the reply goes out; returns the result byte.
    using Handler = std::function<uint8_t(const Packet&)>;

    // Port 0: any free loopback port.
    explicit FakeDaemon(quint16 wantedPort = 0)
    {
        listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int one = 1;
        ::setsockopt(listenFd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = htons(wantedPort);
        ::bind(listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        socklen_t len = sizeof addr;
        ::getsockname(listenFd, reinterpret_cast<sockaddr*>(&addr), &len);
        boundPort = ntohs(addr.sin_port);
        ::listen(listenFd, 8);
        worker = std::thread([this] { serve(); });
    }

    ~FakeDaemon()
    {
        stopping = true;
        ::shutdown(listenFd, SHUT_RDWR);
        worker.join();
        ::close(listenFd);
    }

    quint16 port() const { return boundPort; }

    void setReply(uint8_t result) { reply = result; }
    void setDelay(std::chrono::milliseconds d) { delay = d; }
    // Send only this many bytes of the reply, then close.
    void setReplyLength(size_t n) { replyLength = n; }
    void setHandler(Handler h)
    {
        std::lock_guard<std::mutex> lock(mutex);
        handler = std::move(h);
    }

    std::vector<Packet> packets()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return received;
    }
    int connections() const { return accepted; }

    static int32_t commandOf(const Packet& p)
    {
        int32_t c;
        std::memcpy(&c, p.data(), 4);
        return c;
    }
    static uint32_t unitAt(const Packet& p, size_t offset)
    {
        uint32_t u;
        std::memcpy(&u, p.data() + offset, 4);
        return u;
    }
    // The zero-terminated wide text starting at offset, as UCS-4 units.
    static std::u32string wideAt(const Packet& p, size_t offset, size_t units)
    {
        std::u32string s;
        for (size_t i = 0; i < units; ++i) {
            const uint32_t u = unitAt(p, offset + 4 * i);
            if (u == 0) {
                break;
            }
            s.push_back(static_cast<char32_t>(u));
        }
        return s;
    }

private:
    void serve()
    {
        while (!stopping) {
            const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) {
                return;
            }
            ++accepted;
            Packet p(sizeof(MessagePacket));
            size_t got = 0;
            while (got < p.size()) {
                const ssize_t n = ::recv(fd, p.data() + got, p.size() - got, 0);
                if (n <= 0) {
                    break;
                }
                got += static_cast<size_t>(n);
            }
            if (got == p.size()) {
                Handler h;
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    received.push_back(p);
                    h = handler;
                }
                uint8_t result = h ? h(p) : reply.load();
                std::this_thread::sleep_for(delay.load());
                uint8_t out[sizeof(MessageReply)] = {result};
                ::send(fd, out, std::min(replyLength.load(), sizeof out), MSG_NOSIGNAL);
            }
            ::close(fd);
        }
    }

    int listenFd = -1;
    quint16 boundPort = 0;
    std::atomic<bool> stopping{false};
    std::atomic<uint8_t> reply{1};
    std::atomic<std::chrono::milliseconds> delay{std::chrono::milliseconds(0)};
    std::atomic<size_t> replyLength{sizeof(MessageReply)};
    std::atomic<int> accepted{0};
    std::mutex mutex;
    Handler handler;
    std::vector<Packet> received;
    std::thread worker;
};

// A loopback port on which nothing listens (bound once, then released).
inline quint16 unusedLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}
