#pragma once

#include <QString>
#include <QtGlobal>

// The ways a VPN connection can be carried. The numbers are stored and
// exchanged as integers, so they must never be renumbered.
enum PROTOCOL_TYPE : qint32
{
    PROTOCOL_NONE = -1,
    PROTOCOL_OPENVPN_UDP = 4,
    PROTOCOL_OPENVPN_TCP = 5,
    PROTOCOL_STEALTH = 6,
};

struct VpnProtocol
{
    PROTOCOL_TYPE type;
    QString label;     // untranslated key kept in the settings
    const char* title; // English text, translated in the context "VpnProtocol"; may be null

    // The title in the current interface language (empty for the end row).
    QString translatedTitle() const;
};

struct VpnPort
{
    qint32 id;
    PROTOCOL_TYPE protocol;
    QString title;
    QString label; // the port or ports this choice stands for: the lookup key
};

// Both tables end with a row of type (or id) -1; walk them up to that row.
extern const VpnProtocol gVpnProtocol[];
extern const VpnPort gVpnAvailPorts[];

// A failed lookup returns a copy of the end row: callers test type (or id) == -1.
VpnProtocol getVpnProtocolByID(int type);
VpnProtocol getVpnProtocolByLabel(QString label);
VpnPort getVpnPortByLabel(QString label);
