// The connect page's state machine with the real connection facade, profile
// writer and OpenVPN management client, against a scripted daemon that also
// plays OpenVPN's management port.

#include "connectwindow.h"
#include "custommessagebox.h"
#include "localsettings.h"
#include "networkmanager.h"
#include "pagestestsupport.h"
#include "scripteddaemon.h"
#include "serviceconnector.h"
#include "showlog.h"
#include "uitestsupport.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QString kVpnUser = QStringLiteral("vpnuser");

} // namespace

class TestConnectWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedDaemon> daemon;
    std::unique_ptr<ConnectWindow> window;
    QTemporaryDir scratch;

    void makeWindow(const QString& stunnel = QStringLiteral("/bin/true"))
    {
        ConnectWindow::Dependencies deps;
        deps.daemon = daemon->connector();
        deps.stunnelExecutable = stunnel;
        deps.stunnelPidFile = scratch.filePath("stunnel.pid");
        window.reset(new ConnectWindow(nullptr, deps));
        window->show();
    }
    void chooseParis()
    {
        window->connectionSession()->setServers(connectTestServers(kVpnUser));
        window->connectionSession()->selectServer(ServerIdentif(kVpnUser, "Paris"));
        QCOMPARE(window->connectionSession()->currentServer().name, QStringLiteral("Paris"));
    }
    QPushButton* connectButton() { return window->findChild<QPushButton*>("btnConnect"); }
    QString locationButtonText() { return window->findChild<QPushButton*>("btnSelectLocation")->text(); }

private slots:
    void initTestCase() { CustomMessageBox::setScripted(true); }

    void init()
    {
        auto settings = LocalSettings::instance();
        settings->createDefaultSettings();
        settings->setValue(Keys::RememberUser, true);
        settings->setValue(Keys::VpnLogin, kVpnUser);
        storeAccountMaterial(kVpnUser);
        CustomMessageBox::clearShown();
        daemon.reset(new ScriptedDaemon());
    }

    void cleanup()
    {
        window.reset();
        daemon.reset();
    }

    // Opened from the page while connected, the details window keeps its own
    // look: the page's background must not paint over its title.
    void connectionDetailsKeepTheirHeader()
    {
        makeWindow();
        chooseParis();
        QTest::mouseClick(connectButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(window->currentUiState(), int(ConnectWindow::Connected), 10000);
        window->findChild<QPushButton*>("btnSelectLocation")->click();
        auto* details = window->findChild<ShowLog*>();
        QVERIFY(details && details->isVisible());
        auto* title = details->findChild<QLabel*>("lbTitle");
        const QImage header = details->findChild<QWidget*>("headerWidget")->grab().toImage();
        const QPoint blank = title->geometry().topRight() + QPoint(-2, title->height() / 2);
        QCOMPARE(header.pixelColor(blank).name(), QString("#33a5db"));
    }

    void pressWithoutALocationOpensTheServerList()
    {
        makeWindow();
        window->connectionSession()->setServers(connectTestServers(kVpnUser));
        QSignalSpy list(window.get(), &ConnectWindow::serverList);
        QTest::mouseClick(connectButton(), Qt::LeftButton);
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.first().first().toInt(), int(PROTOCOL_OPENVPN_TCP));
        QCOMPARE(window->currentUiState(), int(ConnectWindow::Disconnected));
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 0);
    }

    void connectAndDisconnectPaintTheLooks()
    {
        LocalSettings::instance()->setValue(Keys::KillConnect, true);
        makeWindow();
        chooseParis();
        window->connectionSession()->loadSettings();
        QTRY_VERIFY(window->connectionSession()->killSwitch()->isActive());

        QTest::mouseClick(connectButton(), Qt::LeftButton);
        QCOMPARE(locationButtonText(), QStringLiteral("Show connection"));
        QTRY_COMPARE_WITH_TIMEOUT(window->currentUiState(), int(ConnectWindow::Connected), 10000);
        QVERIFY(window->connectionSession()->isConnected());
        QVERIFY(window->findChild<QLabel*>("lbLocation")->styleSheet().contains("#7ed321"));

        QTest::mouseClick(connectButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(connectButton()->isEnabled(), 10000);
        QCOMPARE(window->currentUiState(), int(ConnectWindow::Disconnected));
        QCOMPARE(locationButtonText(), QStringLiteral("Select VPN Location"));
        QCOMPARE(CustomMessageBox::shown().size(), 0);
        // Idle shows no ring that could pass for a stuck attempt.
        QVERIFY(window->findChild<QLabel*>("lbRotatorAnimation")->isHidden());

        window->connectionSession()->signOut();
        QVERIFY(!window->connectionSession()->killSwitch()->isActive());
        QCOMPARE(daemon->count(AA_COMMAND_FIREWALL_OFF), 1);
    }

    void givingUpIsSaidOnceWithTheReason()
    {
        daemon->setTunnel(ScriptedDaemon::Tunnel::Refused);
        makeWindow();
        chooseParis();
        QTest::mouseClick(connectButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(CustomMessageBox::shown().size(), 1, 10000);
        QCOMPARE(CustomMessageBox::shown().first().text, QStringLiteral("Can not connect to helper"));
        QCOMPARE(window->currentUiState(), int(ConnectWindow::Disconnected));
        QCOMPARE(locationButtonText(), QStringLiteral("Select VPN Location"));
        QVERIFY(connectButton()->isEnabled());
    }

    void pressDuringGenerationCancels()
    {
        makeWindow();
        chooseParis();
        window->onClickConnect();
        QCOMPARE(window->currentUiState(), int(ConnectWindow::Generating));
        window->onClickConnect();
        QTRY_COMPARE(window->currentUiState(), int(ConnectWindow::Disconnected));
        QTest::qWait(300);
        QCOMPARE(window->currentUiState(), int(ConnectWindow::Disconnected));
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 0);
        QCOMPARE(locationButtonText(), QStringLiteral("Select VPN Location"));
    }

    void killSwitchThatCannotSwitchOnIsReported()
    {
        daemon->setResult(AA_COMMAND_FIREWALL_ON, false);
        LocalSettings::instance()->setValue(Keys::KillConnect, true);
        makeWindow();
        window->connectionSession()->loadSettings();
        QTRY_COMPARE(CustomMessageBox::shown().size(), 1);
        QVERIFY(!window->connectionSession()->killSwitch()->isActive());
        QCOMPARE(CustomMessageBox::shown().first().kind, CustomMessageBox::Kind::Critical);
        QCOMPARE(LocalSettings::instance()->value(Keys::KillConnect).toBool(), false);
    }

    void firewallUnsupportedIsSaidOnce()
    {
        daemon->setResult(AA_COMMAND_FIREWALL_SUPPORTED, false);
        LocalSettings::instance()->setValue(Keys::KillConnect, true);
        makeWindow();
        window->connectionSession()->loadSettings();
        QTRY_COMPARE(CustomMessageBox::shown().size(), 1);
        QVERIFY(!window->connectionSession()->killSwitch()->isActive());
        QCOMPARE(CustomMessageBox::shown().first().text,
                 QStringLiteral("Firewall does not support on your system."));
        QCOMPARE(daemon->count(AA_COMMAND_FIREWALL_ON), 0);
    }

    void protocolTheServerDoesNotOfferClearsTheLocation()
    {
        makeWindow();
        window->connectionSession()->setServers(connectTestServers(kVpnUser));
        window->connectionSession()->selectServer(ServerIdentif(kVpnUser, "Rome"));
        LocalSettings::instance()->setValue(Keys::OvpnProtocol, QStringLiteral("tcp"));
        window->connectionSession()->loadSettings();
        QCOMPARE(window->connectionSession()->currentServer().name, QStringLiteral("Rome"));

        LocalSettings::instance()->setValue(Keys::OvpnProtocol, QStringLiteral("udp"));
        window->connectionSession()->loadSettings();
        QVERIFY(window->connectionSession()->currentServer().name.isEmpty());
        QVERIFY(LocalSettings::instance()->value(Keys::LastLocation).toString().isEmpty());
        QCOMPARE(window->findChild<QLabel*>("lbLocation")->text(), QStringLiteral("Location not selected"));
        QCOMPARE(ConnectionSession::protocolSetting(), int(PROTOCOL_OPENVPN_UDP));
    }

    void missingCertificateStopsBeforeTheTunnel()
    {
        LocalSettings::instance()->setValue(Keys::CachedCertif, QByteArray());
        NetworkManager::instance()->loadCachedData();
        makeWindow();
        chooseParis();
        QTest::mouseClick(connectButton(), Qt::LeftButton);
        QTRY_COMPARE(CustomMessageBox::shown().size(), 1);
        QCOMPARE(CustomMessageBox::shown().first().text,
                 QStringLiteral("Error of loading of the certificate."));
        QCOMPARE(window->currentUiState(), int(ConnectWindow::Disconnected));
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 0);
    }

    void timezoneChangesTheSystemCannotMakeSwitchTheOptionOff()
    {
        daemon->setResult(AA_COMMAND_TIMEZONE_CHANGE_SUPPORTED, false);
        LocalSettings::instance()->setValue(Keys::ChangeTimezone, true);
        makeWindow();
        chooseParis();
        QTest::mouseClick(connectButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(window->currentUiState(), int(ConnectWindow::Connected), 10000);
        QTRY_COMPARE(CustomMessageBox::shown().size(), 1);
        QCOMPARE(CustomMessageBox::shown().first().text,
                 QStringLiteral("Timezone changes does not support on your system."));
        QCOMPARE(LocalSettings::instance()->value(Keys::ChangeTimezone).toBool(), false);
        window->onClickConnect();
        QTRY_VERIFY_WITH_TIMEOUT(connectButton()->isEnabled() && !window->connectionSession()->isConnected(),
                                 10000);
        QCOMPARE(daemon->count(AA_COMMAND_TIMEZONE_CHANGE), 0); // nothing to restore
    }

    void subscriptionLineShowsOnlyInTheLastWeek()
    {
        const QDateTime soon = QDateTime::currentDateTime().addDays(3);
        LocalSettings::instance()->setValue(Keys::CachedUsers,
                                            QStringList{"vpnuser||pw||" + soon.toString(Qt::ISODate)});
        NetworkManager::instance()->loadCachedData();
        makeWindow();
        auto* info = window->findChild<QLabel*>("lbSubscribtionInfo");
        QVERIFY(info->isVisible());
        QVERIFY(window->findChild<QPushButton*>("btRenew")->isVisible());
        QCOMPARE(info->text(), "VPN subscription expires: " + soon.toString("dd.MM.yyyy"));

        LocalSettings::instance()->setValue(Keys::CachedUsers,
                                            QStringList{"vpnuser||pw||2099-01-01T00:00:00"});
        NetworkManager::instance()->loadCachedData();
        window->doUpdateSubscriptionInfo();
        QVERIFY(!info->isVisible());
        QVERIFY(!window->findChild<QLabel*>("lbSubscribtionAdditionalInfo")->isVisible());
    }

    void attemptsThatCannotStartEndAtOnceWithTheReason()
    {
        // A stealth tunnel that does not start: no retries, no tunnel.
        LocalSettings::instance()->setValue(Keys::OvpnProtocol, QStringLiteral("stealth"));
        makeWindow(QStringLiteral("/bin/false"));
        chooseParis();
        QTest::mouseClick(connectButton(), Qt::LeftButton);
        // stunnel starts off the GUI thread: the press returns before its end.
        QCOMPARE(CustomMessageBox::shown().size(), 0);
        QCOMPARE(window->currentUiState(), int(ConnectWindow::Generating));
        QTRY_COMPARE(CustomMessageBox::shown().size(), 1);
        QVERIFY(CustomMessageBox::shown().first().text.startsWith("The stealth tunnel could not be started"));
        QCOMPARE(window->currentUiState(), int(ConnectWindow::Disconnected));

        // A profile the writer refuses (an address that is not one word)
        // must not start openvpn with whatever the file held before.
        LocalSettings::instance()->setValue(Keys::OvpnProtocol, QStringLiteral("tcp"));
        QVector<ServerInfo> odd = connectTestServers(kVpnUser);
        odd[0].ip = QStringLiteral("192.0.2.10\nplugin /tmp/x.so");
        window->connectionSession()->setServers(odd);
        window->connectionSession()->selectServer(ServerIdentif(kVpnUser, "Paris"));
        CustomMessageBox::clearShown();
        QTest::mouseClick(connectButton(), Qt::LeftButton);
        QTRY_COMPARE(CustomMessageBox::shown().size(), 1);
        QCOMPARE(CustomMessageBox::shown().first().text,
                 QStringLiteral("The connection profile could not be written."));
        QCOMPARE(window->currentUiState(), int(ConnectWindow::Disconnected));
        QTest::qWait(200);
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 0);
    }
};

int main(int argc, char** argv)
{
    ScratchHome home;
    QApplication app(argc, argv);
    setApplicationIdentity();
    TestConnectWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_connectwindow.moc"
