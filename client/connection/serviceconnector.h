// The client's only way to reach the root daemon kestrovad: one synchronous
// request and reply per call, over a fresh loopback TCP connection.
#pragma once

#include "daemonprotocol.h"
#include "firewallsupport.h"

#include <QObject>
#include <QSharedPointer>
#include <QString>

class ServiceConnectorPrivate;

class ServiceConnector : public QObject
{
    Q_OBJECT
public:
    using FirewallSupport = ::FirewallSupport;

    ServiceConnector();
    // Talks to a daemon on another loopback port; only tests use this, the
    // program always uses the daemon's fixed port.
    explicit ServiceConnector(quint16 daemonPort);
    ~ServiceConnector() override;

    // Every operation below returns the daemon's answer. A text that does not
    // fit its field is refused: the call returns false and nothing is sent.
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
    QSharedPointer<ServiceConnectorPrivate> d;
};
