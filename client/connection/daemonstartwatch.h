// Tells when the daemon has started anew. A daemon started afresh holds no
// kill switch rules; the file its monitor writes at every start is watched
// through the folder holding it (the file itself is root's alone), so the
// client learns of a start without asking the daemon anything meanwhile.
#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;

class DaemonStartWatch : public QObject
{
    Q_OBJECT
public:
    // The monitor's pid file: written on every start, removed on a stop.
    static const QString kDefaultPidFile;

    explicit DaemonStartWatch(const QString& pidFile = kDefaultPidFile, QObject* parent = nullptr);
    ~DaemonStartWatch() override;

    // False when the folder cannot be watched (no inotify, no folder).
    bool isWatching() const { return fd >= 0; }

signals:
    // The pid file was created or written: a daemon is starting.
    void started();

private:
    void readEvents();

    QString fileName;
    int fd = -1;
    QSocketNotifier* notifier = nullptr;
};
