#pragma once

#include <QObject>
#include <QSharedPointer>
#include <QString>
#include <QVariant>

class QSettings;

// Every settings key of the client, spelled once. The default each key gets
// at a reset is in LocalSettings::createDefaultSettings().
namespace Keys {
inline const QString ConnectOnStart = QStringLiteral("autoConnectOnStart");
inline const QString LaunchOnStart = QStringLiteral("launchOnStart");
inline const QString Login = QStringLiteral("login");
inline const QString Passwd = QStringLiteral("password");
inline const QString OvpnProtocol = QStringLiteral("advProtocol");
inline const QString LastLocation = QStringLiteral("lastLocationId");
inline const QString RememberUser = QStringLiteral("rememberUser");
inline const QString CachedServers = QStringLiteral("cachedServers");
inline const QString CachedConfig = QStringLiteral("cachedConfig");
inline const QString CachedCertif = QStringLiteral("cachedCertif");
inline const QString CachedKeys = QStringLiteral("cachedKeys");
inline const QString CachedUsers = QStringLiteral("cachedUsers");
inline const QString FavoriteServersTcp = QStringLiteral("favoriteServersTcp");
inline const QString FavoriteServersUdp = QStringLiteral("favoriteServersUdp");
inline const QString FavoriteServersSsl = QStringLiteral("favoriteServersSsl");
inline const QString KillConnect = QStringLiteral("killConnect");
inline const QString Flag = QStringLiteral("flag");
inline const QString IPv6LeakProtect = QStringLiteral("iPv6LeakProtect");
inline const QString AllowLocalDevices = QStringLiteral("allowLocalDevices");
inline const QString ChangeTimezone = QStringLiteral("changeTimezone");
inline const QString Language = QStringLiteral("language");
inline const QString VpnLogin = QStringLiteral("vpnLogin");
// "file" keeps the secrets in this file even where a keyring answers; never reset.
inline const QString SecretStorage = QStringLiteral("secretStorage");
} // namespace Keys

// The client's one store of user settings and cached account data, kept in
// Qt's native settings of the application's organisation and name. Unless
// the user chose to be remembered, every start puts the settings back to
// their defaults. GUI thread only.
class LocalSettings : public QObject
{
    Q_OBJECT
public:
    ~LocalSettings() override;

    static QSharedPointer<LocalSettings> instance();
    // Forgets the process-wide object, writing pending changes; the next
    // instance() reads the file afresh as a new start would.
    static void releaseInstance();

    QVariant value(QString key);
    void setValue(QString key, QVariant value);
    // Writes pending changes to the file now.
    void sync();

    // Bit 0 of "flag"; the other bits belong to nobody here and stay as they are.
    bool isLiteVersion();
    void setIsLiteVersion(bool lite);

    void createDefaultSettings();

private:
    LocalSettings();

    static QSharedPointer<LocalSettings> _self;
    QSettings* settings_;
};
