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
