// The whole client window against the lab: sign in with the fake service,
// open the server list from the connect button, pick a server, see the tray
// say "Connected to", reach the target host through the tunnel, disconnect;
// then the same in stealth mode with the kill switch on, chosen on the
// settings page; a Disconnect pressed again while OpenVPN exits, and a log out
// with the tunnel up. Then kestrova-cli, without a display: alone, with its
// background session; with the window hosting the engine; and the window
// taking a background session's connection over. Run by run_pages_e2e.sh inside the lab's client namespace,
// with the real daemon and an X server of its own.

#include "accountwindow.h"
#include "connectwindow.h"
#include "controlhost.h"
#include "custommessagebox.h"
#include "localsettings.h"
#include "loginwindow.h"
#include "mainwindow.h"
#include "serverlistwindow.h"
#include "servertreeview.h"
#include "settingswindow.h"
#include "systemtray.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

namespace {

// TCP echo on the lab's target host, which the VPN routes through the tunnel.
bool echoThroughTarget()
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("203.0.113.10"), 7);
    if (!socket.waitForConnected(5000)) {
        return false;
    }
    socket.write("kestrova\n");
    QByteArray got;
    while (got.size() < 9 && socket.waitForReadyRead(5000)) {
        got += socket.readAll();
    }
    return got == "kestrova\n";
}

QString routeToTarget()
{
    QProcess ip;
    ip.start(QStringLiteral("ip"), {"route", "get", "203.0.113.10"});
    ip.waitForFinished(5000);
    return QString::fromLocal8Bit(ip.readAllStandardOutput());
}

// The kill switch as the kernel has it: with it on, nothing leaves by default.
bool killSwitchOn()
{
    QProcess iptables;
    iptables.start(QStringLiteral("iptables"), {"-S", "OUTPUT"});
    iptables.waitForFinished(5000);
    return iptables.readAllStandardOutput().contains("-P OUTPUT DROP");
}

struct CliRun
{
    int code = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

// kestrova-cli as a user at a terminal without a display runs it; the event
// loop goes on meanwhile, for the window that may be the engine it talks to.
CliRun cli(const QStringList& arguments, const QByteArray& input = QByteArray())
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    process.setProcessEnvironment(env);
    process.start(qEnvironmentVariable("KESTROVA_CLI"), arguments);
    process.write(input);
    process.closeWriteChannel();
    QElapsedTimer clock;
    clock.start();
    while (process.state() != QProcess::NotRunning && clock.elapsed() < 200000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        process.waitForFinished(5);
    }
    CliRun run;
    run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// The one openvpn's pid and the tunnel interface's index: both stay as they
// are for as long as the tunnel has not been down.
QString tunnelIdentity()
{
    QProcess pgrep;
    pgrep.start(QStringLiteral("pgrep"), {"-x", "openvpn"});
    pgrep.waitForFinished(5000);
    QFile index(QStringLiteral("/sys/class/net/tun0/ifindex"));
    if (!index.open(QIODevice::ReadOnly)) {
        return QString();
    }
    return QString::fromLatin1(pgrep.readAllStandardOutput().trimmed() + '/' + index.readAll().trimmed());
}

int openvpnCount()
{
    QProcess pgrep;
    pgrep.start(QStringLiteral("pgrep"), {"-c", "-x", "openvpn"});
    pgrep.waitForFinished(5000);
    return pgrep.readAllStandardOutput().trimmed().toInt();
}

QString trayConnectText(MainWindow& w)
{
    for (QAction* action : w.systemTray()->menu()->actions()) {
        if (action->text().startsWith(QLatin1String("Connected to"))) {
            return action->text();
        }
    }
    return QString();
}

} // namespace

class TestPagesE2e : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

    template <typename T> T* page() { return window->findChild<T*>(); }
    template <typename T> T* child(const char* name)
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    void clickRow(const QString& name)
    {
        ServerTreeView* view = page<ServerListWindow>()->view();
        QAbstractItemModel* m = view->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            if (m->index(r, 0).data().toString() == name) {
                QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  view->visualRect(m->index(r, 0)).center());
                return;
            }
        }
        QFAIL(qPrintable("no row " + name));
    }

private slots:
    void initTestCase()
    {
        CustomMessageBox::setScripted(true);
        window.reset(new MainWindow());
        // The service offers an update; it is taken last, by hand.
        window->updates()->setCheckDelay(3600 * 1000);
        window->checkAutologin();
        window->onShow();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanupTestCase()
    {
        if (window && window->connectionSession()->isConnected()) {
            page<ConnectWindow>()->onClickConnect();
        }
        window.reset();
    }

    void signInAndConnectFromTheServerList()
    {
        child<QLineEdit>("edLogin")->setText("single");
        child<QLineEdit>("edPassword")->setText("single-pass");
        QTest::mouseClick(child<QPushButton>("pbSignIn"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(page<ConnectWindow>()->isVisible(), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(!window->connectionSession()->servers().isEmpty(), 10000);

        // No location yet: the button opens the list.
        QTest::mouseClick(child<QPushButton>("btnConnect"), Qt::LeftButton);
        QTRY_VERIFY(page<ServerListWindow>()->isVisible());
        clickRow("Amsterdam");
        QTRY_VERIFY(page<ConnectWindow>()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(window->connectionSession()->isConnected(), 60000);
        QCOMPARE(trayConnectText(*window), QStringLiteral("Connected to Amsterdam"));

        QVERIFY2(routeToTarget().contains("tun"), qPrintable(routeToTarget()));
        QVERIFY(echoThroughTarget());

        QTest::mouseClick(child<QPushButton>("btnConnect"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!window->connectionSession()->isConnected() &&
                                     child<QPushButton>("btnConnect")->isEnabled(),
                                 30000);
        QTRY_VERIFY_WITH_TIMEOUT(!routeToTarget().contains("tun"), 10000);
        QCOMPARE(CustomMessageBox::shown().size(), 0);
    }

    void stealthWithTheKillSwitch()
    {
        // The page is back in its disconnected look once the clean-up ran.
        QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>("btnSettings")->isEnabled(), 30000);
        QTest::mouseClick(child<QPushButton>("btnSettings"), Qt::LeftButton);
        QTRY_VERIFY(child<QComboBox>("cbProto")->isVisible());
        QComboBox* proto = child<QComboBox>("cbProto");
        proto->setCurrentIndex(proto->findData("stealth"));
        QVERIFY(proto->currentIndex() >= 0);
        QCheckBox* killSwitch = child<QCheckBox>("cbKillSwitch");
        QVERIFY(killSwitch->isVisible()); // a full account
        if (!killSwitch->isChecked()) {
            killSwitch->click();
        }
        QTest::mouseClick(page<SettingsWindow>()->findChild<QPushButton*>("pbBack"), Qt::LeftButton);
        QTRY_VERIFY(page<ConnectWindow>()->isVisible());
        QTRY_VERIFY(window->connectionSession()->killSwitch()->isActive());
        QCOMPARE(window->connectionSession()->currentServer().name, QStringLiteral("Amsterdam"));

        QTest::mouseClick(child<QPushButton>("btnConnect"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(window->connectionSession()->isConnected(), 60000);
        QVERIFY(echoThroughTarget());

        QTest::mouseClick(child<QPushButton>("btnConnect"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!window->connectionSession()->isConnected() &&
                                     child<QPushButton>("btnConnect")->isEnabled(),
                                 30000);
        // The kill switch stays on with the tunnel down: the target is out of reach.
        QVERIFY(!echoThroughTarget());
        page<ConnectWindow>()->connectionSession()->signOut();
        QVERIFY(!window->connectionSession()->killSwitch()->isActive());
        QCOMPARE(CustomMessageBox::shown().size(), 0);
    }

    // A second press, a double click and the tray's Disconnect while OpenVPN
    // is still exiting are all ignored: the tunnel stays down.
    void disconnectPressedAgainStaysDown()
    {
        QPushButton* button = child<QPushButton>("btnConnect");
        QTRY_VERIFY_WITH_TIMEOUT(button->isEnabled() && !window->connectionSession()->isBusy(), 30000);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(window->connectionSession()->isConnected(), 60000);

        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(child<QPushButton>("btnSelectLocation")->text(), QStringLiteral("Disconnecting"));
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseDClick(button, Qt::LeftButton);
        emit window->systemTray()->clickDisconnect();
        emit window->systemTray()->clickConnect();
        QTRY_VERIFY_WITH_TIMEOUT(!window->connectionSession()->isBusy(), 30000);
        // Long enough for a new attempt to have come up.
        QTest::qWait(5000);
        QVERIFY(!window->connectionSession()->isBusy());
        QVERIFY2(!routeToTarget().contains("tun"), qPrintable(routeToTarget()));
    }

    // Log out with the tunnel up and the kill switch on: by the time the
    // sign-in page shows, the tunnel is down and the kill switch off.
    void logoutWhileConnectedTakesTheTunnelDown()
    {
        QTest::mouseClick(child<QPushButton>("btnConnect"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(window->connectionSession()->isConnected(), 60000);
        QVERIFY(killSwitchOn());

        QTest::mouseClick(child<QPushButton>("btnAccount"), Qt::LeftButton);
        CustomMessageBox::clearShown();
        CustomMessageBox::setNextAnswer(QMessageBox::Yes);
        QTest::mouseClick(page<AccountWindow>()->findChild<QPushButton*>("pbLogOut"), Qt::LeftButton);
        QCOMPARE(CustomMessageBox::shown().size(), 1);
        QCOMPARE(CustomMessageBox::shown()[0].text,
                 QStringLiteral("VPN connection is active. \nDisconnect and logout?"));
        QTRY_VERIFY_WITH_TIMEOUT(page<LoginWindow>()->isVisible(), 15000);
        QVERIFY2(!routeToTarget().contains("tun"), qPrintable(routeToTarget()));
        QVERIFY(!killSwitchOn());
        QVERIFY(trayConnectText(*window).isEmpty());
        CustomMessageBox::clearShown();
    }

    // The command line alone: no window serves, so connect starts the
    // background session, which keeps the tunnel after the command ends.
    void commandLineWithoutAWindow()
    {
        CliRun run = cli({"login", "single", "--password-stdin"}, "single-pass\n");
        QVERIFY2(run.code == 0, run.err.constData());
        run = cli({"servers", "--json"});
        QCOMPARE(run.code, 0);
        QStringList names;
        for (const QJsonValue& server : run.json().value("servers").toArray()) {
            names << server.toObject().value("name").toString();
        }
        QVERIFY(names.contains("Amsterdam"));
        QCOMPARE(cli({"set", "protocol", "udp"}).code, 0);
        QCOMPARE(cli({"set", "killswitch", "on"}).code, 0);

        run = cli({"connect", "Amsterdam"});
        QVERIFY2(run.code == 0, run.err.constData());
        // The command has ended; the tunnel and the kill switch have not.
        QVERIFY2(routeToTarget().contains("tun"), qPrintable(routeToTarget()));
        QVERIFY(killSwitchOn());
        QVERIFY(echoThroughTarget());
        run = cli({"status", "--json"});
        QCOMPARE(run.code, 0);
        QJsonObject status = run.json();
        QCOMPARE(status.value("state").toString(), QString("connected"));
        QCOMPARE(status.value("host").toString(), QString("cli"));
        QCOMPARE(status.value("location").toString(), QString("Amsterdam"));
        QCOMPARE(status.value("protocol").toString(), QString("udp"));
        QVERIFY(QHostAddress(status.value("tunnelAddress").toString())
                    .isInSubnet(QHostAddress("198.51.100.128"), 25));
        QVERIFY(status.value("killSwitch").toBool());
        // OpenVPN reports its byte counts once a second.
        QTRY_VERIFY_WITH_TIMEOUT(cli({"status", "--json"}).json().value("bytesIn").toDouble() > 0, 5000);
        QVERIFY(QDateTime::fromString(status.value("since").toString(), Qt::ISODate).isValid());

        run = cli({"disconnect"});
        QVERIFY2(run.code == 0, run.err.constData());
        QVERIFY2(!routeToTarget().contains("tun"), qPrintable(routeToTarget()));
        // Down with the kill switch on: the session holds the block and says so.
        run = cli({"status"});
        QVERIFY2(run.out.contains("Internet blocked by the kill switch until you connect"),
                 run.out.constData());
        QVERIFY(!echoThroughTarget());
        QCOMPARE(cli({"quit"}).code, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!killSwitchOn(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(cli({"status", "--json"}).json().value("host").isNull(), 10000);
        QCOMPARE(cli({"set", "killswitch", "off"}).code, 0);
    }

    // The window holds the engine: the terminal's connect is the window's,
    // and the page follows it.
    void windowFollowsTheCommandLine()
    {
        child<QLineEdit>("edLogin")->setText("single");
        child<QLineEdit>("edPassword")->setText("single-pass");
        QTest::mouseClick(child<QPushButton>("pbSignIn"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(page<ConnectWindow>()->isVisible(), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(!window->connectionSession()->servers().isEmpty(), 10000);
        ControlHost host(window->connectionSession(), "window");
        QCOMPARE(host.start(true), ControlHost::Start::Serving);

        CliRun run = cli({"connect", "New York"});
        QVERIFY2(run.code == 0, run.err.constData());
        QVERIFY(window->connectionSession()->isConnected());
        QCOMPARE(window->connectionSession()->currentServer().name, QStringLiteral("New York"));
        QTRY_COMPARE(trayConnectText(*window), QStringLiteral("Connected to New York"));
        QCOMPARE(cli({"status", "--json"}).json().value("host").toString(), QString("window"));
        QCOMPARE(openvpnCount(), 1);

        QCOMPARE(cli({"disconnect"}).code, 0);
        QVERIFY(!window->connectionSession()->isBusy());
        QVERIFY2(!routeToTarget().contains("tun"), qPrintable(routeToTarget()));
        QCOMPARE(CustomMessageBox::shown().size(), 0);
    }

    // A window that starts while the background session holds a tunnel
    // takes it over without taking it down: the same openvpn on the same
    // tun0, now the window's.
    void windowTakesTheBackgroundSessionOver()
    {
        CliRun run = cli({"connect", "Amsterdam"});
        QVERIFY2(run.code == 0, run.err.constData());
        const QJsonObject before = cli({"status", "--json"}).json();
        QCOMPARE(before.value("host").toString(), QString("cli"));
        const QString tunnel = tunnelIdentity();
        QVERIFY(!tunnel.isEmpty());

        ControlHost host(window->connectionSession(), "window");
        QCOMPARE(host.start(true), ControlHost::Start::Serving);
        QTRY_VERIFY_WITH_TIMEOUT(window->connectionSession()->isConnected(), 60000);
        QCOMPARE(tunnelIdentity(), tunnel);
        QCOMPARE(window->connectionSession()->currentServer().name, QStringLiteral("Amsterdam"));
        QCOMPARE(openvpnCount(), 1);
        run = cli({"status", "--json"});
        QCOMPARE(run.json().value("host").toString(), QString("window"));
        QCOMPARE(run.json().value("state").toString(), QString("connected"));
        QCOMPARE(run.json().value("tunnelAddress"), before.value("tunnelAddress"));
        QCOMPARE(run.json().value("since"), before.value("since"));
        QVERIFY(echoThroughTarget());
        QCOMPARE(tunnelIdentity(), tunnel);

        QCOMPARE(cli({"disconnect"}).code, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!window->connectionSession()->isBusy(), 30000);
        QCOMPARE(CustomMessageBox::shown().size(), 0);
    }

    // Last: the client exits after the hand-over. The runner then checks
    // that the daemon's job installed the package and restarted the client.
    void updateIsDownloadedAndHandedToTheDaemon()
    {
        QSignalSpy quit(window.get(), &MainWindow::quitRequested);
        window->updates()->setCheckDelay(50);
        CustomMessageBox::setNextAnswer(QMessageBox::Yes);
        window->updates()->schedule();
        QTRY_COMPARE_WITH_TIMEOUT(quit.count(), 1, 30000);
        QCOMPARE(CustomMessageBox::shown().size(), 1);
        QCOMPARE(CustomMessageBox::shown().first().text,
                 QStringLiteral("Available new update. Download it?"));
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("VKMT"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestrova"));
    TestPagesE2e test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_pages_e2e.moc"
