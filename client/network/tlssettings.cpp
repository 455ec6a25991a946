#include "tlssettings.h"

#include "constants.h"

#include <QFile>
#include <QNetworkRequest>
#include <QSslCertificate>

namespace {

QString extraCaFile()
{
    return Constants::caFile();
}

// Naming any CA switches off Qt's on-demand loading of the system store, so
// the system list is read once and the extra bundle added to it.
QList<QSslCertificate> systemCas()
{
    static const QList<QSslCertificate> cas = QSslConfiguration::systemCaCertificates();
    return cas;
}

} // namespace

namespace TlsSettings {

QSslConfiguration configuration()
{
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    config.setProtocol(QSsl::SecureProtocols);
    const QString bundle = extraCaFile();
    if (!bundle.isEmpty()) {
        QList<QSslCertificate> cas = systemCas();
        QFile file(bundle);
        if (file.open(QIODevice::ReadOnly)) {
            cas += QSslCertificate::fromData(file.readAll(), QSsl::Pem);
        } else {
            qWarning() << "Cannot read the CA bundle" << bundle;
        }
        config.setCaCertificates(cas);
    }
    return config;
}

void apply(QNetworkRequest& request)
{
    // The request's own configuration is Qt's default; replacing it whole keeps
    // the system store's on-demand loading when no extra bundle is named.
    request.setSslConfiguration(configuration());
}

QString redactedUrl(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment).toString();
}

QString scrubUrl(QString text, const QUrl& url)
{
    if (url.isEmpty()) {
        return text;
    }
    const QString safe = redactedUrl(url);
    const QString spellings[] = {url.toString(), url.toString(QUrl::FullyEncoded), url.toDisplayString()};
    for (const QString& spelling : spellings) {
        if (!spelling.isEmpty()) {
            text.replace(spelling, safe);
        }
    }
    const QString query = url.query(QUrl::FullyEncoded);
    if (!query.isEmpty()) {
        text.replace(query, QString());
    }
    return text;
}

} // namespace TlsSettings
