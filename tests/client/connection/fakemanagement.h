// A scripted stand-in for OpenVPN's management interface on loopback: like
// openvpn --management-client it connects to the client's port, greets, and
// plays a list of steps, recording what it receives.
#pragma once

#include <QByteArray>
#include <QList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

// Lets a test say when a script goes on, instead of hoping that a pause was
// long enough: each release() lets one wait through, before or after it began.
class Gate
{
public:
    void release()
    {
        std::lock_guard<std::mutex> lock(mutex);
        ++opened;
        changed.notify_all();
    }
    // False when `stop` came first.
    bool pass(const std::atomic<bool>& stop)
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (opened == 0 && !stop) {
            changed.wait_for(lock, std::chrono::milliseconds(10));
        }
        if (opened == 0) {
            return false;
        }
        --opened;
        return true;
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    int opened = 0;
};

// When OpenVPN connects and when it greets: after a pause, or (kOnRelease)
// once the test has released the gate.
struct ManagementTiming
{
    static constexpr int kOnRelease = -1;
    int connectDelayMs = 0;
    int greetDelayMs = 0;
};

class FakeManagement
{
public:
    struct Step
    {
        enum Kind
        {
            Send,         // send text as it is
            Expect,       // read one line and record it
            Sleep,        // pause for ms milliseconds
            Drain,        // record lines until the client closes (or 5 s pass)
            Close,        // close the connection
            Finish,       // stop sending, then record lines until the client closes
            UntilSigterm, // record lines until "signal SIGTERM", then close
            Hold,         // wait until the test releases the gate
        } kind;
        QByteArray text;
        int ms = 0;
    };
    static Step send(const QByteArray& t) { return Step{Step::Send, t, 0}; }
    static Step expect() { return Step{Step::Expect, {}, 0}; }
    static Step sleep(int ms) { return Step{Step::Sleep, {}, ms}; }
    static Step drain() { return Step{Step::Drain, {}, 0}; }
    static Step close() { return Step{Step::Close, {}, 0}; }
    static Step finish() { return Step{Step::Finish, {}, 0}; }
    static Step untilSigterm() { return Step{Step::UntilSigterm, {}, 0}; }
    static Step hold() { return Step{Step::Hold, {}, 0}; }

    using Timing = ManagementTiming;

    // Connects to port and then plays the steps.
    FakeManagement(quint16 port, std::vector<Step> steps, Timing timing = {},
                   std::shared_ptr<Gate> gate = std::make_shared<Gate>())
        : steps(std::move(steps)), gate(std::move(gate))
    {
        worker = std::thread([this, port, timing] { play(port, timing); });
    }
    ~FakeManagement()
    {
        stopping = true;
        worker.join();
    }

    QList<QByteArray> lines()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return received;
    }
    bool finished() const { return done; }
    bool clientConnected() const { return accepted; }

private:
    bool readLine(int fd, QByteArray& line)
    {
        line.clear();
        char c;
        for (;;) {
            const ssize_t n = ::recv(fd, &c, 1, 0);
            if (n <= 0) {
                return false;
            }
            if (c == '\n') {
                return true;
            }
            line.append(c);
        }
    }

    // A pause that ends early when the owner goes away.
    void pause(int ms)
    {
        for (int waited = 0; waited < ms && !stopping; waited += 10) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    void wait(int ms)
    {
        if (ms == Timing::kOnRelease) {
            gate->pass(stopping);
        } else {
            pause(ms);
        }
    }

    void record(const QByteArray& line)
    {
        std::lock_guard<std::mutex> lock(mutex);
        received.append(line);
    }

    void play(quint16 port, Timing timing)
    {
        wait(timing.connectDelayMs);
        if (stopping) {
            done = true;
            return;
        }
        int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            ::close(fd);
            done = true;
            return;
        }
        wait(timing.greetDelayMs);
        const char greeting[] =
            ">INFO:OpenVPN Management Interface Version 5 -- type 'help' for more info\r\n";
        ::send(fd, greeting, sizeof greeting - 1, MSG_NOSIGNAL);
        accepted = true;
        timeval rt{5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &rt, sizeof rt);
        for (const Step& step : steps) {
            if (fd < 0) {
                break;
            }
            QByteArray line;
            switch (step.kind) {
            case Step::Send:
                ::send(fd, step.text.constData(), step.text.size(), MSG_NOSIGNAL);
                break;
            case Step::Expect:
                if (readLine(fd, line)) {
                    record(line);
                }
                break;
            case Step::Sleep:
                pause(step.ms);
                break;
            case Step::Drain:
                while (readLine(fd, line)) {
                    record(line);
                }
                break;
            case Step::Finish:
                ::shutdown(fd, SHUT_WR);
                while (readLine(fd, line)) {
                    record(line);
                }
                break;
            case Step::UntilSigterm:
                while (readLine(fd, line)) {
                    record(line);
                    if (line == "signal SIGTERM") {
                        break;
                    }
                }
                ::close(fd);
                fd = -1;
                break;
            case Step::Close:
                ::close(fd);
                fd = -1;
                break;
            case Step::Hold:
                gate->pass(stopping);
                break;
            }
        }
        if (fd >= 0) {
            ::close(fd);
        }
        done = true;
    }

    std::vector<Step> steps;
    std::shared_ptr<Gate> gate;
    std::mutex mutex;
    QList<QByteArray> received;
    std::atomic<bool> stopping{false};
    std::atomic<bool> done{false};
    std::atomic<bool> accepted{false};
    std::thread worker;
};
