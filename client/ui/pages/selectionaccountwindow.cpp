#include "selectionaccountwindow.h"
#include "ui_selectionaccountwindow.h"

#include <QEvent>
#include <QRadioButton>

SelectionAccountWindow::SelectionAccountWindow(QWidget* parent)
    : QWidget(parent), ui(new Ui::SelectionAccountWindow)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_StyledBackground, true);
    connect(ui->btContinue, &QPushButton::clicked, this, &SelectionAccountWindow::onContinueClicked);
}

SelectionAccountWindow::~SelectionAccountWindow() = default;

void SelectionAccountWindow::setUsers(QStringList users)
{
    qDeleteAll(buttons_);
    buttons_.clear();
    // Keep the stretch last so the logins stay at the top.
    const int insertAt = ui->usersLayout->count() - 1;
    for (const QString& user : users) {
        auto* button = new QRadioButton(user, ui->usersWidget);
        button->setStyleSheet("font: 14px \"Arial\"; color: #808080;");
        button->setCursor(Qt::PointingHandCursor);
        ui->usersLayout->insertWidget(insertAt + buttons_.size(), button);
        buttons_.append(button);
    }
}

void SelectionAccountWindow::onContinueClicked()
{
    for (QRadioButton* button : buttons_) {
        if (button->isChecked()) {
            emit continueAuth(button->text());
            return;
        }
    }
}

void SelectionAccountWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QWidget::changeEvent(event);
}
