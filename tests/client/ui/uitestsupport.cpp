#include "uitestsupport.h"

#include <QDir>

ScratchHome::ScratchHome()
{
    const QString home = dir_.path();
    for (const char* sub : {"config", "data", "cache", "run"}) {
        QDir(home).mkpath(QLatin1String(sub));
    }
    QDir(home + "/run").setPath(home + "/run");
    QFile::setPermissions(home + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home + "/data").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home + "/cache").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (home + "/run").toLocal8Bit());
}

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#ifndef KESTROVA_SOURCE_DIR
#error "the build names the source folder"
#endif

FakeService::FakeService(QStringList extraArgs) : extraArgs_(std::move(extraArgs)) {}

FakeService::~FakeService()
{
    stop();
}

namespace {

// Making the lab CA takes long: every service of one test program shares the
// first one's.
QString& sharedLabRun()
{
    static QString dir = qEnvironmentVariable("KESTROVA_TEST_LAB_RUN");
    return dir;
}

} // namespace

bool FakeService::start()
{
    const QString run = dir_.path();
    if (sharedLabRun().isEmpty()) {
        sharedLabRun() = run;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // One PKI for every test program of the build: making a CA takes a while.
    env.insert("KESTROVA_LAB_RUN", sharedLabRun());
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList args = {QStringLiteral(KESTROVA_SOURCE_DIR "/lab/service/fakeservice.py"),
                        "--listen",
                        "127.0.0.1:0",
                        "--port-file",
                        run + "/port",
                        "--log",
                        run + "/requests.log"};
    args << extraArgs_;
    process_.start("python3", args);
    if (!process_.waitForStarted(5000)) {
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 120000 && process_.state() == QProcess::Running) {
        QFile file(run + "/port");
        if (file.open(QIODevice::ReadOnly)) {
            port_ = file.readAll().trimmed().toInt();
            if (port_ > 0) {
                return true;
            }
        }
        QThread::msleep(50);
    }
    return false;
}

void FakeService::stop()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
}

QString FakeService::baseUrl() const
{
    return QStringLiteral("https://127.0.0.1:%1").arg(port_);
}

QString FakeService::caFile() const
{
    return sharedLabRun() + "/pki/ca.crt";
}

void FakeService::use(const QString& prefix) const
{
    qputenv("KESTROVA_API_URL", (baseUrl() + prefix).toUtf8());
    qputenv("KESTROVA_CA_FILE", caFile().toUtf8());
}

QStringList FakeService::requests() const
{
    QStringList lines;
    QFile file(dir_.path() + "/requests.log");
    if (!file.open(QIODevice::ReadOnly)) {
        return lines;
    }
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QJsonObject entry = QJsonDocument::fromJson(line).object();
        if (!entry.isEmpty()) {
            lines << entry.value("path").toString() + "?" +
                         QString::fromUtf8(
                             QJsonDocument(entry.value("query").toArray()).toJson(QJsonDocument::Compact));
        }
    }
    return lines;
}

int FakeService::countRequests(const QString& needle) const
{
    int count = 0;
    for (const QString& line : requests()) {
        if (line.contains(needle)) {
            ++count;
        }
    }
    return count;
}
