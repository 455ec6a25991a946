#pragma once

#include <QObject>
#include <QSharedPointer>
#include <QString>

class DownloadFile;
class NetworkManager;

// Asks the service for a newer client, downloads its package on request and
// reports the file; installing it is the daemon's job, started by the
// receiver of downloadComplited (UpdateManager).
class SoftwareUpdater : public QObject
{
    Q_OBJECT
public:
    explicit SoftwareUpdater(QObject* parent = nullptr);
    // Talks to `api` instead of the process-wide NetworkManager.
    SoftwareUpdater(NetworkManager* api, QObject* parent);

    QString getRemoteVersion() const { return version; }
    static int versionToNumber(const QString& text);

signals:
    void newUpdate();
    // The service answered but offers nothing newer.
    void upToDate();
    // The request failed: worth asking again soon.
    void versionError();
    // A newer version whose link is not https: it is never downloaded.
    void insecureLink();
    void remoteVersion(QString);
    void progressDownload(float value);
    void downloadComplited(QString);
    void downloadFailed();

public slots:
    void check();
    void downloadUpdate();
    void cancelDownloadUpdate();
    void onProgrammUpdate(QString version, QString link, bool success);
    void onDownloadFinished(bool success);

private:
    NetworkManager* api;
    QString link;
    QString version;
    QSharedPointer<DownloadFile> downloader;
};
