#include "servercommands.h"

#include "accountcommands.h"
#include "clioutput.h"
#include "controlprotocol.h"
#include "localsettings.h"
#include "networkmanager.h"
#include "pingmanager.h"

#include <QEventLoop>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>
#include <QTimer>

QString ServerCommands::favoritesKey()
{
    QString label = LocalSettings::instance()->value(Keys::OvpnProtocol).toString();
    if (label.isEmpty()) {
        label = QStringLiteral("tcp");
    }
    return favoritesSettingsKey(getVpnProtocolByLabel(label).type);
}

QStringList ServerCommands::storedFavorites()
{
    // A reset store holds the empty text here, which reads as one empty entry.
    QStringList list = LocalSettings::instance()->value(favoritesKey()).toStringList();
    list.removeAll(QString());
    return list;
}

std::optional<ServerInfo> ServerCommands::find(const QVector<ServerInfo>& servers, const QString& name)
{
    const QString wanted = name.trimmed();
    for (const ServerInfo& server : servers) {
        if (server.name == wanted) {
            return server;
        }
    }
    for (const ServerInfo& server : servers) {
        if (server.name.compare(wanted, Qt::CaseInsensitive) == 0) {
            return server;
        }
    }
    return std::nullopt;
}

QString ServerCommands::countryName(const QString& flag)
{
    // Qt knows countries by enum, not by code: index its locales once.
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> map;
        for (const QLocale& locale :
             QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyCountry)) {
            const QString code = locale.name().section(QLatin1Char('_'), 1, 1);
            if (code.size() == 2 && !map.contains(code)) {
                map.insert(code, QLocale::countryToString(locale.country()));
            }
        }
        return map;
    }();
    const QString code = flag.toUpper();
    return names.value(code, code);
}

QString ServerCommands::kindLabel(const ServerInfo& server)
{
    return server.type == ServerInfo::Double ? QStringLiteral("double") : QStringLiteral("standard");
}

int ServerCommands::list(const QString& text, bool favoritesOnly)
{
    if (!AccountCommands::signedIn()) {
        return out_.error(ControlProtocol::NotSignedIn,
                          tr("Not signed in. Sign in with: kestrova-cli login USER"));
    }
    NetworkManager* api = AccountCommands::api();
    // The account cache starts a latency sweep as it loads; wait for it a
    // little, and show what has come back by then.
    QEventLoop loop;
    QTimer::singleShot(kPingWaitMs, &loop, &QEventLoop::quit);
    QObject::connect(api->pingManager(), &PingManager::pingServersFinished, &loop, &QEventLoop::quit);
    loop.exec();
    QHash<QString, int> pings;
    for (const ServerInfo& measured : api->pingManager()->servers()) {
        pings.insert(measured.name, measured.ping);
    }
    const QMap<QString, int> doubleExtra = api->doubleServerPings();

    const QStringList favorites = storedFavorites();
    QJsonArray array;
    QList<QStringList> rows{{tr("NAME"), tr("LOCATION"), tr("KIND"), tr("LATENCY"), QString()}};
    for (const ServerInfo& server : api->servers()) {
        const bool favorite = favorites.contains(identifToSettings(ServerIdentif(server.user, server.name)));
        if (favoritesOnly && !favorite) {
            continue;
        }
        const QString location = countryName(server.flag);
        if (!text.isEmpty() && !server.name.contains(text, Qt::CaseInsensitive) &&
            !location.contains(text, Qt::CaseInsensitive)) {
            continue;
        }
        int ping = pings.value(server.name, server.ping);
        if (ping > 0 && server.type == ServerInfo::Double) {
            ping += doubleExtra.value(server.name);
        }
        QJsonObject entry{{QStringLiteral("name"), server.name},
                          {QStringLiteral("location"), location},
                          {QStringLiteral("country"), server.flag.toLower()},
                          {QStringLiteral("kind"), kindLabel(server)},
                          {QStringLiteral("latencyMs"), ping > 0 ? QJsonValue(ping) : QJsonValue()},
                          {QStringLiteral("favorite"), favorite}};
        array.append(entry);
        rows.append({server.name, location, kindLabel(server),
                     ping > 0 ? tr("%1 ms").arg(ping) : QStringLiteral("-"),
                     favorite ? QStringLiteral("*") : QString()});
    }
    if (out_.json()) {
        out_.document({{QStringLiteral("servers"), array}});
    } else if (array.isEmpty()) {
        out_.line(favoritesOnly ? tr("No favourite locations.") : tr("No locations match."));
    } else {
        out_.table(rows);
    }
    return ControlProtocol::Ok;
}

int ServerCommands::favorite(bool add, const QString& name)
{
    if (!AccountCommands::signedIn()) {
        return out_.error(ControlProtocol::NotSignedIn,
                          tr("Not signed in. Sign in with: kestrova-cli login USER"));
    }
    const std::optional<ServerInfo> server = find(AccountCommands::api()->servers(), name);
    if (!server) {
        return out_.error(ControlProtocol::NotFound, tr("No location named %1.").arg(name));
    }
    const QString entry = identifToSettings(ServerIdentif(server->user, server->name));
    QStringList favorites = storedFavorites();
    if (add && !favorites.contains(entry)) {
        favorites.append(entry);
    } else if (!add) {
        favorites.removeAll(entry);
    }
    LocalSettings::instance()->setValue(favoritesKey(), favorites);
    if (!out_.json()) {
        out_.line(add ? tr("%1 is a favourite.").arg(server->name)
                      : tr("%1 is no longer a favourite.").arg(server->name));
    } else {
        out_.document({{QStringLiteral("name"), server->name}, {QStringLiteral("favorite"), add}});
    }
    return ControlProtocol::Ok;
}
