#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// One VPN login of the account, with its password and the end of its term.
class Subscription
{
public:
    Subscription() = default;
    Subscription(QString login, QString password, QDateTime expiresTime);

    QString login() const { return m_login; }
    QString password() const { return m_password; }
    QDateTime expiresTime() const { return m_expiresTime; }

    // The cached text form "login||password||expiry" (expiry as a local ISO
    // date-time, empty when invalid); where a keyring holds the password, the
    // field stays empty.
    QString toCacheText(bool withPassword = true) const;
    // Entries that do not split into exactly three parts are not subscriptions.
    static std::optional<Subscription> fromCacheText(const QString& text);
    Subscription withPassword(QString password) const;

private:
    QString m_login;
    QString m_password;
    QDateTime m_expiresTime;
};
