#pragma once

#include "localsettings.h"
#include "networkmanager.h"

#include <QDir>
#include <QFile>

// Puts the client where a new user starts: no settings file, no account cache,
// every setting at its default.
inline void startAsNewUser()
{
    LocalSettings::releaseInstance();
    QFile::remove(QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath("VKMT/Kestrova.conf"));
    NetworkManager::instance()->clearCache();
    LocalSettings::instance()->createDefaultSettings();
}
