#pragma once

#include <QString>
#include <QtGlobal>

// Fixed names, texts, ports and paths of the client, defined once.
namespace Constants {

// Application identity: the settings file and the data folder derive from these.
inline const QString OrganizationName = QStringLiteral("VKMT");
inline const QString ApplicationName = QStringLiteral("Kestrova");
// Title of every message box and of the window chrome.
inline const QString ProductTitle = QStringLiteral("Kestrova");
// The client's own version, compared with the one the service offers.
inline const QString VersionText = QStringLiteral("3.6.9");
// How the client names its platform to the service.
inline const QString PlatformName = QStringLiteral("linux-debian");
// Sent by a second start to the running instance.
inline const QString WakeUpMessage = QStringLiteral("Wake up!");

// The daemon's command socket.
inline const QString DaemonHost = QStringLiteral("127.0.0.1");
constexpr quint16 DaemonPort = 23589;

// Service API paths, %1 the API base URL.
inline const QString ApiConnectPath = QStringLiteral("%1/connect");
inline const QString ApiDoubleTablePath = QStringLiteral("%1/upd/double.xml");
inline const QString UpdateFileName = QStringLiteral("update.deb");

// Programs and files outside the client.
inline const QString StunnelProgram = QStringLiteral("stunnel4");
inline const QString KillProgram = QStringLiteral("kill");
inline const QString PingProgram = QStringLiteral("ping");
inline const QString StunnelPidFile = QStringLiteral("/tmp/kestrova-stunnel.pid");
inline const QString ResolvConfScript = QStringLiteral("/usr/share/kestrova/script/update-resolv-conf.sh");
inline const QString IpProgram = QStringLiteral("/bin/ip");
inline const QString AutostartFile = QStringLiteral("%1/.config/autostart/kestrova.desktop");
inline const QString LogFileName = QStringLiteral("log.txt");

// Embedded resources.
inline const QString TranslationResource = QStringLiteral(":/translations/Kestrova_%1");
inline const QString FlagResource = QStringLiteral(":/resources/flags/%1.png");

// Deployment values: the build's defaults, overridden at run time by the
// environment variables KESTROVA_API_URL and KESTROVA_SITE_URL. Returned
// without a trailing "/", ready for the "%1/..." paths above.
QString apiUrl();
QString siteUrl();
// Extra trusted CA bundle named by KESTROVA_CA_FILE, or empty for none.
QString caFile();

struct ProgramInfo
{
    qint32 versionNumber;
    qint32 buildNumber;
    qint32 buildDay;
    qint32 buildMonth;
    qint32 buildYear;
};
ProgramInfo getProgramInfo();

} // namespace Constants
