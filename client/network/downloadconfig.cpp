#include "downloadconfig.h"

#include "replytimeout.h"
#include "tlssettings.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

DownloadConfig::DownloadConfig(QString url, QObject* parent) : QThread(parent), url(std::move(url)) {}

void DownloadConfig::run()
{
    QNetworkAccessManager manager;
    QEventLoop loop;
    connect(&manager, &QNetworkAccessManager::finished, &loop, &QEventLoop::quit);

    QNetworkRequest request{QUrl(url)};
    TlsSettings::apply(request);
    QNetworkReply* reply = manager.get(request);
    new ReplyTimeout(reply, TimeoutMs);
    loop.exec();

    if (reply->error() != QNetworkReply::NoError) {
        success = false;
        delete reply;
        return;
    }
    const QByteArray body = reply->readAll();
    const int nul = body.indexOf('\0');
    text = QString::fromUtf8(nul < 0 ? body : body.left(nul));
    success = true;
    delete reply;
}
