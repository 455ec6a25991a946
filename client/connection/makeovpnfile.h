// Writes the OpenVPN profile for one connection into a private temporary file:
// connection lines for the chosen server, the login's base profile with the
// transport's optional lines switched on, and the client certificate and key.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>

// What the connect page knows about the connection it is about to make.
struct ConfigServer
{
    QStringList ports;      // the transport's server ports; empty for stealth
    QString protocol;       // "tcp", "udp" or "stealth"
    QString host;           // the server's address
    QByteArray certificate; // client certificate of the VPN login
    QByteArray key;         // client private key of the VPN login
    QByteArray baseConfig;  // base profile of the VPN login
    int stunnelPort = 0;    // local end of the stealth tunnel
};

class MakeOVPNFile : public QTemporaryFile
{
    Q_OBJECT
public:
    MakeOVPNFile();

    // Both return false, and leave an empty profile, for a server address,
    // port or protocol that is not a plain word.
    // Direct OpenVPN over TCP or UDP.
    bool generate(const ConfigServer& config);
    // OpenVPN over TCP to the local end of the stealth tunnel.
    bool generateStunnel(const ConfigServer& config);

    // The section that ends every profile. Empty here: the up and down script
    // that OpenVPN runs sets the name servers.
    QByteArray dnsEnvConfig(QString host);

    // Whether the last generation was written completely. The path of the
    // profile is fileName(), the same for every generation of this object.
    bool isOk() const { return ok; }

    // The base profile as text, cut at its first zero byte, with every line
    // that starts with prefix (after a line feed) switched on.
    static QString activate(const QString& base, const QString& prefix);
    static QString baseText(const QByteArray& baseConfig);

private:
    bool writeProfile(const QByteArray& body);
    bool refuse();
    static QByteArray credentials(const ConfigServer& config);

    bool ok = false;
};
