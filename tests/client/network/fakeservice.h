#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>

// The lab's fake service API (lab/service/fakeservice.py) on loopback, for
// the length of one test. Its certificates come from the lab CA made under
// the run folder given to start().
class FakeService
{
public:
    ~FakeService();
    bool start(const QString& runDir, const QStringList& extraArgs = {});
    QUrl baseUrl() const { return QUrl(QStringLiteral("https://127.0.0.1:%1").arg(port)); }
    QString caFile() const;
    // The request log: one JSON object per request, passwords hidden.
    QList<QByteArray> requestLog() const;

    static QString sourceDir();

private:
    QProcess process;
    QString runDir;
    QString logFile;
    int port = 0;
};
