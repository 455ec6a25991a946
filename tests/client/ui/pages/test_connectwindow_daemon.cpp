// The connect page against the real daemon, run by run_with_daemon.sh in
// private network, mount and pid namespaces: the rules checked here are
// those the daemon really loaded into that namespace.

#include "connectwindow.h"
#include "custommessagebox.h"
#include "localsettings.h"
#include "networkmanager.h"
#include "pagestestsupport.h"
#include "uitestsupport.h"

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

namespace {

const QString kVpnUser = QStringLiteral("vpnuser");

QString rules()
{
    QProcess save;
    save.start(QStringLiteral("iptables-save"), {"-t", "filter"});
    save.waitForFinished(10000);
    return QString::fromLatin1(save.readAllStandardOutput());
}

bool allows(const QString& address)
{
    return rules().contains(QStringLiteral("-A OUTPUT -d %1/32 -j ACCEPT").arg(address));
}

// Two servers to connect to, and 5,000 on every other address of the
// benchmarking network 198.18.0.0/15, which no block can merge: together
// five times what the record holds. Nothing is sent to any of them.
QVector<ServerInfo> fiveThousandServers()
{
    QVector<ServerInfo> list;
    ServerInfo first = makeServer(kVpnUser, "Amsterdam", ServerInfo::Standart, {}, {"1194"});
    ServerInfo last = makeServer(kVpnUser, "Zurich", ServerInfo::Standart, {}, {"1194"});
    last.ip = QStringLiteral("192.0.2.30");
    list << first << last;
    for (int i = 0; i < 5000; ++i) {
        ServerInfo s = makeServer(kVpnUser, QStringLiteral("Lab %1").arg(i, 4, 10, QLatin1Char('0')),
                                  ServerInfo::Standart, {}, {"1194"});
        s.ip = QStringLiteral("198.18.%1.%2").arg(i / 128).arg(2 * (i % 128) + 1);
        list << s;
    }
    return list;
}

} // namespace

class TestConnectWindowDaemon : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        CustomMessageBox::setScripted(true);
        auto settings = LocalSettings::instance();
        settings->createDefaultSettings();
        settings->setValue(Keys::VpnLogin, kVpnUser);
        settings->setValue(Keys::KillConnect, true);
        settings->setValue(Keys::CachedConfig, QByteArray("client\ndev tun\nnobind\n"));
        settings->setValue(Keys::CachedCertif, NetworkManager::cacheMapToArray({{kVpnUser, "CERT"}}));
        settings->setValue(Keys::CachedKeys, NetworkManager::cacheMapToArray({{kVpnUser, "KEY"}}));
        NetworkManager::instance()->loadCachedData();
    }

    void fiveThousandServersArmTheKillSwitchAndLetTheChosenOneThrough()
    {
        ConnectWindow window(nullptr);
        window.show();
        window.connectionSession()->setServers(fiveThousandServers());
        window.connectionSession()->selectServer(ServerIdentif(kVpnUser, "Amsterdam"));
        window.connectionSession()->loadSettings();
        QTRY_VERIFY_WITH_TIMEOUT(window.connectionSession()->killSwitch()->isActive(), 10000);
        QCOMPARE(CustomMessageBox::shown().size(), 0);
        QVERIFY(rules().contains(":OUTPUT DROP"));
        QVERIFY(allows("192.0.2.10"));
        QVERIFY(allows("192.0.2.100")); // the service
        QVERIFY(rules().count(QStringLiteral("-A OUTPUT -d 198.18.")) > 700);
        QVERIFY(!allows("192.0.2.30")); // no room for it while another is chosen

        // Choosing the last server and connecting lets it through before the
        // tunnel starts, with the kill switch on all the while.
        window.connectionSession()->selectServer(ServerIdentif(kVpnUser, "Zurich"));
        QPushButton* button = window.findChild<QPushButton*>("btnConnect");
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(allows("192.0.2.30"), 10000);
        QVERIFY(rules().contains(":OUTPUT DROP"));

        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(
            window.currentUiState() == ConnectWindow::Disconnected && button->isEnabled(), 30000);
        QVERIFY(allows("192.0.2.30"));
        window.connectionSession()->signOut();
        QVERIFY(!window.connectionSession()->killSwitch()->isActive());
        QVERIFY(!rules().contains(":OUTPUT DROP"));
    }
};

int main(int argc, char** argv)
{
    ScratchHome home;
    QApplication app(argc, argv);
    setApplicationIdentity();
    TestConnectWindowDaemon test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_connectwindow_daemon.moc"
