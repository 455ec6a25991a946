#include "accountwindow.h"
#include "ui_accountwindow.h"

#include "backkeys.h"
#include "localsettings.h"
#include "mirroredicon.h"
#include "networkmanager.h"

#include <QDesktopServices>
#include <QEvent>
#include <QUrl>

AccountWindow::AccountWindow(QWidget* parent) : QWidget(parent), ui(new Ui::AccountWindow)
{
    ui->setupUi(this);
    new MirroredIcon(ui->pbBack);
    new MirroredIcon(ui->pbLogOut);
    setAttribute(Qt::WA_StyledBackground, true);
    connect(ui->pbBack, &QPushButton::clicked, this, &AccountWindow::back);
    connect(new BackKeys(this), &BackKeys::activated, this, &AccountWindow::back);
    connect(ui->pbLogOut, &QPushButton::clicked, this, &AccountWindow::returnToSignUp);
    connect(ui->btBuy, &QPushButton::clicked, this, &AccountWindow::onBuyButtonClicked);
    connect(ui->btRenew, &QPushButton::clicked, this, &AccountWindow::onRenewButtonClicked);
    connect(ui->btAccountChange, &QPushButton::clicked, this, &AccountWindow::accountChanged);
    connect(NetworkManager::instance(), &NetworkManager::gotBuyLink, this, &AccountWindow::goBuyLink);
}

AccountWindow::~AccountWindow() = default;

void AccountWindow::refresh()
{
    NetworkManager* api = NetworkManager::instance();
    const QString vpnLogin = LocalSettings::instance()->value(Keys::VpnLogin).toString();
    const Subscription subscription = api->subscription(vpnLogin);
    ui->lbLogin->setText(subscription.login().trimmed());
    ui->lbExpires->setText(
        tr("VPN subscription expires: %1").arg(subscription.expiresTime().toString("dd.MM.yyyy")));
    ui->btAccountChange->setVisible(api->cacheUsers().size() >= 2);
}

void AccountWindow::onBuyButtonClicked()
{
    NetworkManager::instance()->getBuyLinkRequest(QString());
    ui->btBuy->setEnabled(false);
}

void AccountWindow::onRenewButtonClicked()
{
    NetworkManager::instance()->getBuyLinkRequest(ui->lbLogin->text());
    ui->btRenew->setEnabled(false);
}

void AccountWindow::goBuyLink(QString url)
{
    if (isVisible()) {
        QDesktopServices::openUrl(QUrl(url));
    }
    ui->btBuy->setEnabled(true);
    ui->btRenew->setEnabled(true);
}

void AccountWindow::showEvent(QShowEvent* event)
{
    refresh();
    QWidget::showEvent(event);
}

void AccountWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        refresh();
    }
    QWidget::changeEvent(event);
}
