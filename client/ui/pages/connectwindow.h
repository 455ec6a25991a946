#pragma once

#include "daemonprotocol.h"
#include "serverinfo.h"

#include <QFutureWatcher>
#include <QMap>
#include <QSharedPointer>
#include <QStringList>
#include <QVector>
#include <QWidget>
#include <memory>

class Connection;
class MainWindow;
class MakeOVPNFile;
class QTimer;
class RotateWidget;
class ServiceConnector;
class ShowLog;
class StunnelManager;
struct ConfigServer;

namespace Ui {
class ConnectWindow;
}

// The home page after sign-in: the connect button, the chosen location and the
// subscription line. It also sequences a connection attempt: kill switch,
// stealth tunnel, profile generation on a worker thread, the tunnel itself,
// retries, the exit's timezone, and the clean-up when the tunnel ends.
class ConnectWindow : public QWidget
{
    Q_OBJECT

public:
    // Where the page's outside helpers live. The program uses the defaults;
    // tests point the page at a stand-in daemon and a stunnel of their own.
    struct Dependencies
    {
        QSharedPointer<ServiceConnector> daemon; // null: the real daemon
        QString stunnelExecutable;               // empty: stunnel4
        QString stunnelPidFile;                  // empty: the shared pid file
    };

    // Values of uiState.
    enum UiState
    {
        Connected = 0,
        Disconnected = 1,
        Connecting = 2,
        Generating = 3,
        ProfileReady = 4,
        CleaningUp = 5
    };

    explicit ConnectWindow(QWidget* parent);
    ConnectWindow(QWidget* parent, Dependencies dependencies);
    ~ConnectWindow() override;

    bool installHelper();
    bool isConnected() const;
    void setServers(const QVector<ServerInfo>& servers);
    QMap<ServerIdentif, ServerInfo> getServers() const;
    void autoConnect();
    int curentFilterId() const;
    bool useStealth() const;
    void setAcountData(QString login, QString password);
    void loadSettings();
    void saveSettings();
    // Stops any attempt or tunnel and waits until it is down, then switches
    // the kill switch off.
    void logOut();
    void preClose();
    // An attempt, a tunnel or its tear-down is under way.
    bool isBusy() const;
    // Down and up again, once the tunnel has ended.
    void reconnect();

    int currentUiState() const { return uiState; }
    bool isFirewallActive() const { return firewallActive; }
    ServerInfo currentServer() const { return curServer; }
    // The addresses the kill switch lets through, in the order they are sent:
    // built afresh for every rule refresh, so that the server being connected
    // is always among them however many servers the account has.
    QStringList generateAllowIp() const;
    // A pause after the rule refresh before the tunnel starts. Not needed now
    // that the daemon answers only once the rules are loaded, so 0; the
    // benchmark sets it to compare with the old one-second pause.
    void setFirewallSettleDelay(int ms) { firewallSettleMs = ms; }

signals:
    void serverList(int protocol);
    void connected();
    void settings();
    void account();
    void support();
    void faq();

public slots:
    void onServerChanged(ServerIdentif server);
    void onClickConnect();
    void onConnected();
    void onWirelessConnectionChanged(bool connected, QString ssid);
    // False when the path is empty or the daemon refused the package; the
    // user has then been told, and the client should keep running.
    bool doUpdateClient(QString updatePathName);
    void onDisconnected();
    void onConnectionError(QString msg);
    void onShowLog();
    void onMyIpUpdated(bool connected, QString myIp, QString countryCode);
    void onSelectLocation();
    void onConnectionUpdateLog(QString line);
    void onSettings();
    void onAccount();
    void onAsyncFinished();
    void doFirewall(bool blockDNS);
    void doFirewall();
    void doTimezone(bool restore, QString timezoneIANA);
    void doTimezone(bool restore);
    void onChangeTimezone(QString timezoneIANA, bool success);
    void onRenewButtonClicked();
    void doUpdateSubscriptionInfo();
    void goBuyLink(QString url);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void doConnect();
    void startAttempt();
    void doGenerateConfig(const ConfigServer& config);
    void doRestoreDNS(bool beforeConnect);
    void setUiState(int state);
    void setFullProtection(bool on);
    void findMainServerHostFromURL();
    // The addresses of the two locations a double hop joins, where known.
    QStringList doubleHopEnds(const ServerInfo& server) const;
    void readProtectionSettings();
    void resetLocation();
    void showLocationText();
    void giveUp(const QString& message);
    void showDisconnecting();
    void stopAndWait();
    void stopStealthTunnel();
    static bool offersProtocol(const ServerInfo& server, int protocol);
    static QString protocolLabel();
    static void sleepFor(int ms);

    std::unique_ptr<Ui::ConnectWindow> ui;
    MainWindow* mainWindow = nullptr;
    std::unique_ptr<Connection> connection;
    std::unique_ptr<MakeOVPNFile> generator;
    QSharedPointer<StunnelManager> stunnel;
    QSharedPointer<ShowLog> logWindow;
    QSharedPointer<RotateWidget> spinner;
    QSharedPointer<QTimer> subscriptionTimer;
    QSharedPointer<QFutureWatcher<bool>> generationWatcher;

    int uiState = Disconnected;
    int attemptCount = 0;
    QMap<ServerIdentif, ServerInfo> servers;
    QString login;
    QString password;
    bool autoConnectPending = false;
    bool cancelRequested = false;
    bool reconnectPending = false;
    bool firewallActive = false;
    bool closed = false;
    FIREWALL_PARAMETERS firewallParams{};
    QStringList mainServerIPs;
    ServerInfo curServer;
    int firewallSettleMs = 0;
};
