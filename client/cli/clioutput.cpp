#include "clioutput.h"

#include <QJsonDocument>

void CliOutput::line(const QString& text) const
{
    std::fputs(text.toLocal8Bit().constData(), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

void CliOutput::table(const QList<QStringList>& rows) const
{
    QVector<int> widths;
    for (const QStringList& row : rows) {
        for (int i = 0; i < row.size(); ++i) {
            if (widths.size() <= i) {
                widths.append(0);
            }
            widths[i] = qMax(widths[i], row[i].size());
        }
    }
    for (const QStringList& row : rows) {
        QString text;
        for (int i = 0; i < row.size(); ++i) {
            text += i + 1 < row.size() ? row[i].leftJustified(widths[i] + 2) : row[i];
        }
        line(text);
    }
}

void CliOutput::document(const QJsonObject& object) const
{
    std::fputs(QJsonDocument(object).toJson(QJsonDocument::Indented).constData(), out_);
    std::fflush(out_);
}

int CliOutput::error(int code, const QString& text) const
{
    std::fputs(QStringLiteral("kestrova-cli: %1\n").arg(text).toLocal8Bit().constData(), err_);
    std::fflush(err_);
    return code;
}
