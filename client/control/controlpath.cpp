#include "controlpath.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void setError(QString* error, const QString& text)
{
    if (error) {
        *error = text;
    }
}

} // namespace

bool ControlPath::trustedDirectory(const QString& path, unsigned uid, bool private0700)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
        return false;
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != uid) {
        return false;
    }
    const mode_t forbidden = private0700 ? 077 : 022;
    return (st.st_mode & forbidden) == 0;
}

std::optional<QString> ControlPath::ensureOwnDirectory(const QString& path, QString* error)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        setError(error, QCoreApplication::translate("KestrovaCli", "Cannot create %1: %2")
                            .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
        return std::nullopt;
    }
    // An existing entry may have been put there by someone else (a shared
    // /tmp): it must be our own private folder, never a link to one.
    if (!trustedDirectory(path, ::getuid(), true)) {
        setError(error, QCoreApplication::translate(
                            "KestrovaCli", "%1 is not a private folder of this user: refusing to use it")
                            .arg(path));
        return std::nullopt;
    }
    return path;
}

std::optional<QString> ControlPath::prepareDirectory(QString* error)
{
    const uid_t uid = ::getuid();
    // After su the variable may still name the first user's folder: only one
    // we own and nobody else can write counts.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.startsWith(QLatin1Char('/')) && trustedDirectory(runtime, uid, false)) {
        return ensureOwnDirectory(runtime + QStringLiteral("/kestrova"), error);
    }
    const QString systemRuntime = QStringLiteral("/run/user/%1").arg(uid);
    if (trustedDirectory(systemRuntime, uid, false)) {
        return ensureOwnDirectory(systemRuntime + QStringLiteral("/kestrova"), error);
    }
    return ensureOwnDirectory(QStringLiteral("/tmp/kestrova-%1").arg(uid), error);
}

std::optional<QString> ControlPath::socketPath(QString* error)
{
    const std::optional<QString> dir = prepareDirectory(error);
    if (!dir) {
        return std::nullopt;
    }
    return *dir + QStringLiteral("/control");
}
