#include "subscription.h"

#include <QStringList>

namespace {
const QString Separator = QStringLiteral("||");
}

Subscription::Subscription(QString login, QString password, QDateTime expiresTime)
    : m_login(std::move(login)), m_password(std::move(password)), m_expiresTime(std::move(expiresTime))
{
}

QString Subscription::toCacheText(bool withPassword) const
{
    return QStringLiteral("%1||%2||%3")
        .arg(m_login, withPassword ? m_password : QString(), m_expiresTime.toString(Qt::ISODate));
}

std::optional<Subscription> Subscription::fromCacheText(const QString& text)
{
    const QStringList parts = text.split(Separator, Qt::KeepEmptyParts);
    if (parts.size() != 3) {
        return std::nullopt;
    }
    return Subscription(parts.at(0), parts.at(1), QDateTime::fromString(parts.at(2), Qt::ISODate));
}

Subscription Subscription::withPassword(QString password) const
{
    return Subscription(m_login, std::move(password), m_expiresTime);
}
