#include "fakeservice.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

QString FakeService::sourceDir()
{
    return QStringLiteral(KESTROVA_SOURCE_DIR);
}

FakeService::~FakeService()
{
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(2000);
        }
    }
}

bool FakeService::start(const QString& dir, const QStringList& extraArgs)
{
    runDir = dir;
    static int instance = 0;
    const QString tag = QString::number(++instance);
    const QString portFile = QDir(runDir).filePath("port-" + tag);
    logFile = QDir(runDir).filePath("requests-" + tag + ".log");
    QFile::remove(portFile);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KESTROVA_LAB_RUN", runDir);
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start("python3", QStringList{sourceDir() + "/lab/service/fakeservice.py", "--listen",
                                         "127.0.0.1:0", "--port-file", portFile, "--log", logFile} +
                                 extraArgs);
    if (!process.waitForStarted(5000)) {
        return false;
    }
    // The first start also makes the lab CA, which takes a few seconds.
    const QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired() && process.state() == QProcess::Running) {
        QFile file(portFile);
        if (file.open(QIODevice::ReadOnly)) {
            port = file.readAll().trimmed().toInt();
            if (port > 0) {
                return true;
            }
        }
        QThread::msleep(50);
    }
    return false;
}

QString FakeService::caFile() const
{
    return QDir(runDir).filePath("pki/ca.crt");
}

QList<QByteArray> FakeService::requestLog() const
{
    QFile file(logFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QList<QByteArray> lines = file.readAll().split('\n');
    lines.removeAll(QByteArray());
    return lines;
}
