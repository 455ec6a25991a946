#pragma once

#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QString>
#include <QUrl>

// TLS settings shared by every request that carries account data: the peer is
// always verified, against the system's CAs plus an optional extra bundle
// (private deployments and the lab name theirs in KESTROVA_CA_FILE).
namespace TlsSettings {

QSslConfiguration configuration();

// Applies configuration() to a request's own TLS settings.
void apply(QNetworkRequest& request);

// Text of a URL that is safe to write to a log or show: no user info and no
// query (the API's queries carry the account password).
QString redactedUrl(const QUrl& url);

// Removes every spelling of `url` that carries its query from `text`; reply
// error texts quote the full request URL, password included.
QString scrubUrl(QString text, const QUrl& url);

} // namespace TlsSettings
