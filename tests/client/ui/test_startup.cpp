// The real client program: one instance per session, woken by a second start.
#include "uitestsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

namespace {

QString client()
{
    return qEnvironmentVariable("KESTROVA_BIN");
}

QString logText()
{
    QFile file(QDir(qEnvironmentVariable("XDG_DATA_HOME")).filePath("VKMT/Kestrova/log.txt"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

int countLines(const QString& suffix)
{
    int n = 0;
    for (const QString& line : logText().split('\n')) {
        if (line.endsWith(suffix)) {
            ++n;
        }
    }
    return n;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    void stop(QProcess& p)
    {
        if (p.state() != QProcess::NotRunning) {
            p.terminate();
            if (!p.waitForFinished(5000)) {
                p.kill();
                p.waitForFinished(5000);
            }
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QFileInfo(client()).isExecutable());
        // Nothing to reach: these starts never sign in.
        qputenv("KESTROVA_API_URL", "https://127.0.0.1:1");
    }

    void secondStartWakesTheFirstAndLeaves_data()
    {
        QTest::addColumn<QStringList>("firstArgs");
        QTest::addColumn<QStringList>("secondArgs");
        QTest::newRow("hidden first") << QStringList{"-h"} << QStringList{};
        QTest::newRow("hidden second") << QStringList{"-a"} << QStringList{"-h"};
    }

    void secondStartWakesTheFirstAndLeaves()
    {
        QFETCH(QStringList, firstArgs);
        QFETCH(QStringList, secondArgs);
        const int wokenBefore = countLines("DBG Wake up!");
        const int startsBefore = countLines("DBG Not one");

        QProcess first;
        first.setProcessChannelMode(QProcess::ForwardedChannels);
        first.start(client(), firstArgs);
        QVERIFY(first.waitForStarted(5000));
        // The first instance has looked for another twice and gone on to its window.
        QTRY_COMPARE_WITH_TIMEOUT(countLines("DBG Not one"), startsBefore + 2, 10000);
        QTest::qWait(500);
        QCOMPARE(first.state(), QProcess::Running);

        QProcess second;
        second.start(client(), secondArgs);
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(countLines("DBG Wake up!"), wokenBefore + 1, 5000);
        QCOMPARE(first.state(), QProcess::Running);
        stop(first);
    }

    void unknownOptionFails()
    {
        QProcess p;
        p.start(client(), {"--no-such-option"});
        QVERIFY(p.waitForFinished(10000));
        QVERIFY(p.exitCode() != 0);
        QVERIFY(QString::fromLocal8Bit(p.readAllStandardError()).contains("no-such-option"));
    }
};

int main(int argc, char** argv)
{
    ScratchHome home;
    QCoreApplication app(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_startup.moc"
