#include "systemtray.h"

#include <QAction>
#include <QDebug>
#include <QIcon>
#include <QMenu>

namespace {

std::optional<bool>& availableOverride()
{
    static std::optional<bool> value;
    return value;
}

const int kNotificationMs = 2000;

} // namespace

SystemTray::SystemTray(QObject* parent) : QObject(parent)
{
    init();
}

SystemTray::~SystemTray() = default;

QAction* SystemTray::makeAction(const char* objectName, const QString& text)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QLatin1String(objectName));
    return action;
}

void SystemTray::init()
{
    icon_ = new QSystemTrayIcon(QIcon(":/MainWindow/Images/vpnlogo.ico"), this);
    menu_ = std::make_unique<QMenu>();

    showAction_ = makeAction("actionShow", QStringLiteral("Kestrova"));
    connectAction_ = makeAction("actionConnect", tr("Connect"));
    reconnectAction_ = makeAction("actionReconnect", tr("Reconnect"));
    disconnectAction_ = makeAction("actionDisconnect", tr("Disconnect"));
    quitAction_ = makeAction("actionQuit", tr("Quit"));

    menu_->addAction(showAction_);
    menu_->addSeparator();
    menu_->addAction(connectAction_);
    menu_->addAction(reconnectAction_);
    menu_->addAction(disconnectAction_);
    menu_->addSeparator();
    menu_->addAction(quitAction_);
    icon_->setContextMenu(menu_.get());
    connect(icon_, &QSystemTrayIcon::activated, this, &SystemTray::onTrayActivated);

    bool ok = connect(showAction_, &QAction::triggered, this, &SystemTray::clickShow);
    ok = connect(connectAction_, &QAction::triggered, this, &SystemTray::clickConnect) && ok;
    ok = connect(reconnectAction_, &QAction::triggered, this, &SystemTray::clickReconnect) && ok;
    ok = connect(disconnectAction_, &QAction::triggered, this, &SystemTray::clickDisconnect) && ok;
    ok = connect(quitAction_, &QAction::triggered, this, &SystemTray::clickExit) && ok;
    if (!ok) {
        qDebug() << "FAIL connect system tray signal";
    }

    icon_->setVisible(true);
    setStatusDisconnected(false);
}

void SystemTray::notify(const QString& text)
{
    lastNotification_ = text;
    icon_->showMessage(QStringLiteral("Kestrova"), text, QSystemTrayIcon::NoIcon, kNotificationMs);
}

void SystemTray::setStatusConnected(bool notify)
{
    icon_->setIcon(QIcon(":/resources/eye-gray-dark.svg"));
    iconState_ = Connected;
    disconnecting_ = false;
    applyState();
    if (notify) {
        this->notify(tr("Your connection is encrypted and secured now!"));
    }
}

void SystemTray::setStatusConnecting(bool)
{
    // Not secured until the tunnel is up, nor while OpenVPN restarts it.
    icon_->setIcon(QIcon(":/resources/eye-gray-light.svg"));
    iconState_ = Connecting;
    disconnecting_ = false;
    applyState();
}

void SystemTray::setStatusDisconnecting()
{
    iconState_ = Connecting;
    disconnecting_ = true;
    applyState();
}

void SystemTray::setStatusDisconnected(bool notify)
{
    icon_->setIcon(QIcon(":/resources/eye-gray-light.svg"));
    iconState_ = Disconnected;
    disconnecting_ = false;
    applyState();
    if (notify) {
        this->notify(tr("Your connection is not secured now!"));
    }
}

void SystemTray::setActiveServer(QString& name)
{
    activeServer_ = name;
}

void SystemTray::setEnableUserActions(bool on)
{
    userActions_ = on;
    applyState();
}

// The menu offers only what the state allows, and nothing at all while no
// account is signed in or an update is on its way.
void SystemTray::applyState()
{
    switch (iconState_) {
    case Connected:
        connectAction_->setText(tr("Connected to %1").arg(activeServer_));
        break;
    case Connecting:
        connectAction_->setText(disconnecting_ ? tr("Disconnecting")
                                               : tr("Connecting to %1").arg(activeServer_));
        break;
    case Disconnected:
        connectAction_->setText(tr("Connect %1").arg(activeServer_));
        break;
    }
    connectAction_->setEnabled(userActions_ && iconState_ == Disconnected);
    reconnectAction_->setEnabled(userActions_ && iconState_ == Connected);
    disconnectAction_->setEnabled(userActions_ && iconState_ == Connected);
}

void SystemTray::retranslate()
{
    reconnectAction_->setText(tr("Reconnect"));
    disconnectAction_->setText(tr("Disconnect"));
    quitAction_->setText(tr("Quit"));
    applyState();
}

void SystemTray::setVisible(bool visible)
{
    icon_->setVisible(visible);
}

bool SystemTray::isAvailable()
{
    if (availableOverride()) {
        return *availableOverride();
    }
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTray::setAvailableOverride(std::optional<bool> available)
{
    availableOverride() = available;
}

void SystemTray::onTrayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger) {
        emit clickShow();
    }
}

void SystemTray::menuAboutToShow()
{
    menuVisible_ = true;
}

void SystemTray::menuAboutToHide()
{
    menuVisible_ = false;
}
