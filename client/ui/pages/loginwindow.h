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

    // Called when the service answered: the wait cursor and the busy state of
    // a sign-in go away.
    void restoreCursor();
    void clear();
    // While a sign-in waits for the service: the Login button says so and
    // takes no second click, and Cancel (or Esc) gives up.
    void setBusy(bool busy);
    bool isBusy() const { return busy_; }
    // The service refused the password: ready to type it again.
    void selectPassword();

signals:
    void signedIn(QString login, QString password);
    void signInCancelled();

public slots:
    void onSignIn();
    void onEnterLoginPressed();
    void onEnterPasswordPressed();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onCancel();
    void retranslate();

    std::unique_ptr<Ui::LoginWindow> ui;
    bool waitCursor_ = false;
    bool busy_ = false;
};
