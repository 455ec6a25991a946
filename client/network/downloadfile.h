#pragma once

#include <QFile>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QSharedPointer>
#include <QString>
#include <QTemporaryDir>

class QNetworkAccessManager;

// Streams one file (the update package) into a fresh temporary folder that
// outlives the object, so that the installer can still read it afterwards.
class DownloadFile : public QObject
{
    Q_OBJECT
public:
    explicit DownloadFile(QString url);
    ~DownloadFile() override;

    // Refuses (finished(false)) any link that isSecureLink() turns down.
    void start(QString fileName);
    QString getFilePath() const;
    // Only https with a host: the peer is then verified like the API's.
    static bool isSecureLink(const QString& link);

signals:
    void progress(float valuw);
    void finished(bool success);

public slots:
    void onDownloadProgress(qint64 bytesReceived, qint64 bytesTotal);
    void onReadyRead();
    void onFinished();

private:
    QString url;
    QSharedPointer<QNetworkAccessManager> manager;
    QTemporaryDir tempDir;
    QFile file;
    QPointer<QNetworkReply> reply;
};
