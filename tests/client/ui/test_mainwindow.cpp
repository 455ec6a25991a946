// The main window's sign-in paths, page switches, logout and update schedule,
// end to end through the real API client against the lab's fake service.
#include "accountwindow.h"
#include "connectwindow.h"
#include "constants.h"
#include "custommessagebox.h"
#include "localsettings.h"
#include "loginwindow.h"
#include "mainwindow.h"
#include "networkmanager.h"
#include "newuser.h"
#include "progressdlg.h"
#include "searchedit.h"
#include "selectionaccountwindow.h"
#include "serverlistwindow.h"
#include "servertreeview.h"
#include "settingswindow.h"
#include "showlog.h"
#include "subscriptionpurchasewindow.h"
#include "systemtray.h"
#include "uitestsupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>

#include <memory>

namespace {

QVariant setting(const QString& key)
{
    return LocalSettings::instance()->value(key);
}

void setSetting(const QString& key, const QVariant& value)
{
    LocalSettings::instance()->setValue(key, value);
}

// A remembered user, as a previous run would have left it.
void rememberUser(const QString& login, const QString& password)
{
    setSetting(Keys::RememberUser, true);
    setSetting(Keys::Login, login);
    setSetting(Keys::Passwd, password);
}

QStringList boxTexts()
{
    QStringList texts;
    for (const auto& box : CustomMessageBox::shown()) {
        texts << box.text;
    }
    return texts;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    FakeService service;
    std::unique_ptr<MainWindow> window;

    template <typename T> T* page() const { return window->findChild<T*>(); }
    bool shown(QWidget* w) const { return w && !w->isHidden(); }

    MainWindow* newWindow()
    {
        window.reset(new MainWindow);
        window->updates()->setCheckDelay(60000);
        return window.get();
    }

    void typeAndSignIn(const QString& login, const QString& password)
    {
        auto* loginPage = page<LoginWindow>();
        loginPage->findChild<QLineEdit*>("edLogin")->setText(login);
        loginPage->findChild<QLineEdit*>("edPassword")->setText(password);
        QTest::mouseClick(loginPage->findChild<QPushButton*>("pbSignIn"), Qt::LeftButton);
    }

    // A fresh start without a remembered user: the sign-in page.
    void startAtSignIn()
    {
        newWindow()->checkAutologin();
        QVERIFY(shown(page<LoginWindow>()));
    }

    // A service that offers version 9.9.9 of the client and serves this package.
    static std::unique_ptr<FakeService> offerPackage(const QTemporaryDir& dir, const QByteArray& body)
    {
        QFile package(dir.filePath("kestrova_9.9.9_amd64.deb"));
        if (!package.open(QIODevice::WriteOnly) || package.write(body) != body.size()) {
            return nullptr;
        }
        package.close();
        auto service = std::make_unique<FakeService>(
            QStringList{"--update-version", "9.9.9", "--update-file", package.fileName()});
        if (!service->start()) {
            return nullptr;
        }
        service->use();
        return service;
    }

    void signInAs(const QString& login, const QString& password)
    {
        startAtSignIn();
        typeAndSignIn(login, password);
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<ConnectWindow>()), 15000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(service.start());
        CustomMessageBox::setScripted(true);
        SystemTray::setAvailableOverride(true);
    }

    void init()
    {
        service.use();
        CustomMessageBox::clearShown();
        startAsNewUser();
    }

    void cleanup()
    {
        window.reset();
        // Sign-in and server-list refresh share one channel: let a refresh that
        // is still on its way land before the next case signs in.
        QTest::qWait(300);
        QApplication::restoreOverrideCursor();
    }

    void oneVpnLoginSignsInStraightToConnect()
    {
        startAtSignIn();
        QVERIFY(!window->systemTray()->findChild<QAction*>("actionConnect")->isEnabled());
        typeAndSignIn("single", "single-pass");
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<ConnectWindow>()), 15000);
        QVERIFY(!shown(page<LoginWindow>()));
        QVERIFY(!shown(page<SelectionAccountWindow>()));
        QCOMPARE(setting(Keys::VpnLogin).toString(), QString("kv1001"));
        QCOMPARE(setting(Keys::RememberUser).toBool(), true);
        QCOMPARE(setting(Keys::Login).toString(), QString("single"));
        QVERIFY(!LocalSettings::instance()->isLiteVersion());
        QCOMPARE(window->connectionSession()->servers().size(), 4);
        QVERIFY(window->updates()->isScheduled());
        QVERIFY(window->systemTray()->findChild<QAction*>("actionConnect")->isEnabled());
        QVERIFY(CustomMessageBox::shown().isEmpty());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(window->size(), QSize(340, 500));
    }

    void twoVpnLoginsAskWhichOneThenRemember()
    {
        startAtSignIn();
        typeAndSignIn("multi", "multi+pass word");
        auto* chooser = page<SelectionAccountWindow>();
        QTRY_VERIFY_WITH_TIMEOUT(shown(chooser), 15000);
        QVERIFY(!shown(page<ConnectWindow>()));
        QVERIFY(!setting(Keys::RememberUser).toBool());
        QVERIFY(!window->updates()->isScheduled());

        const auto radios = chooser->findChildren<QRadioButton*>();
        QCOMPARE(radios.size(), 2);
        QCOMPARE(radios[0]->text(), QString("kv2001"));
        // Continue without a choice does nothing.
        chooser->findChild<QPushButton*>("btContinue")->click();
        QVERIFY(shown(chooser));

        radios[1]->setChecked(true);
        chooser->findChild<QPushButton*>("btContinue")->click();
        QVERIFY(shown(page<ConnectWindow>()));
        QVERIFY(!shown(chooser));
        QCOMPARE(setting(Keys::VpnLogin).toString(), QString("kv2002"));
        QVERIFY(setting(Keys::RememberUser).toBool());
        // Only the chosen login's servers reach the connect page.
        const auto servers = window->connectionSession()->servers();
        QCOMPARE(servers.size(), 2);
        for (const ServerInfo& s : servers) {
            QCOMPARE(s.user, QString("kv2002"));
        }

        // The next start signs in by itself and keeps the chosen login.
        window.reset();
        newWindow()->checkAutologin();
        QVERIFY(shown(page<ConnectWindow>()));
        QVERIFY(!shown(page<LoginWindow>()));
        QTRY_VERIFY_WITH_TIMEOUT(window->updates()->isScheduled(), 15000);
        QVERIFY(!shown(page<SelectionAccountWindow>()));
        QCOMPARE(setting(Keys::VpnLogin).toString(), QString("kv2002"));
        QVERIFY(CustomMessageBox::shown().isEmpty());
    }

    void storedVpnLoginNoLongerInAccountFallsBackToFirst()
    {
        rememberUser("multi", "multi+pass word");
        setSetting(Keys::VpnLogin, "kv9999");
        newWindow()->checkAutologin();
        QTRY_VERIFY_WITH_TIMEOUT(window->updates()->isScheduled(), 15000);
        QCOMPARE(setting(Keys::VpnLogin).toString(), QString("kv2001"));
        QVERIFY(shown(page<ConnectWindow>()));
    }

    void liteAccountTurnsKillSwitchOff()
    {
        rememberUser("lite", "lite-pass");
        setSetting(Keys::KillConnect, true);
        LocalSettings::instance()->setIsLiteVersion(false);
        newWindow()->checkAutologin();
        QTRY_VERIFY_WITH_TIMEOUT(window->updates()->isScheduled(), 15000);
        QCOMPARE(setting(Keys::KillConnect).toBool(), false);
        QVERIFY(LocalSettings::instance()->isLiteVersion());
    }

    void noSubscriptionShowsPurchasePage()
    {
        startAtSignIn();
        typeAndSignIn("nosub", "nosub-pass");
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<SubscriptionPurchaseWindow>()), 15000);
        QVERIFY(!shown(page<LoginWindow>()));
        QVERIFY(!shown(page<ConnectWindow>()));
        QVERIFY(CustomMessageBox::shown().isEmpty());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        // Logging out from there returns to an empty sign-in page.
        CustomMessageBox::setNextAnswer(QMessageBox::Yes);
        page<SubscriptionPurchaseWindow>()->findChild<QPushButton*>("pbLogOut")->click();
        QVERIFY(shown(page<LoginWindow>()));
        QVERIFY(!shown(page<SubscriptionPurchaseWindow>()));
        QCOMPARE(page<LoginWindow>()->findChild<QLineEdit*>("edLogin")->text(), QString());
    }

    // Coming back to the window from the browser signs in again, so a
    // subscription bought meanwhile takes effect.
    void purchasePageSignsInAgainOnActivation()
    {
        startAtSignIn();
        window->show();
        typeAndSignIn("nosub", "nosub-pass");
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<SubscriptionPurchaseWindow>()), 15000);
        const int before = service.countRequests("wizardsetup");
        QApplication::setActiveWindow(nullptr);
        QApplication::setActiveWindow(window.get());
        QTRY_VERIFY_WITH_TIMEOUT(service.countRequests("wizardsetup") > before, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<SubscriptionPurchaseWindow>()), 10000);
    }

    // A subscription bought while the purchase page was shown: the next
    // successful answer leads to the connect page, never to an empty window.
    void purchasePageGivesWayToConnectPage()
    {
        startAtSignIn();
        typeAndSignIn("nosub", "nosub-pass");
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<SubscriptionPurchaseWindow>()), 15000);
        window->onAuthRequest(NetworkManager::NoError, QString());
        QVERIFY(!shown(page<SubscriptionPurchaseWindow>()));
        QVERIFY(shown(page<ConnectWindow>()));
    }

    void quitFromTrayWithoutTunnelDoesNotAsk()
    {
        startAtSignIn();
        window->show();
        QSignalSpy quit(window.get(), &MainWindow::quitRequested);
        window->systemTray()->findChild<QAction*>("actionQuit")->trigger();
        QCOMPARE(quit.count(), 1);
        QVERIFY(CustomMessageBox::shown().isEmpty());
        QVERIFY(window->isHidden());
    }

    void wrongPasswordKeepsSignInPage()
    {
        startAtSignIn();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        typeAndSignIn("single", "not-the-password");
        QTRY_COMPARE_WITH_TIMEOUT(boxTexts(), QStringList({"Wrong Login/Password."}), 15000);
        QCOMPARE(CustomMessageBox::shown()[0].kind, CustomMessageBox::Kind::Critical);
        QCOMPARE(CustomMessageBox::shown()[0].title, QString("Kestrova"));
        // Centred on the window and inside it.
        const QRect box = CustomMessageBox::shown()[0].geometry;
        const QRect owner = CustomMessageBox::shown()[0].ownerGeometry;
        QCOMPARE(owner, window->geometry());
        QVERIFY2(
            owner.contains(box),
            qPrintable(QString("%1,%2 %3x%4").arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height())));
        QVERIFY2((box.center() - owner.center()).manhattanLength() <= 2,
                 qPrintable(QString("%1,%2 %3x%4 in %5,%6 %7x%8")
                                .arg(box.x())
                                .arg(box.y())
                                .arg(box.width())
                                .arg(box.height())
                                .arg(owner.x())
                                .arg(owner.y())
                                .arg(owner.width())
                                .arg(owner.height())));
        QVERIFY(shown(page<LoginWindow>()));
        QVERIFY(page<LoginWindow>()->isEnabled());
        QVERIFY(!shown(page<ConnectWindow>()));
        QVERIFY(!setting(Keys::RememberUser).toBool());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        // Ready to type the password again.
        auto* password = page<LoginWindow>()->findChild<QLineEdit*>("edPassword");
        QTRY_COMPARE(window->focusWidget(), password);
        QCOMPARE(password->selectedText(), QString("not-the-password"));
        QVERIFY(page<LoginWindow>()->findChild<QPushButton*>("pbSignIn")->isEnabled());
    }

    // A service that never answers: the page says it is signing in, takes no
    // second sign-in meanwhile, and Esc gives up without a word.
    void hangingSignInIsBusyOnceAndCancels()
    {
        service.use("/hang");
        startAtSignIn();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* loginPage = page<LoginWindow>();
        auto* signIn = loginPage->findChild<QPushButton*>("pbSignIn");
        auto* password = loginPage->findChild<QLineEdit*>("edPassword");
        auto* cancel = loginPage->findChild<QPushButton*>("pbCancel");
        QVERIFY(cancel);
        QVERIFY(cancel->isHidden());
        loginPage->findChild<QLineEdit*>("edLogin")->setText("single");
        password->setText("single-pass");
        // Enter on the focused Login button signs in, as Space does.
        signIn->setFocus();
        const int before = service.countRequests("wizardsetup");
        QTest::keyClick(signIn, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(service.countRequests("wizardsetup"), before + 1, 5000);
        QVERIFY(!signIn->isEnabled());
        QCOMPARE(signIn->text(), QString("Signing in..."));
        QVERIFY(!cancel->isHidden());

        QTest::mouseClick(signIn, Qt::LeftButton);
        QTest::keyClick(password, Qt::Key_Return);
        QTest::qWait(300);
        QCOMPARE(service.countRequests("wizardsetup"), before + 1);

        QTest::keyClick(password, Qt::Key_Escape);
        QVERIFY(signIn->isEnabled());
        QCOMPARE(signIn->text(), QString("Login"));
        QVERIFY(cancel->isHidden());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QTest::qWait(300);
        QVERIFY(CustomMessageBox::shown().isEmpty());
        QVERIFY(shown(loginPage));

        // A new attempt after the cancelled one gets its answer.
        service.use();
        QTest::mouseClick(signIn, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<ConnectWindow>()), 15000);
    }

    void outdatedVersionExplainsAndQuits()
    {
        startAtSignIn();
        QSignalSpy quit(window.get(), &MainWindow::quitRequested);
        typeAndSignIn("oldclient", "oldclient-pass");
        QTRY_COMPARE_WITH_TIMEOUT(quit.count(), 1, 15000);
        QCOMPARE(boxTexts().size(), 1);
        QVERIFY(boxTexts()[0].startsWith("Your version is outdated. Please, download new Kestrova app on "));
        QVERIFY(boxTexts()[0].endsWith(Constants::siteUrl()));
    }

    void failingAutomaticSignInKeepsCachedServers()
    {
        // A first run fills the cache...
        signInAs("single", "single-pass");
        window.reset();
        // ...then the service cannot be reached.
        service.use("/fail");
        newWindow()->checkAutologin();
        QVERIFY(shown(page<ConnectWindow>()));
        QTRY_VERIFY_WITH_TIMEOUT(window->updates()->isScheduled(), 20000);
        QCOMPARE(window->connectionSession()->servers().size(), 4);
        QVERIFY(!shown(page<LoginWindow>()));
        QVERIFY(CustomMessageBox::shown().isEmpty());
    }

    // The service answers every attempt with an error: the network works, so
    // the user hears that the service is in trouble, not the network.
    void failingServiceSaysItIsNotAnswering()
    {
        service.use("/fail");
        startAtSignIn();
        typeAndSignIn("single", "single-pass");
        QTRY_COMPARE_WITH_TIMEOUT(CustomMessageBox::shown().size(), 1, 30000);
        QCOMPARE(boxTexts(), QStringList({"The service is not answering. Please try again later."}));
        QVERIFY(shown(page<LoginWindow>()));
        QVERIFY(page<LoginWindow>()->findChild<QPushButton*>("pbSignIn")->isEnabled());
        QVERIFY(!window->updates()->isScheduled());
    }

    void failingManualSignInReportsNoAccess()
    {
        // Nothing listens there: the service is never reached.
        qputenv("KESTROVA_API_URL", "https://127.0.0.2:9");
        startAtSignIn();
        // The check that follows runs while the window goes on serving
        // events: the failed sign-in's answer returns with the page still
        // busy and nothing said yet.
        bool busyAfterAnswer = false;
        int shownAfterAnswer = -1;
        connect(NetworkManager::instance(), &NetworkManager::auth, window.get(), [&] {
            busyAfterAnswer = page<LoginWindow>()->isBusy();
            shownAfterAnswer = CustomMessageBox::shown().size();
        });
        typeAndSignIn("single", "single-pass");
        QTRY_COMPARE_WITH_TIMEOUT(CustomMessageBox::shown().size(), 1, 30000);
        QVERIFY(busyAfterAnswer);
        QCOMPARE(shownAfterAnswer, 0);
        // The test network has no way out, so the internet check fails too.
        QCOMPARE(boxTexts(), QStringList({"Application has no access to network."}));
        QVERIFY(shown(page<LoginWindow>()));
        QVERIFY(page<LoginWindow>()->isEnabled());
        QVERIFY(!shown(page<ConnectWindow>()));
        QVERIFY(!window->updates()->isScheduled());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void pagesSwitchAndComeBack()
    {
        signInAs("single", "single-pass");
        window->onSettings();
        QVERIFY(shown(page<SettingsWindow>()));
        QVERIFY(!shown(page<ConnectWindow>()));
        window->onBack();
        QVERIFY(shown(page<ConnectWindow>()));
        QVERIFY(!shown(page<SettingsWindow>()));

        window->onServerList(PROTOCOL_OPENVPN_TCP);
        QVERIFY(shown(page<ServerListWindow>()));
        emit page<ServerListWindow>()->serverSelected(ServerIdentif("kv1001", "Amsterdam"));
        QVERIFY(shown(page<ConnectWindow>()));
        QVERIFY(!shown(page<ServerListWindow>()));

        window->onAccount();
        auto* account = page<AccountWindow>();
        QVERIFY(shown(account));
        QCOMPARE(account->findChild<QLabel*>("lbLogin")->text(), QString("kv1001"));
        QVERIFY(account->findChild<QLabel*>("lbExpires")->text().startsWith("VPN subscription expires: "));
        // One VPN login: nothing to change to.
        QVERIFY(account->findChild<QPushButton*>("btAccountChange")->isHidden());
        account->findChild<QPushButton*>("pbBack")->click();
        QVERIFY(shown(page<ConnectWindow>()));
        QCOMPARE(window->size(), QSize(340, 500));
    }

    // Esc and Alt+Left go back as the back arrows do; on the server list Esc
    // first closes the search, which returns to the tab it was opened from.
    void keysGoBackAndCloseTheSearch()
    {
        signInAs("single", "single-pass");
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const auto press = [this](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
            QTest::keyClick(target, Qt::Key(key), modifiers);
        };
        window->onSettings();
        press(Qt::Key_Escape);
        QVERIFY(shown(page<ConnectWindow>()));
        QVERIFY(!shown(page<SettingsWindow>()));
        window->onAccount();
        press(Qt::Key_Left, Qt::AltModifier);
        QVERIFY(shown(page<ConnectWindow>()));
        QVERIFY(!shown(page<AccountWindow>()));

        window->onServerList(PROTOCOL_OPENVPN_TCP);
        auto* list = page<ServerListWindow>();
        auto* doubles = list->findChild<QPushButton*>("pbDouble");
        QTest::mouseClick(doubles, Qt::LeftButton);
        QVERIFY(doubles->isChecked());
        QTest::mouseClick(list->findChild<QPushButton*>("pbSearch"), Qt::LeftButton);
        SearchEdit* search = list->search();
        QTRY_VERIFY(search->hasFocus());
        QTest::keyClicks(search, "yor");
        QCOMPARE(search->text(), QString("yor"));
        // Shown as typed, not as "Yor".
        QCOMPARE(search->font().capitalization(), QFont::MixedCase);
        QVERIFY(!list->view()->isHidden());
        QTest::keyClicks(search, "zzz");
        QVERIFY(list->view()->isHidden());
        QVERIFY(!list->findChild<QLabel*>("lbNoMatch")->isHidden());
        QCOMPARE(list->findChild<QLabel*>("lbNoMatch")->text(), QString("No servers match"));

        press(Qt::Key_Escape);
        QVERIFY(shown(list));
        QVERIFY(search->isHidden());
        QVERIFY(doubles->isChecked());
        QVERIFY(list->findChild<QLabel*>("lbNoMatch")->isHidden());
        press(Qt::Key_Escape);
        QVERIFY(shown(page<ConnectWindow>()));
        QVERIFY(!shown(list));
    }

    void changingVpnLoginReturnsToChooserAndBack()
    {
        startAtSignIn();
        typeAndSignIn("multi", "multi+pass word");
        auto* chooser = page<SelectionAccountWindow>();
        QTRY_VERIFY_WITH_TIMEOUT(shown(chooser), 15000);
        // Right after the sign-in, back leads to the sign-in page.
        chooser->findChild<QPushButton*>("pbBack")->click();
        QVERIFY(shown(page<LoginWindow>()));
        QVERIFY(!shown(chooser));
        typeAndSignIn("multi", "multi+pass word");
        QTRY_VERIFY_WITH_TIMEOUT(shown(chooser), 15000);
        window->onSubscriptionSelected("kv2001");
        window->onAccount();
        auto* change = page<AccountWindow>()->findChild<QPushButton*>("btAccountChange");
        QVERIFY(!change->isHidden());
        change->click();
        QVERIFY(shown(page<SelectionAccountWindow>()));
        QVERIFY(!shown(page<AccountWindow>()));
        QCOMPARE(page<SelectionAccountWindow>()->findChildren<QRadioButton*>().size(), 2);
        // From the account page, back keeps the login in use.
        chooser->findChild<QPushButton*>("pbBack")->click();
        QVERIFY(shown(page<AccountWindow>()));
        QVERIFY(!shown(chooser));
        QCOMPARE(setting(Keys::VpnLogin).toString(), QString("kv2001"));
    }

    void logoutAsksAndForgetsTheAccount()
    {
        signInAs("single", "single-pass");
        window->onAccount();
        auto* logout = page<AccountWindow>()->findChild<QPushButton*>("pbLogOut");

        CustomMessageBox::setNextAnswer(QMessageBox::No);
        logout->click();
        QCOMPARE(boxTexts(), QStringList({"Do you want to logout?"}));
        QVERIFY(shown(page<AccountWindow>()));
        QVERIFY(setting(Keys::RememberUser).toBool());

        CustomMessageBox::setNextAnswer(QMessageBox::Yes);
        logout->click();
        QVERIFY(shown(page<LoginWindow>()));
        QVERIFY(!shown(page<AccountWindow>()));
        QVERIFY(!shown(page<ConnectWindow>()));
        QVERIFY(!setting(Keys::RememberUser).toBool());
        QCOMPARE(setting(Keys::Login).toString(), QString());
        QVERIFY(NetworkManager::instance()->cacheUsers().isEmpty());
        QVERIFY(!window->systemTray()->findChild<QAction*>("actionConnect")->isEnabled());

        // The next start asks for credentials again.
        window.reset();
        startAtSignIn();
    }

    void serverListFailureRetriesOnlyAfterSignIn()
    {
        startAtSignIn();
        window->setServerListRetryDelay(50);
        window->onServerUpdateFinished(NetworkManager::RequestFailed, "down");
        QVERIFY(!window->isServerListRetryArmed());

        signInAs("single", "single-pass");
        window->setServerListRetryDelay(100000);
        window->onServerUpdateFinished(NetworkManager::RequestFailed, "down");
        QVERIFY(window->isServerListRetryArmed());
    }

    void minimisingHidesOnlyWithATray()
    {
        startAtSignIn();
        window->show();
        SystemTray::setAvailableOverride(false);
        window->onHide();
        QVERIFY(!window->isHidden());
        QVERIFY(window->windowState() & Qt::WindowMinimized);
        window->setWindowState(Qt::WindowMinimized);
        QTest::qWait(20);
        QVERIFY(!window->isHidden());

        SystemTray::setAvailableOverride(true);
        window->onShow();
        QVERIFY(!(window->windowState() & Qt::WindowMinimized));
        window->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(window->isHidden());
        window->onHide();
        QVERIFY(window->isHidden());
    }

    void updateCheckWaitsAfterAnAnswerAndBacksOffOnFailure()
    {
        startAtSignIn();
        window->updates()->setCheckDelay(50);
        typeAndSignIn("single", "single-pass");
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<ConnectWindow>()), 15000);
        // This service announces no newer version: an answer, asked again in hours.
        QTRY_VERIFY_WITH_TIMEOUT(window->updates()->remainingMs() > UpdateManager::RetryMaxMs, 10000);

        // A failing service: each retry waits twice as long as the one before.
        service.use("/fail");
        window->updates()->schedule();
        QTRY_VERIFY_WITH_TIMEOUT(window->updates()->remainingMs() > 100, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(window->updates()->remainingMs() > 200, 10000);
        QVERIFY(window->updates()->remainingMs() <= UpdateManager::RetryMaxMs);
        QVERIFY(CustomMessageBox::shown().isEmpty());
    }

    void updateOverPlainHttpIsRefused()
    {
        FakeService updates(
            {"--update-version", "9.9.9", "--update-link", "http://127.0.0.1:9/kestrova.deb"});
        QVERIFY(updates.start());
        updates.use();
        signInAs("single", "single-pass");
        window->updates()->setCheckDelay(50);
        CustomMessageBox::setNextAnswer(QMessageBox::Yes);
        window->updates()->schedule();
        QTRY_COMPARE_WITH_TIMEOUT(CustomMessageBox::shown().size(), 1, 10000);
        QCOMPARE(CustomMessageBox::shown()[0].text,
                 QString("A new version is offered over an insecure link. It was not downloaded."));
        QVERIFY(!window->findChild<ProgressDlg*>());
        QVERIFY(window->updates()->remainingMs() > UpdateManager::RetryMaxMs);
    }

    void newVersionIsOfferedDownloadedAndHandedOver()
    {
        QTemporaryDir dir;
        const auto updates = offerPackage(dir, QByteArray(64 * 1024, 'k'));
        QVERIFY(updates);

        // Declined: the window asks once and checks no more.
        signInAs("single", "single-pass");
        window->updates()->setCheckDelay(50);
        CustomMessageBox::setNextAnswer(QMessageBox::No);
        window->updates()->schedule();
        QTRY_COMPARE_WITH_TIMEOUT(CustomMessageBox::shown().size(), 1, 10000);
        QCOMPARE(CustomMessageBox::shown()[0].title, QString("Kestrova Update"));
        QCOMPARE(CustomMessageBox::shown()[0].text, QString("Available new update. Download it?"));
        QTest::qWait(300);
        QCOMPARE(updates->countRequests("linux-debian"), 1);
        QVERIFY(!window->updates()->isScheduled());

        // Accepted: the package is downloaded with progress and offered to the
        // daemon. No daemon runs here, so the hand-over is refused: the user is
        // told, and the client stays instead of exiting with nothing to restart it.
        QSignalSpy quit(window.get(), &MainWindow::quitRequested);
        CustomMessageBox::setNextAnswer(QMessageBox::Yes);
        window->updates()->schedule();
        QTRY_COMPARE_WITH_TIMEOUT(CustomMessageBox::shown().size(), 3, 15000);
        QCOMPARE(CustomMessageBox::shown()[2].text, QString("Error during installing update."));
        QVERIFY(updates->countRequests("/download/") >= 1);
        QTest::qWait(200);
        QCOMPARE(quit.count(), 0);
        QVERIFY(!window->findChild<ProgressDlg*>() || window->findChild<ProgressDlg*>()->isHidden());
    }

    // Nowhere to put the package: the user is told, nothing waits for ever.
    void updateWithNoRoomToDownloadSaysSo()
    {
        QTemporaryDir dir;
        const auto updates = offerPackage(dir, "package");
        QVERIFY(updates);
        signInAs("single", "single-pass");
        window->updates()->setCheckDelay(50);
        const QByteArray tmp = qgetenv("TMPDIR");
        const auto restore = qScopeGuard([tmp] { qputenv("TMPDIR", tmp); });
        // Not even root can make a folder there.
        qputenv("TMPDIR", "/proc");
        CustomMessageBox::setNextAnswer(QMessageBox::Yes);
        window->updates()->schedule();
        QTRY_COMPARE_WITH_TIMEOUT(CustomMessageBox::shown().size(), 2, 10000);
        QCOMPARE(CustomMessageBox::shown()[1].text, QString("Error during downloading update."));
        QVERIFY(!window->findChild<ProgressDlg*>() || window->findChild<ProgressDlg*>()->isHidden());
    }

    void missingDaemonNeverBlocksTheSignIn()
    {
        // No daemon listens in this test's network namespace.
        rememberUser("single", "single-pass");
        setSetting(Keys::KillConnect, true);
        newWindow()->checkAutologin();
        QTRY_VERIFY_WITH_TIMEOUT(window->updates()->isScheduled(), 15000);
        QVERIFY2(CustomMessageBox::shown().isEmpty(), qPrintable(boxTexts().join('|')));
        auto* connectPage = page<ConnectWindow>();
        QVERIFY(shown(connectPage));
        // The daemon's absence is learnt on the daemon client's thread, the
        // sign-in on this one: either may be known first.
        auto* notice = connectPage->findChild<QLabel*>("lbServiceNotice");
        QTRY_VERIFY_WITH_TIMEOUT(shown(notice), 5000);
        QVERIFY(notice->text().contains("sudo systemctl start kestrovad"));
        QVERIFY(setting(Keys::KillConnect).toBool());

        // No tunnel without the kill switch the user asked for.
        QTest::mouseClick(connectPage->findChild<QPushButton*>("btnConnect"), Qt::LeftButton);
        QCOMPARE(boxTexts().size(), 1);
        QVERIFY(boxTexts()[0].contains("system service is not running"));
        QVERIFY(boxTexts()[0].endsWith("sudo systemctl start kestrovad"));
        QCOMPARE(connectPage->currentUiState(), int(ConnectWindow::Disconnected));
        QVERIFY(shown(connectPage));
    }

    // Each language under its own name; the stored codes stay as they were.
    void languagesAreOfferedByTheirOwnNames()
    {
        startAtSignIn();
        auto* languages = page<SettingsWindow>()->findChild<QComboBox*>("cbLanguage");
        QMap<QString, QString> names;
        for (int i = 0; i < languages->count(); ++i) {
            names.insert(languages->itemData(i).toString(), languages->itemText(i));
        }
        QCOMPARE(names.size(), 16);
        QCOMPARE(names.value("es"), QString("Español"));
        QCOMPARE(names.value("ja"), QString("日本語"));
        QCOMPARE(names.value("ko"), QString("한국어"));
        QCOMPARE(names.value("tr"), QString("Türkçe"));
        QCOMPARE(names.value("uk"), QString("Українська"));
        QCOMPARE(names.value("vi"), QString("Tiếng Việt"));
    }

    // The connect page's details window, fed as the connection feeds it.
    void connectionDetailsShowTheNewestLineAsWritten()
    {
        startAtSignIn();
        window->show();
        auto* details = window->findChild<ShowLog*>();
        QVERIFY(details);
        for (int i = 0; i < 80; ++i) {
            details->onUpdateLog(QString(">LOG:1796799900,I,line %1").arg(i));
        }
        details->onUpdateLog(
            ">LOG:1796799982,D,MANAGEMENT: >STATE:1796799982,CONNECTED,SUCCESS,198.51.100.194");
        details->show();
        QVERIFY(QTest::qWaitForWindowExposed(details));
        QVERIFY(
            details->plainText().endsWith("MANAGEMENT: >STATE:1796799982,CONNECTED,SUCCESS,198.51.100.194"));
        QScrollBar* bar = details->findChild<QTextBrowser*>("textBrowser")->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QTRY_COMPARE(bar->value(), bar->maximum());
        QVERIFY(details->width() <= window->width());
        QVERIFY(details->height() <= window->height());

        auto* copy = details->findChild<QPushButton*>("btCopy");
        QTest::mouseClick(copy, Qt::LeftButton);
        QCOMPARE(copy->text(), QString("Copied"));
        QTRY_COMPARE_WITH_TIMEOUT(copy->text(), QString("Copy"), 5000);
        details->hide();
    }

    void wifiChangeOnlyLoggedOnSignInPage()
    {
        startAtSignIn();
        // Nothing to refresh before sign-in; the call must not reach a missing page.
        window->onStatusChangeWifi(true, false, "home");
        window->onStatusChangeWifi(false, false, QString());
    }
};

int main(int argc, char** argv)
{
    ScratchHome home;
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("VKMT");
    QCoreApplication::setApplicationName("Kestrova");
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_mainwindow.moc"
