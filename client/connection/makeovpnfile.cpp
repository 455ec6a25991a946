#include "makeovpnfile.h"

#include <QRegularExpression>

namespace {

// Server data ends up as words of profile lines; a blank or a line break in it
// would add directives of its own.
bool isHost(const QString& host)
{
    static const QRegularExpression re("^[A-Za-z0-9._:-]+$");
    return re.match(host).hasMatch();
}

bool isPort(const QString& port)
{
    bool ok = false;
    const int value = port.toInt(&ok);
    return ok && port == QString::number(value) && value > 0 && value < 65536;
}

// block-outside-dns exists only on Windows; OpenVPN on Linux refuses to
// start with it, yet services put it into the profile they give every
// client. The line goes, with an optional trailing comment; its
// "setenv opt" form stays, as OpenVPN ignores that one where it cannot apply.
QString withoutWindowsOnly(const QString& base)
{
    static const QRegularExpression re("^[ \\t]*block-outside-dns[ \\t]*(?:[#;][^\\n]*)?\\r?(?:\\n|$)",
                                       QRegularExpression::MultilineOption);
    return QString(base).remove(re);
}

// A restart that the client asks for (the network under the tunnel changed)
// or that OpenVPN makes itself should try again at once, not after the
// template's pause: OpenVPN still slows down by itself after five failed
// attempts in a row, up to the template's longest pause.
const char kRetryAtOnce[] = "connect-retry 0";

} // namespace

MakeOVPNFile::MakeOVPNFile() : QTemporaryFile() {}

QString MakeOVPNFile::baseText(const QByteArray& baseConfig)
{
    const int zero = baseConfig.indexOf('\0');
    return QString::fromUtf8(zero < 0 ? baseConfig : baseConfig.left(zero));
}

QString MakeOVPNFile::activate(const QString& base, const QString& prefix)
{
    QString text = base;
    return text.replace("\n" + prefix, "\n", Qt::CaseSensitive);
}

QByteArray MakeOVPNFile::credentials(const ConfigServer& config)
{
    return QByteArray("\r\n<cert>\r\n") + config.certificate + "\r\n</cert>\r\n" + "\r\n<key>\r\n" +
           config.key + "\r\n</key>\r\n";
}

QByteArray MakeOVPNFile::dnsEnvConfig(QString)
{
    return QByteArray();
}

bool MakeOVPNFile::generate(const ConfigServer& config)
{
    bool valid = isHost(config.host) && (config.protocol == "tcp" || config.protocol == "udp");
    for (const QString& port : config.ports) {
        valid = valid && isPort(port);
    }
    if (!valid) {
        return refuse();
    }
    QString lines;
    for (const QString& port : config.ports) {
        lines += QString("remote %1 %2 %3\r\n").arg(config.host, port, config.protocol);
    }
    const QString base =
        withoutWindowsOnly(activate(baseText(config.baseConfig), QString("#%1 ").arg(config.protocol)));
    return writeProfile(lines.toLocal8Bit() + base.toLocal8Bit() + credentials(config) + kRetryAtOnce +
                        "\r\n" + dnsEnvConfig(config.host));
}

bool MakeOVPNFile::generateStunnel(const ConfigServer& config)
{
    if (!isHost(config.host) || config.stunnelPort < 1 || config.stunnelPort > 65535) {
        return refuse();
    }
    // "tcp-client", not "tcp": after a full restart (SIGHUP) OpenVPN 2.6 does
    // not take a bare "tcp" for a client's and pauses 2 s whatever the
    // profile's connect-retry says.
    const QString head =
        QString("proto tcp-client") + QString("\r\nremote 127.0.0.1 %1\r\n").arg(config.stunnelPort);
    const QString base =
        withoutWindowsOnly(activate(activate(baseText(config.baseConfig), "#tcp "), "#stealth "));
    // The server itself is reached through the gateway that was there before
    // the tunnel: that is the path the local TLS tunnel uses.
    const QString tail = QString("\r\nroute %1 255.255.255.255 net_gateway").arg(config.host) +
                         "\r\nroute-up \"/bin/ip route del 127.0.0.1\"" + "\r\n" + kRetryAtOnce;
    return writeProfile(head.toLocal8Bit() + base.toLocal8Bit() + credentials(config) + tail.toLocal8Bit() +
                        dnsEnvConfig(config.host));
}

bool MakeOVPNFile::refuse()
{
    // An empty profile, so that a connection started anyway cannot reach the
    // server of an earlier profile.
    writeProfile(QByteArray());
    ok = false;
    return false;
}

bool MakeOVPNFile::writeProfile(const QByteArray& body)
{
    ok = false;
    if (isOpen()) {
        close();
    }
    if (open()) {
        // The profile holds the client's private key.
        setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (resize(0) && QTemporaryFile::write(body) == body.size() && flush()) {
            ok = true;
        }
        close();
    }
    return ok;
}
