#include "subscriptionpurchasewindow.h"
#include "ui_subscriptionpurchasewindow.h"

#include "mirroredicon.h"

#include "networkmanager.h"

#include <QDesktopServices>
#include <QEvent>
#include <QUrl>

SubscriptionPurchaseWindow::SubscriptionPurchaseWindow(QWidget* parent)
    : QWidget(parent), ui(new Ui::SubscriptionPurchaseWindow)
{
    ui->setupUi(this);
    new MirroredIcon(ui->pbLogOut);
    setAttribute(Qt::WA_StyledBackground, true);
    connect(ui->pbLogOut, &QPushButton::clicked, this, &SubscriptionPurchaseWindow::returnToSignUp);
    connect(ui->btBuy, &QPushButton::clicked, this, &SubscriptionPurchaseWindow::onBuyButtonClicked);
    connect(NetworkManager::instance(), &NetworkManager::gotBuyLink, this,
            &SubscriptionPurchaseWindow::goBuyLink);
}

SubscriptionPurchaseWindow::~SubscriptionPurchaseWindow() = default;

void SubscriptionPurchaseWindow::onBuyButtonClicked()
{
    NetworkManager::instance()->getBuyLinkRequest(QString());
    ui->btBuy->setEnabled(false);
}

void SubscriptionPurchaseWindow::goBuyLink(QString url)
{
    if (isVisible()) {
        QDesktopServices::openUrl(QUrl(url));
    }
    ui->btBuy->setEnabled(true);
}

void SubscriptionPurchaseWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QWidget::changeEvent(event);
}
