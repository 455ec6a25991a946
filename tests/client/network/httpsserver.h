#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>

#include <functional>

// Throw-away certificates made by openssl for one test run: a CA that the
// client is told to trust, a server certificate it signed, and a server
// certificate from a CA nobody trusts.
class TestPki
{
public:
    bool create();
    QString caFile() const { return dir.filePath("ca.pem"); }
    QString certFile() const { return dir.filePath("server.pem"); }
    QString keyFile() const { return dir.filePath("server.key"); }
    QString rogueCertFile() const { return dir.filePath("rogue.pem"); }
    QString rogueKeyFile() const { return dir.filePath("rogue.key"); }

private:
    bool run(const QStringList& args);
    QTemporaryDir dir;
};

struct TestRequest
{
    QString path;
    QUrlQuery query;
    QString target;
};

struct TestResponse
{
    TestResponse(int status = 200, QByteArray body = {}, bool silent = false, QByteArray extraHeaders = {})
        : status(status), body(std::move(body)), silent(silent), extraHeaders(std::move(extraHeaders))
    {
    }
    int status;
    QByteArray body;
    bool silent;             // accept the request and never answer
    QByteArray extraHeaders; // whole lines, each ending in CRLF
};

// A minimal HTTPS/1.1 server (plain HTTP when given no certificate) on 127.0.0.1 that answers every GET
// through a handler and remembers what it was asked.
class HttpsServer : public QTcpServer
{
    Q_OBJECT
public:
    HttpsServer(QString certFile, QString keyFile);
    bool start();
    QUrl baseUrl() const;

    std::function<TestResponse(const TestRequest&)> handler;
    QList<TestRequest> requests;

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    QString certFile;
    QString keyFile;
};
