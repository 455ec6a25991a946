#include "httpsserver.h"

#include <QFile>
#include <QProcess>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>

bool TestPki::run(const QStringList& args)
{
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("openssl", args);
    if (!p.waitForFinished(20000) || p.exitCode() != 0) {
        qWarning("openssl %s failed: %s", qPrintable(args.join(' ')), p.readAll().constData());
        return false;
    }
    return true;
}

bool TestPki::create()
{
    if (!dir.isValid()) {
        return false;
    }
    QFile ext(dir.filePath("ext.cnf"));
    if (!ext.open(QIODevice::WriteOnly)) {
        return false;
    }
    ext.write("subjectAltName=IP:127.0.0.1,DNS:localhost\n");
    ext.close();
    const QStringList ec{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
    auto makeCa = [&](const QString& name, const QString& cn) {
        return run(
            QStringList{"req", "-x509"} + ec +
            QStringList{"-keyout", name + ".key", "-out", name + ".pem", "-days", "2", "-subj", "/CN=" + cn});
    };
    auto makeLeaf = [&](const QString& name, const QString& ca) {
        return run(QStringList{"req"} + ec +
                   QStringList{"-keyout", name + ".key", "-out", name + ".csr", "-subj", "/CN=127.0.0.1"}) &&
               run({"x509", "-req", "-in", name + ".csr", "-CA", ca + ".pem", "-CAkey", ca + ".key",
                    "-CAcreateserial", "-out", name + ".pem", "-days", "2", "-extfile", "ext.cnf"});
    };
    return makeCa("ca", "Kestrova Test CA") && makeCa("rogueca", "Unknown CA") && makeLeaf("server", "ca") &&
           makeLeaf("rogue", "rogueca");
}

HttpsServer::HttpsServer(QString certFile, QString keyFile)
    : certFile(std::move(certFile)), keyFile(std::move(keyFile))
{
}

bool HttpsServer::start()
{
    return listen(QHostAddress::LocalHost, 0);
}

QUrl HttpsServer::baseUrl() const
{
    const char* scheme = certFile.isEmpty() ? "http" : "https";
    return QUrl(QStringLiteral("%1://127.0.0.1:%2").arg(QLatin1String(scheme)).arg(serverPort()));
}

void HttpsServer::incomingConnection(qintptr descriptor)
{
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    const bool plain = certFile.isEmpty();
    if (!plain) {
        QFile cert(certFile);
        QFile key(keyFile);
        cert.open(QIODevice::ReadOnly);
        key.open(QIODevice::ReadOnly);
        socket->setLocalCertificate(QSslCertificate(cert.readAll(), QSsl::Pem));
        socket->setPrivateKey(QSslKey(key.readAll(), QSsl::Ec, QSsl::Pem));
    }
    connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, QOverload<const QList<QSslError>&>::of(&QSslSocket::sslErrors), socket,
            [socket](const QList<QSslError>&) { socket->abort(); });
    connect(socket, &QSslSocket::readyRead, this, [this, socket]() {
        QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
        socket->setProperty("buffer", buffer);
        const int end = buffer.indexOf("\r\n\r\n");
        if (end < 0 || socket->property("answered").toBool()) {
            return;
        }
        socket->setProperty("answered", true);
        const QList<QByteArray> line = buffer.left(buffer.indexOf("\r\n")).split(' ');
        TestRequest request;
        request.target = QString::fromLatin1(line.value(1));
        const QUrl url(request.target);
        request.path = url.path();
        request.query = QUrlQuery(url);
        requests.append(request);

        const TestResponse response = handler ? handler(request) : TestResponse{};
        if (response.silent) {
            return;
        }
        QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " Status\r\n";
        head += "Content-Type: text/xml\r\nConnection: close\r\n" + response.extraHeaders;
        head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n\r\n";
        socket->write(head + response.body);
        socket->disconnectFromHost();
    });
    if (!plain) {
        socket->startServerEncryption();
    }
}
