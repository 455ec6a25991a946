#include "showlog.h"
#include "ui_showlog.h"

#include <QClipboard>
#include <QDateTime>
#include <QEvent>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTimer>

namespace {

const QLatin1String kLogPrefix(">LOG:");
constexpr int kCopiedShownMs = 2000;

// The record without the management interface's ">LOG:" in front.
QString stripPrefix(const QString& line)
{
    return line.startsWith(kLogPrefix, Qt::CaseInsensitive) ? line.mid(kLogPrefix.size()) : line;
}

} // namespace

ShowLog::ShowLog(QWidget* parent) : QDialog(parent), ui(new Ui::ShowLog), copiedTimer(new QTimer(this))
{
    ui->setupUi(this);
    copiedTimer->setSingleShot(true);
    copiedTimer->setInterval(kCopiedShownMs);
    connect(copiedTimer, &QTimer::timeout, this, [this] { ui->btCopy->setText(tr("Copy")); });
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint & ~Qt::WindowMaximizeButtonHint) |
                   Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    connect(ui->btCopy, &QPushButton::clicked, this, &ShowLog::onCopy);
    connect(ui->btClose, &QPushButton::clicked, this, &QDialog::close);
}

ShowLog::~ShowLog() = default;

QString ShowLog::logRecordText(const QString& line)
{
    QString text = stripPrefix(line);
    const int flagsEnd = text.indexOf(QLatin1Char(','), text.indexOf(QLatin1Char(',')) + 1);
    if (text.indexOf(QLatin1Char(',')) >= 0 && flagsEnd >= 0) {
        text = text.mid(flagsEnd + 1);
    }
    text.remove('\r');
    text.remove('\n');
    return text;
}

QString ShowLog::logRecordTime(const QString& line)
{
    const QStringList fields = stripPrefix(line).split(',');
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
    QScrollBar* bar = ui->textBrowser->verticalScrollBar();
    const bool atEnd = !isVisible() || bar->value() == bar->maximum();
    ui->textBrowser->append(html + logRecordText(line).toHtmlEscaped());
    // Follows the newest line, unless the user has scrolled up to read.
    if (atEnd) {
        scrollToEnd();
    }
}

void ShowLog::scrollToEnd()
{
    ui->textBrowser->verticalScrollBar()->setValue(ui->textBrowser->verticalScrollBar()->maximum());
}

void ShowLog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The newest line is what the user opens the window for; once more after
    // the text has been laid out at the window's width.
    scrollToEnd();
    QTimer::singleShot(0, this, &ShowLog::scrollToEnd);
}

void ShowLog::onCopy()
{
    QGuiApplication::clipboard()->setText(plainText());
    ui->btCopy->setText(tr("Copied"));
    copiedTimer->start();
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
        if (copiedTimer->isActive()) {
            ui->btCopy->setText(tr("Copied"));
        }
    }
    QDialog::changeEvent(event);
}
