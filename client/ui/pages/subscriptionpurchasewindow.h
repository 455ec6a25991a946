#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class SubscriptionPurchaseWindow;
}

// Shown when the account has no subscription: a link to buy one, and log out.
class SubscriptionPurchaseWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SubscriptionPurchaseWindow(QWidget* parent);
    ~SubscriptionPurchaseWindow() override;

signals:
    void returnToSignUp();

public slots:
    void onBuyButtonClicked();
    void goBuyLink(QString url);

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::SubscriptionPurchaseWindow> ui;
};
