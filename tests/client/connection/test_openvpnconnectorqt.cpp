#include "connectorharness.h"
#include "openvpnconnectorqt.h"

#include <QElapsedTimer>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>

using S = FakeManagement;

namespace {

// The three commands the connector sends once the socket is up.
std::vector<S::Step> greeting()
{
    return {S::expect(), S::expect(), S::expect()};
}

std::vector<S::Step> operator+(std::vector<S::Step> a, const std::vector<S::Step>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

class TestOpenVPNConnectorQt : public QObject
{
    Q_OBJECT
private slots:
    void optionStringAsTheDaemonExpectsIt();
    void busyOpenVpnThatGreetsLateStillGetsTheDialogue();
    void credentialsAnsweredQuotedAndInOrder();
    void credentialCommandEscapingAndLimits_data();
    void credentialCommandEscapingAndLimits();
    void passwordWithLineBreakIsNeverSent();
    void stateLines();
    void byteCounts();
    void logLinesAndOnceOnlyErrors();
    void authFailedIsErrorZero();
    void overlongLineIsCutAndItsRestDropped();
    void disconnectWhileConnectedSendsSigterm();
    void disconnectBeforeSocketConnects();
    void restartIsAskedOnceUntilOpenVpnBeginsAgain();
    void aNetworkChangeWhileOpenVpnStartsRestartsItOnceReached();
    void reconnectWhileTheLastRunStillEnds();
    void daemonRefusalIsErrorThree();
    void unreachableManagementIsErrorOne();
    void destructionJoinsAStuckWorker();
    void onlyRootsGreetingOpenVpnGetsTheCredentials();
    void aLateOpenVpnFindsThePortStillHeldAndIsToldToQuit();
    void exitNotificationIsCutShort();
    void attachTakesOverARunningOpenVpnWithoutStartingOne();
    void attachToAnotherUsersConnectionSendsNothing();

private:
    struct Run
    {
        std::unique_ptr<ConnectorHarness> harness;
        std::unique_ptr<OpenVPNConnectorQt> connector;
        SignalRecorder recorder;
        bool recordTunnelUp = false;
        int attachSocket = -1; // attach to this connection instead of starting OpenVPN
    };
    // A running OpenVPN's management connection as its first owner held it:
    // greeted, with the script still to play.
    static int runningOpenVpn(std::unique_ptr<FakeManagement>& openvpn, std::vector<S::Step> steps);
    void start(Run& run, std::vector<S::Step> steps, const QString& login = "user1",
               const QString& password = "secret", S::Timing timing = {}, bool daemonStarts = true);
    // Waits for the worker to end and delivers its queued signals.
    static void finish(Run& run);
};

void TestOpenVPNConnectorQt::start(Run& run, std::vector<S::Step> steps, const QString& login,
                                   const QString& password, S::Timing timing, bool daemonStarts)
{
    run.harness = std::make_unique<ConnectorHarness>(std::move(steps), timing, daemonStarts);
    run.connector =
        std::make_unique<OpenVPNConnectorQt>(OpenVPNConnectorQt::Parameters{run.harness->serviceConnector});
    OpenVPNConnectorQt* c = run.connector.get();
    SignalRecorder* r = &run.recorder;
    QObject::connect(c, &OpenVPNConnectorQt::connected, r, &SignalRecorder::onConnected,
                     Qt::QueuedConnection);
    QObject::connect(c, &OpenVPNConnectorQt::disconnected, r, &SignalRecorder::onDisconnected,
                     Qt::QueuedConnection);
    QObject::connect(c, &OpenVPNConnectorQt::reconnecting, r, &SignalRecorder::onReconnecting,
                     Qt::QueuedConnection);
    QObject::connect(c, &OpenVPNConnectorQt::stateChanged, r, &SignalRecorder::onStateChanged,
                     Qt::QueuedConnection);
    QObject::connect(c, &OpenVPNConnectorQt::error, r, &SignalRecorder::onError, Qt::QueuedConnection);
    QObject::connect(c, &OpenVPNConnectorQt::log, r, &SignalRecorder::onLog, Qt::QueuedConnection);
    QObject::connect(c, &OpenVPNConnectorQt::statisticsUpdated, r, &SignalRecorder::onStatistics,
                     Qt::QueuedConnection);
    if (run.recordTunnelUp) {
        QObject::connect(c, &OpenVPNConnectorQt::tunnelUp, r, &SignalRecorder::onTunnelUp,
                         Qt::QueuedConnection);
    }
    if (run.attachSocket >= 0) {
        c->attach(run.attachSocket, login, password);
        return;
    }
    c->connect("/tmp/Kestrova.abc123", login, password);
}

void TestOpenVPNConnectorQt::finish(Run& run)
{
    QVERIFY(run.connector->wait(10000));
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

void TestOpenVPNConnectorQt::optionStringAsTheDaemonExpectsIt()
{
    Run run;
    start(run, greeting() + std::vector<S::Step>{S::close()});
    finish(run);
    const QString params = run.harness->openvpnParams();
    const auto m =
        QRegularExpression("^--config \"/tmp/Kestrova\\.abc123\" --management 127\\.0\\.0\\.1 (\\d+) "
                           "--management-client --management-query-passwords  --script-security 2  "
                           "--up /usr/share/kestrova/script/update-resolv-conf\\.sh  "
                           "--down /usr/share/kestrova/script/update-resolv-conf\\.sh $")
            .match(params);
    QVERIFY2(m.hasMatch(), qPrintable(params));
    QVERIFY(m.captured(1).toInt() > 0);
    QCOMPARE(run.harness->managementLines(), (QList<QByteArray>{"state on all", "log on", "bytecount 1"}));
}

void TestOpenVPNConnectorQt::busyOpenVpnThatGreetsLateStillGetsTheDialogue()
{
    Run run;
    start(run, greeting() + std::vector<S::Step>{S::close()}, "user1", "secret", S::Timing{0, 500});
    finish(run);
    QCOMPARE(run.harness->managementLines(), (QList<QByteArray>{"state on all", "log on", "bytecount 1"}));
    QCOMPARE(run.recorder.events, QStringList{"disconnected"});
}

void TestOpenVPNConnectorQt::credentialsAnsweredQuotedAndInOrder()
{
    Run run;
    start(run,
          greeting() +
              std::vector<S::Step>{
                  S::send(">INFO:OpenVPN Management Interface Version 5\r\n"),
                  S::send(">PASSWORD:Need 'Auth' username/password\r\n"),
                  S::expect(),
                  S::send("SUCCESS: 'Auth' username entered, but not yet verified\r\n"),
                  S::expect(),
                  S::send("SUCCESS: 'Auth' password entered, but not yet verified\r\n"),
                  S::close(),
              },
          "user 1", "p a\"ss\\#");
    finish(run);
    const QList<QByteArray> lines = run.harness->managementLines();
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.at(3), QByteArray("username \"Auth\" \"user 1\""));
    QCOMPARE(lines.at(4), QByteArray("password \"Auth\" \"p a\\\"ss\\\\#\""));
    QCOMPARE(run.recorder.events, QStringList{"disconnected"});
}

void TestOpenVPNConnectorQt::credentialCommandEscapingAndLimits_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("plain") << "abc" << QByteArray("password \"Auth\" \"abc\"\n");
    QTest::newRow("empty") << "" << QByteArray("password \"Auth\" \"\"\n");
    QTest::newRow("utf-8") << QString::fromUtf8("p\xc3\xa4ss")
                           << QByteArray("password \"Auth\" \"p\xc3\xa4ss\"\n");
    QTest::newRow("backslash and quote") << "\\\"" << QByteArray("password \"Auth\" \"\\\\\\\"\"\n");
    QTest::newRow("line feed") << "a\nsignal SIGTERM" << QByteArray();
    QTest::newRow("carriage return") << "a\rb" << QByteArray();
    QTest::newRow("zero") << QString("a") + QChar(0) << QByteArray();
    // "password \"Auth\" \"\"\n" is 19 bytes; with the zero, 1004 bytes of value fit.
    QTest::newRow("fits exactly") << QString(1004, 'x')
                                  << QByteArray("password \"Auth\" \"") + QByteArray(1004, 'x') + "\"\n";
    QTest::newRow("one byte too long") << QString(1005, 'x') << QByteArray();
    QTest::newRow("too long once escaped") << QString(600, '\\') << QByteArray();
}

void TestOpenVPNConnectorQt::credentialCommandEscapingAndLimits()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, command);
    QCOMPARE(OpenVPNConnectorQt::credentialCommand("password", value), command);
}

void TestOpenVPNConnectorQt::passwordWithLineBreakIsNeverSent()
{
    Run run;
    start(run, greeting(), "user1", "pass\nsignal SIGTERM");
    finish(run);
    QCOMPARE(run.recorder.events, QStringList{"error:0"});
    QVERIFY(run.harness->daemon.packets().empty());
    QCOMPARE(run.connector->connectionState(), 0);
}

void TestOpenVPNConnectorQt::stateLines()
{
    Run run;
    run.recordTunnelUp = true;
    start(run, greeting() +
                   std::vector<S::Step>{
                       S::send("1607446000,CONNECTING,,,,,,\r\n"),
                       S::send(">STATE:1607446000,WAIT,,,,,,\r\n"),
                       S::send(">STATE:1607446001,CONNECTED,SUCCESS,198.51.100.130,192.0.2.10,1194,,\r\n"),
                       S::hold(),
                       S::send(">STATE:1607446002,RECONNECTING,ping-restart,,,,,\r\n"),
                       S::send(">state:1607446003,connected,success,198.51.100.130,,,,\r\n"),
                       S::send(">STATE:\r\n"),
                       S::send(">STATE:1607446004,CONNECTED,ERROR,198.51.100.130,192.0.2.10,,,\r\n"),
                       S::close(),
                   });
    QTRY_VERIFY_WITH_TIMEOUT(run.recorder.events.contains("connected"), 5000);
    QCOMPARE(run.connector->connectionState(), 2);
    run.harness->release();
    finish(run);
    QCOMPARE(run.recorder.events,
             (QStringList{"state:WAIT", "state:CONNECTED", "up:198.51.100.130@1607446001", "connected",
                          "state:RECONNECTING", "reconnecting", "state:connected",
                          "up:198.51.100.130@1607446003", "connected", "state:CONNECTED", "error:8"}));
    // CONNECTED,ERROR left the state at 0, so the end brings no disconnected().
    QCOMPARE(run.connector->connectionState(), 0);
}

void TestOpenVPNConnectorQt::byteCounts()
{
    Run run;
    start(run, greeting() + std::vector<S::Step>{
                                S::send(">BYTECOUNT:1000,2000\r\n"),
                                S::send(">BYTECOUNT:1000\r\n"),
                                S::send(">BYTECOUNT:\r\n"),
                                S::send(">bytecount:5, 7\r\n"),
                                S::send(">BYTECOUNT:x,18446744073709551615\r\n"),
                                S::send(">BYTECOUNT:1,2,3\r\n"),
                                S::close(),
                            });
    finish(run);
    QCOMPARE(run.recorder.events,
             (QStringList{"bytes:1000,2000", "bytes:5,7", "bytes:0,18446744073709551615", "disconnected"}));
}

void TestOpenVPNConnectorQt::logLinesAndOnceOnlyErrors()
{
    Run run;
    start(run,
          greeting() + std::vector<S::Step>{
                           S::send(">LOG:1607446000,,Initialization Sequence Completed\r\n"),
                           S::send(">log:1607446000,,lower case line\r\n"),
                           S::send(">LOG:1607446000,W,write UDPv4: No Route to Host (WSAEHOSTUNREACH) "
                                   "(code=10065)\r\n"),
                           S::send(">LOG:2,D,MANAGEMENT: >STATE:2,CONNECTED,SUCCESS,198.51.100.130,,,,\r\n"),
                           S::send(">LOG:2,D,MANAGEMENT: >PASSWORD:Need 'Auth' username/password\r\n"),
                           S::send(">LOG:2,D,MANAGEMENT: >BYTECOUNT:1,2\r\n"),
                           S::send(">LOG:1,,HTTP proxy: Proxy requires authentication\r\n"),
                           S::send("Proxy requires authentication\r\n"),
                           S::send("There are no TAP-Windows adapters on this system\r\n"),
                           S::send("there are no tap-windows adapters on this system\r\n"),
                           S::finish(),
                       });
    finish(run);
    QCOMPARE(
        run.recorder.events,
        (QStringList{"log:>LOG:1607446000,,Initialization Sequence Completed\r",
                     "log:>log:1607446000,,lower case line\r", "error:7",
                     "log:>LOG:1607446000,W,write UDPv4: No Route to Host (WSAEHOSTUNREACH) (code=10065)\r",
                     "log:>LOG:2,D,MANAGEMENT: >STATE:2,CONNECTED,SUCCESS,198.51.100.130,,,,\r",
                     "log:>LOG:2,D,MANAGEMENT: >PASSWORD:Need 'Auth' username/password\r",
                     "log:>LOG:2,D,MANAGEMENT: >BYTECOUNT:1,2\r", "error:6", "error:2", "disconnected"}));
    // Quoted notifications sent nothing: only the three opening commands went out.
    QCOMPARE(run.harness->managementLines().size(), 3);
}

void TestOpenVPNConnectorQt::authFailedIsErrorZero()
{
    Run run;
    start(run, greeting() + std::vector<S::Step>{
                                S::send(">LOG:1,,auth: received control message: auth_failed\r\n"),
                                S::send(">LOG:1,E,AUTH: Received control message: AUTH_FAILED\r\n"),
                                S::send(">STATE:1607446005,EXITING,auth-failure,,,,,\r\n"),
                                S::close(),
                            });
    finish(run);
    // The AUTH_FAILED test alone is case-sensitive.
    QCOMPARE(run.recorder.events, (QStringList{"log:>LOG:1,,auth: received control message: auth_failed\r",
                                               "error:0", "state:EXITING", "disconnected"}));
}

void TestOpenVPNConnectorQt::overlongLineIsCutAndItsRestDropped()
{
    QByteArray longLine(12000, 'A');
    longLine.replace(11000, 60, ">STATE:1,CONNECTED,SUCCESS,198.51.100.130,192.0.2.10,1194,,");
    longLine.prepend(">LOG:1,,");
    Run run;
    start(run, greeting() + std::vector<S::Step>{
                                S::send(longLine + "\r\n"),
                                S::send(">STATE:2,CONNECTED,SUCCESS,198.51.100.130,192.0.2.10,1194,,\r\n"),
                                S::close(),
                            });
    finish(run);
    QCOMPARE(run.recorder.events.size(), 4);
    QCOMPARE(run.recorder.events.at(0).size(), int(QString("log:").size() + 9999));
    QCOMPARE(run.recorder.events.mid(1), (QStringList{"state:CONNECTED", "connected", "disconnected"}));
}

void TestOpenVPNConnectorQt::disconnectWhileConnectedSendsSigterm()
{
    Run run;
    start(run, greeting() + std::vector<S::Step>{
                                S::send(">STATE:1,CONNECTED,SUCCESS,198.51.100.130,192.0.2.10,1194,,\r\n"),
                                S::expect(),
                                S::send(">STATE:2,EXITING,SIGTERM,,,,,\r\n"),
                                S::sleep(300),
                                S::send(">LOG:3,I,SIGTERM[hard,] received, process exiting\r\n"),
                                S::close(),
                            });
    QTRY_VERIFY_WITH_TIMEOUT(run.recorder.events.contains("connected"), 5000);
    run.connector->disconnect();
    finish(run);
    QCOMPARE(run.harness->managementLines().value(3), QByteArray("signal SIGTERM"));
    // The end is reported only once OpenVPN has closed the socket, after its
    // last words, so the tunnel is really gone.
    QCOMPARE(run.recorder.events.mid(2),
             (QStringList{"state:EXITING", "log:>LOG:3,I,SIGTERM[hard,] received, process exiting\r",
                          "disconnected"}));
}

void TestOpenVPNConnectorQt::restartIsAskedOnceUntilOpenVpnBeginsAgain()
{
    Run run;
    start(run, greeting() + std::vector<S::Step>{
                                S::send(">STATE:1,CONNECTED,SUCCESS,198.51.100.130,192.0.2.10,1194,,\r\n"),
                                S::expect(),
                                S::send(">STATE:2,RECONNECTING,SIGHUP,,,,,\r\n"),
                                S::hold(),
                                S::send(">STATE:3,WAIT,,,,,,\r\n"),
                                S::untilSigterm(),
                            });
    QTRY_VERIFY_WITH_TIMEOUT(run.recorder.events.contains("connected"), 5000);
    run.connector->restart();
    QTRY_VERIFY_WITH_TIMEOUT(run.recorder.events.contains("state:RECONNECTING"), 5000);
    // A second change of the network while OpenVPN pauses before its new
    // attempt: the attempt will use it anyway.
    run.connector->restart();
    run.harness->release();
    QTRY_VERIFY_WITH_TIMEOUT(run.recorder.events.contains("state:WAIT"), 5000);
    run.connector->restart();
    run.connector->disconnect();
    finish(run);
    QCOMPARE(run.harness->managementLines().mid(3),
             (QList<QByteArray>{"signal SIGHUP", "signal SIGHUP", "signal SIGTERM"}));
}

void TestOpenVPNConnectorQt::aNetworkChangeWhileOpenVpnStartsRestartsItOnceReached()
{
    Run run;
    start(run, greeting() + std::vector<S::Step>{S::untilSigterm()}, "user1", "secret",
          S::Timing{S::Timing::kOnRelease, 0});
    QTRY_VERIFY_WITH_TIMEOUT(!run.harness->daemon.packets().empty(), 5000);
    // The laptop roams after OpenVPN was started and before it reached its
    // management port: its first attempt uses the old network.
    run.connector->restart();
    run.connector->restart();
    run.harness->release();
    QTRY_VERIFY_WITH_TIMEOUT(run.harness->managementLines().contains("signal SIGHUP"), 5000);
    run.connector->disconnect();
    finish(run);
    QCOMPARE(run.harness->managementLines().mid(3), (QList<QByteArray>{"signal SIGHUP", "signal SIGTERM"}));
}

void TestOpenVPNConnectorQt::disconnectBeforeSocketConnects()
{
    Run run;
    // OpenVPN connects to the management port only after the stop request.
    start(run, {S::expect(), S::close()}, "user1", "secret", S::Timing{S::Timing::kOnRelease, 0});
    QTRY_VERIFY_WITH_TIMEOUT(!run.harness->daemon.packets().empty(), 5000);
    run.connector->disconnect();
    run.harness->release();
    finish(run);
    QCOMPARE(run.recorder.events, QStringList{"disconnected"});
    // OpenVPN was already running: it is told to quit, and nothing else.
    QTRY_VERIFY_WITH_TIMEOUT(run.harness->managementFinished(), 5000);
    QCOMPARE(run.harness->managementLines(), QList<QByteArray>{"signal SIGTERM"});
}

void TestOpenVPNConnectorQt::reconnectWhileTheLastRunStillEnds()
{
    Run run;
    // A failed login: OpenVPN keeps its socket open until it is told to quit.
    start(run, greeting() + std::vector<S::Step>{
                                S::send(">LOG:1,E,AUTH: Received control message: AUTH_FAILED\r\n"),
                                S::untilSigterm(),
                            });
    QTRY_COMPARE_WITH_TIMEOUT(run.recorder.events, QStringList{"error:0"}, 5000);
    // The page retries at once, while the first run is still alive.
    run.connector->connect("/tmp/Kestrova.abc123", "user1", "secret");
    QTRY_COMPARE_WITH_TIMEOUT(run.recorder.events, (QStringList{"error:0", "error:0"}), 5000);
    // The first OpenVPN was told to quit, and its end went unreported.
    QTRY_VERIFY_WITH_TIMEOUT(run.harness->managementFinished(0), 5000);
    QCOMPARE(run.harness->managementLines(0).last(), QByteArray("signal SIGTERM"));
    QCOMPARE(run.harness->daemon.packets().size(), size_t(2));

    run.connector->disconnect();
    finish(run);
    QCOMPARE(run.recorder.events, (QStringList{"error:0", "error:0", "disconnected"}));
    QCOMPARE(run.harness->managementLines(1).last(), QByteArray("signal SIGTERM"));
}

void TestOpenVPNConnectorQt::daemonRefusalIsErrorThree()
{
    Run run;
    start(run, greeting(), "user1", "secret", {}, false);
    finish(run);
    QCOMPARE(run.recorder.events, QStringList{"error:3"});
    QCOMPARE(run.harness->daemon.packets().size(), size_t(1));
}

void TestOpenVPNConnectorQt::unreachableManagementIsErrorOne()
{
    Run run;
    // The daemon says yes, but nothing ever connects to the management port.
    start(run, greeting(), "user1", "secret", S::Timing{60000, 0});
    QElapsedTimer timer;
    timer.start();
    finish(run);
    QCOMPARE(run.recorder.events, QStringList{"error:1"});
    QVERIFY(timer.elapsed() >= 2500);
}

void TestOpenVPNConnectorQt::destructionJoinsAStuckWorker()
{
    Run run;
    // This OpenVPN never answers and never closes its management socket.
    start(run, greeting() + std::vector<S::Step>{
                                S::send(">STATE:1,CONNECTED,SUCCESS,198.51.100.130,192.0.2.10,1194,,\r\n"),
                                S::sleep(6000),
                            });
    QTRY_VERIFY_WITH_TIMEOUT(run.recorder.events.contains("connected"), 5000);
    run.connector.reset();
    // Reaching this line means the destructor returned with the thread joined.
    QVERIFY(!run.connector);
}

void TestOpenVPNConnectorQt::onlyRootsGreetingOpenVpnGetsTheCredentials()
{
    if (geteuid() != 0) {
        QSKIP("needs root: a connection of another uid");
    }
    // Before openvpn connects, another user connects to the management port,
    // greets like openvpn, asks for the password and writes down what it
    // gets; a root process that does not greet (a tunnel pointed at the port)
    // connects too. Then the real one comes.
    Run run;
    const QByteArray ask = ">PASSWORD:Need 'Auth' username/password\r\n";
    start(run,
          greeting() +
              std::vector<S::Step>{S::send(ask), S::expect(),
                                   S::send("SUCCESS: 'Auth' username entered, but not yet verified\r\n"),
                                   S::expect(), S::close()},
          "user1", "secret", S::Timing{S::Timing::kOnRelease, 0});
    QTRY_VERIFY_WITH_TIMEOUT(!run.harness->openvpnParams().isEmpty(), 5000);
    const auto m =
        QRegularExpression("--management 127\\.0\\.0\\.1 (\\d+) ").match(run.harness->openvpnParams());
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(quint16(m.captured(1).toUInt()));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int heard[2];
    int inLine[2];
    QCOMPARE(pipe(heard), 0);
    QCOMPARE(pipe(inLine), 0);
    // Made before the fork: the child of a threaded process must not allocate.
    const QByteArray hello = ">INFO:OpenVPN Management Interface Version 5\r\n" + ask;
    const pid_t impostor = fork();
    if (impostor == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) {
            _exit(1);
        }
        // Made as that user: the kernel names a socket's creator as its owner.
        // The first is closed at once: nobody can name its owner any more,
        // and it must not hold up the real OpenVPN.
        const int gone = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (::connect(gone, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            _exit(1);
        }
        ::close(gone);
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            _exit(1);
        }
        ::send(fd, hello.constData(), size_t(hello.size()), MSG_NOSIGNAL);
        ::close(inLine[1]);
        timeval limit{10, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        char buffer[256];
        ssize_t n;
        while ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0) {
            ssize_t ignored = ::write(heard[1], buffer, size_t(n));
            (void)ignored;
        }
        _exit(0);
    }
    ::close(heard[1]);
    ::close(inLine[1]);
    char none;
    QCOMPARE(::read(inLine[0], &none, 1), ssize_t(0));
    ::close(inLine[0]);
    const int silentRoot = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    QCOMPARE(::connect(silentRoot, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    const char transport[] = "\x00\x2a\x38\x11\n";
    ::send(silentRoot, transport, sizeof transport - 1, MSG_NOSIGNAL);
    run.harness->release();
    finish(run);
    QByteArray told;
    char buffer[256];
    ssize_t n;
    while ((n = ::read(heard[0], buffer, sizeof buffer)) > 0) {
        told.append(buffer, int(n));
    }
    ::close(heard[0]);
    ::close(silentRoot);
    waitpid(impostor, nullptr, 0);
    QCOMPARE(told, QByteArray());
    QCOMPARE(run.harness->managementLines().mid(3),
             (QList<QByteArray>{"username \"Auth\" \"user1\"", "password \"Auth\" \"secret\""}));
}

void TestOpenVPNConnectorQt::aLateOpenVpnFindsThePortStillHeldAndIsToldToQuit()
{
    if (geteuid() != 0) {
        QSKIP("needs root: OpenVPN's connection is root's");
    }
    Run run;
    start(run, {S::untilSigterm()}, "user1", "secret", S::Timing{S::Timing::kOnRelease, 0});
    QTRY_VERIFY_WITH_TIMEOUT(!run.harness->openvpnParams().isEmpty(), 5000);
    const auto m =
        QRegularExpression("--management 127\\.0\\.0\\.1 (\\d+) ").match(run.harness->openvpnParams());
    finish(run);
    QCOMPARE(run.recorder.events, QStringList{"error:1"});
    // Given up on, but not given away: nobody else can listen there.
    const int other = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(quint16(m.captured(1).toUInt()));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    QCOMPARE(::bind(other, reinterpret_cast<sockaddr*>(&addr), sizeof addr), -1);
    ::close(other);
    run.harness->release();
    QTRY_VERIFY_WITH_TIMEOUT(run.harness->managementFinished(), 5000);
    QCOMPARE(run.harness->managementLines(), QList<QByteArray>{"signal SIGTERM"});
}

void TestOpenVPNConnectorQt::exitNotificationIsCutShort()
{
    // With explicit-exit-notify, OpenVPN tells the server at once and then
    // waits before it goes. A second stop ends that wait.
    Run run;
    start(run, greeting() + std::vector<S::Step>{
                                S::send(">STATE:1,CONNECTED,SUCCESS,198.51.100.130,192.0.2.10,1194,,\r\n"),
                                S::expect(),
                                S::send("SUCCESS: signal SIGTERM thrown\r\n"),
                                S::send(">LOG:2,I,SIGTERM received, sending exit notification to peer\r\n"),
                                S::untilSigterm(),
                            });
    QTRY_VERIFY_WITH_TIMEOUT(run.recorder.events.contains("connected"), 5000);
    run.connector->disconnect();
    finish(run);
    QCOMPARE(run.harness->managementLines().mid(3), (QList<QByteArray>{"signal SIGTERM", "signal SIGTERM"}));
    QCOMPARE(run.recorder.events.last(), QString("disconnected"));
}

int TestOpenVPNConnectorQt::runningOpenVpn(std::unique_ptr<FakeManagement>& openvpn,
                                           std::vector<S::Step> steps)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, 1) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(listener);
        return -1;
    }
    openvpn = std::make_unique<FakeManagement>(ntohs(address.sin_port), std::move(steps));
    const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    ::close(listener);
    char c = 0;
    while (fd >= 0 && c != '\n' && ::recv(fd, &c, 1, 0) == 1) {
    }
    return fd;
}

// Another process of the user started this OpenVPN and handed its
// management connection over: the connector goes on with it as it is. Only
// its current state counts, not the history before it; nothing is started,
// and the credentials are still at hand should OpenVPN ask again.
void TestOpenVPNConnectorQt::attachTakesOverARunningOpenVpnWithoutStartingOne()
{
    std::unique_ptr<FakeManagement> openvpn;
    Run run;
    run.recordTunnelUp = true;
    run.attachSocket = runningOpenVpn(
        openvpn, {S::expect(), S::expect(),
                  S::send("1607446001,CONNECTED,SUCCESS,198.51.100.130,192.0.2.10,1194,,\r\nEND\r\n"),
                  S::expect(), S::expect(), S::send(">BYTECOUNT:4096,1024\r\n"),
                  S::send(">PASSWORD:Need 'Auth' username/password\r\n"), S::expect(), S::untilSigterm()});
    QVERIFY(run.attachSocket >= 0);
    start(run, {});
    QTRY_VERIFY_WITH_TIMEOUT(run.recorder.events.contains("connected"), 5000);
    QCOMPARE(run.connector->connectionState(), 2);
    QVERIFY(run.connector->managementSocket() >= 0);
    run.connector->disconnect();
    finish(run);
    QCOMPARE(run.harness->openvpnParams(), QString());
    QCOMPARE(openvpn->lines(), (QList<QByteArray>{"state on", "state", "log on", "bytecount 1",
                                                  "username \"Auth\" \"user1\"", "signal SIGTERM"}));
    QCOMPARE(run.recorder.events, (QStringList{"state:CONNECTED", "up:198.51.100.130@1607446001", "connected",
                                               "bytes:4096,1024", "disconnected"}));
}

// What comes as a management connection must be root's OpenVPN, however it
// came: anything else gets no word, and no credentials.
void TestOpenVPNConnectorQt::attachToAnotherUsersConnectionSendsNothing()
{
    int pair[2];
    QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
    Run run;
    run.attachSocket = pair[0];
    start(run, {});
    finish(run);
    QCOMPARE(run.recorder.events, QStringList{"error:1"});
    char c;
    QCOMPARE(::recv(pair[1], &c, 1, 0), ssize_t(0));
    ::close(pair[1]);
    QCOMPARE(run.harness->openvpnParams(), QString());
}

QTEST_GUILESS_MAIN(TestOpenVPNConnectorQt)
#include "test_openvpnconnectorqt.moc"
