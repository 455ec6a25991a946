#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Builds service replies the way the service writes them: values in Base64.
namespace ApiReply {

inline QString b64(const QString& text)
{
    return QString::fromLatin1(text.toUtf8().toBase64());
}

inline QString element(const QString& tag, const QString& text)
{
    return QStringLiteral("<%1>%2</%1>").arg(tag, b64(text));
}

struct Vpn
{
    QString name;
    QString ip;
    QString user;
    QString tcp = QStringLiteral("443");
    QString udp = QStringLiteral("1194");
    QString ssl = QStringLiteral("8443");
    QString group = QStringLiteral("1");
    QString flag = QStringLiteral("fr");
    QString sni = QStringLiteral("cdn.example");
};

inline QString vpn(const Vpn& v)
{
    QString attrs =
        QStringLiteral(R"(name="%1" ip="%2" tcp="%3" udp="%4" ssl="%5" flag="%6" user="%7" dns="%8")")
            .arg(b64(v.name), b64(v.ip), b64(v.tcp), b64(v.udp), b64(v.ssl), b64(v.flag), b64(v.user),
                 b64(QStringLiteral("203.0.113.53")));
    if (!v.group.isNull()) {
        attrs += QStringLiteral(R"( group="%1")").arg(b64(v.group));
    }
    attrs += QStringLiteral(R"( sni="%1")").arg(b64(v.sni));
    return QStringLiteral("<vpn %1/>").arg(attrs);
}

inline QString file(const QString& user, const QString& pass, qint64 exp)
{
    return QStringLiteral(R"(<file user="%1" pass="%2" exp="%3"/>)")
        .arg(b64(user), b64(pass), b64(QString::number(exp)));
}

inline QString userValue(const QString& tag, const QString& user, const QString& value)
{
    return QStringLiteral(R"(<%1 user="%2">%3</%1>)").arg(tag, b64(user), b64(value));
}

inline QString upgrade(const QString& ver, const QString& link)
{
    QString children;
    if (!ver.isNull()) {
        children += element(QStringLiteral("ver"), ver);
    }
    if (!link.isNull()) {
        children += element(QStringLiteral("link"), link);
    }
    return QStringLiteral("<upgrade>%1</upgrade>").arg(children);
}

inline QByteArray document(const QStringList& children)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<data>%1</data>")
        .arg(children.join(QString()))
        .toUtf8();
}

} // namespace ApiReply
