#include "statustext.h"

#include <QDateTime>
#include <QLocale>

namespace {

QString bytesText(qint64 bytes)
{
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

} // namespace

QStringList StatusText::describe(const QJsonObject& status)
{
    const QString state = status.value(QStringLiteral("state")).toString();
    const QString location = status.value(QStringLiteral("location")).toString();
    const QString protocol = status.value(QStringLiteral("protocol")).toString();
    const QString address = status.value(QStringLiteral("tunnelAddress")).toString();
    const bool killSwitch = status.value(QStringLiteral("killSwitch")).toBool();
    const QString onOff = killSwitch ? tr("on") : tr("off");
    QString summary;
    if (state == QLatin1String("connected")) {
        summary = tr("connected to %1 over %2, tunnel address %3, kill switch %4")
                      .arg(location, protocol, address.isEmpty() ? tr("unknown") : address, onOff);
    } else if (location.isEmpty()) {
        summary = tr("%1, kill switch %2").arg(state, onOff);
    } else {
        summary = tr("%1 (%2), kill switch %3").arg(state, location, onOff);
    }
    QStringList lines{summary};
    if (status.value(QStringLiteral("killSwitchBlocking")).toBool()) {
        lines << tr("Internet blocked by the kill switch until you connect");
    }
    const QDateTime since =
        QDateTime::fromString(status.value(QStringLiteral("since")).toString(), Qt::ISODate);
    if (since.isValid()) {
        lines << tr("since %1").arg(since.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    }
    if (state == QLatin1String("connected")) {
        lines << tr("traffic %1 in, %2 out")
                     .arg(bytesText(status.value(QStringLiteral("bytesIn")).toVariant().toLongLong()),
                          bytesText(status.value(QStringLiteral("bytesOut")).toVariant().toLongLong()));
    }
    const QString error = status.value(QStringLiteral("lastError")).toString();
    if (!error.isEmpty() && state != QLatin1String("connected")) {
        lines << tr("last error: %1").arg(error);
    }
    return lines;
}
