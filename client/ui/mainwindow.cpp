#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "accountwindow.h"
#include "connectwindow.h"
#include "constants.h"
#include "custommessagebox.h"
#include "killswitch.h"
#include "localsettings.h"
#include "loginwindow.h"
#include "reachabilityqt.h"
#include "secretstore.h"
#include "selectionaccountwindow.h"
#include "serverlistwindow.h"
#include "settingswindow.h"
#include "subscriptionpurchasewindow.h"
#include "systemtray.h"
#include "updateprompt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QScreen>
#include <QTimer>

#include <malloc.h>

namespace {

const QString kProduct = QStringLiteral("Kestrova");
// Longer than the connector's own bound on a stopping tunnel.
constexpr int kQuitWaitMs = 8000;

// Timers and the updater may be released from inside their own signals.
template <typename T> QSharedPointer<T> makeLater(T* object)
{
    return QSharedPointer<T>(object, &QObject::deleteLater);
}

// The pages' own state, also while the whole window is hidden in the tray.
// A sign-in or refresh reply of thousands of servers is parsed into a document
// that is freed right after; glibc keeps such freed memory in its heap. Hand it
// back to the system once the reply's handler has returned.
void releaseFreedMemory()
{
    static bool pending = false;
    if (pending) {
        return;
    }
    pending = true;
    QTimer::singleShot(0, [] {
        pending = false;
        malloc_trim(0);
    });
}

template <typename Page> bool isShown(const QSharedPointer<Page>& page)
{
    return page && !page->isHidden();
}

} // namespace

MainWindow::MainWindow(QWidget* parent, Qt::WindowFlags flags)
    : MainWindow(parent, flags, ConnectionSession::Dependencies())
{
}

MainWindow::MainWindow(QWidget* parent, Qt::WindowFlags flags, ConnectionSession::Dependencies dependencies)
    : QMainWindow(parent, flags), ui(new Ui::MainWindowClass),
      session(new ConnectionSession(std::move(dependencies)))
{
    QCoreApplication::setOrganizationName(Constants::OrganizationName);
    QCoreApplication::setApplicationName(Constants::ApplicationName);

    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/resources/qvm.ico")));
    setWindowTitle(kProduct);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint | Qt::CustomizeWindowHint |
                   Qt::WindowCloseButtonHint);

    initTray();
    initPageWidget();
    initUpdates();

    NetworkManager* api = NetworkManager::instance();
    connect(api, &NetworkManager::serverUpdated, this, &MainWindow::onServerUpdateFinished);
    connect(api, &NetworkManager::auth, this, &MainWindow::onAuthRequest);
    connect(api, &NetworkManager::internetChecked, this, &MainWindow::onInternetChecked);

    reachability = new ReachabilityQt(this);
    connect(reachability, &ReachabilityQt::statusChangeWifi, this, &MainWindow::onStatusChangeWifi);
    reachability->startNotifier();
}

MainWindow::~MainWindow()
{
    // Pages first: they may still talk to the tray or the window while going.
    selectionAccountWindow.reset();
    accountWindow.reset();
    purchaseWindow.reset();
    serverListWindow.reset();
    connectWindow.reset();
    settingsWindow.reset();
    loginWindow.reset();
    // The session ends after the window: its last reports have no one to go to.
    QObject::disconnect(session.get(), nullptr, this, nullptr);
}

void MainWindow::initTray()
{
    tray = new SystemTray(this);
    bool ok = connect(tray, &SystemTray::clickShow, this, &MainWindow::onTrayShow);
    ok = connect(tray, &SystemTray::clickConnect, this, &MainWindow::onTrayConnect) && ok;
    ok = connect(tray, &SystemTray::clickReconnect, this, &MainWindow::onTrayReconnect) && ok;
    ok = connect(tray, &SystemTray::clickDisconnect, this, &MainWindow::onTrayDisconnect) && ok;
    ok = connect(tray, &SystemTray::clickExit, this, &MainWindow::onExit) && ok;
    if (!ok) {
        qDebug() << "FAIL initTray signal";
    }
}

void MainWindow::initUpdates()
{
    updates_ =
        new UpdateManager([this](const QString& package) { return session->installUpdate(package); }, this);
    auto* prompt = new UpdatePrompt(updates_, this);
    connect(prompt, &UpdatePrompt::attentionNeeded, this, &MainWindow::onShow);
    connect(updates_, &UpdateManager::downloadStarted, this, [this] { setUserActions(false); });
    connect(prompt, &UpdatePrompt::downloadEnded, this, [this] {
        restoreTrayAfterUpdate();
        setUserActions(true);
    });
    // The daemon stops this client, installs the package and starts it again.
    connect(updates_, &UpdateManager::handedOver, this, &MainWindow::onExit);
}

void MainWindow::initPageWidget()
{
    QVBoxLayout* pages = ui->verticalLayout;

    loginWindow.reset(new LoginWindow(this));
    pages->addWidget(loginWindow.data());
    connect(loginWindow.data(), &LoginWindow::signedIn, this, &MainWindow::onSignIn);
    connect(loginWindow.data(), &LoginWindow::signInCancelled, this, [this] {
        internetCheckInFlight = false;
        NetworkManager::instance()->cancelAuthRequest();
        signInInFlight = false;
    });

    settingsWindow.reset(new SettingsWindow(this));
    pages->addWidget(settingsWindow.data());
    settingsWindow->setVersion(Constants::VersionText);
    connect(settingsWindow.data(), &SettingsWindow::back, this, &MainWindow::onBack);
    settingsWindow->hide();
    settingsWindow->loadLanguage();

    connectWindow.reset(new ConnectWindow(this, session.get()));
    pages->addWidget(connectWindow.data());
    if (!session->installHelper()) {
        CustomMessageBox::information(this, kProduct,
                                      tr("Failed to install helper for program. Please contact support."));
        QTimer::singleShot(1, this, &MainWindow::requestQuit);
    }
    connect(connectWindow.data(), &ConnectWindow::serverList, this, &MainWindow::onServerList);
    connect(connectWindow.data(), &ConnectWindow::settings, this, &MainWindow::onSettings);
    connect(connectWindow.data(), &ConnectWindow::account, this, &MainWindow::onAccount);
    connect(connectWindow.data(), &ConnectWindow::pageWanted, this, &MainWindow::onBack);
    connect(connectWindow.data(), &ConnectWindow::attentionNeeded, this, &MainWindow::onShow);
    connect(session.get(), &ConnectionSession::stateChanged, this, &MainWindow::showSessionState);
    connect(session.get(), &ConnectionSession::locationChanged, this, [this](const ServerInfo& server) {
        QString name = server.name;
        setTrayActiveServer(name);
    });
    connectWindow->hide();

    serverListWindow.reset(new ServerListWindow(this));
    pages->addWidget(serverListWindow.data());
    connect(serverListWindow.data(), &ServerListWindow::back, this, &MainWindow::onBack);
    connect(serverListWindow.data(), &ServerListWindow::serverSelected, this, &MainWindow::onChangeServer);
    serverListWindow->hide();

    purchaseWindow.reset(new SubscriptionPurchaseWindow(this));
    pages->addWidget(purchaseWindow.data());
    connect(purchaseWindow.data(), &SubscriptionPurchaseWindow::returnToSignUp, this,
            &MainWindow::onReturnToSignUp);
    purchaseWindow->hide();

    accountWindow.reset(new AccountWindow(this));
    pages->addWidget(accountWindow.data());
    connect(accountWindow.data(), &AccountWindow::back, this, &MainWindow::onBack);
    connect(accountWindow.data(), &AccountWindow::returnToSignUp, this, &MainWindow::onReturnToSignUp);
    connect(accountWindow.data(), &AccountWindow::accountChanged, this, &MainWindow::onSubscriptionChange);
    accountWindow->hide();

    selectionAccountWindow.reset(new SelectionAccountWindow(this));
    pages->addWidget(selectionAccountWindow.data());
    connect(selectionAccountWindow.data(), &SelectionAccountWindow::continueAuth, this,
            &MainWindow::onSubscriptionSelected);
    connect(selectionAccountWindow.data(), &SelectionAccountWindow::back, this, &MainWindow::onChooserBack);
    selectionAccountWindow->hide();
}

void MainWindow::checkAutologin()
{
    auto settings = LocalSettings::instance();
    const QString login = settings->value(Keys::Login).toString();
    if (settings->value(Keys::RememberUser).toBool() && !login.isEmpty()) {
        autoLoginInProgress = true;
        loginWindow->hide();
        connectWindow->show();
        session->setServers(NetworkManager::instance()->servers());
        // The password may come from the keyring, which answers when it
        // answers: the connect page shows meanwhile.
        SecretStore::instance()->whenLoaded(this, [this, login] { continueAutologin(login); });
    } else {
        showSignInAtStart(true);
    }
    updateSize();
}

void MainWindow::continueAutologin(QString login)
{
    if (!autoLoginInProgress || signInInFlight) {
        return; // the user signed out or in meanwhile
    }
    const QString password = SecretStore::instance()->accountPassword();
    if (password.isEmpty()) {
        // Remembered, but the keyring that holds the password is out of reach
        // (a login over SSH): the user types it again and keeps the settings.
        qInfo() << "No stored password for the remembered account; asking for it";
        autoLoginInProgress = false;
        connectWindow->hide();
        showSignInAtStart(false);
        updateSize();
        return;
    }
    session->setServers(NetworkManager::instance()->servers());
    doSignIn(login, password);
}

void MainWindow::showSignInAtStart(bool resetSettings)
{
    loginWindow->show();
    if (resetSettings) {
        settingsWindow->loadDefaults();
    }
    setUserActions(false);
    show();
}

void MainWindow::onSignIn(QString login, QString password)
{
    auto settings = LocalSettings::instance();
    // The remembered user typing the password again keeps the settings.
    if (!settings->value(Keys::RememberUser).toBool() || settings->value(Keys::Login).toString() != login) {
        settings->createDefaultSettings();
    }
    doSignIn(login, password);
}

void MainWindow::doSignIn(QString login, QString password)
{
    auto settings = LocalSettings::instance();
    settings->setValue(Keys::Login, login);
    SecretStore::instance()->setAccount(login, password);
    liteMode = settings->isLiteVersion();
    setUserActions(false);
    session->loadSettings();
    signInInFlight = true;
    NetworkManager::instance()->authRequest(login, password);
    updateSize();
}

void MainWindow::onAuthRequest(NetworkManager::ApiError errorCode, QString errorString)
{
    releaseFreedMemory();
    qDebug() << "Auth Request finished [code:" << errorCode << "error: " << errorString << "]";
    signInInFlight = false;
    setTrayStatusDisconnected(false);
    loginWindow->setEnabled(true);
    loginWindow->restoreCursor();

    auto settings = LocalSettings::instance();
    NetworkManager* api = NetworkManager::instance();

    switch (errorCode) {
    case NetworkManager::NoError:
    case NetworkManager::LiteAccount: {
        liteMode = errorCode == NetworkManager::LiteAccount;
        settings->setIsLiteVersion(liteMode);
        if (liteMode) {
            settings->setValue(Keys::KillConnect, false);
        }
        if (isShown(purchaseWindow)) {
            purchaseWindow->hide();
        }
        const bool remember = settings->value(Keys::RememberUser).toBool();
        const QStringList users = api->cacheUsers();
        if (users.size() >= 2 && !remember) {
            if (isShown(loginWindow)) {
                loginWindow->hide();
            }
            selectionAccountWindow->setUsers(users);
            selectionAccountWindow->show();
            updateSize();
            return;
        }
        if (users.size() == 1 && !remember) {
            settings->setValue(Keys::VpnLogin, users.first());
        } else {
            const QString stored = settings->value(Keys::VpnLogin).toString();
            if (stored.isEmpty() || !users.contains(stored)) {
                settings->setValue(Keys::VpnLogin, users.isEmpty() ? QString() : users.first());
            }
        }
        authSuccess();
        break;
    }
    case NetworkManager::BadVersion:
        badVersionDlg();
        break;
    case NetworkManager::WrongCredentials:
        CustomMessageBox::critical(this, kProduct, tr("Wrong Login/Password."));
        loginWindow->selectPassword();
        break;
    case NetworkManager::NoSubscription:
        // The only page: a connect page left under it would open the buy
        // link a second time.
        showOnly(purchaseWindow.data());
        break;
    default:
        liteMode = settings->isLiteVersion();
        if (autoLoginInProgress) {
            updates_->schedule();
            autoLoginInProgress = false;
            session->setServers(api->servers());
            setUserActions(true);
            session->autoConnect();
        } else {
            connectWindow->hide();
            settingsWindow->hide();
            serverListWindow->hide();
            loginWindow->show();
            if (errorCode == NetworkManager::RequestFailed) {
                if (api->authServiceReached()) {
                    // The network works: it took us to the service, which did not answer.
                    CustomMessageBox::critical(this, kProduct,
                                               tr("The service is not answering. Please try again later."));
                } else {
                    // Still part of the sign-in for the user: up to one more time-out,
                    // which Cancel ends; onInternetChecked() tells the rest.
                    loginWindow->setBusy(true);
                    internetCheckInFlight = true;
                    api->checkInternet();
                }
            }
        }
        break;
    }
    updateSize();
}

void MainWindow::onInternetChecked(bool online)
{
    // Cancelled meanwhile, or a check this window did not ask for.
    if (!internetCheckInFlight) {
        return;
    }
    internetCheckInFlight = false;
    loginWindow->setBusy(false);
    CustomMessageBox::critical(this, kProduct,
                               online ? tr("Application has no access to Zentaro")
                                      : tr("Application has no access to network."));
    updateSize();
}

void MainWindow::onSubscriptionSelected(QString login)
{
    LocalSettings::instance()->setValue(Keys::VpnLogin, login);
    authSuccess();
}

void MainWindow::onChooserBack()
{
    selectionAccountWindow->hide();
    if (LocalSettings::instance()->value(Keys::RememberUser).toBool()) {
        // Came from the account page to change the login: keep the one in use
        // and put its kill switch back.
        session->loadSettings();
        accountWindow->show();
    } else {
        // Right after a sign-in: nothing is chosen yet, so back to the sign-in.
        tray->setEnableUserActions(false);
        loginWindow->show();
    }
    updateSize();
}

void MainWindow::authSuccess()
{
    LocalSettings::instance()->setValue(Keys::RememberUser, true);
    NetworkManager* api = NetworkManager::instance();
    if (isShown(loginWindow)) {
        loginWindow->hide();
        connectWindow->show();
    }
    if (isShown(selectionAccountWindow)) {
        selectionAccountWindow->hide();
        connectWindow->show();
    }
    // Coming from the purchase page (a subscription bought meanwhile) no page
    // is left: the connect page is the home page after sign-in.
    if (!isShown(connectWindow) && !isShown(settingsWindow) && !isShown(serverListWindow) &&
        !isShown(accountWindow)) {
        connectWindow->show();
    }
    if (isShown(serverListWindow)) {
        serverListWindow->setServers(api->servers(), ConnectionSession::protocolSetting(), true);
    }
    session->setServers(api->servers());
    setUserActions(true);
    session->autoConnect();
    updates_->schedule();
    updateSize();
}

void MainWindow::setUserActions(bool on)
{
    userActions = on;
    tray->setEnableUserActions(on);
}

void MainWindow::showOnly(QWidget* page)
{
    for (QWidget* other : std::initializer_list<QWidget*>{
             loginWindow.data(), connectWindow.data(), settingsWindow.data(), serverListWindow.data(),
             purchaseWindow.data(), accountWindow.data(), selectionAccountWindow.data()}) {
        if (other != page) {
            other->hide();
        }
    }
    page->show();
    updateSize();
}

void MainWindow::onServerListUpdateRequest()
{
    NetworkManager* api = NetworkManager::instance();
    api->serverListRequest();
    api->pingDoubleServerRequest();
}

void MainWindow::onServerUpdateFinished(NetworkManager::ApiError errorCode, QString errorStr)
{
    qDebug() << "onServerUpdateFinished success=" << errorCode << "error=" << errorStr;
    releaseFreedMemory();
    if (isShown(loginWindow) || session->isConnected()) {
        return;
    }
    NetworkManager* api = NetworkManager::instance();
    switch (errorCode) {
    case NetworkManager::NoError:
        session->setServers(api->servers());
        if (isShown(serverListWindow)) {
            serverListWindow->setServers(api->servers(), -1, true);
        } else if (isShown(connectWindow)) {
            show();
            session->autoConnect();
            connectWindow->show();
            updateSize();
        }
        break;
    case NetworkManager::BadVersion:
        badVersionDlg();
        break;
    default: {
        auto timer = makeLater(new QTimer);
        timer->setSingleShot(true);
        timer->setInterval(serverListRetryMs_);
        connect(timer.data(), &QTimer::timeout, this, &MainWindow::onServerListUpdateRequest);
        timer->start();
        serverListRetryTimer = timer;
        break;
    }
    }
}

void MainWindow::onServerList(int protocol)
{
    onServerListUpdateRequest();
    session->saveLocation();
    connectWindow->hide();
    settingsWindow->hide();
    serverListWindow->setServers(NetworkManager::instance()->servers(), protocol, false);
    serverListWindow->show();
    updateSize();
}

void MainWindow::onChangeServer(ServerIdentif server)
{
    qDebug() << "MainWindow::onChangeServer" << server.first << server.second;
    serverListWindow->hide();
    settingsWindow->hide();
    connectWindow->show();
    session->selectServer(server);
    connectWindow->onClickConnect();
    updateSize();
}

void MainWindow::onSettings()
{
    qDebug() << "Show settings [mode: " << (liteMode ? "Lite" : "Full") << "]";
    QList<PROTOCOL_TYPE> protocols;
    const auto servers = session->servers();
    for (const ServerInfo& server : servers) {
        for (PROTOCOL_TYPE type : {PROTOCOL_OPENVPN_TCP, PROTOCOL_OPENVPN_UDP, PROTOCOL_STEALTH}) {
            if (server.offersProtocol(type) && !protocols.contains(type)) {
                protocols.append(type);
            }
        }
    }
    session->saveLocation();
    connectWindow->hide();
    settingsWindow->loadSettings(protocols);
    settingsWindow->showWithMode(liteMode ? SettingsWindow::Lite : SettingsWindow::Full);
    updateSize();
}

void MainWindow::onAccount()
{
    session->saveLocation();
    connectWindow->hide();
    accountWindow->show();
    updateSize();
}

void MainWindow::onBack()
{
    settingsWindow->hide();
    serverListWindow->hide();
    accountWindow->hide();
    session->loadSettings();
    connectWindow->show();
    updateSize();
}

void MainWindow::updateSize()
{
    adjustSize();
    setFixedSize(340, 500);
}

void MainWindow::onSubscriptionChange()
{
    if (session->isSigningOut()) {
        return;
    }
    // An attempt under way counts as a connection: it would come up after
    // the user has left the account.
    if (session->isBusy()) {
        const auto answer = CustomMessageBox::question(
            this, tr("Logout"), tr("VPN connection is active. \nDisconnect and logout?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::No) {
            return;
        }
    }
    setUserActions(false);
    signOutThen([this] {
        selectionAccountWindow->setUsers(NetworkManager::instance()->cacheUsers());
        showOnly(selectionAccountWindow.data());
    });
}

void MainWindow::onReturnToSignUp()
{
    if (session->isSigningOut()) {
        return;
    }
    returnToSignUpPending = true;
    const QString text = session->isBusy() ? tr("VPN connection is active. \nDisconnect and logout?")
                                           : tr("Do you want to logout?");
    const auto answer = CustomMessageBox::question(this, tr("Logout"), text,
                                                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::No) {
        return;
    }
    setUserActions(false);
    // Down first: the sign-in page must not show over a tunnel still up.
    signOutThen([this] {
        LocalSettings::instance()->createDefaultSettings();
        serverListRetryTimer.reset();
        autoLoginInProgress = false;
        liteMode = true;
        loginWindow->clear();
        showOnly(loginWindow.data());
        NetworkManager::instance()->clearCache();
    });
}

void MainWindow::signOutThen(std::function<void()> next)
{
    // The pages take no presses while the tunnel goes down: the user has
    // left the account, and a connect now would start a tunnel for it.
    ui->mainCentralWidget->setEnabled(false);
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = connect(session.get(), &ConnectionSession::signedOut, this, [this, once, next] {
        QObject::disconnect(*once);
        ui->mainCentralWidget->setEnabled(true);
        next();
    });
    session->signOut();
}

void MainWindow::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowStateChange:
        if (windowState() & Qt::WindowMinimized) {
            tray->setVisible(true);
            // Without a tray host a hidden window could never be brought back:
            // it stays minimised in the task bar instead.
            if (SystemTray::isAvailable()) {
                QTimer::singleShot(0, this, &QWidget::hide);
            }
        } else {
            QTimer::singleShot(0, this, &QWidget::show);
        }
        event->ignore();
        break;
    case QEvent::ActivationChange:
        if (!isActiveWindow()) {
            // Only a return from another program (the browser, after a
            // purchase) is a reason to sign in again; the window also turns
            // inactive and active again around each of its own boxes.
            cameBackFromOutside = QApplication::activeWindow() == nullptr;
        } else {
            if (purchaseWindow && isShown(purchaseWindow) && !returnToSignUpPending && cameBackFromOutside &&
                !signInInFlight && CustomMessageBox::openCount() == 0) {
                auto settings = LocalSettings::instance();
                signInInFlight = true;
                NetworkManager::instance()->authRequest(settings->value(Keys::Login).toString(),
                                                        SecretStore::instance()->accountPassword());
            }
            cameBackFromOutside = false;
            returnToSignUpPending = false;
        }
        break;
    case QEvent::LanguageChange:
        ui->retranslateUi(this);
        setWindowTitle(kProduct);
        if (tray) {
            tray->retranslate();
        }
        break;
    default:
        break;
    }
    QMainWindow::changeEvent(event);
}

void MainWindow::onShow()
{
    show();
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    activateWindow();
    QRect rect = geometry();
    centerScreen(rect);
    setGeometry(rect);
    raise();
}

void MainWindow::centerScreen(QRect& rect)
{
    QScreen* screen = QGuiApplication::screens().value(0);
    if (!screen) {
        qDebug() << "[FAIL] centerScreen: screen pointer is null";
        return;
    }
    const QRect area = screen->geometry();
    rect.moveLeft(area.width() / 2 - rect.width() / 2);
    rect.moveTop(area.height() / 2 - rect.height() / 2);
}

void MainWindow::onHide()
{
    tray->setVisible(true);
    if (SystemTray::isAvailable()) {
        hide();
    } else {
        // No tray host to bring the window back from: keep it in the task bar.
        showMinimized();
    }
}

void MainWindow::onTrayShow()
{
    onShow();
}

// The tray's menu can be out of date by the time a choice arrives: each
// command acts only in the state it was offered for.
void MainWindow::onTrayConnect()
{
    if (userActions && !session->isBusy()) {
        connectWindow->onClickConnect();
    }
}

void MainWindow::onTrayDisconnect()
{
    if (userActions && session->isConnected()) {
        connectWindow->onClickConnect();
    }
}

void MainWindow::onTrayReconnect()
{
    if (userActions) {
        session->reconnect();
    }
}

void MainWindow::onExit()
{
    qDebug() << "onExit";
    showNormal();
    activateWindow();
    if (close()) {
        requestQuit();
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    session->saveLocation();
    if (session->isConnected()) {
        show();
        const auto answer =
            CustomMessageBox::question(this, tr("Exit"), tr("VPN connection is active. Disconnect and exit?"),
                                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::No) {
            event->ignore();
            return;
        }
    }
    event->accept();
    onExit();
}

void MainWindow::requestQuit()
{
    // Closing from the exit path runs onExit() twice (once inside closeEvent).
    if (quitting_) {
        return;
    }
    quitting_ = true;
    emit quitRequested();
    // The tunnel's end takes OpenVPN a second or two, up to a bounded drain:
    // wait for it here, with the event loop running, rather than in the
    // page's destructor, which would freeze the window and the tray meanwhile.
    session->close();
    if (session->isTunnelIdle()) {
        QCoreApplication::quit();
        return;
    }
    hide();
    connect(session.get(), &ConnectionSession::tunnelIdle, qApp, &QCoreApplication::quit);
    QTimer::singleShot(kQuitWaitMs, qApp, &QCoreApplication::quit);
}

bool MainWindow::isServerListRetryArmed() const
{
    return serverListRetryTimer && serverListRetryTimer->isActive();
}

void MainWindow::restoreTrayAfterUpdate()
{
    if (session->isConnected()) {
        setTrayStatusConnected(false);
    } else {
        setTrayStatusDisconnected(false);
    }
}

void MainWindow::badVersionDlg()
{
    CustomMessageBox::critical(this, kProduct,
                               tr("Your version is outdated. Please, download new Kestrova app on ") +
                                   Constants::siteUrl());
    requestQuit();
}

void MainWindow::onStatusChangeWifi(bool connected, bool unsecured, QString ssid)
{
    qDebug() << "onStatusChangeWifi: " << (connected ? "true" : "false") << (unsecured ? "true" : "false")
             << ssid;
    if (!isShown(loginWindow) && connected) {
        session->killSwitch()->refreshLater();
    }
}

void MainWindow::setTrayStatusConnected(bool notify)
{
    trayConnected = true;
    tray->setStatusConnected(notify);
}

void MainWindow::setTrayStatusDisconnected(bool notify)
{
    // "Not secured" only when a tunnel has just gone down, not at every
    // start, sign-in or retry.
    tray->setStatusDisconnected(notify && trayConnected);
    trayConnected = false;
}

void MainWindow::setTrayStatusDisconnecting()
{
    tray->setStatusDisconnecting();
}

void MainWindow::setTrayStatusConnecting()
{
    tray->setStatusConnecting(false);
}

void MainWindow::setTrayActiveServer(QString& name)
{
    tray->setActiveServer(name);
}

void MainWindow::showSessionState(ConnectionSession::State state)
{
    switch (state) {
    case ConnectionSession::State::Connected:
        setTrayStatusConnected(true);
        break;
    case ConnectionSession::State::Preparing:
    case ConnectionSession::State::Connecting:
    case ConnectionSession::State::Reconnecting:
        // Nothing passes while OpenVPN restarts the tunnel: not "connected".
        setTrayStatusConnecting();
        break;
    case ConnectionSession::State::Stopping:
        setTrayStatusDisconnecting();
        break;
    case ConnectionSession::State::Idle:
    case ConnectionSession::State::Failed:
        setTrayStatusDisconnected(true);
        break;
    }
}
