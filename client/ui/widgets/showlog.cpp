#include "showlog.h"
#include "ui_showlog.h"

#include <QClipboard>
#include <QDateTime>
#include <QEvent>
#include <QGuiApplication>

ShowLog::ShowLog(QWidget* parent) : QDialog(parent), ui(new Ui::ShowLog)
{
    ui->setupUi(this);
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint & ~Qt::WindowMaximizeButtonHint) |
                   Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    connect(ui->btCopy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(plainText()); });
    connect(ui->btClose, &QPushButton::clicked, this, &QDialog::close);
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

QString ShowLog::logRecordTime(const QString& line)
{
    const QStringList fields = line.split(',');
    bool isNumber = false;
    const qint64 secs = fields.value(0).toLongLong(&isNumber);
    if (fields.size() < 3 || !isNumber) {
        return QString();
    }
    return QDateTime::fromSecsSinceEpoch(secs).toString(QStringLiteral("hh:mm:ss"));
}

void ShowLog::onUpdateLog(QString line)
{
    const QString time = logRecordTime(line);
    QString html = QStringLiteral("<span style=\"color: #9b9b9b;\">%1</span>").arg(time);
    if (!time.isEmpty()) {
        html += QStringLiteral("&nbsp;&nbsp;");
    }
    ui->textBrowser->append(html + logRecordText(line).toHtmlEscaped());
}

void ShowLog::clear()
{
    ui->textBrowser->clear();
}

QString ShowLog::plainText() const
{
    return ui->textBrowser->toPlainText().replace(QChar::Nbsp, QLatin1Char(' '));
}

void ShowLog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QDialog::changeEvent(event);
}
