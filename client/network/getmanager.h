#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// One reusable GET channel: verified TLS, a watchdog on every attempt and up
// to five retries. The owner reads `success`, `errorString` and `data` once
// `finished` has been emitted.
class GetManager : public QObject
{
    Q_OBJECT
public:
    GetManager(int timeout, QObject* parent);

    void getAsync(QUrl url);

    // Blocking probe of a public web site over plain HTTP; true when it
    // answered with at least one byte. Leaves the request state untouched.
    bool checkInternetBlock();
    bool checkInternetBlock(const QUrl& probeUrl);

    static QUrl defaultProbeUrl();
    static constexpr int MaxRetries = 5;

    bool success = false;
    QString errorString;
    QByteArray data;

signals:
    void progress(int percent);
    void finished(int);

public slots:
    void getReply();
    void slotFinished(QNetworkReply* reply);
    void slotDownloadProgress(qint64 received, qint64 total);

private:
    QNetworkAccessManager* manager;
    QNetworkRequest request;
    int timeoutMs;
    int retryCount = 0;
};
