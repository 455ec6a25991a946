#pragma once

#include "utils.h"

#include <QMetaType>
#include <QPair>
#include <QString>
#include <QStringList>

class QDataStream;

// One server location of one VPN login.
class ServerInfo
{
public:
    enum ServerType : qint32
    {
        Standart = 1, // single-hop
        Double = 2,   // double-hop
    };

    ServerInfo() = default;
    // Parses the one-line text form; a line of fewer than ten fields gives a default record.
    explicit ServerInfo(QString const& line);

    // The one-line text form of the account cache: 13 fields joined by ";",
    // nothing escaped.
    operator QString() const;
    // The text form with the password hidden, for log lines.
    QString toLogString() const;
    // Whether the server can carry a connection of this PROTOCOL_TYPE: UDP and
    // TCP need ports of their kind, stealth a TLS port; other protocols none.
    bool offersProtocol(int protocolId) const;

    QString name;
    QString flag;
    QString label;
    QString ip;
    QString user;
    QString password;
    QStringList tcpPorts;
    QStringList udpPorts;
    qint32 ping = 0;
    bool favorite = false;
    qint32 sslPort = 0;
    QString groupName;
    ServerType type = Standart;
    qint32 protocol = PROTOCOL_OPENVPN_UDP;
    QString sni;
};

// (VPN login, server name): identifies a server in favourites, the last
// location and selections. Ordered by login, then name.
using ServerIdentif = QPair<QString, QString>;

QString identifToSettings(ServerIdentif const& id);
// The settings key that holds the favourites of this PROTOCOL_TYPE.
QString favoritesSettingsKey(int protocolId);
ServerIdentif identifFromSettings(QString const& text);

// Carries name, flag, label, ip, favorite, user, password, the two port lists
// and protocol; ping, sslPort, type, sni and groupName stay as they were.
QDataStream& operator<<(QDataStream& out, ServerInfo const& server);
QDataStream& operator>>(QDataStream& in, ServerInfo& server);

Q_DECLARE_METATYPE(ServerInfo)
