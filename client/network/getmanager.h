#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// One reusable GET channel: verified TLS, a watchdog on every attempt and up
// to five retries. The owner reads `success`, `errorString` and `data` once
// `finished` has been emitted. One request at a time: a new one replaces the
// one in flight, whose replies are then dropped.
class GetManager : public QObject
{
    Q_OBJECT
public:
    GetManager(int timeout, QObject* parent);

    void getAsync(QUrl url);
    // Drops the request in flight; `finished` is not emitted for it.
    void abort();

    // Probes a public web site over plain HTTP; internetChecked() tells
    // whether it answered with at least one byte. Leaves the request state
    // untouched; a probe still running is dropped unreported.
    void checkInternet(const QUrl& probeUrl = defaultProbeUrl());
    // Ends a running probe at once; it then reports false.
    void cancelProbe();

    static QUrl defaultProbeUrl();
    static constexpr int MaxRetries = 5;

    bool success = false;
    QString errorString;
    QByteArray data;
    // The last request reached the service itself (a TLS session or an HTTP
    // status), so its failure is the service's, not the network's.
    bool serviceReached = false;

signals:
    void progress(int percent);
    void finished(int);
    void internetChecked(bool online);

public slots:
    void getReply();
    void slotFinished(QNetworkReply* reply);
    void slotDownloadProgress(qint64 received, qint64 total);

private:
    QNetworkAccessManager* network();

    QNetworkAccessManager* manager = nullptr;
    QNetworkRequest request;
    int timeoutMs;
    int retryCount = 0;
    QPointer<QNetworkReply> current;
    QPointer<QNetworkReply> probe;
};
