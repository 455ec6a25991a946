#pragma once

#include "serverinfo.h"

#include <QStringList>
#include <QVector>

// A server record with what the pages look at.
ServerInfo makeServer(const QString& user, const QString& name, ServerInfo::ServerType type,
                      const QStringList& udpPorts, const QStringList& tcpPorts, int sslPort = 0,
                      int ping = 0);

// The application identity the settings store is filed under.
void setApplicationIdentity();

// Paris and Rome of one VPN login, and a Paris of another login at the same
// address.
QVector<ServerInfo> connectTestServers(const QString& vpnUser);

// The profile template, certificate and key of `vpnUser` in the account cache.
void storeAccountMaterial(const QString& vpnUser);
