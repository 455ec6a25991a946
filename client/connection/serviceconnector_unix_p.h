// Builds the daemon's command records and performs one exchange per call with
// plain blocking BSD sockets.
#pragma once

#include "daemonprotocol.h"
#include "firewallsupport.h"

#include <QString>

#include <optional>

class ServiceConnectorPrivate
{
public:
    explicit ServiceConnectorPrivate(quint16 daemonPort);

    bool installHelper(const QString& path);
    bool firewallOn(const QString& allowIps, const QString& interfaceName, const FIREWALL_PARAMETERS& params);
    bool firewallChange(const QString& allowIps, const QString& interfaceName,
                        const FIREWALL_PARAMETERS& params);
    bool firewallOff();
    bool firewallSupported();
    FirewallSupport firewallSupport();
    bool timezonechangeSupported();
    bool timezoneChange(const bool& restore, const QString& timezoneIANA);
    bool runOpenVpnWithConfig(const QString& params);
    bool updateInstall(const QString& updatePathName);

private:
    bool sendFirewall(int32_t command, const QString& allowIps, const QString& interfaceName,
                      const FIREWALL_PARAMETERS& params);
    bool sendCommandOnly(int32_t command);
    MessageReply writeCmdToDaemon(const MessagePacket& packet);
    // The reply, or nothing when no daemon took part in the exchange.
    std::optional<MessageReply> exchange(const MessagePacket& packet);
    static int socketSendAll(int sock, const char* data, int len);
    static int socketRecvAll(int sock, char* data, int len);

    quint16 port;
};
