#include "connectwindow.h"

#include "allowlist.h"
#include "connection.h"
#include "constants.h"
#include "custommessagebox.h"
#include "localsettings.h"
#include "log.h"
#include "mainwindow.h"
#include "makeovpnfile.h"
#include "networkmanager.h"
#include "rotatewidget.h"
#include "serviceconnector.h"
#include "showlog.h"
#include "stunnelmanager.h"
#include "ui_connectwindow.h"
#include "utils.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QHostAddress>
#include <QHostInfo>
#include <QTimer>
#include <QUrl>
#include <QtConcurrent>

namespace {

const QString kTunnelInterface = QStringLiteral("tun0");
constexpr int kMaxAttempts = 3;
constexpr int kSubscriptionRefreshMs = 10000;
constexpr int kWirelessSettleMs = 2000;
constexpr int kExpiryWarningDays = 7;
constexpr int kServiceRetryMs = 5000;
const QString kStartServiceCommand = QStringLiteral("sudo systemctl start kestrovad");
// The longest a logout waits for the tunnel to go down: OpenVPN's own
// bounded stop plus the search for its management port.
constexpr int kStopWaitMs = 10000;

const char* boolText(bool value)
{
    return value ? "true" : "false";
}

bool settingIsTrue(const QString& key)
{
    return LocalSettings::instance()->value(key).toBool();
}

} // namespace

ConnectWindow::ConnectWindow(QWidget* parent) : ConnectWindow(parent, Dependencies()) {}

ConnectWindow::ConnectWindow(QWidget* parent, Dependencies dependencies)
    : QWidget(parent), ui(new Ui::ConnectWindow), mainWindow(qobject_cast<MainWindow*>(parent))
{
    ui->setupUi(this);
    // The stack shares one cell; only the button on top takes the clicks.
    for (QWidget* layer :
         {static_cast<QWidget*>(ui->lbShield), static_cast<QWidget*>(ui->lbRotatorGreen),
          static_cast<QWidget*>(ui->lbRotatorAnimation), static_cast<QWidget*>(ui->lbCircle)}) {
        layer->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    ui->btnConnect->setAttribute(Qt::WA_OpaquePaintEvent);
    ui->btnConnect->setAttribute(Qt::WA_NoSystemBackground);
    ui->btnConnect->setAttribute(Qt::WA_TranslucentBackground);

    auto daemon = dependencies.daemon ? dependencies.daemon : QSharedPointer<ServiceConnector>::create();
    connection.reset(new Connection(daemon));
    generator.reset(new MakeOVPNFile());

    uiState = Disconnected;
    setUiState(uiState);

    connect(ui->btnSettings, &QPushButton::clicked, this, &ConnectWindow::onSettings);
    connect(ui->btnAccount, &QPushButton::clicked, this, &ConnectWindow::onAccount);
    connect(ui->btnConnect, &QPushButton::clicked, this, &ConnectWindow::onClickConnect);
    connect(ui->btnSelectLocation, &QPushButton::clicked, this, &ConnectWindow::onSelectLocation);
    connect(connection.get(), &Connection::connected, this, &ConnectWindow::onConnected);
    connect(connection.get(), &Connection::disconnected, this, &ConnectWindow::onDisconnected);
    connect(connection.get(), &Connection::error, this, &ConnectWindow::onConnectionError);
    connect(connection.get(), &Connection::logUpdate, this, &ConnectWindow::onConnectionUpdateLog);
    connect(connection.get(), &Connection::idle, this, &ConnectWindow::tunnelIdle);
    connect(ui->btRenew, &QPushButton::clicked, this, &ConnectWindow::onRenewButtonClicked);
    NetworkManager* api = NetworkManager::instance();
    connect(api, &NetworkManager::gotIpTimezone, this, &ConnectWindow::onChangeTimezone);
    connect(api, &NetworkManager::gotBuyLink, this, &ConnectWindow::goBuyLink);

    logWindow.reset(new ShowLog(this));

    autoConnectPending =
        LocalSettings::instance()->value(Keys::ConnectOnStart).toString() == QLatin1String("true");

    if (dependencies.stunnelExecutable.isEmpty()) {
        stunnel.reset(new StunnelManager());
    } else {
        stunnel.reset(new StunnelManager(dependencies.stunnelExecutable, dependencies.stunnelPidFile));
    }
    connect(stunnel.data(), &StunnelManager::tunnelStarted, this, &ConnectWindow::onStunnelStarted);

    readProtectionSettings();
    firewallParams.allow_local_ip = settingIsTrue(Keys::AllowLocalDevices);
    firewallParams.kill_connect = settingIsTrue(Keys::KillConnect);
    findMainServerHostFromURL();

    serviceRetryTimer.reset(new QTimer());
    serviceRetryTimer->setInterval(kServiceRetryMs);
    connect(serviceRetryTimer.data(), &QTimer::timeout, this, &ConnectWindow::retryProtection);

    subscriptionTimer.reset(new QTimer());
    subscriptionTimer->setInterval(kSubscriptionRefreshMs);
    connect(subscriptionTimer.data(), &QTimer::timeout, this, &ConnectWindow::doUpdateSubscriptionInfo);
}

ConnectWindow::~ConnectWindow()
{
    preClose();
    if (generationWatcher) {
        // The profile job writes into the generator; let it finish first.
        generationWatcher->waitForFinished();
    }
}

void ConnectWindow::readProtectionSettings()
{
    firewallParams.block_ipv6 = settingIsTrue(Keys::IPv6LeakProtect);
    firewallParams.change_timezone = settingIsTrue(Keys::ChangeTimezone);
}

void ConnectWindow::findMainServerHostFromURL()
{
    mainServerIPs.clear();
    const QString host = QUrl(NetworkManager::apiLink()).host();
    if (host.isEmpty()) {
        return;
    }
    if (QHostAddress(host).protocol() != QAbstractSocket::UnknownNetworkLayerProtocol) {
        mainServerIPs.append(host);
        return;
    }
    // A slow resolver must not hold up the first window; the kill switch
    // takes the address in as soon as it is known.
    QHostInfo::lookupHost(host, this, [this](const QHostInfo& info) {
        if (info.addresses().isEmpty()) {
            return;
        }
        mainServerIPs = QStringList{info.addresses().first().toString()};
        doFirewall(bool(firewallParams.block_dns));
    });
}

QStringList ConnectWindow::generateAllowIp() const
{
    QStringList required{QStringLiteral("127.0.0.1")};
    if (!curServer.ip.isEmpty()) {
        required.append(curServer.ip);
        required.append(doubleHopEnds(curServer));
    }
    required.append(mainServerIPs);
    QStringList addresses;
    addresses.reserve(servers.size());
    for (const ServerInfo& server : servers) {
        addresses.append(server.ip);
    }
    return AllowList::build(required, addresses);
}

QStringList ConnectWindow::doubleHopEnds(const ServerInfo& server) const
{
    // A double hop is named after its two locations ("Amsterdam - New York");
    // a dash may also sit inside a location's name, so every split is tried.
    QStringList ends;
    if (server.type != ServerInfo::Double) {
        return ends;
    }
    for (int dash = server.name.indexOf(QLatin1Char('-')); dash >= 0;
         dash = server.name.indexOf(QLatin1Char('-'), dash + 1)) {
        const QString entry = server.name.left(dash).trimmed();
        const QString exit = server.name.mid(dash + 1).trimmed();
        for (const ServerInfo& other : servers) {
            if (other.type != ServerInfo::Double && (other.name == entry || other.name == exit) &&
                !other.ip.isEmpty() && !ends.contains(other.ip)) {
                ends.append(other.ip);
            }
        }
    }
    return ends;
}

void ConnectWindow::setFullProtection(bool on)
{
    if (!on) {
        setServiceMissing(false);
    }
    if (firewallActive == on) {
        return;
    }
    if (on) {
        // A daemon that is not running is not a system without a firewall:
        // the user can start it, and the sign-in must not wait for that.
        const ServiceConnector::FirewallSupport support = connection->firewallSupport();
        setServiceMissing(support == ServiceConnector::FirewallSupport::Unreachable);
        if (support == ServiceConnector::FirewallSupport::Unreachable) {
            qWarning() << "The daemon does not answer; the kill switch waits for it";
            return;
        }
        if (support == ServiceConnector::FirewallSupport::NotSupported) {
            CustomMessageBox::information(this, Constants::ProductTitle,
                                          tr("Firewall does not support on your system."));
            return;
        }
        const QString allow = generateAllowIp().join(';');
        qDebug() << "kill_c: " << boolText(firewallParams.kill_connect);
        qDebug() << "ipv6_b: " << boolText(firewallParams.block_ipv6);
        qDebug() << "allow_loc_ip: " << boolText(firewallParams.allow_local_ip);
        qDebug() << "change_t: " << boolText(firewallParams.change_timezone);
        qDebug() << "Allow Firewall ip:" << allow;
        firewallParams.block_dns = !autoConnectPending;
        if (connection->firewallOn(allow, kTunnelInterface, firewallParams)) {
            firewallActive = true;
        } else {
            // The user believes the machine is protected: say that it is not,
            // and let the settings page show the kill switch as off.
            qWarning() << "The kill switch could not be switched on";
            firewallParams.kill_connect = false;
            LocalSettings::instance()->setValue(Keys::KillConnect, false);
            if (!closed) {
                CustomMessageBox::critical(this, Constants::ProductTitle,
                                           tr("The kill switch could not be switched on."));
            }
        }
    } else {
        if (connection->firewallOff()) {
            firewallActive = false;
        } else {
            qWarning() << "The kill switch could not be switched off";
            if (!closed) {
                CustomMessageBox::critical(this, Constants::ProductTitle,
                                           tr("The kill switch could not be switched off."));
            }
        }
    }
}

QString ConnectWindow::serviceMissingText() const
{
    return tr("Kestrova's system service is not running, so the kill switch cannot protect this "
              "connection. Start it with:");
}

void ConnectWindow::setServiceMissing(bool missing)
{
    serviceMissing = missing;
    if (missing) {
        ui->lbServiceNotice->setText(
            QStringLiteral("%1<br><span style=\"font-family: monospace; color: #000000;\">%2</span>")
                .arg(serviceMissingText().toHtmlEscaped(), kStartServiceCommand));
        serviceRetryTimer->start();
    } else {
        serviceRetryTimer->stop();
    }
    ui->lbServiceNotice->setVisible(missing);
}

void ConnectWindow::retryProtection()
{
    setFullProtection(settingIsTrue(Keys::KillConnect));
}

void ConnectWindow::doFirewall(bool blockDNS)
{
    if (!firewallActive) {
        return;
    }
    const QString allow = generateAllowIp().join(';');
    qDebug() << "Change Firewall ip:" << allow;
    firewallParams.block_dns = blockDNS;
    if (!connection->firewallChange(allow, kTunnelInterface, firewallParams)) {
        qWarning() << "The kill switch rules could not be refreshed";
    }
}

void ConnectWindow::doFirewall()
{
    doFirewall(true);
}

void ConnectWindow::onClickConnect()
{
    if (uiState == Generating || uiState == ProfileReady) {
        cancelRequested = true;
        if (generationWatcher && generationWatcher->isRunning()) {
            generationWatcher->cancel();
        }
        return;
    }
    doConnect();
}

bool ConnectWindow::offersProtocol(const ServerInfo& server, int protocol)
{
    switch (protocol) {
    case PROTOCOL_OPENVPN_UDP:
        return !server.udpPorts.isEmpty();
    case PROTOCOL_OPENVPN_TCP:
        return !server.tcpPorts.isEmpty();
    case PROTOCOL_STEALTH:
        return server.sslPort > 0;
    default:
        return false;
    }
}

QString ConnectWindow::protocolLabel()
{
    const QString label = LocalSettings::instance()->value(Keys::OvpnProtocol).toString();
    return label.isEmpty() ? QStringLiteral("tcp") : label;
}

void ConnectWindow::startAttempt()
{
    ALog::Out(QStringLiteral("Connecting"));
    cancelRequested = false;
    if (mainWindow) {
        mainWindow->onBack();
    }

    // Choosing a location is not an attempt: the three tries belong to the
    // server the user then picks.
    if (curServer.ip.isEmpty() || curServer.flag.isEmpty()) {
        onSelectLocation();
        return;
    }
    ++attemptCount;

    uiState = Connecting;
    const QByteArray config = mainWindow ? mainWindow->getConfigOvpnByServer(curServer.name)
                                         : NetworkManager::instance()->getConfigOVPNbyServer(curServer.name);
    const QByteArray certificate = mainWindow
                                       ? mainWindow->getCertifOvpnByUser(curServer.user)
                                       : NetworkManager::instance()->getCertifOvpnByUser(curServer.user);
    const QByteArray key = mainWindow ? mainWindow->getKeyOvpnByUser(curServer.user)
                                      : NetworkManager::instance()->getKeyOvpnByUser(curServer.user);
    QString missing;
    if (config.isEmpty()) {
        missing = tr("Error of loading of the config.");
    } else if (certificate.isEmpty()) {
        missing = tr("Error of loading of the certificate.");
    } else if (key.isEmpty()) {
        missing = tr("Error of loading of the key.");
    }
    if (!missing.isEmpty()) {
        // Back to idle, so that the next press starts a new attempt.
        uiState = Disconnected;
        attemptCount = 0;
        CustomMessageBox::critical(this, Constants::ProductTitle, missing);
        return;
    }

    setUiState(Connecting);
    doFirewall(false);
    if (firewallSettleMs > 0) {
        sleepFor(firewallSettleMs);
    }

    const QString label = protocolLabel();
    const VpnProtocol protocol = getVpnProtocolByLabel(label);

    uiState = Generating;
    ConfigServer record;
    record.baseConfig = config;
    record.certificate = certificate;
    record.key = key;
    record.protocol = protocol.label.isNull() ? label : protocol.label;
    record.host = curServer.ip;
    if (protocol.type == PROTOCOL_STEALTH) {
        // stunnel takes up to seconds to start: the attempt goes on in
        // onStunnelStarted, and a press meanwhile cancels it.
        stealthRecord = record;
        stunnel->startTunnel(curServer.ip, curServer.sslPort, curServer.sni);
        return;
    } else if (protocol.type == PROTOCOL_OPENVPN_UDP) {
        record.ports = curServer.udpPorts;
    } else {
        record.ports = curServer.tcpPorts;
    }
    doGenerateConfig(record);
}

void ConnectWindow::doConnect()
{
    switch (uiState) {
    case Disconnected:
        if (firewallParams.kill_connect && !firewallActive) {
            setFullProtection(true);
            if (serviceMissing) {
                // Without the daemon nothing would hold traffic inside the
                // tunnel: the user asked for that, so no tunnel without it.
                CustomMessageBox::information(this, Constants::ProductTitle,
                                              serviceMissingText() + QLatin1Char('\n') +
                                                  kStartServiceCommand);
                return;
            }
        }
        startAttempt();
        break;
    case Generating: {
        // A profile that could not be written must not start a tunnel with
        // whatever the file held before.
        const bool written =
            generationWatcher && !generationWatcher->isCanceled() && generationWatcher->result();
        if (!written) {
            giveUp(tr("The connection profile could not be written."));
            return;
        }
        logWindow->clear();
        QFile::remove(QDir(QCoreApplication::applicationDirPath()).filePath(Constants::LogFileName));
        uiState = ProfileReady;
        doRestoreDNS(true);
        break;
    }
    case ProfileReady: {
        uiState = Connecting;
        ALog::Out(QStringLiteral("OpenVpn config: ") + generator->fileName());
        autoConnectPending = false;
        ServerInfo server = curServer;
        // The facade starts OpenVPN only for the OpenVPN transports; stealth is
        // OpenVPN over TCP to the local end of the tunnel.
        server.protocol = getVpnProtocolByLabel(protocolLabel()).type == PROTOCOL_OPENVPN_UDP
                              ? PROTOCOL_OPENVPN_UDP
                              : PROTOCOL_OPENVPN_TCP;
        connection->connect(server, server.user, server.password, generator->fileName(), ProxySetting());
        break;
    }
    case Connected:
    case Connecting:
        ALog::Out(QStringLiteral("Disconnecting"));
        // OpenVPN takes a moment to exit; until it has, the page says so and
        // every further press, of the button or in the tray, is ignored.
        uiState = CleaningUp;
        showDisconnecting();
        connection->disconnect(true);
        break;
    default:
        break;
    }
}

void ConnectWindow::onStunnelStarted(bool ok)
{
    if (uiState != Generating) {
        return;
    }
    if (cancelRequested) {
        cancelAttempt();
        return;
    }
    if (!ok) {
        giveUp(tr("The stealth tunnel could not be started: %1").arg(stunnel->errorString()));
        return;
    }
    stealthRecord.stunnelPort = stunnel->getPort();
    doGenerateConfig(stealthRecord);
}

void ConnectWindow::showDisconnecting()
{
    ui->btnConnect->setEnabled(false);
    ui->btnSettings->setEnabled(false);
    ui->btnSelectLocation->setText(tr("Disconnecting"));
    ui->btnSelectLocation->setStyleSheet(
        "QPushButton{border: 0px;font: 16px \"Arial\";color: #9b9b9b;background-color:transparent;}");
    if (mainWindow) {
        mainWindow->setTrayStatusDisconnecting();
    }
}

void ConnectWindow::reconnect()
{
    if (uiState != Connected) {
        return;
    }
    reconnectPending = true;
    doConnect();
}

void ConnectWindow::stopAndWait()
{
    switch (uiState) {
    case Generating:
    case ProfileReady:
        onClickConnect();
        break;
    case Connected:
    case Connecting:
        doConnect();
        break;
    default:
        break;
    }
    reconnectPending = false;
    if (uiState == Disconnected) {
        return;
    }
    // The tunnel's end arrives as a queued signal; the timer only makes
    // sure the wait notices its deadline.
    QElapsedTimer clock;
    clock.start();
    QTimer tick;
    tick.start(50);
    while (uiState != Disconnected && !clock.hasExpired(kStopWaitMs)) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    }
    if (uiState != Disconnected) {
        qWarning() << "The tunnel did not report its end in time";
    }
}

void ConnectWindow::doGenerateConfig(const ConfigServer& config)
{
    uiState = Generating;
    generationWatcher.reset(new QFutureWatcher<bool>());
    connect(generationWatcher.data(), &QFutureWatcher<bool>::finished, this, &ConnectWindow::onAsyncFinished);
    MakeOVPNFile* file = generator.get();
    const bool stealth = config.protocol == QLatin1String("stealth");
    generationWatcher->setFuture(QtConcurrent::run([file, config, stealth]() {
        return stealth ? file->generateStunnel(config) : file->generate(config);
    }));
}

void ConnectWindow::doRestoreDNS(bool)
{
    // Name servers follow the tunnel through OpenVPN's up and down script;
    // nothing to restore here, so the sequence goes straight on.
    onAsyncFinished();
}

void ConnectWindow::onAsyncFinished()
{
    switch (uiState) {
    case Generating:
    case ProfileReady:
        if (!cancelRequested) {
            doConnect();
        } else {
            cancelAttempt();
        }
        break;
    case CleaningUp:
        stopStealthTunnel();
        ui->btnConnect->setEnabled(true);
        uiState = Disconnected;
        if (reconnectPending) {
            reconnectPending = false;
            QTimer::singleShot(0, this, &ConnectWindow::onClickConnect);
        }
        break;
    default:
        break;
    }
}

void ConnectWindow::cancelAttempt()
{
    uiState = Disconnected;
    stopStealthTunnel();
    // The attempt opened DNS past the kill switch; close it again.
    doFirewall(true);
    setUiState(Disconnected);
}

void ConnectWindow::stopStealthTunnel()
{
    if (useStealth()) {
        stunnel->stopTunnel();
    }
}

void ConnectWindow::giveUp(const QString& message)
{
    attemptCount = 0;
    ALog::Out(QStringLiteral("onConnectionError()"));
    stopStealthTunnel();
    doFirewall(true);
    uiState = Disconnected;
    setUiState(Disconnected);
    if (mainWindow) {
        mainWindow->onShow();
    }
    CustomMessageBox::information(this, Constants::ProductTitle, message);
}

void ConnectWindow::onConnected()
{
    uiState = Connected;
    attemptCount = 0;
    // DNS was opened past the kill switch for the way up. Through the tunnel
    // it needs no opening, and left open it would let lookups out on the
    // bare link whenever OpenVPN dies.
    doFirewall(true);
    if (firewallParams.change_timezone) {
        if (!connection->timezonechangeSupported()) {
            CustomMessageBox::information(this, Constants::ProductTitle,
                                          tr("Timezone changes does not support on your system."));
            LocalSettings::instance()->setValue(Keys::ChangeTimezone, false);
            readProtectionSettings();
        } else {
            NetworkManager::instance()->ipTimezoneRequest();
        }
    }
    setUiState(Connected);
    emit connected();
}

void ConnectWindow::onChangeTimezone(QString timezoneIANA, bool success)
{
    qDebug() << "onChangeTimezone" << timezoneIANA << success;
    if (success && !timezoneIANA.isEmpty()) {
        doTimezone(false, timezoneIANA);
    } else {
        CustomMessageBox::information(this, Constants::ProductTitle,
                                      tr("Timezone is not changed because of no data."));
    }
}

void ConnectWindow::doTimezone(bool restore, QString timezoneIANA)
{
    if (!connection->timezoneChange(restore, timezoneIANA)) {
        qWarning() << "The daemon did not change the timezone" << timezoneIANA << "restore" << restore;
    }
}

void ConnectWindow::doTimezone(bool restore)
{
    doTimezone(restore, QString());
}

void ConnectWindow::onDisconnected()
{
    if (uiState == Generating || uiState == ProfileReady) {
        // The end of a tunnel that a retry has already replaced; the new
        // attempt is under way.
        return;
    }
    uiState = CleaningUp;
    if (mainWindow) {
        mainWindow->setTrayStatusConnecting();
    }
    setUiState(CleaningUp);
    ui->btnConnect->setEnabled(false);
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    doRestoreDNS(false);
    doFirewall(true);
    if (firewallParams.change_timezone) {
        doTimezone(true, QString());
    }
}

void ConnectWindow::onConnectionError(QString msg)
{
    if (uiState == CleaningUp) {
        // The user asked to stop: the end of the tunnel is no reason to try again.
        onDisconnected();
        return;
    }
    uiState = CleaningUp;
    setUiState(CleaningUp);
    if (mainWindow) {
        mainWindow->setTrayStatusConnecting();
    }
    if (attemptCount < kMaxAttempts) {
        uiState = Disconnected;
        onClickConnect();
        return;
    }
    attemptCount = 0;
    if (!msg.isEmpty()) {
        ALog::Out(QStringLiteral("onConnectionError()"));
        if (mainWindow) {
            mainWindow->onShow();
        }
        CustomMessageBox::information(this, Constants::ProductTitle, msg);
    }
    stopStealthTunnel();
    doFirewall(true);
    uiState = Disconnected;
    setUiState(Disconnected);
}

void ConnectWindow::autoConnect()
{
    // A server list that arrives while an attempt runs must not press the
    // button again: that would stop the attempt.
    if (uiState != Disconnected) {
        return;
    }
    if (!curServer.ip.isEmpty() && !curServer.flag.isEmpty() && autoConnectPending) {
        autoConnectPending = false;
        onClickConnect();
    }
}

void ConnectWindow::setServers(const QVector<ServerInfo>& list)
{
    qDebug() << "ConnectWindow::setServers count:" << list.size();
    servers.clear();
    for (const ServerInfo& server : list) {
        servers.insert(ServerIdentif(server.user, server.name), server);
    }
    const ServerIdentif last =
        identifFromSettings(LocalSettings::instance()->value(Keys::LastLocation).toString());
    if (servers.contains(last)) {
        onServerChanged(last);
    } else {
        curServer = ServerInfo();
        showLocationText();
    }
}

QMap<ServerIdentif, ServerInfo> ConnectWindow::getServers() const
{
    return servers;
}

void ConnectWindow::onServerChanged(ServerIdentif server)
{
    qDebug() << "ConnectWindow::onServerChanged" << server.first << server.second;
    if (!servers.contains(server)) {
        return;
    }
    LocalSettings::instance()->setValue(Keys::LastLocation, identifToSettings(server));
    curServer = servers.value(server);
    showLocationText();
    if (mainWindow) {
        QString name = curServer.name;
        mainWindow->setTrayActiveServer(name);
    }
}

void ConnectWindow::showLocationText()
{
    ui->lbLocation->setText(curServer.name.isEmpty() ? tr("Location not selected") : curServer.name);
}

void ConnectWindow::resetLocation()
{
    curServer = ServerInfo();
    LocalSettings::instance()->setValue(Keys::LastLocation, QString());
    showLocationText();
}

void ConnectWindow::onSelectLocation()
{
    switch (uiState) {
    case Connected:
    case Connecting:
    case Generating:
    case ProfileReady:
        onShowLog();
        break;
    case Disconnected:
        emit serverList(curentFilterId());
        break;
    default:
        break;
    }
}

int ConnectWindow::curentFilterId() const
{
    auto settings = LocalSettings::instance();
    if (settings->value(Keys::OvpnProtocol).toString().isEmpty()) {
        settings->setValue(Keys::OvpnProtocol, QStringLiteral("tcp"));
    }
    return getVpnProtocolByLabel(settings->value(Keys::OvpnProtocol).toString()).type;
}

bool ConnectWindow::useStealth() const
{
    return getVpnProtocolByLabel(protocolLabel()).type == PROTOCOL_STEALTH;
}

void ConnectWindow::setAcountData(QString newLogin, QString newPassword)
{
    login = newLogin;
    password = newPassword;
}

void ConnectWindow::loadSettings()
{
    auto settings = LocalSettings::instance();
    login = settings->value(Keys::Login).toString();
    password = settings->value(Keys::Passwd).toString();
    autoConnectPending = settings->value(Keys::ConnectOnStart).toString() == QLatin1String("true");

    const int protocol = curentFilterId();
    if (!curServer.name.isEmpty() && !offersProtocol(curServer, protocol)) {
        resetLocation();
    }

    const bool killConnect = settingIsTrue(Keys::KillConnect);
    const bool allowLocal = settingIsTrue(Keys::AllowLocalDevices);
    readProtectionSettings();
    if (bool(firewallParams.kill_connect) != killConnect ||
        bool(firewallParams.allow_local_ip) != allowLocal) {
        firewallParams.kill_connect = killConnect;
        firewallParams.allow_local_ip = allowLocal;
        doFirewall(true);
    }
    setFullProtection(killConnect);
}

void ConnectWindow::saveSettings()
{
    // Until the server list has come (offline, or a slow service) no location
    // is chosen yet; the remembered one must outlive that wait.
    if (curServer.name.isEmpty()) {
        return;
    }
    const QString id = identifToSettings(ServerIdentif(curServer.user, curServer.name));
    qDebug() << "ConnectWindow::saveSettings" << id;
    LocalSettings::instance()->setValue(Keys::LastLocation, id);
}

void ConnectWindow::logOut()
{
    // The tunnel goes first, then the kill switch: the machine is never open
    // while a tunnel is still being torn down.
    stopAndWait();
    setFullProtection(false);
}

void ConnectWindow::preClose()
{
    if (closed) {
        return;
    }
    closed = true;
    connection->disconnect(false);
    doRestoreDNS(false);
    setFullProtection(false);
}

bool ConnectWindow::isTunnelIdle() const
{
    return connection->isIdle();
}

bool ConnectWindow::installHelper()
{
    return connection->installHelper();
}

bool ConnectWindow::isConnected() const
{
    return uiState == Connected;
}

bool ConnectWindow::isBusy() const
{
    return uiState != Disconnected;
}

void ConnectWindow::onWirelessConnectionChanged(bool isConnected, QString)
{
    if (isConnected) {
        QTimer::singleShot(kWirelessSettleMs, this, qOverload<>(&ConnectWindow::doFirewall));
    }
}

bool ConnectWindow::doUpdateClient(QString updatePathName)
{
    qDebug() << "doUpdateClient" << updatePathName;
    if (updatePathName.isEmpty()) {
        CustomMessageBox::information(this, Constants::ProductTitle, tr("Name of update file is empty."));
        return false;
    }
    if (!connection->updateInstall(updatePathName)) {
        CustomMessageBox::critical(this, Constants::ProductTitle, tr("Error during installing update."));
        return false;
    }
    return true;
}

void ConnectWindow::onShowLog()
{
    logWindow->show();
    logWindow->raise();
}

void ConnectWindow::onMyIpUpdated(bool, QString, QString) {}

void ConnectWindow::onConnectionUpdateLog(QString line)
{
    qDebug() << "ConnectWindow::onConnectionUpdateLog - " << line;
    logWindow->onUpdateLog(line);
}

void ConnectWindow::onSettings()
{
    emit settings();
}

void ConnectWindow::onAccount()
{
    emit account();
}

void ConnectWindow::doUpdateSubscriptionInfo()
{
    if (!isVisible()) {
        return;
    }
    const QString vpnLogin = LocalSettings::instance()->value(Keys::VpnLogin).toString();
    const QDateTime expires = NetworkManager::instance()->subscription(vpnLogin).expiresTime();
    const bool soon =
        expires.isValid() && expires <= QDateTime::currentDateTime().addDays(kExpiryWarningDays);
    ui->lbSubscribtionInfo->setVisible(soon);
    ui->btRenew->setVisible(soon);
    ui->lbSubscribtionAdditionalInfo->setVisible(soon);
    if (soon) {
        ui->lbSubscribtionInfo->setText(
            tr("VPN subscription expires: %1").arg(expires.toString(QStringLiteral("dd.MM.yyyy"))));
    }
}

void ConnectWindow::onRenewButtonClicked()
{
    NetworkManager::instance()->getBuyLinkRequest(
        LocalSettings::instance()->value(Keys::VpnLogin).toString());
    ui->btRenew->setEnabled(false);
}

void ConnectWindow::goBuyLink(QString url)
{
    if (isVisible()) {
        QDesktopServices::openUrl(QUrl(url));
    }
    ui->btRenew->setEnabled(true);
}

void ConnectWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    doUpdateSubscriptionInfo();
    subscriptionTimer->start();
}

void ConnectWindow::hideEvent(QHideEvent* event)
{
    subscriptionTimer->stop();
    QWidget::hideEvent(event);
}

void ConnectWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        showLocationText();
        // Only the texts: the full look would process events and replace the
        // spinner while Qt walks this page's children with the same event.
        if (uiState == CleaningUp) {
            ui->btnSelectLocation->setText(tr("Disconnecting"));
        } else {
            const bool busy = uiState != Disconnected;
            ui->btnSelectLocation->setText(busy ? tr("Show connection") : tr("Select VPN Location"));
        }
        doUpdateSubscriptionInfo();
        if (serviceMissing) {
            setServiceMissing(true);
        }
    }
    QWidget::changeEvent(event);
}

void ConnectWindow::setUiState(int state)
{
    switch (state) {
    case Connecting:
        ui->btnConnect->setIcon(QIcon(QStringLiteral(":/resources/connect-orange.svg")));
        ui->btnSelectLocation->setIcon(QIcon(QStringLiteral(":/resources/location-info.svg")));
        ui->btnSelectLocation->setIconSize(QSize(15, 15));
        ui->btnSelectLocation->setText(tr("Show connection"));
        ui->btnSelectLocation->setStyleSheet(
            "QPushButton{border: 0px;font: 16px \"Arial\";color: #9b9b9b;background-color:transparent;}");
        ui->lbLocation->setStyleSheet("QLabel{font: 16px \"Arial\"; color: #ff9600;}");
        ui->btnSettings->setEnabled(false);
        ui->lbRotatorGreen->hide();
        ui->lbRotatorAnimation->clear();
        ui->lbRotatorAnimation->setStyleSheet("QLabel{background-color:transparent; image: none;}");
        ui->lbRotatorAnimation->show();
        spinner.reset(
            new RotateWidget(QStringLiteral(":/resources/rotator-orange.png"), ui->lbRotatorAnimation));
        if (mainWindow) {
            mainWindow->setTrayStatusConnecting();
        }
        break;
    case Connected:
        ui->btnConnect->setIcon(QIcon(QStringLiteral(":/resources/connect-red.svg")));
        ui->lbLocation->setStyleSheet("QLabel{font: 16px \"Arial\"; color: #7ed321;}");
        ui->lbShield->setStyleSheet("image: url(:/resources/shield-green.svg);");
        ui->lbRotatorGreen->show();
        ui->lbRotatorAnimation->hide();
        spinner.reset();
        if (mainWindow) {
            mainWindow->setTrayStatusConnected(true);
        }
        break;
    case Disconnected:
    case CleaningUp:
        ui->btnConnect->setIcon(QIcon(QStringLiteral(":/resources/connect-green.svg")));
        ui->btnSelectLocation->setIcon(QIcon(QStringLiteral(":/resources/location-blue.svg")));
        ui->btnSelectLocation->setIconSize(QSize(15, 15));
        ui->btnSelectLocation->setText(tr("Select VPN Location"));
        ui->btnSelectLocation->setStyleSheet(
            "QPushButton{border: 0px;font: 16px \"Arial\";color: #33a5db;background-color:transparent;}");
        ui->lbLocation->setStyleSheet("QLabel{font: 16px \"Arial\"; color: #4a4a4a;}");
        ui->lbShield->setStyleSheet("image: url(:/resources/shield-grey.svg);");
        ui->btnSettings->setEnabled(true);
        // Idle is the plain button on the grey shield: a ring standing still
        // would read as an attempt that hangs.
        ui->lbRotatorGreen->hide();
        ui->lbRotatorAnimation->hide();
        spinner.reset();
        if (mainWindow) {
            mainWindow->setTrayStatusDisconnected(true);
        }
        break;
    default:
        break;
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ConnectWindow::sleepFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    }
}
