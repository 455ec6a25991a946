#include "timezonefollower.h"

#include "localsettings.h"
#include "networkmanager.h"
#include "serviceconnector.h"

#include <QDebug>

TimezoneFollower::TimezoneFollower(QSharedPointer<ServiceConnector> daemon, QObject* parent)
    : QObject(parent), daemon(std::move(daemon))
{
    connect(NetworkManager::instance(), &NetworkManager::gotIpTimezone, this, &TimezoneFollower::onTimezone);
}

void TimezoneFollower::tunnelUp()
{
    if (!enabled) {
        return;
    }
    if (!daemon->timezonechangeSupported()) {
        enabled = false;
        LocalSettings::instance()->setValue(Keys::ChangeTimezone, false);
        emit problem(Problem::NotSupported);
        return;
    }
    NetworkManager::instance()->ipTimezoneRequest();
}

void TimezoneFollower::tunnelDown()
{
    if (enabled) {
        change(true, QString());
    }
}

void TimezoneFollower::onTimezone(QString timezoneIANA, bool success)
{
    qDebug() << "onChangeTimezone" << timezoneIANA << success;
    if (success && !timezoneIANA.isEmpty()) {
        change(false, timezoneIANA);
    } else {
        emit problem(Problem::NoData);
    }
}

bool TimezoneFollower::change(bool restore, const QString& timezoneIANA)
{
    if (!daemon->timezoneChange(restore, timezoneIANA)) {
        qWarning() << "The daemon did not change the timezone" << timezoneIANA << "restore" << restore;
        return false;
    }
    return true;
}
