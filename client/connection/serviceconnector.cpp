#include "serviceconnector.h"

#include "serviceconnector_unix_p.h"

ServiceConnector::ServiceConnector() : ServiceConnector(static_cast<quint16>(kDaemonPort)) {}

ServiceConnector::ServiceConnector(quint16 daemonPort)
    : QObject(nullptr), d(new ServiceConnectorPrivate(daemonPort))
{
}

ServiceConnector::~ServiceConnector() = default;

bool ServiceConnector::installHelper(const QString& path)
{
    return d->installHelper(path);
}

bool ServiceConnector::firewallOn(const QString& allowIps, const QString& interfaceName,
                                  const FIREWALL_PARAMETERS& params)
{
    return d->firewallOn(allowIps, interfaceName, params);
}

bool ServiceConnector::firewallChange(const QString& allowIps, const QString& interfaceName,
                                      const FIREWALL_PARAMETERS& params)
{
    return d->firewallChange(allowIps, interfaceName, params);
}

bool ServiceConnector::firewallOff()
{
    return d->firewallOff();
}

bool ServiceConnector::firewallSupported()
{
    return d->firewallSupported();
}

ServiceConnector::FirewallSupport ServiceConnector::firewallSupport()
{
    return d->firewallSupport();
}

bool ServiceConnector::timezonechangeSupported()
{
    return d->timezonechangeSupported();
}

bool ServiceConnector::timezoneChange(const bool& restore, const QString& timezoneIANA)
{
    return d->timezoneChange(restore, timezoneIANA);
}

bool ServiceConnector::runOpenVpnWithConfig(const QString& params)
{
    return d->runOpenVpnWithConfig(params);
}

bool ServiceConnector::updateInstall(const QString& updatePathName)
{
    return d->updateInstall(updatePathName);
}
