#include "serviceconnector_unix_p.h"

#include "peeruid.h"

#include <QVector>
#include <QtDebug>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

// Closes the socket on every way out of an exchange.
class SocketGuard
{
public:
    explicit SocketGuard(int fd) : fd(fd) {}
    ~SocketGuard() { ::close(fd); }
    SocketGuard(const SocketGuard&) = delete;
    SocketGuard& operator=(const SocketGuard&) = delete;

private:
    int fd;
};

MessageReply failedReply()
{
    MessageReply reply;
    std::memset(&reply, 0, sizeof reply);
    return reply;
}

// A wide field holds the text's code points and needs at least one zero unit
// after them: the daemon has no other length information. An embedded zero
// would silently cut the text short, so it does not fit either.
bool fitsWide(const QVector<uint>& units, size_t fieldUnits, bool asciiOnly)
{
    if (static_cast<size_t>(units.size()) >= fieldUnits) {
        return false;
    }
    for (uint u : units) {
        if (u == 0 || (asciiOnly && u > 0x7f)) {
            return false;
        }
    }
    return true;
}

// The records are packed, so fields are written through byte offsets, never
// through pointers to (possibly unaligned) members.
void writeWide(MessagePacket& packet, size_t offset, const QVector<uint>& units)
{
    static_assert(sizeof(uint) == sizeof(WideUnit), "a wide unit is 32 bits");
    std::memcpy(reinterpret_cast<char*>(&packet) + offset, units.constData(),
                units.size() * sizeof(WideUnit));
}

constexpr size_t kAllowIpListOffset = offsetof(MessagePacket, firewall) + offsetof(FirewallArgs, allowIpList);
constexpr size_t kInterfaceOffset =
    offsetof(MessagePacket, firewall) + offsetof(FirewallArgs, interfaceToSkip);
constexpr size_t kParamsOffset = offsetof(MessagePacket, firewall) + offsetof(FirewallArgs, params);
constexpr size_t kRestoreOffset = offsetof(MessagePacket, timezone) + offsetof(TimezoneArgs, restore);
constexpr size_t kTimezoneOffset = offsetof(MessagePacket, timezone) + offsetof(TimezoneArgs, timezoneIANA);
constexpr size_t kOpenvpnOffset = offsetof(MessagePacket, openvpn) + offsetof(OpenVpnArgs, openvpnParams);
constexpr size_t kUpdatePathOffset = offsetof(MessagePacket, update) + offsetof(UpdateArgs, updatePathName);

// While the daemon's port is free (an update is installing, a worker is being
// replaced) any user may listen on it, read the commands and answer "done" to
// "kill switch on". Only a daemon whose connection root holds is talked to.
bool servedByRoot(int sock, quint16 port)
{
    const std::optional<uid_t> owner = waitForPeerUid(sock, std::chrono::seconds(2));
    if (!owner) {
        qWarning("The service on port %u did not take the connection, or its owner is unknown: not used",
                 port);
        return false;
    }
    if (*owner != 0) {
        qWarning("The service on port %u belongs to uid %u, not to root: not used", port,
                 static_cast<unsigned>(*owner));
        return false;
    }
    return true;
}

void setCommand(MessagePacket& packet, int32_t command)
{
    // The whole record is cleared, not only the fields in use, so no stale
    // stack bytes leave the process.
    std::memset(&packet, 0, sizeof packet);
    std::memcpy(&packet, &command, sizeof command);
}

} // namespace

ServiceConnectorPrivate::ServiceConnectorPrivate(quint16 daemonPort) : port(daemonPort) {}

bool ServiceConnectorPrivate::installHelper(const QString&)
{
    // The daemon is installed with the package; there is nothing to install.
    return true;
}

bool ServiceConnectorPrivate::firewallOn(const QString& allowIps, const QString& interfaceName,
                                         const FIREWALL_PARAMETERS& params)
{
    return sendFirewall(AA_COMMAND_FIREWALL_ON, allowIps, interfaceName, params);
}

bool ServiceConnectorPrivate::firewallChange(const QString& allowIps, const QString& interfaceName,
                                             const FIREWALL_PARAMETERS& params)
{
    return sendFirewall(AA_COMMAND_FIREWALL_CHANGE, allowIps, interfaceName, params);
}

bool ServiceConnectorPrivate::firewallOff()
{
    return sendCommandOnly(AA_COMMAND_FIREWALL_OFF);
}

bool ServiceConnectorPrivate::firewallSupported()
{
    return firewallSupport() == FirewallSupport::Supported;
}

FirewallSupport ServiceConnectorPrivate::firewallSupport()
{
    MessagePacket packet;
    setCommand(packet, AA_COMMAND_FIREWALL_SUPPORTED);
    const std::optional<MessageReply> reply = exchange(packet);
    if (!reply) {
        return FirewallSupport::Unreachable;
    }
    return reply->result != 0 ? FirewallSupport::Supported : FirewallSupport::NotSupported;
}

bool ServiceConnectorPrivate::timezonechangeSupported()
{
    return sendCommandOnly(AA_COMMAND_TIMEZONE_CHANGE_SUPPORTED);
}

bool ServiceConnectorPrivate::timezoneChange(const bool& restore, const QString& timezoneIANA)
{
    const QByteArray name = timezoneIANA.toUtf8();
    if (static_cast<size_t>(name.size()) >= kTimezoneIanaBytes || name.contains('\0')) {
        return false;
    }
    MessagePacket packet;
    setCommand(packet, AA_COMMAND_TIMEZONE_CHANGE);
    const uint8_t restoreByte = restore ? 1 : 0;
    std::memcpy(reinterpret_cast<char*>(&packet) + kRestoreOffset, &restoreByte, 1);
    std::memcpy(reinterpret_cast<char*>(&packet) + kTimezoneOffset, name.constData(), name.size());
    return writeCmdToDaemon(packet).result != 0;
}

bool ServiceConnectorPrivate::runOpenVpnWithConfig(const QString& params)
{
    // The daemon converts this field with the C locale, which carries ASCII only.
    const QVector<uint> units = params.toUcs4();
    if (!fitsWide(units, kOpenvpnParamsUnits, true)) {
        return false;
    }
    MessagePacket packet;
    setCommand(packet, AA_COMMAND_RUN_OPENVPN);
    writeWide(packet, kOpenvpnOffset, units);
    return writeCmdToDaemon(packet).result != 0;
}

bool ServiceConnectorPrivate::updateInstall(const QString& updatePathName)
{
    const QVector<uint> units = updatePathName.toUcs4();
    if (!fitsWide(units, kUpdatePathNameUnits, true)) {
        return false;
    }
    MessagePacket packet;
    setCommand(packet, AA_COMMAND_UPDATE_INSTALL);
    writeWide(packet, kUpdatePathOffset, units);
    return writeCmdToDaemon(packet).result != 0;
}

bool ServiceConnectorPrivate::sendFirewall(int32_t command, const QString& allowIps,
                                           const QString& interfaceName, const FIREWALL_PARAMETERS& params)
{
    const QVector<uint> ips = allowIps.toUcs4();
    const QVector<uint> iface = interfaceName.toUcs4();
    if (!fitsWide(ips, kAllowIpListUnits, false) || !fitsWide(iface, kInterfaceToSkipUnits, false)) {
        return false;
    }
    MessagePacket packet;
    setCommand(packet, command);
    writeWide(packet, kAllowIpListOffset, ips);
    writeWide(packet, kInterfaceOffset, iface);
    const uint8_t flags[5] = {params.kill_connect, params.block_ipv6, params.allow_local_ip,
                              params.change_timezone, params.block_dns};
    std::memcpy(reinterpret_cast<char*>(&packet) + kParamsOffset, flags, sizeof flags);
    return writeCmdToDaemon(packet).result != 0;
}

bool ServiceConnectorPrivate::sendCommandOnly(int32_t command)
{
    MessagePacket packet;
    setCommand(packet, command);
    return writeCmdToDaemon(packet).result != 0;
}

MessageReply ServiceConnectorPrivate::writeCmdToDaemon(const MessagePacket& packet)
{
    return exchange(packet).value_or(failedReply());
}

std::optional<MessageReply> ServiceConnectorPrivate::exchange(const MessagePacket& packet)
{
    const int sock = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (sock < 0) {
        return std::nullopt;
    }
    SocketGuard guard(sock);

    sockaddr_in addr;
    std::memset(&addr, 0, sizeof addr);
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    if (::inet_pton(AF_INET, kDaemonAddress, &addr.sin_addr) != 1) {
        return std::nullopt;
    }
    int rc;
    do {
        rc = ::connect(sock, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0 || !servedByRoot(sock, port)) {
        return std::nullopt;
    }
    if (socketSendAll(sock, reinterpret_cast<const char*>(&packet), sizeof packet) < 0) {
        return std::nullopt;
    }
    MessageReply reply = failedReply();
    if (socketRecvAll(sock, reinterpret_cast<char*>(&reply), sizeof reply) < 0) {
        return std::nullopt;
    }
    return reply;
}

int ServiceConnectorPrivate::socketSendAll(int sock, const char* data, int len)
{
    if (len <= 0) {
        return 0;
    }
    int sent = 0;
    while (sent < len) {
        // A daemon that closes early must not kill the client with SIGPIPE.
        const ssize_t n = ::send(sock, data + sent, len - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return -1;
        }
        sent += static_cast<int>(n);
    }
    return len;
}

int ServiceConnectorPrivate::socketRecvAll(int sock, char* data, int len)
{
    if (len <= 0) {
        return 0;
    }
    int received = 0;
    while (received < len) {
        timeval timeout;
        timeout.tv_sec = kClientReplyTimeoutSec;
        timeout.tv_usec = 0;
        ::setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        const ssize_t n = ::recv(sock, data + received, len - received, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return -1;
        }
        received += static_cast<int>(n);
    }
    return len;
}
