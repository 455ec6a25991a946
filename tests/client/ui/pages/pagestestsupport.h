#pragma once

#include "serverinfo.h"

#include <QStringList>

// A server record with what the pages look at.
ServerInfo makeServer(const QString& user, const QString& name, ServerInfo::ServerType type,
                      const QStringList& udpPorts, const QStringList& tcpPorts, int sslPort = 0,
                      int ping = 0);

// The application identity the settings store is filed under.
void setApplicationIdentity();
