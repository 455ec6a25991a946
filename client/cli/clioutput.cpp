#include "clioutput.h"

#include "controlprotocol.h"
#include "statustext.h"

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

void CliOutput::status(const QJsonObject& status) const
{
    if (json_) {
        document(status);
        return;
    }
    for (const QString& text : StatusText::describe(status)) {
        line(text);
    }
}

void CliOutput::progress(const QJsonObject& event) const
{
    const QString text = event.value(QStringLiteral("text")).toString();
    if (!json_ && !text.isEmpty()) {
        std::fprintf(err_, "%s\n", text.toLocal8Bit().constData());
        std::fflush(err_);
    }
}

int CliOutput::reply(const QJsonObject& reply) const
{
    if (!reply.value(ControlProtocol::OkField).toBool()) {
        const int code = reply.value(ControlProtocol::CodeField).toInt(ControlProtocol::Failed);
        return error(code == ControlProtocol::Ok ? ControlProtocol::Failed : code,
                     reply.value(ControlProtocol::ErrorField).toString());
    }
    status(reply.value(QStringLiteral("status")).toObject());
    return ControlProtocol::Ok;
}
