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
    daemon->post<bool>(
        this, [](ServiceConnector& d) { return d.timezonechangeSupported(); },
        [this](bool supported) {
            if (!supported) {
                enabled = false;
                LocalSettings::instance()->setValue(Keys::ChangeTimezone, false);
                emit problem(Problem::NotSupported);
                return;
            }
            if (enabled) {
                NetworkManager::instance()->ipTimezoneRequest();
            }
        });
}

void TimezoneFollower::tunnelDown()
{
    up = false;
    // A zone set before the option went off is still the exit's.
    if (enabled || changed) {
        change(true, QString());
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
        changed = true;
        change(false, timezoneIANA);
    } else {
        emit problem(Problem::NoData);
    }
}

void TimezoneFollower::change(bool restore, const QString& timezoneIANA)
{
    daemon->post<bool>(
        this,
        [restore, timezoneIANA](ServiceConnector& d) { return d.timezoneChange(restore, timezoneIANA); },
        [restore, timezoneIANA](bool done) {
            if (!done) {
                qWarning() << "The daemon did not change the timezone" << timezoneIANA << "restore"
                           << restore;
            }
        });
}
