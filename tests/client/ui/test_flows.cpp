// Sequences a user clicks through the whole window: the real main window
// with its pages, tray and message boxes (each box runs its modal loop and is
// answered from inside it), against the lab's fake service and a stand-in
// daemon that plays OpenVPN.
#include "accountwindow.h"
#include "connectwindow.h"
#include "custommessagebox.h"
#include "localsettings.h"
#include "loginwindow.h"
#include "mainwindow.h"
#include "networkmanager.h"
#include "newuser.h"
#include "progressdlg.h"
#include "scripteddaemon.h"
#include "searchedit.h"
#include "selectionaccountwindow.h"
#include "serverlistwindow.h"
#include "settingswindow.h"
#include "subscriptionpurchasewindow.h"
#include "systemtray.h"
#include "uitestsupport.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QTextLayout>
#include <QTimer>

namespace {

// What a window manager does with focus: a box that appears takes it, and
// the main window gets it back when the box goes.
class FocusingWindowManager : public QObject
{
public:
    explicit FocusingWindowManager(QWidget* mainWindow) : mainWindow(mainWindow)
    {
        qApp->installEventFilter(this);
    }
    ~FocusingWindowManager() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box && event->type() == QEvent::Show) {
            QApplication::setActiveWindow(box);
        } else if (box && event->type() == QEvent::Hide) {
            QTimer::singleShot(0, mainWindow, [this] { QApplication::setActiveWindow(mainWindow); });
        }
        return false;
    }

private:
    QWidget* mainWindow;
};

} // namespace

class TestFlows : public QObject
{
    Q_OBJECT

public slots:
    // Stands in for the desktop's browser.
    void openUrl(const QUrl& url) { opened << url; }

private:
    FakeService service;
    std::unique_ptr<ScriptedDaemon> daemon;
    std::unique_ptr<MainWindow> window;
    QList<QUrl> opened;

    template <typename T> T* page() const { return window->findChild<T*>(); }
    template <typename T> T* child(const char* name) const { return window->findChild<T*>(name); }
    static bool shown(QWidget* w) { return w && !w->isHidden(); }

    QStringList shownPages() const
    {
        QStringList names;
        for (QWidget* p : std::initializer_list<QWidget*>{
                 page<LoginWindow>(), page<ConnectWindow>(), page<ServerListWindow>(), page<AccountWindow>(),
                 page<SubscriptionPurchaseWindow>(), page<SelectionAccountWindow>()}) {
            if (shown(p)) {
                names << p->metaObject()->className();
            }
        }
        return names;
    }

    QAction* trayAction(const char* name) const { return window->systemTray()->findChild<QAction*>(name); }

    void newWindow()
    {
        ConnectWindow::Dependencies helpers;
        helpers.daemon = daemon->connector();
        window.reset(new MainWindow(nullptr, Qt::WindowFlags(), helpers));
        window->updates()->setCheckDelay(3600 * 1000);
    }

    void signIn(const QString& login, const QString& password)
    {
        newWindow();
        window->checkAutologin();
        child<QLineEdit>("edLogin")->setText(login);
        child<QLineEdit>("edPassword")->setText(password);
        QTest::mouseClick(child<QPushButton>("pbSignIn"), Qt::LeftButton);
    }

    // Signed in as "single" and connecting or connected to Amsterdam, chosen
    // on the server list the connect button opens.
    void connectToAmsterdam()
    {
        signIn("single", "single-pass");
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<ConnectWindow>()), 15000);
        QTest::mouseClick(child<QPushButton>("btnConnect"), Qt::LeftButton);
        QVERIFY(shown(page<ServerListWindow>()));
        emit page<ServerListWindow>()->serverSelected(ServerIdentif("kv1001", "Amsterdam"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(service.start());
        CustomMessageBox::setScripted(true);
        SystemTray::setAvailableOverride(true);
        QDesktopServices::setUrlHandler("https", this, "openUrl");
        QDesktopServices::setUrlHandler("http", this, "openUrl");
    }

    void init()
    {
        service.use();
        daemon.reset(new ScriptedDaemon);
        CustomMessageBox::clearShown();
        opened.clear();
        startAsNewUser();
    }

    void cleanup()
    {
        window.reset();
        daemon.reset();
        // A server-list refresh still on its way must land before the next case.
        QTest::qWait(300);
    }

    // Nothing connects before a sign-in: not after a wrong password, not from
    // the purchase page, not from the VPN-login chooser.
    void trayOffersOnlyWhatThePageAllows()
    {
        const struct
        {
            const char* login;
            const char* password;
            const char* page;
        } cases[] = {{"single", "wrong", "LoginWindow"},
                     {"nosub", "nosub-pass", "SubscriptionPurchaseWindow"},
                     {"multi", "multi+pass word", "SelectionAccountWindow"}};
        for (const auto& c : cases) {
            QSignalSpy answered(NetworkManager::instance(), &NetworkManager::auth);
            signIn(c.login, c.password);
            QTRY_COMPARE_WITH_TIMEOUT(answered.count(), 1, 15000);
            QCOMPARE(shownPages(), QStringList{c.page});
            QVERIFY2(!trayAction("actionConnect")->isEnabled(), c.page);
            trayAction("actionConnect")->trigger();
            emit window->systemTray()->clickConnect();
            QTest::qWait(100);
            QCOMPARE(shownPages(), QStringList{c.page});
            QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 0);
        }
        // Once a login is chosen, the tray offers to connect.
        page<SelectionAccountWindow>()->findChildren<QRadioButton*>().first()->setChecked(true);
        child<QPushButton>("btContinue")->click();
        QVERIFY(trayAction("actionConnect")->isEnabled());
    }

    // The password changed on the site while the purchase page was shown:
    // coming back to the window signs in once and says so once, however
    // often the window turns active around its boxes.
    void purchasePageSignsInOncePerReturn()
    {
        signIn("nosub", "nosub-pass");
        window->show();
        QTRY_COMPARE_WITH_TIMEOUT(shownPages(), QStringList{"SubscriptionPurchaseWindow"}, 15000);
        LocalSettings::instance()->setValue(Keys::Passwd, "changed-on-the-site");
        // Focus moves to each box and back to the window, as a window
        // manager moves it.
        FocusingWindowManager manager(window.get());
        const int before = service.countRequests("nosub");
        QApplication::setActiveWindow(nullptr);
        QApplication::setActiveWindow(window.get());
        QTRY_COMPARE_WITH_TIMEOUT(CustomMessageBox::shown().size(), 1, 15000);
        QTest::qWait(2000);
        QCOMPARE(service.countRequests("nosub") - before, 1);
        QCOMPARE(CustomMessageBox::shown().size(), 1);
        QCOMPARE(CustomMessageBox::shown()[0].text, QString("Wrong Login/Password."));
    }

    void noSubscriptionOpensTheBuyLinkOnce()
    {
        LocalSettings::instance()->setValue(Keys::RememberUser, true);
        LocalSettings::instance()->setValue(Keys::Login, "nosub");
        LocalSettings::instance()->setValue(Keys::Passwd, "nosub-pass");
        newWindow();
        window->checkAutologin();
        QTRY_COMPARE_WITH_TIMEOUT(shownPages(), QStringList{"SubscriptionPurchaseWindow"}, 15000);
        window->onShow();
        QSignalSpy link(NetworkManager::instance(), &NetworkManager::gotBuyLink);
        page<SubscriptionPurchaseWindow>()->findChild<QPushButton*>("btBuy")->click();
        QTRY_COMPARE_WITH_TIMEOUT(link.count(), 1, 15000);
        QTest::qWait(100);
        QCOMPARE(opened.size(), 1);
    }

    void serverListHasAWayBackAndSearchGivesTheTabsBack()
    {
        signIn("single", "single-pass");
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<ConnectWindow>()), 15000);
        window->onShow();
        QTest::mouseClick(child<QPushButton>("btnConnect"), Qt::LeftButton);
        auto* list = page<ServerListWindow>();
        QCOMPARE(shownPages(), QStringList{"ServerListWindow"});

        // A new user: no favourites, no last location.
        auto* search = list->findChild<QPushButton*>("pbSearch");
        QTest::mouseClick(search, Qt::LeftButton);
        QVERIFY(list->search()->isVisible());
        QTest::mouseClick(search, Qt::LeftButton);
        QVERIFY(!list->search()->isVisible());
        QVERIFY(list->findChild<QPushButton*>("pbStandart")->isVisible());
        QVERIFY(list->findChild<QPushButton*>("pbDouble")->isVisible());

        auto* back = list->findChild<QPushButton*>("pbBack");
        QVERIFY(back && back->isVisible());
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(shownPages(), QStringList{"ConnectWindow"});
        QVERIFY(!window->connectionSession()->isBusy());
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 0);
    }

    void closingTheUpdateDialogCancelsTheDownload()
    {
        // A package link that never answers: the download is still running
        // when the dialog is closed.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const QString address = QStringLiteral("127.0.0.1:%1").arg(probe.serverPort());
        probe.close();
        FakeService updates({"--listen", address, "--update-version", "9.9.9", "--update-link",
                             "https://" + address + "/hang/kestrova_9.9.9_amd64.deb"});
        QVERIFY(updates.start());
        updates.use();

        signIn("single", "single-pass");
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<ConnectWindow>()), 15000);
        QSignalSpy quit(window.get(), &MainWindow::quitRequested);
        window->updates()->setCheckDelay(10);
        for (int closeBy = 0; closeBy < 2; ++closeBy) {
            CustomMessageBox::setNextAnswer(QMessageBox::Yes);
            window->updates()->schedule();
            QTRY_VERIFY_WITH_TIMEOUT(
                window->findChild<ProgressDlg*>() && window->findChild<ProgressDlg*>()->isVisible(), 15000);
            QVERIFY(!trayAction("actionConnect")->isEnabled());
            ProgressDlg* dialog = window->findChild<ProgressDlg*>();
            if (closeBy == 0) {
                QTest::keyClick(dialog, Qt::Key_Escape);
            } else {
                dialog->close(); // the title bar's X
            }
            QTRY_VERIFY(!window->findChild<ProgressDlg*>());
            QVERIFY(trayAction("actionConnect")->isEnabled());
        }
        QCOMPARE(quit.count(), 0);
    }

    // Account -> Change login while a tunnel is being set up asks, and Yes
    // stops the attempt before the chooser shows.
    void changingLoginWhileConnectingAsksAndStops()
    {
        daemon->setTunnel(ScriptedDaemon::Tunnel::Stalls);
        signIn("multi", "multi+pass word");
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<SelectionAccountWindow>()), 15000);
        page<SelectionAccountWindow>()->findChildren<QRadioButton*>().first()->setChecked(true);
        child<QPushButton>("btContinue")->click();
        QTest::mouseClick(child<QPushButton>("btnConnect"), Qt::LeftButton);
        emit page<ServerListWindow>()->serverSelected(ServerIdentif("kv2001", "Amsterdam"));
        QTRY_COMPARE_WITH_TIMEOUT(daemon->count(AA_COMMAND_RUN_OPENVPN), 1, 10000);
        QTRY_COMPARE(page<ConnectWindow>()->currentUiState(), int(ConnectWindow::Connecting));

        QTest::mouseClick(child<QPushButton>("btnAccount"), Qt::LeftButton);
        CustomMessageBox::setNextAnswer(QMessageBox::Yes);
        QTest::mouseClick(page<AccountWindow>()->findChild<QPushButton*>("btAccountChange"), Qt::LeftButton);
        QCOMPARE(CustomMessageBox::shown().size(), 1);
        QCOMPARE(CustomMessageBox::shown()[0].text,
                 QString("VPN connection is active. \nDisconnect and logout?"));
        QTRY_COMPARE_WITH_TIMEOUT(shownPages(), QStringList{"SelectionAccountWindow"}, 15000);
        QVERIFY(!window->connectionSession()->isBusy());
        QTest::qWait(500);
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 1);
    }

    // A connection that fails: the three attempts all go to the server the
    // user picked, the location is named, and no "not secured" balloon
    // comes up at the start or at a retry, since nothing was secured.
    void failingAttemptsStayQuietAndCountRight()
    {
        daemon->setTunnel(ScriptedDaemon::Tunnel::Refused);
        signIn("single", "single-pass");
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<ConnectWindow>()), 15000);
        QCOMPARE(child<QLabel>("lbLocation")->text(), QString("Location not selected"));
        QTest::mouseClick(child<QPushButton>("btnConnect"), Qt::LeftButton);
        emit page<ServerListWindow>()->serverSelected(ServerIdentif("kv1001", "Amsterdam"));
        QTRY_COMPARE_WITH_TIMEOUT(CustomMessageBox::shown().size(), 1, 20000);
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 3);
        QCOMPARE(child<QLabel>("lbLocation")->text(), QString("Amsterdam"));
        QCOMPARE(window->systemTray()->lastNotification(), QString());
    }

    // A server list that comes in while a tunnel is being set up, after the
    // user looked at the account page, leaves the attempt alone.
    void lateServerListLeavesAnAttemptAlone()
    {
        daemon->setTunnel(ScriptedDaemon::Tunnel::Stalls);
        connectToAmsterdam();
        QTRY_COMPARE_WITH_TIMEOUT(page<ConnectWindow>()->currentUiState(), int(ConnectWindow::Connecting),
                                  10000);
        // Sign-in has put the defaults back; the user has asked meanwhile to
        // connect at every start.
        LocalSettings::instance()->setValue(Keys::ConnectOnStart, true);
        QTest::mouseClick(child<QPushButton>("btnAccount"), Qt::LeftButton);
        QTest::mouseClick(page<AccountWindow>()->findChild<QPushButton*>("pbBack"), Qt::LeftButton);
        QSignalSpy refreshed(NetworkManager::instance(), &NetworkManager::serverUpdated);
        window->onServerListUpdateRequest();
        QTRY_VERIFY_WITH_TIMEOUT(refreshed.count() >= 1, 15000);
        QTest::qWait(500);
        QCOMPARE(page<ConnectWindow>()->currentUiState(), int(ConnectWindow::Connecting));
    }

    // A remembered user opens a page before the server list has come: the
    // location chosen last time must still be there once it comes.
    void rememberedLocationOutlivesAnEarlyPage()
    {
        auto settings = LocalSettings::instance();
        settings->setValue(Keys::RememberUser, true);
        settings->setValue(Keys::Login, "single");
        settings->setValue(Keys::Passwd, "single-pass");
        settings->setValue(Keys::LastLocation, "kv1001::Amsterdam");
        newWindow();
        window->checkAutologin();
        QTest::mouseClick(child<QPushButton>("btnAccount"), Qt::LeftButton);
        QTest::mouseClick(page<AccountWindow>()->findChild<QPushButton*>("pbBack"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>("lbLocation")->text(), QString("Amsterdam"), 15000);
    }

    // OpenVPN restarting the tunnel (ping-restart) lets nothing pass: the
    // page, its status line and the tray say so until it is up again.
    void reconnectingTunnelIsNotShownAsConnected()
    {
        connectToAmsterdam();
        QTRY_VERIFY_WITH_TIMEOUT(window->connectionSession()->isConnected(), 10000);
        auto* status = child<QLabel>("lbStatus");
        QVERIFY2(status->text().startsWith("Connected \u00b7 OpenVPN TCP (safer)\n00:00:0"),
                 qPrintable(status->text()));
        daemon->sendLine(">BYTECOUNT:3000,800");
        const auto shownText = [status] {
            return status->text().remove(QChar(0x200e)).remove(QChar(0x200f));
        };
        QTRY_VERIFY(shownText().endsWith("\u2193 2.93 KiB  \u2191 800 bytes"));
        // Right to left each amount still reads figure, then unit, beside its
        // arrow: "2.93" stands just left of its "KiB", not across the line.
        QTextLayout line(status->text().section('\n', 1), status->font());
        QTextOption option;
        option.setTextDirection(Qt::RightToLeft);
        line.setTextOption(option);
        line.beginLayout();
        line.createLine();
        line.endLayout();
        const QString logical = line.text();
        const qreal figure = line.lineAt(0).cursorToX(logical.indexOf("2.93"));
        const qreal unit = line.lineAt(0).cursorToX(logical.indexOf("KiB"));
        const qreal arrow = line.lineAt(0).cursorToX(logical.indexOf(QChar(0x2193)));
        QVERIFY2(figure < unit && unit < arrow,
                 qPrintable(QString("figure %1, unit %2, arrow %3").arg(figure).arg(unit).arg(arrow)));
        QCOMPARE(trayAction("actionConnect")->text(), QString("Connected to Amsterdam"));

        daemon->sendLine(">STATE:1700000002,RECONNECTING,ping-restart,,,,,");
        QTRY_COMPARE(page<ConnectWindow>()->currentUiState(), int(ConnectWindow::Connecting));
        QVERIFY(status->text().startsWith("Reconnecting..."));
        QVERIFY(child<QLabel>("lbLocation")->styleSheet().contains("#ff9600"));
        QCOMPARE(window->systemTray()->iconState(), SystemTray::Connecting);
        QCOMPARE(trayAction("actionConnect")->text(), QString("Connecting to Amsterdam"));

        daemon->sendLine(">STATE:1700000003,CONNECTED,SUCCESS,198.51.100.130,192.0.2.10,1194,,");
        QTRY_VERIFY(window->connectionSession()->isConnected());
        QCOMPARE(trayAction("actionConnect")->text(), QString("Connected to Amsterdam"));
        QVERIFY(status->text().startsWith("Connected"));
    }

    // A server that never answers: each attempt ends at its limit and the
    // user reads why, instead of watching a spinner for minutes.
    void silentServerEndsWithAReason()
    {
        daemon->setTunnel(ScriptedDaemon::Tunnel::Stalls);
        signIn("single", "single-pass");
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<ConnectWindow>()), 15000);
        window->connectionSession()->setAttemptTimeout(300);
        QTest::mouseClick(child<QPushButton>("btnConnect"), Qt::LeftButton);
        emit page<ServerListWindow>()->serverSelected(ServerIdentif("kv1001", "Amsterdam"));
        QTRY_COMPARE_WITH_TIMEOUT(CustomMessageBox::shown().size(), 1, 15000);
        QCOMPARE(CustomMessageBox::shown()[0].text,
                 QString("The server did not answer in time. Try again or choose another location."));
        QCOMPARE(daemon->count(AA_COMMAND_RUN_OPENVPN), 3);
        QVERIFY(!window->connectionSession()->isBusy());
        QCOMPARE(child<QLabel>("lbStatus")->text(), QString("Disconnected"));
    }

    // With the kill switch on, nothing gets out while disconnected: the page
    // says so, at start and after a disconnect, and leads to the setting.
    void blockedInternetIsSaid()
    {
        signIn("single", "single-pass");
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<ConnectWindow>()), 15000);
        auto* notice = child<QLabel>("lbKillSwitchNotice");
        QVERIFY(!shown(notice));
        LocalSettings::instance()->setValue(Keys::KillConnect, true);
        window->onBack();
        QTRY_VERIFY(shown(notice));
        QVERIFY(notice->text().contains("Internet blocked by the kill switch until you connect"));
        QVERIFY(window->connectionSession()->killSwitch()->property("blocking").toBool());

        QTest::mouseClick(child<QPushButton>("btnConnect"), Qt::LeftButton);
        emit page<ServerListWindow>()->serverSelected(ServerIdentif("kv1001", "Amsterdam"));
        QTRY_VERIFY_WITH_TIMEOUT(window->connectionSession()->isConnected(), 10000);
        QVERIFY(!shown(notice));
        QVERIFY(!window->connectionSession()->killSwitch()->isBlocking());
        QTest::mouseClick(child<QPushButton>("btnConnect"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!window->connectionSession()->isBusy(), 10000);
        QVERIFY(shown(notice));

        emit notice->linkActivated("settings");
        QVERIFY(shown(page<SettingsWindow>()));
        QVERIFY(!shown(page<ConnectWindow>()));
    }

    // The daemon stopped while the client runs: the next connect shows the
    // page's notice with the command that starts it, not a helper error.
    void daemonGoneMidSessionIsNamed()
    {
        signIn("single", "single-pass");
        QTRY_VERIFY_WITH_TIMEOUT(shown(page<ConnectWindow>()), 15000);
        auto* notice = child<QLabel>("lbServiceNotice");
        QVERIFY(!shown(notice));
        daemon.reset();
        QTest::mouseClick(child<QPushButton>("btnConnect"), Qt::LeftButton);
        emit page<ServerListWindow>()->serverSelected(ServerIdentif("kv1001", "Amsterdam"));
        QTRY_COMPARE(CustomMessageBox::shown().size(), 1);
        QCOMPARE(CustomMessageBox::shown()[0].text,
                 QString("Kestrova's system service is not running, so no connection can be made. Start it "
                         "with:\nsudo systemctl start kestrovad"));
        QVERIFY(shown(notice));
        QVERIFY(notice->text().contains("sudo systemctl start kestrovad"));
        QVERIFY(!window->connectionSession()->isBusy());
    }

    void trayIconClickShowsTheWindow()
    {
        signIn("single", "single-pass");
        QVERIFY(!window->windowIcon().availableSizes().isEmpty());
        window->onHide();
        QVERIFY(window->isHidden());
        emit window->systemTray()->trayIcon()->activated(QSystemTrayIcon::Trigger);
        QVERIFY(window->isVisible());
    }
};

int main(int argc, char** argv)
{
    ScratchHome home;
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("VKMT");
    QCoreApplication::setApplicationName("Kestrova");
    TestFlows test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_flows.moc"
