#include "connectwindow.h"

#include "constants.h"
#include "custommessagebox.h"
#include "localsettings.h"
#include "log.h"
#include "networkmanager.h"
#include "rotatewidget.h"
#include "showlog.h"
#include "ui_connectwindow.h"
#include "utils.h"

#include <QDebug>
#include <QDesktopServices>
#include <QEvent>
#include <QLocale>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int kSubscriptionRefreshMs = 10000;
constexpr int kStatusRefreshMs = 1000;
constexpr int kExpiryWarningDays = 7;
const QString kStartServiceCommand = QStringLiteral("sudo systemctl start kestrovad");
const QString kSettingsLink = QStringLiteral("settings");

using State = ConnectionSession::State;

QString elapsedText(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

ConnectWindow::ConnectWindow(QWidget* parent, Dependencies dependencies)
    : QWidget(parent), ui(new Ui::ConnectWindow), ownSession(new ConnectionSession(std::move(dependencies)))
{
    session = ownSession.get();
    init();
}

ConnectWindow::ConnectWindow(QWidget* parent, ConnectionSession* external)
    : QWidget(parent), ui(new Ui::ConnectWindow), session(external)
{
    init();
}

ConnectWindow::~ConnectWindow()
{
    // The session may outlive the page, and its own end reports states.
    QObject::disconnect(session, nullptr, this, nullptr);
    QObject::disconnect(session->killSwitch(), nullptr, this, nullptr);
    QObject::disconnect(session->timezone(), nullptr, this, nullptr);
    ownSession.reset();
}

void ConnectWindow::init()
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

    connect(ui->btnSettings, &QPushButton::clicked, this, &ConnectWindow::settings);
    connect(ui->btnAccount, &QPushButton::clicked, this, &ConnectWindow::account);
    connect(ui->btnConnect, &QPushButton::clicked, this, &ConnectWindow::onClickConnect);
    connect(ui->btnSelectLocation, &QPushButton::clicked, this, &ConnectWindow::onSelectLocation);
    connect(ui->btRenew, &QPushButton::clicked, this, &ConnectWindow::onRenewButtonClicked);
    connect(ui->lbKillSwitchNotice, &QLabel::linkActivated, this, &ConnectWindow::settings);
    connect(NetworkManager::instance(), &NetworkManager::gotBuyLink, this, &ConnectWindow::goBuyLink);

    connect(session, &ConnectionSession::stateChanged, this, &ConnectWindow::paint);
    connect(session, &ConnectionSession::failed, this, &ConnectWindow::onFailed);
    connect(session, &ConnectionSession::locationNeeded, this, &ConnectWindow::onSelectLocation);
    connect(session, &ConnectionSession::locationChanged, this, &ConnectWindow::showLocationText);
    connect(session, &ConnectionSession::statisticsChanged, this, &ConnectWindow::showStatusLine);
    connect(session, &ConnectionSession::attemptStarting, this, [this] { logWindow->clear(); });
    connect(session, &ConnectionSession::logLine, this, [this](const QString& line) {
        qDebug() << "ConnectWindow::onConnectionUpdateLog - " << line;
        logWindow->onUpdateLog(line);
    });
    connect(session->killSwitch(), &KillSwitch::changed, this, &ConnectWindow::showNotices);
    connect(session->killSwitch(), &KillSwitch::problem, this, &ConnectWindow::onKillSwitchProblem);
    connect(session->timezone(), &TimezoneFollower::problem, this, &ConnectWindow::onTimezoneProblem);

    logWindow.reset(new ShowLog(this));

    subscriptionTimer.reset(new QTimer());
    subscriptionTimer->setInterval(kSubscriptionRefreshMs);
    connect(subscriptionTimer.data(), &QTimer::timeout, this, &ConnectWindow::doUpdateSubscriptionInfo);
    // The time connected moves on between OpenVPN's byte counts.
    statusTimer.reset(new QTimer());
    statusTimer->setInterval(kStatusRefreshMs);
    connect(statusTimer.data(), &QTimer::timeout, this, &ConnectWindow::showStatusLine);

    paint(session->state());
    showLocationText();
    showNotices();
}

int ConnectWindow::currentUiState() const
{
    switch (session->state()) {
    case State::Connected:
        return Connected;
    case State::Preparing:
        return Generating;
    case State::Connecting:
    case State::Reconnecting:
        return Connecting;
    case State::Stopping:
        return CleaningUp;
    default:
        return Disconnected;
    }
}

void ConnectWindow::onClickConnect()
{
    switch (session->state()) {
    case State::Idle:
    case State::Failed:
        emit pageWanted();
        session->connectToServer();
        break;
    case State::Stopping:
        // OpenVPN takes a moment to exit; until it has, presses are ignored.
        break;
    default:
        session->disconnect();
        break;
    }
}

void ConnectWindow::onSelectLocation()
{
    switch (session->state()) {
    case State::Idle:
    case State::Failed:
        emit serverList(ConnectionSession::protocolSetting());
        break;
    case State::Stopping:
        break;
    default:
        onShowLog();
        break;
    }
}

void ConnectWindow::onShowLog()
{
    logWindow->show();
    logWindow->raise();
}

// --- What the session reports ---

void ConnectWindow::onFailed(ConnectionSession::Failure failure, QString detail)
{
    using Failure = ConnectionSession::Failure;
    QString text;
    switch (failure) {
    case Failure::ServiceNotRunning:
        text = serviceMissingText() + QLatin1Char('\n') + kStartServiceCommand;
        break;
    case Failure::MissingConfig:
        CustomMessageBox::critical(this, Constants::ProductTitle, tr("Error of loading of the config."));
        return;
    case Failure::MissingCertificate:
        CustomMessageBox::critical(this, Constants::ProductTitle, tr("Error of loading of the certificate."));
        return;
    case Failure::MissingKey:
        CustomMessageBox::critical(this, Constants::ProductTitle, tr("Error of loading of the key."));
        return;
    case Failure::StealthTunnel:
        text = tr("The stealth tunnel could not be started: %1").arg(detail);
        break;
    case Failure::ProfileNotWritten:
        text = tr("The connection profile could not be written.");
        break;
    case Failure::TimedOut:
        text = tr("The server did not answer in time. Try again or choose another location.");
        break;
    case Failure::Tunnel:
    case Failure::None:
        text = detail;
        break;
    }
    if (text.isEmpty()) {
        return;
    }
    if (failure != Failure::ServiceNotRunning) {
        emit attentionNeeded();
    }
    CustomMessageBox::information(this, Constants::ProductTitle, text);
}

void ConnectWindow::onKillSwitchProblem(KillSwitch::Problem problem)
{
    if (session->isClosed()) {
        return;
    }
    switch (problem) {
    case KillSwitch::Problem::NotSupported:
        CustomMessageBox::information(this, Constants::ProductTitle,
                                      tr("Firewall does not support on your system."));
        break;
    case KillSwitch::Problem::CannotSwitchOn:
        CustomMessageBox::critical(this, Constants::ProductTitle,
                                   tr("The kill switch could not be switched on."));
        break;
    case KillSwitch::Problem::CannotSwitchOff:
        CustomMessageBox::critical(this, Constants::ProductTitle,
                                   tr("The kill switch could not be switched off."));
        break;
    }
}

void ConnectWindow::onTimezoneProblem(TimezoneFollower::Problem problem)
{
    if (problem == TimezoneFollower::Problem::NotSupported) {
        CustomMessageBox::information(this, Constants::ProductTitle,
                                      tr("Timezone changes does not support on your system."));
    } else {
        CustomMessageBox::information(this, Constants::ProductTitle,
                                      tr("Timezone is not changed because of no data."));
    }
}

// --- Painting ---

void ConnectWindow::paint(ConnectionSession::State state)
{
    switch (state) {
    case State::Preparing:
    case State::Connecting:
    case State::Reconnecting:
        showConnectingLook();
        break;
    case State::Connected:
        showConnectedLook();
        break;
    case State::Stopping:
        showDisconnectingLook();
        break;
    case State::Idle:
    case State::Failed:
        showDisconnectedLook();
        break;
    }
    if (state == State::Connected) {
        statusTimer->start();
    } else {
        statusTimer->stop();
    }
    showStatusLine();
    showNotices();
}

void ConnectWindow::showConnectingLook()
{
    if (look == Connecting) {
        return;
    }
    look = Connecting;
    ui->btnConnect->setEnabled(true);
    ui->btnConnect->setIcon(QIcon(QStringLiteral(":/resources/connect-orange.svg")));
    ui->btnSelectLocation->setIcon(QIcon(QStringLiteral(":/resources/location-info.svg")));
    ui->btnSelectLocation->setIconSize(QSize(15, 15));
    ui->btnSelectLocation->setText(tr("Show connection"));
    ui->btnSelectLocation->setStyleSheet(
        "QPushButton{border: 0px;font: 16px \"Arial\";color: #9b9b9b;background-color:transparent;}");
    ui->lbLocation->setStyleSheet("QLabel{font: 16px \"Arial\"; color: #ff9600;}");
    ui->lbShield->setStyleSheet("image: url(:/resources/shield-grey.svg);");
    ui->btnSettings->setEnabled(false);
    ui->lbRotatorGreen->hide();
    ui->lbRotatorAnimation->clear();
    ui->lbRotatorAnimation->setStyleSheet("QLabel{background-color:transparent; image: none;}");
    ui->lbRotatorAnimation->show();
    spinner.reset(new RotateWidget(QStringLiteral(":/resources/rotator-orange.png"), ui->lbRotatorAnimation));
}

void ConnectWindow::showConnectedLook()
{
    look = Connected;
    ui->btnConnect->setEnabled(true);
    ui->btnConnect->setIcon(QIcon(QStringLiteral(":/resources/connect-red.svg")));
    ui->lbLocation->setStyleSheet("QLabel{font: 16px \"Arial\"; color: #7ed321;}");
    ui->lbShield->setStyleSheet("image: url(:/resources/shield-green.svg);");
    ui->lbRotatorGreen->show();
    ui->lbRotatorAnimation->hide();
    spinner.reset();
}

void ConnectWindow::showDisconnectedLook()
{
    look = Disconnected;
    ui->btnConnect->setEnabled(true);
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
}

void ConnectWindow::showDisconnectingLook()
{
    look = CleaningUp;
    // OpenVPN takes a moment to exit; until it has, the page says so and
    // every further press, of the button or in the tray, is ignored.
    ui->btnConnect->setEnabled(false);
    ui->btnSettings->setEnabled(false);
    ui->btnSelectLocation->setText(tr("Disconnecting"));
    ui->btnSelectLocation->setStyleSheet(
        "QPushButton{border: 0px;font: 16px \"Arial\";color: #9b9b9b;background-color:transparent;}");
}

void ConnectWindow::showLocationText()
{
    const QString name = session->currentServer().name;
    ui->lbLocation->setText(name.isEmpty() ? tr("Location not selected") : name);
}

void ConnectWindow::showStatusLine()
{
    QStringList parts;
    switch (session->state()) {
    case State::Preparing:
    case State::Connecting:
        parts << tr("Connecting...");
        break;
    case State::Reconnecting:
        parts << tr("Reconnecting...");
        break;
    case State::Connected:
        parts << tr("Connected");
        break;
    case State::Stopping:
        parts << tr("Disconnecting");
        break;
    case State::Idle:
    case State::Failed:
        parts << tr("Disconnected");
        break;
    }
    if (session->isBusy()) {
        const QString title = getVpnProtocolByLabel(session->protocol()).translatedTitle();
        if (!title.isEmpty()) {
            parts << title;
        }
    }
    QString text = parts.join(QStringLiteral(" \u00b7 "));
    // Time and traffic on a line of their own: with a long protocol title
    // one line would not fit the page.
    if (session->connectedSince().isValid()) {
        const QLocale locale;
        const qint64 seconds =
            qMax<qint64>(0, session->connectedSince().secsTo(QDateTime::currentDateTimeUtc()));
        // Right to left, a figure and its Latin unit would drift apart ("KiB
        // ... 2.27"): each amount is held together as one left-to-right
        // piece, and the line closed after it for the arrow that follows.
        const auto amount = [&locale](quint64 bytes) {
            return QStringLiteral("\u200e%1\u200f").arg(locale.formattedDataSize(qint64(bytes)));
        };
        text += QStringLiteral("\n%1 \u00b7 \u2193 %2  \u2191 %3")
                    .arg(elapsedText(seconds), amount(session->bytesIn()), amount(session->bytesOut()));
    }
    ui->lbStatus->setText(text);
}

QString ConnectWindow::serviceMissingText() const
{
    if (session->killSwitch()->isWanted()) {
        return tr("Kestrova's system service is not running, so the kill switch cannot protect this "
                  "connection. Start it with:");
    }
    return tr("Kestrova's system service is not running, so no connection can be made. Start it with:");
}

void ConnectWindow::showNotices()
{
    const KillSwitch* killSwitch = session->killSwitch();
    const bool missing = killSwitch->isServiceMissing();
    if (missing) {
        ui->lbServiceNotice->setText(
            QStringLiteral("%1<br><span style=\"font-family: monospace; color: #000000;\">%2</span>")
                .arg(serviceMissingText().toHtmlEscaped(), kStartServiceCommand));
    }
    ui->lbServiceNotice->setVisible(missing);

    // Everything is held back and no tunnel carries it: with the kill switch
    // on, after a disconnect and at every start. Say so, and where to change it.
    const bool blocked = killSwitch->isBlocking() && !session->isBusy() && !missing;
    if (blocked) {
        ui->lbKillSwitchNotice->setText(
            QStringLiteral("%1 <a href=\"%2\" style=\"color: #33a5db;\">%3</a>")
                .arg(tr("Internet blocked by the kill switch until you connect").toHtmlEscaped(),
                     kSettingsLink, tr("Kill switch settings").toHtmlEscaped()));
    }
    ui->lbKillSwitchNotice->setVisible(blocked);
}

// --- Subscription line ---

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
        // Only the texts: a new look would replace the spinner while Qt
        // walks this page's children with the same event.
        if (session->state() == State::Stopping) {
            ui->btnSelectLocation->setText(tr("Disconnecting"));
        } else {
            ui->btnSelectLocation->setText(session->isBusy() ? tr("Show connection")
                                                             : tr("Select VPN Location"));
        }
        doUpdateSubscriptionInfo();
        showStatusLine();
        showNotices();
    }
    QWidget::changeEvent(event);
}
