// The real client program: one instance per session, woken by a second start.
#include "uitestsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <unistd.h>

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

    // The first client is busy (its GUI thread answers nothing for seconds):
    // a second start still opens no window of its own; it keeps knocking
    // until the first answers, then leaves.
    void secondStartWaitsForABusyFirst()
    {
        QLocalServer first;
        const QString path = QStringLiteral("%1/Quillfen-%2.sock")
                                 .arg(qEnvironmentVariable("XDG_RUNTIME_DIR"))
                                 .arg(::getuid());
        QLocalServer::removeServer(path);
        QVERIFY(first.listen(path));
        QStringList messages;
        connect(&first, &QLocalServer::newConnection, this, [&] {
            while (QLocalSocket* peer = first.nextPendingConnection()) {
                connect(peer, &QLocalSocket::readyRead, peer, [&messages, peer] {
                    messages << QString::fromUtf8(peer->readAll()).trimmed();
                    peer->write("ack\n");
                    peer->flush();
                });
            }
        });

        QProcess second;
        second.start(client(), QStringList());
        QVERIFY(second.waitForStarted(5000));
        QThread::msleep(2500);
        QElapsedTimer clock;
        clock.start();
        while (second.state() != QProcess::NotRunning && clock.elapsed() < 15000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        const bool ended = second.state() == QProcess::NotRunning;
        stop(second);
        QVERIFY(ended);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(messages.contains("Wake up!"));
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
