#include "log.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextStream>
#include <QUrl>

QMutex ALog::mutex_;

namespace {

// Worker threads (ping runners, profile generation) log too; one lock keeps
// their lines whole.
QMutex& handlerMutex()
{
    static QMutex mutex;
    return mutex;
}

const char* typeTag(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "DBG";
    case QtWarningMsg:
        return "WRN";
    case QtCriticalMsg:
        return "CRT";
    case QtFatalMsg:
        return "FTL";
    case QtInfoMsg:
        break;
    }
    return "";
}

bool appendLine(const QString& path, const QString& line)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return false;
    // One write call per line, so the line lands in one piece.
    file.write(line.toUtf8());
    file.close();
    return true;
}

QString maskUrls(const QString& text)
{
    static const QRegularExpression url(QStringLiteral("[A-Za-z][A-Za-z0-9+.-]*://[^\\s\"'<>]+"));
    QString out;
    int last = 0;
    auto it = url.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += text.midRef(last, m.capturedStart() - last);
        const QString found = m.captured();
        if (found.contains(QLatin1String("pass"), Qt::CaseInsensitive)) {
            const QString bare =
                QUrl(found)
                    .adjusted(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment)
                    .toString();
            if (bare.isEmpty() || bare.contains(QLatin1String("pass"), Qt::CaseInsensitive))
                out += QStringLiteral("<url hidden>");
            else
                out += bare + QStringLiteral("?<hidden>");
        } else {
            out += found;
        }
        last = m.capturedEnd();
    }
    out += text.midRef(last);
    return out;
}

} // namespace

QString maskSecrets(const QString& text)
{
    const bool hasPass = text.contains(QLatin1String("pass"), Qt::CaseInsensitive);
    const bool hasKey = text.contains(QLatin1String("PRIVATE KEY"), Qt::CaseInsensitive) ||
                        text.contains(QLatin1String("<key"), Qt::CaseInsensitive);
    if (!hasPass && !hasKey)
        return text;

    QString out = text;
    if (hasKey) {
        static const QRegularExpression pem(
            QStringLiteral("-----BEGIN [A-Z0-9 ]*PRIVATE KEY-----.*?(-----END [A-Z0-9 ]*PRIVATE KEY-----|$)"),
            QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
        out.replace(pem, QStringLiteral("<private key hidden>"));
        static const QRegularExpression keySection(QStringLiteral("(<key\\b[^>]*>).*?(</key>|$)"),
                                                   QRegularExpression::DotMatchesEverythingOption |
                                                       QRegularExpression::CaseInsensitiveOption);
        out.replace(keySection, QStringLiteral("\\1<hidden>\\2"));
    }
    if (hasPass) {
        out = maskUrls(out);
        // name=value, name: value and name="value" where the name carries "pass".
        static const QRegularExpression named(
            QStringLiteral(
                "([A-Za-z0-9_.-]*pass[A-Za-z0-9_.-]*\"?\\s*[=:]\\s*)(\"[^\"]*\"|'[^']*'|[^\\s&;,]+)"),
            QRegularExpression::CaseInsensitiveOption);
        out.replace(named, QStringLiteral("\\1***"));
    }
    return out;
}

void myMessageOutput(QtMsgType type, const QMessageLogContext& context, const QString& msg)
{
    Q_UNUSED(context);
    QString line = QDateTime::currentDateTime().toString(QStringLiteral("[dd.MM.yyyy hh:mm:ss.zzz] "));
    const char* tag = typeTag(type);
    if (*tag) {
        line += QLatin1String(tag);
        line += QLatin1Char(' ');
    }
    line += maskSecrets(msg);
    line += QLatin1Char('\n');

    QMutexLocker lock(&handlerMutex());
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir))
        return;
    appendLine(dir + QStringLiteral("/log.txt"), line);
}

void ALog::Out(QString msg)
{
    const QString line = QDateTime::currentDateTime().toString(QStringLiteral("[hh:mm:ss] ")) +
                         maskSecrets(msg) + QLatin1Char('\n');
    QMutexLocker lock(&mutex_);
    appendLine(QCoreApplication::applicationDirPath() + QStringLiteral("/log.txt"), line);
}
