#include "progressdlg.h"
#include "ui_progressdlg.h"

#include <QEvent>

ProgressDlg::ProgressDlg(QWidget* parent) : QDialog(parent), ui(new Ui::ProgressDlg)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    connect(ui->pbCancel, &QPushButton::clicked, this, &ProgressDlg::reject);
}

// Esc and the title bar's close button end here too: a dialog the user has
// closed must not leave a download running unseen.
void ProgressDlg::reject()
{
    QDialog::reject();
    emit cancel();
}

ProgressDlg::~ProgressDlg() = default;

void ProgressDlg::setProgress(float value)
{
    ui->progressBar->setValue(static_cast<int>(value * 100));
}

int ProgressDlg::percent() const
{
    return ui->progressBar->value();
}

void ProgressDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QDialog::changeEvent(event);
}
