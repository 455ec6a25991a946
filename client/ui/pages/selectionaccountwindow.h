#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>
#include <memory>

class QRadioButton;

namespace Ui {
class SelectionAccountWindow;
}

// Lets the user pick one of the account's VPN logins.
class SelectionAccountWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SelectionAccountWindow(QWidget* parent);
    ~SelectionAccountWindow() override;

    void setUsers(QStringList users);

signals:
    void continueAuth(QString login);

public slots:
    void onContinueClicked();

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::SelectionAccountWindow> ui;
    QList<QRadioButton*> buttons_;
};
