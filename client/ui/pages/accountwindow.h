#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class AccountWindow;
}

// The account page: the chosen VPN login, its expiry, renew and buy links, and
// the ways back (previous page, change of VPN login, log out).
class AccountWindow : public QWidget
{
    Q_OBJECT

public:
    explicit AccountWindow(QWidget* parent);
    ~AccountWindow() override;

signals:
    void back();
    void returnToSignUp();
    void accountChanged();

public slots:
    void onBuyButtonClicked();
    void onRenewButtonClicked();
    void goBuyLink(QString url);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refresh();

    std::unique_ptr<Ui::AccountWindow> ui;
};
