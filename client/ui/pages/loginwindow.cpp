#include "loginwindow.h"
#include "ui_loginwindow.h"

#include "custommessagebox.h"

#include <QApplication>
#include <QEvent>

LoginWindow::LoginWindow(QWidget* parent) : QWidget(parent), ui(new Ui::LoginWindow)
{
    ui->setupUi(this);
    connect(ui->pbSignIn, &QPushButton::clicked, this, &LoginWindow::onSignIn);
    connect(ui->edLogin, &QLineEdit::returnPressed, this, &LoginWindow::onEnterLoginPressed);
    connect(ui->edPassword, &QLineEdit::returnPressed, this, &LoginWindow::onEnterPasswordPressed);
    connect(ui->edLogin, &QLineEdit::selectionChanged, this, &LoginWindow::onLoginSelectionChanged);
}

LoginWindow::~LoginWindow()
{
    restoreCursor();
}

void LoginWindow::onSignIn()
{
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
    emit signedIn(login, password);
}

void LoginWindow::restoreCursor()
{
    // Only our own wait cursor: the override cursors form a stack shared with
    // the rest of the program.
    if (waitCursor_) {
        QApplication::restoreOverrideCursor();
        waitCursor_ = false;
    }
}

void LoginWindow::onEnterLoginPressed()
{
    ui->edPassword->setFocus();
}

void LoginWindow::onEnterPasswordPressed()
{
    onSignIn();
}

void LoginWindow::onLoginSelectionChanged() {}

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
    }
    QWidget::changeEvent(event);
}
