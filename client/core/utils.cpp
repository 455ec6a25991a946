#include "utils.h"

#include <QCoreApplication>

// The row order is the order of the protocol chooser.
const VpnProtocol gVpnProtocol[] = {
    {PROTOCOL_OPENVPN_TCP, QStringLiteral("tcp"), QT_TRANSLATE_NOOP("VpnProtocol", "OpenVPN TCP (safer)")},
    {PROTOCOL_OPENVPN_UDP, QStringLiteral("udp"), QT_TRANSLATE_NOOP("VpnProtocol", "OpenVPN UDP (faster)")},
    {PROTOCOL_STEALTH, QStringLiteral("stealth"), QT_TRANSLATE_NOOP("VpnProtocol", "Imitation HTTPS")},
    {PROTOCOL_NONE, QString(), nullptr},
};

// The UDP "Automatic" list really ends in 9200 while the single choice is
// 9201: the servers accept both, and stored choices depend on these labels.
const VpnPort gVpnAvailPorts[] = {
    {0, PROTOCOL_OPENVPN_UDP, QStringLiteral("Automatic"), QStringLiteral("1194,118,123,443,9200")},
    {1, PROTOCOL_OPENVPN_UDP, QStringLiteral("1194"), QStringLiteral("1194")},
    {2, PROTOCOL_OPENVPN_UDP, QStringLiteral("118"), QStringLiteral("118")},
    {3, PROTOCOL_OPENVPN_UDP, QStringLiteral("123"), QStringLiteral("123")},
    {4, PROTOCOL_OPENVPN_UDP, QStringLiteral("443"), QStringLiteral("443")},
    {5, PROTOCOL_OPENVPN_UDP, QStringLiteral("9201"), QStringLiteral("9201")},
    {6, PROTOCOL_OPENVPN_TCP, QStringLiteral("Automatic"), QStringLiteral("80,88,8008")},
    {7, PROTOCOL_OPENVPN_TCP, QStringLiteral("80"), QStringLiteral("80")},
    {8, PROTOCOL_OPENVPN_TCP, QStringLiteral("88"), QStringLiteral("88")},
    {9, PROTOCOL_OPENVPN_TCP, QStringLiteral("8008"), QStringLiteral("8008")},
    // A failed port lookup has always carried protocol 0; callers tell failure
    // by the id.
    {-1, PROTOCOL_TYPE(0), QString(), QString()},
};

QString VpnProtocol::translatedTitle() const
{
    if (!title)
        return QString();
    return QCoreApplication::translate("VpnProtocol", title);
}

namespace {

template <typename Row, typename Match> Row findRow(const Row* table, Match matches, int (*key)(const Row&))
{
    const Row* row = table;
    for (; key(*row) != -1; ++row) {
        if (matches(*row))
            return *row;
    }
    return *row; // the end row
}

int protocolKey(const VpnProtocol& row)
{
    return row.type;
}

int portKey(const VpnPort& row)
{
    return row.id;
}

} // namespace

VpnProtocol getVpnProtocolByID(int type)
{
    return findRow(
        gVpnProtocol, [type](const VpnProtocol& row) { return row.type == type; }, protocolKey);
}

VpnProtocol getVpnProtocolByLabel(QString label)
{
    return findRow(
        gVpnProtocol, [&label](const VpnProtocol& row) { return row.label == label; }, protocolKey);
}

VpnPort getVpnPortByLabel(QString label)
{
    return findRow(
        gVpnAvailPorts, [&label](const VpnPort& row) { return row.label == label; }, portKey);
}
