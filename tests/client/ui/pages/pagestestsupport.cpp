#include "pagestestsupport.h"

#include "constants.h"
#include "localsettings.h"
#include "networkmanager.h"

#include <QCoreApplication>

ServerInfo makeServer(const QString& user, const QString& name, ServerInfo::ServerType type,
                      const QStringList& udpPorts, const QStringList& tcpPorts, int sslPort, int ping)
{
    ServerInfo s;
    s.user = user;
    s.password = QStringLiteral("secret-") + user;
    s.name = name;
    s.flag = QStringLiteral("nl");
    s.ip = QStringLiteral("192.0.2.10");
    s.type = type;
    s.udpPorts = udpPorts;
    s.tcpPorts = tcpPorts;
    s.sslPort = sslPort;
    s.sni = QStringLiteral("vpn.lab.test");
    s.ping = ping;
    return s;
}

void setApplicationIdentity()
{
    QCoreApplication::setOrganizationName(Constants::OrganizationName);
    QCoreApplication::setApplicationName(Constants::ApplicationName);
}

QVector<ServerInfo> connectTestServers(const QString& vpnUser)
{
    ServerInfo paris = makeServer(vpnUser, "Paris", ServerInfo::Standart, {"1194"}, {"443"});
    ServerInfo rome = makeServer(vpnUser, "Rome", ServerInfo::Standart, {}, {"443"});
    rome.ip = "192.0.2.11";
    ServerInfo again = makeServer("other", "Paris", ServerInfo::Standart, {"1194"}, {"443"}); // same address
    return {paris, rome, again};
}

void storeAccountMaterial(const QString& vpnUser)
{
    auto settings = LocalSettings::instance();
    settings->setValue(Keys::CachedConfig, QByteArray("client\ndev tun\n#udp explicit-exit-notify 2\n"));
    settings->setValue(Keys::CachedCertif, NetworkManager::cacheMapToArray({{vpnUser, "CERT"}}));
    settings->setValue(Keys::CachedKeys, NetworkManager::cacheMapToArray({{vpnUser, "KEY"}}));
    NetworkManager::instance()->loadCachedData();
}
