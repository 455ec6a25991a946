#pragma once

#include "connectionsession.h"
#include "networkmanager.h"
#include "serverinfo.h"
#include "updatemanager.h"

#include <QMainWindow>
#include <QSharedPointer>
#include <QString>
#include <functional>
#include <memory>

class AccountWindow;
class ConnectWindow;
class LoginWindow;
class QTimer;
class ReachabilityQt;
class SelectionAccountWindow;
class ServerListWindow;
class SettingsWindow;
class SubscriptionPurchaseWindow;

class SystemTray;

namespace Ui {
class MainWindowClass;
}

// The client's one top-level window and the controller of what the user sees:
// it owns the pages and shows one at a time, drives sign-in and reacts to the
// service's answers, keeps the server list fresh, schedules the update check,
// owns the tray and implements exit and logout.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int ServerListRetryMs = 8000;

    explicit MainWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    // With the connect page's helpers given; tests use a stand-in daemon.
    MainWindow(QWidget* parent, Qt::WindowFlags flags, ConnectionSession::Dependencies dependencies);
    ~MainWindow() override;

    void checkAutologin();
    void centerScreen(QRect& rect);
    void updateSize();
    void badVersionDlg();

    void setTrayStatusConnected(bool notify);
    void setTrayStatusDisconnected(bool notify);
    void setTrayStatusConnecting();
    void setTrayStatusDisconnecting();
    void setTrayActiveServer(QString& name);
    // The one connection of this client; the connect page and the tray are views of it.
    ConnectionSession* connectionSession() const { return session.get(); }

    // The update check, scheduled after each sign-in.
    UpdateManager* updates() const { return updates_; }
    // A shorter delay for tests.
    void setServerListRetryDelay(int ms) { serverListRetryMs_ = ms; }
    bool isServerListRetryArmed() const;
    bool isTrayConnected() const { return trayConnected; }
    SystemTray* systemTray() const { return tray; }

signals:
    // Emitted whenever the window asks the application to quit.
    void quitRequested();

public slots:
    void onSignIn(QString login, QString password);
    void onAuthRequest(NetworkManager::ApiError errorCode, QString errorString);
    // After a sign-in that never reached the service: whether the internet
    // answers tells the user which of the two is out of reach.
    void onInternetChecked(bool online);
    void onServerUpdateFinished(NetworkManager::ApiError errorCode, QString errorStr);
    void onSubscriptionSelected(QString login);
    void onChooserBack();
    void onServerList(int protocol);
    void onSettings();
    void onAccount();
    void onBack();
    void onServerListUpdateRequest();
    void onChangeServer(ServerIdentif server);
    void onReturnToSignUp();
    void onSubscriptionChange();
    void onStatusChangeWifi(bool connected, bool unsecured, QString ssid);
    void onTrayShow();
    void onTrayConnect();
    void onTrayReconnect();
    void onTrayDisconnect();
    void onExit();
    void onShow();
    void onHide();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void initTray();
    void initPageWidget();
    void initUpdates();
    // The tray follows the session's state.
    void showSessionState(ConnectionSession::State state);
    // Hides every other page.
    void showOnly(QWidget* page);
    // The tray's connect, reconnect and disconnect: only for a signed-in
    // account, and not while an update downloads.
    void setUserActions(bool on);
    void doSignIn(QString login, QString password);
    void continueAutologin(QString login);
    void showSignInAtStart(bool resetSettings);
    void authSuccess();
    void restoreTrayAfterUpdate();
    void requestQuit();
    // Takes the tunnel down and the kill switch off, then runs `next`.
    void signOutThen(std::function<void()> next);

    std::unique_ptr<Ui::MainWindowClass> ui;
    std::unique_ptr<ConnectionSession> session;
    SystemTray* tray = nullptr;
    QSharedPointer<LoginWindow> loginWindow;
    QSharedPointer<ConnectWindow> connectWindow;
    QSharedPointer<SettingsWindow> settingsWindow;
    QSharedPointer<ServerListWindow> serverListWindow;
    QSharedPointer<SubscriptionPurchaseWindow> purchaseWindow;
    QSharedPointer<AccountWindow> accountWindow;
    QSharedPointer<SelectionAccountWindow> selectionAccountWindow;
    UpdateManager* updates_ = nullptr;
    ReachabilityQt* reachability = nullptr;

    bool trayConnected = false;
    bool autoLoginInProgress = false;
    bool liteMode = true;
    QSharedPointer<QTimer> serverListRetryTimer;
    bool returnToSignUpPending = false;
    bool userActions = false;
    bool signInInFlight = false;
    // The internet check after a failed sign-in runs; Cancel drops it.
    bool internetCheckInFlight = false;
    bool cameBackFromOutside = false;

    bool quitting_ = false;
    int serverListRetryMs_ = ServerListRetryMs;
};
