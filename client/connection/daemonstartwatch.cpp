#include "daemonstartwatch.h"

#include <QDebug>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <climits>
#include <sys/inotify.h>
#include <unistd.h>

const QString DaemonStartWatch::kDefaultPidFile = QStringLiteral("/run/kestrovad.pid");

DaemonStartWatch::DaemonStartWatch(const QString& pidFile, QObject* parent)
    : QObject(parent), fileName(QFileInfo(pidFile).fileName())
{
    fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) {
        qWarning() << "No inotify: a restarted daemon is not noticed";
        return;
    }
    // A fresh start creates the file, or, after a monitor that was killed,
    // writes it again in place.
    const QByteArray folder = QFileInfo(pidFile).absolutePath().toLocal8Bit();
    if (::inotify_add_watch(fd, folder.constData(), IN_CREATE | IN_MODIFY | IN_MOVED_TO) < 0) {
        qWarning() << "Cannot watch" << folder << "for the daemon's start:" << strerror(errno);
        ::close(fd);
        fd = -1;
        return;
    }
    notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &DaemonStartWatch::readEvents);
}

DaemonStartWatch::~DaemonStartWatch()
{
    delete notifier;
    if (fd >= 0) {
        ::close(fd);
    }
}

void DaemonStartWatch::readEvents()
{
    alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
    bool seen = false;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0 && fileName == QString::fromLocal8Bit(event->name)) {
                seen = true;
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    if (seen) {
        emit started();
    }
}
