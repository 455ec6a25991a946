#include "scripteddaemon.h"

#include "serviceconnector.h"

#include <QRegularExpression>
#include <QString>

#include <chrono>
#include <thread>

#include <poll.h>

namespace {

QString wideText(const FakeDaemon::Packet& p, size_t offset, size_t units)
{
    const std::u32string s = FakeDaemon::wideAt(p, offset, units);
    return QString::fromUcs4(s.data(), int(s.size()));
}

// One line from the client, or false when it closed or stayed silent.
bool readLine(int fd, std::string& line, int timeoutMs)
{
    line.clear();
    char c;
    while (true) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, timeoutMs) <= 0) {
            return false;
        }
        if (::recv(fd, &c, 1, 0) != 1) {
            return false;
        }
        if (c == '\n') {
            return true;
        }
        line.push_back(c);
    }
}

void writeLine(int fd, const std::string& line)
{
    const std::string out = line + "\r\n";
    ::send(fd, out.data(), out.size(), MSG_NOSIGNAL);
}

} // namespace

ScriptedDaemon::ScriptedDaemon()
{
    for (auto& r : results) {
        r = true;
    }
    daemon.setHandler([this](const FakeDaemon::Packet& p) { return handle(p); });
}

ScriptedDaemon::~ScriptedDaemon()
{
    stopping = true;
    release();
    daemon.setHandler(nullptr);
    for (std::thread& t : players) {
        t.join();
    }
}

QSharedPointer<ServiceConnector> ScriptedDaemon::connector() const
{
    return QSharedPointer<ServiceConnector>::create(daemon.port());
}

void ScriptedDaemon::setResult(int32_t command, bool ok)
{
    results[command] = ok;
}

void ScriptedDaemon::hold()
{
    std::lock_guard<std::mutex> lock(mutex);
    holding = true;
}

void ScriptedDaemon::release()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        holding = false;
    }
    gate.notify_all();
}

void ScriptedDaemon::sendLine(const std::string& line)
{
    std::lock_guard<std::mutex> lock(mutex);
    pending.push_back(line);
}

std::vector<ScriptedDaemon::Command> ScriptedDaemon::commands()
{
    std::lock_guard<std::mutex> lock(mutex);
    return log;
}

int ScriptedDaemon::count(int32_t command)
{
    int n = 0;
    for (const Command& c : commands()) {
        n += c.code == command ? 1 : 0;
    }
    return n;
}

void ScriptedDaemon::clear()
{
    std::lock_guard<std::mutex> lock(mutex);
    log.clear();
}

uint8_t ScriptedDaemon::handle(const FakeDaemon::Packet& p)
{
    Command c{FakeDaemon::commandOf(p), -1, QString(), -1};
    if (c.code == AA_COMMAND_FIREWALL_ON || c.code == AA_COMMAND_FIREWALL_CHANGE) {
        c.killConnect = p[43012];
        c.blockIPv6 = p[43012 + 1];
        c.blockDns = p[43012 + 4];
        c.text = wideText(p, 4, kAllowIpListUnits);
    } else if (c.code == AA_COMMAND_RUN_OPENVPN) {
        c.text = wideText(p, 4, kOpenvpnParamsUnits);
    } else if (c.code == AA_COMMAND_TIMEZONE_CHANGE) {
        c.restore = p[4];
        c.text = QString::fromUtf8(reinterpret_cast<const char*>(p.data()) + 5);
    } else if (c.code == AA_COMMAND_UPDATE_INSTALL) {
        c.text = wideText(p, 5, kUpdatePathNameUnits);
    }
    {
        std::unique_lock<std::mutex> lock(mutex);
        ++held;
        gate.wait(lock, [this] { return !holding; });
        --held;
        log.push_back(c);
    }
    const bool ok = c.code >= 0 && c.code < 16 ? results[c.code].load() : false;
    if (c.code != AA_COMMAND_RUN_OPENVPN) {
        return ok ? 1 : 0;
    }
    const Tunnel script = tunnel;
    if (script == Tunnel::Refused || !ok) {
        return 0;
    }
    const auto m = QRegularExpression(QStringLiteral("--management 127\\.0\\.0\\.1 (\\d+)")).match(c.text);
    if (!m.hasMatch()) {
        return 0;
    }
    const int port = m.captured(1).toInt();
    // Like openvpn --management-client: connects to the client's port as it
    // starts, and greets.
    std::lock_guard<std::mutex> lock(mutex);
    players.emplace_back([this, port, script] {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = htons(uint16_t(port));
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
            writeLine(fd, ">INFO:OpenVPN Management Interface Version 5 -- type 'help' for more info");
            playOpenVpn(fd, script);
        }
        ::close(fd);
    });
    return 1;
}

void ScriptedDaemon::playOpenVpn(int fd, Tunnel script)
{
    std::string line;
    // "state on all", "log on", "bytecount 1"
    for (int i = 0; i < 3; ++i) {
        if (!readLine(fd, line, 5000)) {
            return;
        }
    }
    if (script == Tunnel::WrongPassword) {
        writeLine(fd, ">PASSWORD:Need 'Auth' username/password");
        if (!readLine(fd, line, 5000)) {
            return;
        }
        writeLine(fd, "SUCCESS: 'Auth' username entered, but not yet verified");
        if (!readLine(fd, line, 5000)) {
            return;
        }
        writeLine(fd, ">LOG:1700000000,F,AUTH: Received control message: AUTH_FAILED");
        std::this_thread::sleep_for(std::chrono::milliseconds(exitDelayMs.load()));
        return;
    }
    if (script == Tunnel::TunFails) {
        writeLine(
            fd,
            ">LOG:1700000000,F,Cannot open TUN/TAP dev /dev/net/tun: No such file or directory (errno=2)");
        writeLine(fd, ">LOG:1700000000,I,Exiting due to fatal error");
        return;
    }
    if (script == Tunnel::Stalls) {
        writeLine(fd, ">STATE:1700000000,WAIT,,,,,,");
    } else {
        writeLine(fd, ">LOG:1700000000,I,Initialization Sequence Completed");
        // OpenVPN stamps the state with the moment the tunnel came up, which
        // is what the status line counts from.
        const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
        writeLine(fd,
                  ">STATE:" + std::to_string(now) + ",CONNECTED,SUCCESS,198.51.100.130,192.0.2.10,1194,,");
    }
    while (!stopping) {
        std::vector<std::string> out;
        {
            std::lock_guard<std::mutex> lock(mutex);
            out.swap(pending);
        }
        for (const std::string& l : out) {
            writeLine(fd, l);
        }
        if (!readLine(fd, line, 50)) {
            pollfd pfd{fd, POLLIN, 0};
            if (::poll(&pfd, 1, 0) > 0) {
                char probe;
                if (::recv(fd, &probe, 1, MSG_PEEK) <= 0) {
                    return; // client went away
                }
            }
            continue;
        }
        if (line.find("signal SIGTERM") != std::string::npos) {
            writeLine(fd, ">STATE:1700000001,EXITING,SIGTERM,,,,,");
            std::this_thread::sleep_for(std::chrono::milliseconds(exitDelayMs.load()));
            return;
        }
    }
}
