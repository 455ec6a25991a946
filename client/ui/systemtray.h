#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <memory>
#include <optional>

class QAction;
class QMenu;

// The tray icon and its menu: shows the connection state and turns menu choices
// into signals for the main window.
class SystemTray : public QObject
{
    Q_OBJECT

public:
    enum IconState
    {
        Disconnected = 0,
        Connecting = 1,
        Connected = 2
    };

    explicit SystemTray(QObject* parent = nullptr);
    ~SystemTray() override;

    void setStatusConnected(bool notify);
    void setStatusConnecting(bool notify);
    void setStatusDisconnecting();
    void setStatusDisconnected(bool notify);
    void setActiveServer(QString& name);
    void setEnableUserActions(bool on);
    void retranslate();
    void setVisible(bool visible);

    IconState iconState() const { return iconState_; }
    bool isMenuVisible() const { return menuVisible_; }
    QMenu* menu() const { return menu_.get(); }
    QSystemTrayIcon* trayIcon() const { return icon_; }

    // Whether a tray host can show our icon. Without one, hiding the window
    // would leave the user no way back to it.
    static bool isAvailable();
    static void setAvailableOverride(std::optional<bool> available);

    // The last notification text, for tests and the log.
    QString lastNotification() const { return lastNotification_; }

signals:
    void clickShow();
    void clickConnect();
    void clickReconnect();
    void clickDisconnect();
    void clickExit();

public slots:
    void onTrayActivated(QSystemTrayIcon::ActivationReason reason);
    void menuAboutToShow();
    void menuAboutToHide();

private:
    void init();
    void notify(const QString& text);
    QAction* makeAction(const char* objectName, const QString& text);
    void applyState();

    QSystemTrayIcon* icon_ = nullptr;
    std::unique_ptr<QMenu> menu_;
    QAction* showAction_ = nullptr;
    QAction* connectAction_ = nullptr;
    QAction* reconnectAction_ = nullptr;
    QAction* disconnectAction_ = nullptr;
    QAction* quitAction_ = nullptr;
    QString activeServer_;
    bool menuVisible_ = false;
    IconState iconState_ = Disconnected;
    bool disconnecting_ = false;
    bool userActions_ = true;
    QString lastNotification_;
};
