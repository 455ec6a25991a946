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
    up = true;
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
    up = false;
    // A zone set before the option went off is still the exit's.
    if ((enabled || changed) && change(true, QString())) {
        changed = false;
    }
}

void TimezoneFollower::onTimezone(QString timezoneIANA, bool success)
{
    qDebug() << "onChangeTimezone" << timezoneIANA << success;
    if (!up || !enabled) {
        // An answer that came after the tunnel went down, or the option off,
        // would leave the exit's zone with nothing to put it back.
        return;
    }
    if (success && !timezoneIANA.isEmpty()) {
        changed = change(false, timezoneIANA) || changed;
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
