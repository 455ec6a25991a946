#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class LoginWindow;
}

// The sign-in page: user name, password and the Login button.
class LoginWindow : public QWidget
{
    Q_OBJECT

public:
    explicit LoginWindow(QWidget* parent);
    ~LoginWindow() override;

    // Called when the service answered: the wait cursor of a sign-in goes away.
    void restoreCursor();
    void clear();

signals:
    void signedIn(QString login, QString password);

public slots:
    void onSignIn();
    void onEnterLoginPressed();
    void onEnterPasswordPressed();
    void onLoginSelectionChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::LoginWindow> ui;
    bool waitCursor_ = false;
};
