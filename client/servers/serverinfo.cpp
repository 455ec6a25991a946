#include "serverinfo.h"

#include "localsettings.h"

#include <QDataStream>
#include <QVector>

namespace {

const QString kFieldSeparator = QStringLiteral(";");
const QString kPortSeparator = QStringLiteral(".");
const QString kIdentifSeparator = QStringLiteral("::");

int toInt(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

QString textForm(const ServerInfo& s, const QString& password)
{
    // Built by joining rather than by successive arg() calls, so a field that
    // itself holds "%1" cannot pull a later field into the wrong place.
    const QStringList fields{s.name,
                             s.flag,
                             s.label,
                             s.ip,
                             QString::number(s.favorite ? 1 : 0),
                             s.user,
                             password,
                             s.tcpPorts.join(kPortSeparator),
                             s.udpPorts.join(kPortSeparator),
                             QString::number(s.protocol),
                             QString::number(s.sslPort),
                             QString::number(int(s.type)),
                             s.sni};
    return fields.join(kFieldSeparator);
}

// An empty port field of the text form reads back as one empty entry, which
// is no port at all.
bool hasPort(const QStringList& ports)
{
    for (const QString& port : ports) {
        if (!port.trimmed().isEmpty())
            return true;
    }
    return false;
}

} // namespace

ServerInfo::ServerInfo(QString const& line)
{
    const QVector<QStringRef> parts = line.splitRef(kFieldSeparator, Qt::KeepEmptyParts);
    if (parts.size() < 10)
        return;
    name = parts[0].toString();
    flag = parts[1].toString();
    label = parts[2].toString();
    ip = parts[3].toString();
    favorite = toInt(parts[4].toString()) != 0;
    user = parts[5].toString();
    password = parts[6].toString();
    tcpPorts = parts[7].toString().split(kPortSeparator, Qt::KeepEmptyParts);
    udpPorts = parts[8].toString().split(kPortSeparator, Qt::KeepEmptyParts);
    protocol = toInt(parts[9].toString());
    if (parts.size() >= 11)
        sslPort = toInt(parts[10].toString());
    if (parts.size() >= 12)
        type = static_cast<ServerType>(toInt(parts[11].toString()));
    if (parts.size() >= 13)
        sni = parts[12].toString();
}

ServerInfo::operator QString() const
{
    return textForm(*this, password);
}

QString ServerInfo::toLogString() const
{
    return textForm(*this, password.isEmpty() ? QString() : QStringLiteral("***"));
}

bool ServerInfo::offersProtocol(int protocolId) const
{
    switch (protocolId) {
    case PROTOCOL_OPENVPN_UDP:
        return hasPort(udpPorts);
    case PROTOCOL_OPENVPN_TCP:
        return hasPort(tcpPorts);
    case PROTOCOL_STEALTH:
        return sslPort >= 1;
    default:
        return false;
    }
}

QString favoritesSettingsKey(int protocolId)
{
    if (protocolId == PROTOCOL_OPENVPN_UDP)
        return Keys::FavoriteServersUdp;
    if (protocolId == PROTOCOL_OPENVPN_TCP)
        return Keys::FavoriteServersTcp;
    return Keys::FavoriteServersSsl;
}

QString identifToSettings(ServerIdentif const& id)
{
    return QStringLiteral("%1::%2").arg(id.first, id.second);
}

ServerIdentif identifFromSettings(QString const& text)
{
    const QStringList parts = text.split(kIdentifSeparator, Qt::KeepEmptyParts);
    if (parts.size() < 2)
        return ServerIdentif(QString(), QString());
    return ServerIdentif(parts[0], parts[1]);
}

QDataStream& operator<<(QDataStream& out, ServerInfo const& s)
{
    out << s.name << s.flag << s.label << s.ip << s.favorite << s.user << s.password << s.tcpPorts
        << s.udpPorts << qint32(s.protocol);
    return out;
}

QDataStream& operator>>(QDataStream& in, ServerInfo& s)
{
    qint32 protocol = 0;
    in >> s.name >> s.flag >> s.label >> s.ip >> s.favorite >> s.user >> s.password >> s.tcpPorts >>
        s.udpPorts >> protocol;
    s.protocol = protocol;
    return in;
}
