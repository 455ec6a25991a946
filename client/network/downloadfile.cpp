#include "downloadfile.h"

#include "tlssettings.h"

#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkRequest>

DownloadFile::DownloadFile(QString url) : url(std::move(url)), manager(new QNetworkAccessManager) {}

DownloadFile::~DownloadFile()
{
    // Releasing the object ends a running download; the reply must not call
    // back into a half-destroyed object.
    if (reply) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void DownloadFile::start(QString fileName)
{
    if (!tempDir.isValid()) {
        // A full or read-only temporary folder: say so, or the progress
        // dialog would wait for ever.
        qWarning() << "Cannot create a folder for the update:" << tempDir.errorString();
        emit finished(false);
        return;
    }
    if (!isSecureLink(url)) {
        qWarning() << "Refused to download over a link that is not https";
        emit finished(false);
        return;
    }
    file.setFileName(QStringLiteral("%1/%2").arg(tempDir.path(), fileName));
    qDebug() << "Updater file path:" << file.fileName();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        emit finished(false);
        return;
    }

    QNetworkRequest request{QUrl(url)};
    TlsSettings::apply(request);
    // Package links may point at a mirror; an unfollowed redirect would end
    // "successfully" with an empty package.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    reply = manager->get(request);
    connect(reply, &QNetworkReply::downloadProgress, this, &DownloadFile::onDownloadProgress);
    connect(reply, &QNetworkReply::finished, this, &DownloadFile::onFinished);
    connect(reply, &QNetworkReply::readyRead, this, &DownloadFile::onReadyRead);
}

bool DownloadFile::isSecureLink(const QString& link)
{
    const QUrl parsed(link);
    return parsed.isValid() && parsed.scheme() == QLatin1String("https") && !parsed.host().isEmpty();
}

QString DownloadFile::getFilePath() const
{
    return file.fileName();
}

void DownloadFile::onDownloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    // An unknown or zero total gives a value that is not a finite fraction;
    // receivers tolerate it.
    emit progress(static_cast<float>(bytesReceived) / static_cast<float>(bytesTotal));
}

void DownloadFile::onReadyRead()
{
    if (reply && file.isOpen()) {
        file.write(reply->readAll());
    }
}

void DownloadFile::onFinished()
{
    onReadyRead();
    file.close();
    const int status = reply ? reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() : 0;
    const bool ok = reply && reply->error() == QNetworkReply::NoError && (status == 0 || status / 100 == 2);
    if (reply) {
        reply->deleteLater();
    }
    // A whole package outlives this object: the daemon installs it after the
    // client has quit. A failed or cancelled one goes with it.
    tempDir.setAutoRemove(!ok);
    emit finished(ok);
}
