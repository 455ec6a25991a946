#pragma once

#include <QString>
#include <QTemporaryDir>

// Points HOME and the XDG folders at a throw-away directory so that settings,
// logs and sockets of a test never reach the real user's files. Call before the
// application object exists.
class ScratchHome
{
public:
    ScratchHome();
    bool isValid() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

#include <QProcess>
#include <QStringList>
#include <memory>

// The lab's fake service API on a free loopback port, with its own PKI and
// request log in a temporary directory. The client finds it through
// KESTROVA_API_URL and trusts it through KESTROVA_CA_FILE (set by use()).
class FakeService
{
public:
    explicit FakeService(QStringList extraArgs = {});
    ~FakeService();

    bool start();
    void stop();
    QString baseUrl() const;
    QString caFile() const;
    // Points the client at this service; prefix is "", "/fail" or "/hang".
    void use(const QString& prefix = QString()) const;
    // Query texts of the requests the service saw (passwords hidden).
    QStringList requests() const;
    int countRequests(const QString& needle) const;

private:
    QStringList extraArgs_;
    QTemporaryDir dir_;
    QProcess process_;
    int port_ = 0;
};
