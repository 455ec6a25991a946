// The client's own updates, without widgets: when to ask the service for a
// newer version (after sign-in, again hours after an answer, sooner and then
// less often after failures), the download once the user agrees, and the
// hand-over of the package to whoever installs it (the root daemon).
#pragma once

#include <QObject>
#include <QSharedPointer>
#include <QString>
#include <functional>

class QTimer;
class SoftwareUpdater;

class UpdateManager : public QObject
{
    Q_OBJECT

public:
    static constexpr int CheckDelayMs = 5000;
    // After an answer without a newer version; failed checks back off from
    // the first delay up to the longest retry.
    static constexpr int RecheckMs = 6 * 3600 * 1000;
    static constexpr int RetryMaxMs = 3600 * 1000;

    enum class InstallFailure
    {
        NoPackage, // the download gave no file name
        Refused,   // the installer did not take the package
    };
    Q_ENUM(InstallFailure)

    // Takes the downloaded package's path; true when it will be installed.
    using Installer = std::function<bool(const QString& packagePath)>;

    explicit UpdateManager(Installer installer, QObject* parent = nullptr);
    ~UpdateManager() override;

    // A first check after the check delay; forgets earlier failures.
    void schedule();
    void schedule(int delayMs);
    // Shorter delays for tests.
    void setCheckDelay(int ms) { checkDelayMs = ms; }
    bool isScheduled() const;
    // Milliseconds until the scheduled check, or -1 when none is.
    int remainingMs() const;

    // The user agreed to the version newVersion() announced.
    void download();
    void cancelDownload();
    bool isDownloading() const { return downloading; }

signals:
    // A newer version over a secure link: ask the user, then download().
    void newVersion();
    // A newer version offered over a link that is not https; not downloaded.
    void insecureLink();
    void downloadStarted();
    // value is the downloaded fraction, 0 to 1.
    void progress(float value);
    void downloadFailed();
    void installFailed(UpdateManager::InstallFailure failure);
    // The package is with the installer, which restarts the client: time to quit.
    void handedOver();

private:
    void check();
    void onFailed();
    void onUpToDate();
    void onDownloaded(const QString& packagePath);
    void onDownloadFailed();

    Installer installer;
    QSharedPointer<QTimer> timer;
    QSharedPointer<SoftwareUpdater> updater;
    int checkDelayMs = CheckDelayMs;
    int retryMs = 0;
    bool downloading = false;
};
