#include "selectionaccountwindow.h"
#include "ui_selectionaccountwindow.h"

#include "mirroredicon.h"

#include <QEvent>
#include <QRadioButton>

#include <algorithm>

SelectionAccountWindow::SelectionAccountWindow(QWidget* parent)
    : QWidget(parent), ui(new Ui::SelectionAccountWindow)
{
    ui->setupUi(this);
    new MirroredIcon(ui->pbBack);
    setAttribute(Qt::WA_StyledBackground, true);
    connect(ui->btContinue, &QPushButton::clicked, this, &SelectionAccountWindow::onContinueClicked);
    connect(ui->pbBack, &QPushButton::clicked, this, &SelectionAccountWindow::back);
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
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &QRadioButton::toggled, this, &SelectionAccountWindow::updateContinue);
        ui->usersLayout->insertWidget(insertAt + buttons_.size(), button);
        buttons_.append(button);
    }
    // Nothing to continue with until a login is chosen.
    updateContinue();
}

void SelectionAccountWindow::updateContinue()
{
    ui->btContinue->setEnabled(
        std::any_of(buttons_.begin(), buttons_.end(), [](const QRadioButton* b) { return b->isChecked(); }));
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
