#include "updatemanager.h"

#include "softwareupdater.h"

#include <QDebug>
#include <QTimer>

namespace {

// Timers and the updater may be released from inside their own signals.
template <typename T> QSharedPointer<T> makeLater(T* object)
{
    return QSharedPointer<T>(object, &QObject::deleteLater);
}

} // namespace

UpdateManager::UpdateManager(Installer installer, QObject* parent)
    : QObject(parent), installer(std::move(installer))
{
    qRegisterMetaType<UpdateManager::InstallFailure>();
}

UpdateManager::~UpdateManager() = default;

void UpdateManager::schedule()
{
    retryMs = 0;
    schedule(checkDelayMs);
}

void UpdateManager::schedule(int delayMs)
{
    auto next = makeLater(new QTimer);
    next->setSingleShot(true);
    next->setInterval(delayMs);
    connect(next.data(), &QTimer::timeout, this, &UpdateManager::check);
    next->start();
    timer = next;
}

bool UpdateManager::isScheduled() const
{
    return timer && timer->isActive();
}

int UpdateManager::remainingMs() const
{
    return isScheduled() ? timer->remainingTime() : -1;
}

void UpdateManager::check()
{
    timer.reset();
    updater = makeLater(new SoftwareUpdater(nullptr));
    connect(updater.data(), &SoftwareUpdater::newUpdate, this, &UpdateManager::newVersion);
    connect(updater.data(), &SoftwareUpdater::versionError, this, &UpdateManager::onFailed);
    connect(updater.data(), &SoftwareUpdater::upToDate, this, &UpdateManager::onUpToDate);
    connect(updater.data(), &SoftwareUpdater::insecureLink, this, [this] {
        onUpToDate();
        emit insecureLink();
    });
    updater->check();
}

void UpdateManager::onFailed()
{
    // Offline or a service in trouble: ask again soon, then less and less
    // often, so that a long outage is not polled every few seconds.
    retryMs = retryMs == 0 ? checkDelayMs : qMin(retryMs * 2, RetryMaxMs);
    schedule(retryMs);
}

void UpdateManager::onUpToDate()
{
    retryMs = 0;
    schedule(RecheckMs);
}

void UpdateManager::download()
{
    if (!updater || downloading) {
        return;
    }
    downloading = true;
    connect(updater.data(), &SoftwareUpdater::progressDownload, this, &UpdateManager::progress,
            Qt::UniqueConnection);
    connect(updater.data(), &SoftwareUpdater::downloadFailed, this, &UpdateManager::onDownloadFailed,
            Qt::UniqueConnection);
    connect(updater.data(), &SoftwareUpdater::downloadComplited, this, &UpdateManager::onDownloaded,
            Qt::UniqueConnection);
    emit downloadStarted();
    // Last: a download that fails at once has already been reported when
    // this returns.
    updater->downloadUpdate();
}

void UpdateManager::cancelDownload()
{
    downloading = false;
    if (updater) {
        updater->cancelDownloadUpdate();
    }
}

void UpdateManager::onDownloadFailed()
{
    cancelDownload();
    emit downloadFailed();
}

void UpdateManager::onDownloaded(const QString& packagePath)
{
    downloading = false;
    qDebug() << "doUpdateClient" << packagePath;
    if (packagePath.isEmpty()) {
        emit installFailed(InstallFailure::NoPackage);
        return;
    }
    if (!installer || !installer(packagePath)) {
        // Nothing will restart the client: it must stay usable.
        emit installFailed(InstallFailure::Refused);
        return;
    }
    emit handedOver();
}
