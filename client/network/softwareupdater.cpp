#include "softwareupdater.h"

#include "constants.h"
#include "downloadfile.h"
#include "networkmanager.h"
#include "tlssettings.h"

#include <QDebug>
#include <QStringList>

SoftwareUpdater::SoftwareUpdater(QObject* parent) : SoftwareUpdater(nullptr, parent) {}

SoftwareUpdater::SoftwareUpdater(NetworkManager* api, QObject* parent) : QObject(parent), api(api) {}

int SoftwareUpdater::versionToNumber(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'), Qt::KeepEmptyParts);
    auto number = [&parts](int i) { return i < parts.size() ? parts.at(i).toInt() : 0; };
    if (parts.size() < 2) {
        return number(0);
    }
    return number(0) * 100000 + number(1) * 1000 + number(2);
}

void SoftwareUpdater::check()
{
    link.clear();
    NetworkManager* source = api ? api : NetworkManager::instance();
    connect(source, &NetworkManager::programUpdate, this, &SoftwareUpdater::onProgrammUpdate,
            Qt::UniqueConnection);
    source->programUpdateRequest();
}

void SoftwareUpdater::onProgrammUpdate(QString version, QString link, bool success)
{
    qDebug() << "onProgrammUpdate" << version << TlsSettings::redactedUrl(QUrl(link))
             << (success ? "true" : "false");
    if (!success) {
        emit versionError();
        return;
    }
    if (version.isEmpty() || link.isEmpty()) {
        emit upToDate();
        return;
    }
    const int local = versionToNumber(Constants::VersionText);
    const int remote = versionToNumber(version);
    emit remoteVersion(version);
    if (local >= remote) {
        emit upToDate();
        return;
    }
    // The package is installed as root: it must come from a verified https
    // server, never over a link anybody on the path can answer.
    if (!DownloadFile::isSecureLink(link)) {
        qWarning() << "Refused an update link that is not https:" << TlsSettings::redactedUrl(QUrl(link));
        emit insecureLink();
        return;
    }
    this->version = version;
    this->link = link;
    emit newUpdate();
}

void SoftwareUpdater::downloadUpdate()
{
    downloader.reset(new DownloadFile(link));
    connect(downloader.data(), &DownloadFile::progress, this, &SoftwareUpdater::progressDownload);
    connect(downloader.data(), &DownloadFile::finished, this, &SoftwareUpdater::onDownloadFinished);
    downloader->start(Constants::UpdateFileName);
}

void SoftwareUpdater::cancelDownloadUpdate()
{
    downloader.reset();
}

void SoftwareUpdater::onDownloadFinished(bool success)
{
    if (success && downloader) {
        emit downloadComplited(downloader->getFilePath());
    } else {
        emit downloadFailed();
    }
}
