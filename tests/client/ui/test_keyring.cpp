// Signing in through the real main window with a keyring on the session bus
// (tests/client/with_keyring.sh): neither the account's password nor a VPN
// login's password or key reaches the user's folders, and the next start
// signs in with the password the keyring gives back.
#include "accountwindow.h"
#include "connectwindow.h"
#include "custommessagebox.h"
#include "keyringprobe.h"
#include "localsettings.h"
#include "loginwindow.h"
#include "mainwindow.h"
#include "networkmanager.h"
#include "newuser.h"
#include "secretstore.h"
#include "settingswindow.h"
#include "systemtray.h"
#include "uitestsupport.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <memory>

namespace {

// grep's verdict on the user's folders: 1 is "found nowhere". The keyring's
// own file is encrypted and not the client's.
int grepHome(const QString& needle)
{
    return QProcess::execute("grep",
                             {"-r", "-q", "-F", "--exclude-dir=keyrings", "--", needle, QDir::homePath()});
}

} // namespace

class TestKeyring : public QObject
{
    Q_OBJECT

    FakeService service;
    std::unique_ptr<MainWindow> window;

    template <typename T> T* page() const { return window->findChild<T*>(); }
    static bool shown(QWidget* w) { return w && !w->isHidden(); }

    void newWindow()
    {
        window.reset(new MainWindow);
        window->updates()->setCheckDelay(60000);
        window->checkAutologin();
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"), "run through with_keyring.sh");
        QVERIFY(service.start());
        service.use();
        CustomMessageBox::setScripted(true);
        SystemTray::setAvailableOverride(true);
        startAsNewUser();
    }

    void signInLeavesNoSecretInTheUsersFolders()
    {
        newWindow();
        QVERIFY(shown(page<LoginWindow>()));
        page<LoginWindow>()->findChild<QLineEdit*>("edLogin")->setText("single");
        page<LoginWindow>()->findChild<QLineEdit*>("edPassword")->setText("single-pass");
        QTest::mouseClick(page<LoginWindow>()->findChild<QPushButton*>("pbSignIn"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<ConnectWindow>()), 15000);

        NetworkManager* api = NetworkManager::instance();
        const QString vpnPassword = api->subscription("kv1001").password();
        const QList<QByteArray> keyLines = api->getKeyOvpnByUser("kv1001").split('\n');
        QVERIFY(!vpnPassword.isEmpty());
        QVERIFY(keyLines.size() > 3);
        QTRY_VERIFY_WITH_TIMEOUT(!SecretStore::instance()->fileKeepsSecrets(true), 10000);
        LocalSettings::instance()->sync();

        QCOMPARE(grepHome("single-pass"), 1);
        QCOMPARE(grepHome(vpnPassword), 1);
        QCOMPARE(grepHome(QString::fromLatin1(keyLines.at(1))), 1);
        // Found where it is: the search itself works.
        QCOMPARE(grepHome("kv1001"), 0);
        QVERIFY(page<SettingsWindow>()->findChild<QLabel*>("lbSecretsInFile")->isHidden());
    }

    void nextStartSignsInWithThePasswordFromTheKeyring()
    {
        window.reset();
        SecretStore::releaseInstance();
        LocalSettings::releaseInstance();
        const int signIns = service.countRequests(R"(["login","single"])");

        newWindow();
        QVERIFY(!shown(page<LoginWindow>()));
        QVERIFY(shown(page<ConnectWindow>()));
        QTRY_VERIFY_WITH_TIMEOUT(service.countRequests(R"(["login","single"])") > signIns, 15000);
        QTRY_COMPARE(window->connectionSession()->servers().size(), 4);
        QVERIFY(!shown(page<LoginWindow>()));
        QVERIFY(CustomMessageBox::shown().isEmpty());
    }

    // Over SSH: no session bus, the password in a keyring out of reach.
    void keyringOutOfReachAsksForThePasswordAndKeepsTheSettings()
    {
        window.reset();
        LocalSettings::instance()->setValue(Keys::FavoriteServersUdp, QStringList{"kv1001::Amsterdam"});
        SecretStore::releaseInstance();
        LocalSettings::releaseInstance();
        const QByteArray bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        const auto restoreBus = qScopeGuard([bus] { qputenv("DBUS_SESSION_BUS_ADDRESS", bus); });

        newWindow();
        QVERIFY(shown(page<LoginWindow>()));
        QVERIFY(!shown(page<ConnectWindow>()));
        QCOMPARE(LocalSettings::instance()->value(Keys::Login).toString(), QString("single"));
        page<LoginWindow>()->findChild<QLineEdit*>("edLogin")->setText("single");
        page<LoginWindow>()->findChild<QLineEdit*>("edPassword")->setText("single-pass");
        QTest::mouseClick(page<LoginWindow>()->findChild<QPushButton*>("pbSignIn"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<ConnectWindow>()), 15000);
        QCOMPARE(LocalSettings::instance()->value(Keys::FavoriteServersUdp).toStringList(),
                 QStringList{"kv1001::Amsterdam"});
        // Kept where it can be: the file, readable by its owner only.
        QCOMPARE(LocalSettings::instance()->value(Keys::Passwd).toString(), QString("single-pass"));
        QVERIFY(!page<SettingsWindow>()->findChild<QLabel*>("lbSecretsInFile")->isHidden());
    }

    // Back on the desktop: the password typed over SSH moves into the
    // keyring, and logging out takes it out again.
    void logOutRemovesThePasswordFromTheKeyring()
    {
        window.reset();
        SecretStore::releaseInstance();
        LocalSettings::releaseInstance();
        newWindow();
        QTRY_VERIFY_WITH_TIMEOUT(
            shown(page<ConnectWindow>()) && !SecretStore::instance()->fileKeepsSecrets(true), 15000);
        QCOMPARE(keyringItem(), QKeychain::NoError);
        QCOMPARE(grepHome("single-pass"), 1);

        window->onAccount();
        CustomMessageBox::setNextAnswer(QMessageBox::Yes);
        page<AccountWindow>()->findChild<QPushButton*>("pbLogOut")->click();
        QVERIFY(shown(page<LoginWindow>()));
        QTRY_COMPARE(keyringItem(), QKeychain::EntryNotFound);
    }

    void cleanupTestCase()
    {
        window.reset();
        startAsNewUser();
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("VKMT");
    QCoreApplication::setApplicationName("Kestrova");
    TestKeyring test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_keyring.moc"
