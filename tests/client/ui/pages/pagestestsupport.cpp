#include "pagestestsupport.h"

#include "constants.h"

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
