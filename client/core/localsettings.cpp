#include "localsettings.h"

#include <QSettings>
#include <QStringList>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

QSharedPointer<LocalSettings> LocalSettings::_self;

namespace {

// The file holds the account password, the VPN passwords and private keys:
// only its owner may read it. Qt replaces the file on every write but keeps
// the permissions of the one it replaces, so it is enough to create it
// owner-only and to tighten a file that an older version left readable.
void keepOwnerOnly(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return;
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace

LocalSettings::LocalSettings() : settings_(new QSettings())
{
    keepOwnerOnly(settings_->fileName());
    if (!settings_->value(Keys::RememberUser, false).toBool())
        createDefaultSettings();
}

LocalSettings::~LocalSettings()
{
    delete settings_;
}

QSharedPointer<LocalSettings> LocalSettings::instance()
{
    if (!_self)
        _self.reset(new LocalSettings());
    return _self;
}

void LocalSettings::releaseInstance()
{
    _self.reset();
}

QVariant LocalSettings::value(QString key)
{
    return settings_->value(key);
}

void LocalSettings::setValue(QString key, QVariant value)
{
    settings_->setValue(key, value);
}

void LocalSettings::sync()
{
    settings_->sync();
}

bool LocalSettings::isLiteVersion()
{
    return (settings_->value(Keys::Flag, 0).toInt() & 1) != 0;
}

void LocalSettings::setIsLiteVersion(bool lite)
{
    int flag = settings_->value(Keys::Flag, 0).toInt();
    if (lite)
        flag |= 1;
    else
        flag &= ~1;
    settings_->setValue(Keys::Flag, flag);
}

void LocalSettings::createDefaultSettings()
{
    // "language", "cachedConfig" and "cachedKeys" survive a reset on purpose:
    // the interface keeps its language and the base profiles need no refetch.
    // Lists and byte arrays are reset to empty text, which reads back as empty.
    const QString empty = QStringLiteral("");
    settings_->setValue(Keys::Login, empty);
    settings_->setValue(Keys::Passwd, empty);
    settings_->setValue(Keys::RememberUser, false);
    settings_->setValue(Keys::ConnectOnStart, false);
    settings_->setValue(Keys::LaunchOnStart, false);
    settings_->setValue(Keys::OvpnProtocol, QStringLiteral("tcp"));
    settings_->setValue(Keys::FavoriteServersTcp, empty);
    settings_->setValue(Keys::FavoriteServersUdp, empty);
    settings_->setValue(Keys::FavoriteServersSsl, empty);
    settings_->setValue(Keys::LastLocation, empty);
    settings_->setValue(Keys::CachedServers, empty);
    settings_->setValue(Keys::CachedCertif, empty);
    settings_->setValue(Keys::CachedUsers, empty);
    settings_->setValue(Keys::KillConnect, false);
    settings_->setValue(Keys::Flag, 1);
    settings_->setValue(Keys::IPv6LeakProtect, true);
    settings_->setValue(Keys::AllowLocalDevices, false);
    settings_->setValue(Keys::ChangeTimezone, false);
    settings_->setValue(Keys::VpnLogin, empty);
}
