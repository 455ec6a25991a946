// Sets the machine's timezone to that of the VPN exit while a tunnel is up,
// and puts the original one back when it goes down.
#pragma once

#include <QObject>
#include <QSharedPointer>
#include <QString>

class ServiceConnector;

class TimezoneFollower : public QObject
{
    Q_OBJECT

public:
    enum class Problem
    {
        NotSupported, // the daemon cannot change it; the setting has been switched off
        NoData,       // the service did not name the exit's zone
    };
    Q_ENUM(Problem)

    explicit TimezoneFollower(QSharedPointer<ServiceConnector> daemon, QObject* parent = nullptr);

    void setEnabled(bool on) { enabled = on; }
    bool isEnabled() const { return enabled; }

    // The tunnel has come up: asks the service for the exit's zone.
    void tunnelUp();
    // The tunnel has gone down: the daemon puts the original zone back.
    void tunnelDown();

    // The service's answer about the exit's zone.
    void onTimezone(QString timezoneIANA, bool success);
    // Has the daemon set the zone, or restore the original one; the answer
    // comes later and only a refusal is logged.
    void change(bool restore, const QString& timezoneIANA);

signals:
    void problem(TimezoneFollower::Problem problem);

private:
    QSharedPointer<ServiceConnector> daemon;
    bool enabled = false;
    bool up = false;
    // The daemon has set the exit's zone and not yet put the original back.
    bool changed = false;
};
