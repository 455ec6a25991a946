#include "fakeservice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    // The lab CA takes dozens of openssl runs, most of a minute on a busy
    // machine: it is made once per build tree and shared (pki.sh serialises
    // its writers), not once per test program.
    const QString sharedPki = QStringLiteral(KESTROVA_BINARY_DIR "/lab-pki");
    const QString pkiLink = QDir(runDir).filePath("pki");
    if (!QDir().mkpath(sharedPki) || (!QFileInfo(pkiLink).exists() && !QFile::link(sharedPki, pkiLink))) {
        return false;
    }

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
    // Ready once it names its port; the first start in a build tree makes the
    // lab CA first. Only the service's end, not a guess at how long the CA
    // takes, ends the wait.
    for (;;) {
        QFile file(portFile);
        if (file.open(QIODevice::ReadOnly)) {
            port = file.readAll().trimmed().toInt();
            if (port > 0) {
                return true;
            }
        }
        if (process.waitForFinished(50) || process.state() != QProcess::Running) {
            return false;
        }
    }
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
