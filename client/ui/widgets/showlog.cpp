#include "showlog.h"
#include "ui_showlog.h"

#include <QEvent>

ShowLog::ShowLog(QWidget* parent) : QDialog(parent), ui(new Ui::ShowLog)
{
    ui->setupUi(this);
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint & ~Qt::WindowMaximizeButtonHint) |
                   Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
}

ShowLog::~ShowLog() = default;

QString ShowLog::logRecordText(const QString& line)
{
    QStringList fields = line.split(',');
    if (fields.size() > 2) {
        fields.erase(fields.begin(), fields.begin() + 2);
    }
    QString text = fields.join(QString());
    text.remove('\r');
    text.remove('\n');
    return text;
}

void ShowLog::onUpdateLog(QString line)
{
    ui->textBrowser->append(logRecordText(line));
}

void ShowLog::clear()
{
    ui->textBrowser->clear();
}

QString ShowLog::plainText() const
{
    return ui->textBrowser->toPlainText();
}

void ShowLog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QDialog::changeEvent(event);
}
