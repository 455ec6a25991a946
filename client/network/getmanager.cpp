#include "getmanager.h"

#include "replytimeout.h"
#include "tlssettings.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

GetManager::GetManager(int timeout, QObject* parent) : QObject(parent), timeoutMs(timeout) {}

QNetworkAccessManager* GetManager::network()
{
    // Made on first use: the first one of a process loads Qt's bearer
    // plugins, which costs tens of milliseconds that a process asking
    // nothing of the service (the command line's background session) must
    // not spend before it can connect.
    if (!manager) {
        manager = new QNetworkAccessManager(this);
        connect(manager, &QNetworkAccessManager::finished, this, &GetManager::slotFinished);
    }
    return manager;
}

void GetManager::getAsync(QUrl url)
{
    abort();
    success = false;
    serviceReached = false;
    errorString.clear();
    retryCount = 0;
    request.setUrl(url);
    TlsSettings::apply(request);
    // API requests carry the account password: never over plain HTTP, even
    // when a deployment names such a URL.
    if (url.scheme() != QLatin1String("https")) {
        errorString = tr("Refused to send a request over an unencrypted connection.");
        QMetaObject::invokeMethod(
            this, [this] { emit finished(0); }, Qt::QueuedConnection);
        return;
    }
    getReply();
}

void GetManager::abort()
{
    // Forgotten before the abort: its finished() then reaches slotFinished as
    // a reply of no request.
    QNetworkReply* reply = current;
    current = nullptr;
    if (reply) {
        reply->abort();
    }
}

void GetManager::getReply()
{
    QNetworkReply* reply = network()->get(request);
    current = reply;
    connect(reply, &QNetworkReply::encrypted, this, [this, reply] {
        if (reply == current) {
            serviceReached = true;
        }
    });
    new ReplyTimeout(reply, timeoutMs);
}

void GetManager::slotFinished(QNetworkReply* reply)
{
    // The probe's reply runs through the same manager; it is the probe's own.
    if (reply->property("kestrovaProbe").toBool()) {
        return;
    }
    if (reply != current) {
        reply->deleteLater();
        return;
    }
    current = nullptr;
    if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
        serviceReached = true;
    }
    if (reply->error() != QNetworkReply::NoError) {
        success = false;
        // Qt quotes the request URL in some error texts; ours carries the password.
        errorString = TlsSettings::scrubUrl(reply->errorString(), reply->request().url());
    } else {
        success = true;
        errorString.clear();
        data = reply->readAll();
    }
    reply->deleteLater();

    if (!success && retryCount < MaxRetries) {
        ++retryCount;
        getReply();
        return;
    }
    emit finished(0);
}

void GetManager::slotDownloadProgress(qint64 received, qint64 total)
{
    if (total > 0) {
        emit progress(static_cast<int>(received * 100 / total));
    }
}

QUrl GetManager::defaultProbeUrl()
{
    return QUrl(QStringLiteral("http://www.debian.org/"));
}

void GetManager::checkInternet(const QUrl& probeUrl)
{
    if (probe) {
        QNetworkReply* old = probe;
        probe = nullptr;
        old->disconnect(this);
        old->abort();
    }
    QNetworkReply* reply = network()->get(QNetworkRequest(probeUrl));
    reply->setProperty("kestrovaProbe", true);
    probe = reply;
    new ReplyTimeout(reply, timeoutMs);
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        const bool answered = reply->bytesAvailable() > 0;
        if (probe == reply) {
            probe = nullptr;
        }
        reply->deleteLater();
        emit internetChecked(answered);
    });
}

void GetManager::cancelProbe()
{
    if (probe) {
        probe->abort();
    }
}
