#include "uitestsupport.h"

#include <QDir>

ScratchHome::ScratchHome()
{
    const QString home = dir_.path();
    for (const char* sub : {"config", "data", "cache", "run"}) {
        QDir(home).mkpath(QLatin1String(sub));
    }
    QDir(home + "/run").setPath(home + "/run");
    QFile::setPermissions(home + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home + "/data").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home + "/cache").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (home + "/run").toLocal8Bit());
}
