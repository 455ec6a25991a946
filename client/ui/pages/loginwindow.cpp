#include "loginwindow.h"
#include "ui_loginwindow.h"

#include "custommessagebox.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>

LoginWindow::LoginWindow(QWidget* parent) : QWidget(parent), ui(new Ui::LoginWindow)
{
    ui->setupUi(this);
    connect(ui->pbSignIn, &QPushButton::clicked, this, &LoginWindow::onSignIn);
    connect(ui->edLogin, &QLineEdit::returnPressed, this, &LoginWindow::onEnterLoginPressed);
    connect(ui->edPassword, &QLineEdit::returnPressed, this, &LoginWindow::onEnterPasswordPressed);
    connect(ui->pbCancel, &QPushButton::clicked, this, &LoginWindow::onCancel);
    // Its place is kept, so that the fields do not move when it comes.
    QSizePolicy policy = ui->pbCancel->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    ui->pbCancel->setSizePolicy(policy);
}

LoginWindow::~LoginWindow()
{
    restoreCursor();
}

void LoginWindow::onSignIn()
{
    // One sign-in at a time: Enter in the password field still reaches here.
    if (busy_) {
        return;
    }
    const QString login = ui->edLogin->text();
    const QString password = ui->edPassword->text();
    if (login.isEmpty() || password.isEmpty()) {
        CustomMessageBox::information(this, QStringLiteral("Kestrova"),
                                      tr("You must enter username and password to sign in."));
        return;
    }
    if (!waitCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        waitCursor_ = true;
    }
    setBusy(true);
    emit signedIn(login, password);
}

void LoginWindow::setBusy(bool busy)
{
    if (busy_ == busy) {
        return;
    }
    busy_ = busy;
    const bool hadFocus = ui->pbSignIn->hasFocus();
    ui->pbSignIn->setEnabled(!busy);
    ui->pbCancel->setVisible(busy);
    if (busy && hadFocus) {
        ui->pbCancel->setFocus();
    }
    retranslate();
}

void LoginWindow::onCancel()
{
    if (!busy_) {
        return;
    }
    restoreCursor();
    emit signInCancelled();
}

void LoginWindow::selectPassword()
{
    ui->edPassword->setFocus();
    ui->edPassword->selectAll();
}

void LoginWindow::restoreCursor()
{
    // Only our own wait cursor: the override cursors form a stack shared with
    // the rest of the program.
    if (waitCursor_) {
        QApplication::restoreOverrideCursor();
        waitCursor_ = false;
    }
    setBusy(false);
}

void LoginWindow::onEnterLoginPressed()
{
    ui->edPassword->setFocus();
}

void LoginWindow::onEnterPasswordPressed()
{
    onSignIn();
}

void LoginWindow::clear()
{
    ui->edLogin->clear();
    ui->edPassword->clear();
}

void LoginWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    ui->edLogin->clearFocus();
    ui->edPassword->clearFocus();
}

void LoginWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        retranslate();
    }
    QWidget::changeEvent(event);
}

void LoginWindow::retranslate()
{
    ui->pbSignIn->setText(busy_ ? tr("Signing in...") : tr("Login"));
}

void LoginWindow::keyPressEvent(QKeyEvent* event)
{
    // A push button outside a dialog answers Space only; Enter on the focused
    // Login button signs in as well.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && ui->pbSignIn->hasFocus()) {
        onSignIn();
        return;
    }
    if (event->key() == Qt::Key_Escape && busy_) {
        onCancel();
        return;
    }
    QWidget::keyPressEvent(event);
}
