#include "singleapplication.h"
#include "uitestsupport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

class TestSingleApplication : public QObject
{
    Q_OBJECT

public:
    explicit TestSingleApplication(SingleApplication& app) : app_(app) {}

private:
    // Runs the peer without blocking our event loop, which must answer it.
    QString runPeer(const QString& message, int* exitCode)
    {
        QProcess peer;
        peer.start(QString::fromLocal8Bit(qgetenv("KESTROVA_PEER")), {message});
        if (!peer.waitForStarted(5000)) {
            return "not started";
        }
        QElapsedTimer clock;
        clock.start();
        while (peer.state() != QProcess::NotRunning && clock.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        *exitCode = peer.exitCode();
        return QString::fromLocal8Bit(peer.readAllStandardOutput()).trimmed();
    }

    SingleApplication& app_;

private slots:
    void firstInstanceListensAndCannotSendToItself()
    {
        QVERIFY(!app_.isRunning());
        QVERIFY(!app_.isRunning()); // decided once
        QVERIFY(QFileInfo::exists(app_.socketPath()));
        QVERIFY(app_.socketPath().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));
        QVERIFY(!app_.sendMessage("Wake up!", 500));
    }

    void secondProcessDeliversItsMessage()
    {
        QSignalSpy received(&app_, &SingleApplication::messageReceived);
        int exitCode = -1;
        QCOMPARE(runPeer("Wake up!", &exitCode), QString("running=1 delivered=1"));
        QCOMPARE(exitCode, 0);
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(received[0][0].toString(), QString("Wake up!"));

        // Any text arrives as sent, including non-ASCII.
        QCOMPARE(runPeer(QString::fromUtf8("Привет"), &exitCode), QString("running=1 delivered=1"));
        QTRY_COMPARE(received.count(), 2);
        QCOMPARE(received[1][0].toString(), QString::fromUtf8("Привет"));
    }

    // A client that connects and never writes must not keep the first instance
    // from answering the next one.
    void silentPeerDoesNotBlockOthers()
    {
        QLocalSocket silent;
        silent.connectToServer(app_.socketPath());
        QVERIFY(silent.waitForConnected(1000));
        QSignalSpy received(&app_, &SingleApplication::messageReceived);
        int exitCode = -1;
        QCOMPARE(runPeer("Wake up!", &exitCode), QString("running=1 delivered=1"));
        QTRY_COMPARE(received.count(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(silent.state(), QLocalSocket::UnconnectedState, 5000);
    }
};

int main(int argc, char** argv)
{
    ScratchHome home;
    SingleApplication app(argc, argv, QStringLiteral("KestrovaTest"));
    TestSingleApplication test(app);
    return QTest::qExec(&test, argc, argv);
}

#include "test_singleapplication.moc"
