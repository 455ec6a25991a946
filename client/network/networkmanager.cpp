#include "networkmanager.h"

#include "constants.h"
#include "getmanager.h"
#include "localsettings.h"
#include "pingmanager.h"
#include "replydocument.h"
#include "secretstore.h"

#include <QDataStream>
#include <QDebug>
#include <QHash>
#include <QMutexLocker>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {

// Reply values travel as Base64 text; bad Base64 gives empty or partial bytes.
QByteArray decodeBytes(const QString& text)
{
    return QByteArray::fromBase64(text.trimmed().toLatin1());
}

QString decodeText(const QString& text)
{
    return QString::fromUtf8(decodeBytes(text));
}

// The service's values may carry stray blanks or a line end around the Base64
// text's content (" 443", "192.0.2.10\n"): those must not fail the checks
// that the profile and the kill switch run on them later.
QString decodeTrimmed(const QString& text)
{
    return decodeText(text).trimmed();
}

QStringList portList(const QString& text)
{
    QStringList ports = text.split(QLatin1Char(','));
    for (QString& port : ports) {
        port = port.trimmed();
    }
    if (ports.isEmpty() || ports.first() == QLatin1String("0")) {
        return {};
    }
    return ports;
}

// A reply that holds no "auth" answer still carries the service's verdict when
// it refuses this client version or reports an error before any account data.
std::optional<std::pair<NetworkManager::ApiError, QString>>
verdictWithoutAuth(const QVector<ReplyElement>& reply)
{
    for (const ReplyElement& e : reply) {
        if (e.tag == QLatin1String("ver") && decodeText(e.text) != QLatin1String("true")) {
            return std::make_pair(NetworkManager::BadVersion, QString());
        }
        if (e.tag == QLatin1String("error")) {
            const QString text = decodeText(e.text);
            return std::make_pair(text == QLatin1String("nosub") ? NetworkManager::NoSubscription
                                                                 : NetworkManager::RequestFailed,
                                  text);
        }
    }
    return std::nullopt;
}

bool sweepOnLoad = true;

} // namespace

void NetworkManager::setSweepOnLoad(bool sweep)
{
    sweepOnLoad = sweep;
}

NetworkManager* NetworkManager::instance()
{
    static NetworkManager* self = new NetworkManager();
    return self;
}

NetworkManager::NetworkManager(int requestTimeoutMs) : QObject(nullptr), pinger(new PingManager(this))
{
    qRegisterMetaType<NetworkManager::ApiError>("NetworkManager::ApiError");
    connect(pinger, &PingManager::pingServersFinished, this, &NetworkManager::onPingServersFinished);
    loadCachedData();
    authChannel = new GetManager(requestTimeoutMs, this);
    updateChannel = new GetManager(requestTimeoutMs, this);
    timezoneChannel = new GetManager(requestTimeoutMs, this);
    doubleChannel = new GetManager(requestTimeoutMs, this);
    buyLinkChannel = new GetManager(requestTimeoutMs, this);
}

NetworkManager::~NetworkManager()
{
    pinger->stopPing();
    saveCachedData();
}

QString NetworkManager::apiLink()
{
    return Constants::apiUrl();
}

QString NetworkManager::siteApiLink()
{
    return Constants::siteUrl();
}

QUrl NetworkManager::connectUrl(QList<QPair<QString, QString>> const& extraItems) const
{
    const QList<QPair<QString, QString>> items =
        QList<QPair<QString, QString>>{{QStringLiteral("ver"), Constants::VersionText},
                                       {QStringLiteral("login"), login},
                                       {QStringLiteral("pass"), password}} +
        extraItems;
    // Every reserved character is encoded, "+", "&" and "=" included, so that
    // a password holding them reaches the service as typed.
    QString query;
    for (const auto& item : items) {
        if (!query.isEmpty()) {
            query += QLatin1Char('&');
        }
        query += QString::fromLatin1(QUrl::toPercentEncoding(item.first)) + QLatin1Char('=') +
                 QString::fromLatin1(QUrl::toPercentEncoding(item.second));
    }
    QUrl url(Constants::ApiConnectPath.arg(apiLink()));
    url.setQuery(query, QUrl::StrictMode);
    return url;
}

void NetworkManager::authRequest(QString const& user, QString const& password)
{
    qDebug() << "NetworkManager::authRequest";
    login = user;
    this->password = password;
    connect(authChannel, &GetManager::finished, this, &NetworkManager::slotAuthFinished,
            Qt::UniqueConnection);
    authChannel->getAsync(connectUrl({{QStringLiteral("act"), QStringLiteral("wizardsetup")}}));
}

void NetworkManager::cancelAuthRequest()
{
    qDebug() << "NetworkManager::cancelAuthRequest";
    disconnect(authChannel, &GetManager::finished, this, &NetworkManager::slotAuthFinished);
    authChannel->abort();
    authChannel->cancelProbe();
}

bool NetworkManager::authServiceReached() const
{
    return authChannel->serviceReached;
}

void NetworkManager::serverListRequest()
{
    qDebug() << "NetworkManager::serverListRequest";
    connect(authChannel, &GetManager::finished, this, &NetworkManager::slotServerListFinished,
            Qt::UniqueConnection);
    authChannel->getAsync(connectUrl({{QStringLiteral("act"), QStringLiteral("wizardsetup")}}));
}

void NetworkManager::programUpdateRequest()
{
    qDebug() << "NetworkManager::programUpdateRequest";
    connect(updateChannel, &GetManager::finished, this, &NetworkManager::slotProgramUpdateFinished,
            Qt::UniqueConnection);
    updateChannel->getAsync(connectUrl({{QStringLiteral("act"), QStringLiteral("wizardsetup")},
                                        {QStringLiteral("os"), Constants::PlatformName}}));
}

void NetworkManager::ipTimezoneRequest()
{
    qDebug() << "NetworkManager::ipTimezoneRequest";
    connect(timezoneChannel, &GetManager::finished, this, &NetworkManager::slotIpTimezoneFinished,
            Qt::UniqueConnection);
    timezoneChannel->getAsync(connectUrl({{QStringLiteral("act"), QStringLiteral("time")}}));
}

void NetworkManager::pingDoubleServerRequest()
{
    qDebug() << "NetworkManager::pingDoubleServerRequest";
    connect(doubleChannel, &GetManager::finished, this, &NetworkManager::onRequestPingDoubleServerFinished,
            Qt::UniqueConnection);
    doubleChannel->getAsync(QUrl(Constants::ApiDoubleTablePath.arg(apiLink())));
}

void NetworkManager::getBuyLinkRequest(QString const& vpnLogin)
{
    qDebug() << "NetworkManager::getBuyLinkRequest";
    connect(buyLinkChannel, &GetManager::finished, this, &NetworkManager::onRequestGetBuyLinkFinished,
            Qt::UniqueConnection);
    buyLinkChannel->getAsync(connectUrl({{QStringLiteral("loginvpn"), vpnLogin},
                                         {QStringLiteral("act"), QStringLiteral("buy")},
                                         {QStringLiteral("os"), Constants::PlatformName}}));
}

void NetworkManager::checkInternet()
{
    // Connected for each check, as the requests are: a finished request
    // drops the channel's connections to this object.
    connect(authChannel, &GetManager::internetChecked, this, &NetworkManager::internetChecked,
            Qt::UniqueConnection);
    authChannel->checkInternet();
}

ServerInfo NetworkManager::parseServer(ReplyElement const& element)
{
    ServerInfo server;
    server.name = decodeText(element.attribute(QStringLiteral("name")));
    server.label = server.name;
    server.ip = decodeTrimmed(element.attribute(QStringLiteral("ip")));
    server.flag = decodeText(element.attribute(QStringLiteral("flag")));
    server.user = decodeText(element.attribute(QStringLiteral("user")));
    server.sni = decodeTrimmed(element.attribute(QStringLiteral("sni")));
    // Inserting lookup: a login without a "file" element yet gets an empty entry.
    server.password = subscriptionMap[server.user].password();
    server.tcpPorts = portList(decodeText(element.attribute(QStringLiteral("tcp"))));
    server.udpPorts = portList(decodeText(element.attribute(QStringLiteral("udp"))));
    server.sslPort = decodeTrimmed(element.attribute(QStringLiteral("ssl"))).toInt();
    const int group = decodeTrimmed(element.attribute(QStringLiteral("group"))).toInt();
    server.type = group == 2 ? ServerInfo::Double : ServerInfo::Standart;
    server.protocol = 4;
    server.ping = 0;
    server.favorite = false;
    return server;
}

void NetworkManager::readAccountElement(ReplyElement const& element, bool& first, bool& subscriptionsCleared)
{
    // Fresh account data: the cache still waiting for the keyring is older.
    cacheLoadPending = false;
    const QString& tag = element.tag;
    if (tag == QLatin1String("vpn")) {
        if (first) {
            serverList.clear();
        }
        serverList.append(parseServer(element));
        first = false;
    } else if (tag == QLatin1String("cert")) {
        certificates[decodeText(element.attribute(QStringLiteral("user")))] = decodeBytes(element.text);
    } else if (tag == QLatin1String("key")) {
        keys[decodeText(element.attribute(QStringLiteral("user")))] = decodeBytes(element.text);
    } else if (tag == QLatin1String("config")) {
        configTemplate = decodeBytes(element.text);
    } else if (tag == QLatin1String("file")) {
        // The reply lists every VPN login of the account: the old set goes once,
        // before the first of them, so that a second login does not wipe the first.
        if (first && !subscriptionsCleared) {
            subscriptionMap.clear();
            subscriptionsCleared = true;
        }
        const QString user = decodeText(element.attribute(QStringLiteral("user")));
        bool ok = false;
        const qint64 secs = decodeText(element.attribute(QStringLiteral("exp"))).trimmed().toLongLong(&ok);
        subscriptionMap.insert(user, Subscription(user, decodeText(element.attribute(QStringLiteral("pass"))),
                                                  ok ? QDateTime::fromSecsSinceEpoch(secs) : QDateTime()));
    }
}

void NetworkManager::readUpgrade(ReplyElement const& upgrade)
{
    QString version;
    QString link;
    for (const ReplyElement& child : upgrade.children) {
        if (child.tag == QLatin1String("ver")) {
            version = decodeText(child.text);
        } else if (child.tag == QLatin1String("link")) {
            link = decodeText(child.text);
        }
    }
    lastVersion = version;
    lastLink = link;
}

void NetworkManager::slotAuthFinished()
{
    qDebug() << "NetworkManager::slotAuthFinished";
    authChannel->disconnect(this);
    if (!authChannel->success) {
        emit auth(RequestFailed, authChannel->errorString);
        return;
    }
    const std::optional<QVector<ReplyElement>> reply = ReplyDocument::parse(authChannel->data);
    // Without an "auth" answer the reply says nothing about this account: it is
    // not a sign-in, whatever else it holds.
    const auto isAuth = [](const ReplyElement& e) { return e.tag == QLatin1String("auth"); };
    if (!reply || std::none_of(reply->begin(), reply->end(), isAuth)) {
        if (reply) {
            if (const auto verdict = verdictWithoutAuth(*reply)) {
                emit auth(verdict->first, verdict->second);
                return;
            }
        }
        qWarning() << "Sign-in reply without an auth element";
        emit auth(RequestFailed, tr("The service sent an unreadable reply."));
        return;
    }

    bool lite = true;
    bool first = true;
    bool subscriptionsCleared = false;
    {
        QMutexLocker locker(&mutex);
        for (const ReplyElement& e : *reply) {
            const QString& tag = e.tag;
            if (tag == QLatin1String("ver")) {
                lite = e.attribute(QStringLiteral("type")) == QLatin1String("lite");
                if (decodeText(e.text) != QLatin1String("true")) {
                    locker.unlock();
                    emit auth(BadVersion, QString());
                    return;
                }
            } else if (tag == QLatin1String("auth")) {
                if (decodeText(e.text) != QLatin1String("true")) {
                    locker.unlock();
                    emit auth(WrongCredentials, QString());
                    return;
                }
            } else if (tag == QLatin1String("upgrade")) {
                readUpgrade(e);
            } else if (tag == QLatin1String("error")) {
                const QString text = decodeText(e.text);
                locker.unlock();
                if (text == QLatin1String("nosub")) {
                    emit auth(NoSubscription, text);
                } else {
                    emit auth(RequestFailed, text);
                }
                return;
            } else {
                readAccountElement(e, first, subscriptionsCleared);
            }
        }
    }
    saveCachedData();
    startPingSoon();
    emit auth(lite ? LiteAccount : NoError, QString());
}

void NetworkManager::slotServerListFinished()
{
    qDebug() << "NetworkManager::slotServerListFinished";
    authChannel->disconnect(this);
    if (!authChannel->success) {
        // Reported, so that the caller's retry can run; the old data stays.
        qDebug() << "Server List Finished Error:" << authChannel->errorString;
        saveCachedData();
        emit serverUpdated(RequestFailed, authChannel->errorString);
        return;
    }
    {
        QMutexLocker locker(&mutex);
        bool first = true;
        bool subscriptionsCleared = false;
        for (const ReplyElement& e : ReplyDocument::children(authChannel->data)) {
            readAccountElement(e, first, subscriptionsCleared);
        }
    }
    saveCachedData();
    startPingSoon();
    emit serverUpdated(NoError, QString());
}

void NetworkManager::slotProgramUpdateFinished()
{
    qDebug() << "NetworkManager::slotProgramUpdateFinished";
    updateChannel->disconnect(this);
    if (!updateChannel->success) {
        qDebug() << "Check programm update. Finished with Error:" << updateChannel->errorString;
        emit programUpdate(QString(), QString(), false);
        return;
    }
    const std::optional<QVector<ReplyElement>> reply = ReplyDocument::parse(updateChannel->data);
    if (!reply) {
        qDebug() << "Check programm update. Finished with Error: the reply is not readable";
        emit programUpdate(QString(), QString(), false);
        return;
    }
    for (const ReplyElement& e : *reply) {
        if (e.tag != QLatin1String("upgrade")) {
            continue;
        }
        readUpgrade(e);
        if (!lastVersion.isEmpty() && !lastLink.isEmpty()) {
            emit programUpdate(lastVersion, lastLink, true);
            return;
        }
    }
    // The service answered and offers nothing: that is not a failure, and
    // the updater waits hours, not seconds, before it asks again.
    emit programUpdate(QString(), QString(), true);
}

void NetworkManager::slotIpTimezoneFinished()
{
    qDebug() << "NetworkManager::slotIpTimezoneFinished";
    timezoneChannel->disconnect(this);
    if (!timezoneChannel->success) {
        qDebug() << "Get IP timezone. Finished with Error:" << timezoneChannel->errorString;
        emit gotIpTimezone(QString(), false);
        return;
    }
    const QVector<ReplyElement> reply = ReplyDocument::children(timezoneChannel->data);
    const auto zone = std::find_if(reply.begin(), reply.end(),
                                   [](const ReplyElement& e) { return e.tag == QLatin1String("timezone"); });
    if (zone == reply.end()) {
        emit gotIpTimezone(QString(), false);
        return;
    }
    const QString name = decodeText(zone->text);
    if (name == QLatin1String("N/A")) {
        emit gotIpTimezone(QString(), false);
    } else {
        emit gotIpTimezone(name, true);
    }
}

void NetworkManager::onRequestPingDoubleServerFinished(int)
{
    doubleChannel->disconnect(this);
    if (!doubleChannel->success) {
        qDebug() << "Get ping double servers. Finished with Error:" << doubleChannel->errorString;
        return;
    }
    const QVector<ReplyElement> reply = ReplyDocument::children(doubleChannel->data);
    QMutexLocker locker(&mutex);
    for (const ReplyElement& e : reply) {
        if (e.tag == QLatin1String("p")) {
            doubleServers[e.text] = e.attribute(QStringLiteral("p")).toInt();
        }
    }
}

void NetworkManager::onRequestGetBuyLinkFinished()
{
    buyLinkChannel->disconnect(this);
    if (!buyLinkChannel->success) {
        qDebug() << "Get buy link. Finished with Error:" << buyLinkChannel->errorString;
        return;
    }
    for (const ReplyElement& e : ReplyDocument::children(buyLinkChannel->data)) {
        if (e.tag == QLatin1String("link")) {
            emit gotBuyLink(decodeText(e.text));
            return;
        }
    }
}

void NetworkManager::onPingServersFinished()
{
    // One result per name; a lookup table keeps this linear for long lists.
    QHash<QString, int> pings;
    for (const ServerInfo& result : pinger->servers()) {
        pings.insert(result.name, result.ping);
    }
    {
        QMutexLocker locker(&mutex);
        for (ServerInfo& server : serverList) {
            const auto found = pings.constFind(server.name);
            if (found == pings.constEnd()) {
                continue;
            }
            // A double-hop route shows the latency measured to its entry hop:
            // the service's table of extra milliseconds may or may not have
            // arrived by now, and a figure must not change with that.
            server.ping = found.value();
        }
    }
    saveCachedData();
    emit serverUpdated(NoError, QString());
}

// The sweep of a fresh list starts once the reply's signal has been handled:
// handing thousands of runners to the pool is no reason to keep the window
// waiting for its answer.
void NetworkManager::startPingSoon()
{
    QTimer::singleShot(0, this, &NetworkManager::startPing);
}

void NetworkManager::startPing()
{
    QVector<ServerInfo> copy;
    {
        QMutexLocker locker(&mutex);
        copy = serverList;
    }
    pinger->pingServers(copy);
}

QVector<ServerInfo> NetworkManager::servers()
{
    QMutexLocker locker(&mutex);
    const QString vpnLogin = LocalSettings::instance()->value(Keys::VpnLogin).toString();
    QVector<ServerInfo> result;
    if (vpnLogin.isEmpty()) {
        return result;
    }
    for (const ServerInfo& server : serverList) {
        if (server.user == vpnLogin) {
            result.append(server);
        }
    }
    return result;
}

QVector<ServerInfo> NetworkManager::allServers()
{
    QMutexLocker locker(&mutex);
    return serverList;
}

QList<Subscription> NetworkManager::subscriptions()
{
    QMutexLocker locker(&mutex);
    return subscriptionMap.values();
}

Subscription NetworkManager::subscription(QString const& vpnLogin)
{
    QMutexLocker locker(&mutex);
    return subscriptionMap.value(vpnLogin);
}

QStringList NetworkManager::cacheUsers()
{
    QMutexLocker locker(&mutex);
    return subscriptionMap.keys();
}

QByteArray NetworkManager::getConfigOVPNbyServer(QString)
{
    QMutexLocker locker(&mutex);
    return configTemplate;
}

QByteArray NetworkManager::getCertifOvpnByUser(QString const& vpnLogin)
{
    QMutexLocker locker(&mutex);
    return certificates[vpnLogin];
}

QByteArray NetworkManager::getKeyOvpnByUser(QString const& vpnLogin)
{
    QMutexLocker locker(&mutex);
    return keys[vpnLogin];
}

QMap<QString, int> NetworkManager::doubleServerPings()
{
    QMutexLocker locker(&mutex);
    return doubleServers;
}

QByteArray NetworkManager::cacheMapToArray(QMap<QString, QByteArray> const& map)
{
    QByteArray array;
    QDataStream stream(&array, QIODevice::WriteOnly);
    stream << map;
    return array;
}

QMap<QString, QByteArray> NetworkManager::cacheArrayToMap(QByteArray const& array)
{
    QMap<QString, QByteArray> map;
    QDataStream stream(array);
    stream >> map;
    if (stream.status() != QDataStream::Ok) {
        return {};
    }
    return map;
}

void NetworkManager::saveCachedData()
{
    QMutexLocker locker(&mutex);
    saveCachedDataLocked();
}

void NetworkManager::saveCachedDataLocked()
{
    if (cacheLoadPending) {
        // Nothing is in memory yet: the stored cache stays as it is.
        return;
    }
    SecretStore* store = SecretStore::instance();
    const bool withSecrets = store->fileKeepsSecrets(cacheSecretsInFile);
    const bool scrubbing = cacheSecretsInFile && !withSecrets;
    const auto settings = LocalSettings::instance();
    if (!configTemplate.isEmpty()) {
        settings->setValue(Keys::CachedConfig, configTemplate);
    }
    if (!certificates.isEmpty()) {
        settings->setValue(Keys::CachedCertif, cacheMapToArray(certificates));
    }
    if (!keys.isEmpty() || scrubbing) {
        settings->setValue(Keys::CachedKeys, withSecrets ? cacheMapToArray(keys) : QByteArray());
    }
    QStringList users;
    users.reserve(subscriptionMap.size());
    for (const Subscription& s : subscriptionMap) {
        users.append(s.toCacheText(withSecrets));
    }
    if (!users.isEmpty()) {
        settings->setValue(Keys::CachedUsers, users);
    }
    QStringList lines;
    lines.reserve(serverList.size());
    for (const ServerInfo& server : serverList) {
        if (withSecrets || server.password.isEmpty()) {
            lines.append(QString(server));
        } else {
            ServerInfo withoutPassword = server;
            withoutPassword.password.clear();
            lines.append(QString(withoutPassword));
        }
    }
    if (!lines.isEmpty()) {
        settings->setValue(Keys::CachedServers, lines);
    }
    cacheSecretsInFile = withSecrets;
    store->setVpnSecrets(vpnPasswordsLocked(), keys);
}

QMap<QString, QString> NetworkManager::vpnPasswordsLocked() const
{
    QMap<QString, QString> passwords;
    for (const Subscription& s : subscriptionMap) {
        if (!s.password().isEmpty()) {
            passwords.insert(s.login(), s.password());
        }
    }
    return passwords;
}

void NetworkManager::onSecretsMoved()
{
    if (cacheSecretsInFile) {
        saveCachedData();
    }
}

void NetworkManager::loadCachedData()
{
    SecretStore* store = SecretStore::instance();
    connect(store, &SecretStore::movedToKeyring, this, &NetworkManager::onSecretsMoved, Qt::UniqueConnection);
    connect(store, &SecretStore::fellBackToFile, this, &NetworkManager::saveCachedData, Qt::UniqueConnection);
    if (store->isLoaded()) {
        readCachedData();
        return;
    }
    // Until the keyring has answered the cache stays out of memory: a server
    // offered now would connect without its password and key.
    cacheLoadPending = true;
    store->whenLoaded(this, [this] {
        if (!cacheLoadPending) {
            return; // a reply or a sign-out came first
        }
        cacheLoadPending = false;
        readCachedData();
        emit serverUpdated(NoError, QString());
    });
}

void NetworkManager::readCachedData()
{
    SecretStore* store = SecretStore::instance();
    {
        QMutexLocker locker(&mutex);
        const auto settings = LocalSettings::instance();
        configTemplate = settings->value(Keys::CachedConfig).toByteArray();
        certificates = cacheArrayToMap(settings->value(Keys::CachedCertif).toByteArray());
        keys = cacheArrayToMap(settings->value(Keys::CachedKeys).toByteArray());
        cacheSecretsInFile = !keys.isEmpty();
        const QStringList users = settings->value(Keys::CachedUsers).toStringList();
        for (const QString& entry : users) {
            if (const auto s = Subscription::fromCacheText(entry)) {
                subscriptionMap.insert(s->login(), *s);
                cacheSecretsInFile = cacheSecretsInFile || !s->password().isEmpty();
            }
        }
        const QStringList lines = settings->value(Keys::CachedServers).toStringList();
        serverList.reserve(serverList.size() + lines.size());
        for (const QString& line : lines) {
            // A reset store holds empty text here, which is no server at all.
            if (!line.isEmpty()) {
                serverList.append(ServerInfo(line));
                cacheSecretsInFile = cacheSecretsInFile || !serverList.last().password.isEmpty();
            }
        }
        // The keyring fills in what the file lacks; what the file has was
        // written while no keyring answered, so it is the newer.
        const QMap<QString, QString> passwords = store->vpnPasswords();
        for (auto it = subscriptionMap.begin(); it != subscriptionMap.end(); ++it) {
            if (it->password().isEmpty() && passwords.contains(it.key())) {
                *it = it->withPassword(passwords.value(it.key()));
            }
        }
        const QMap<QString, QByteArray> storedKeys = store->vpnKeys();
        for (auto it = storedKeys.begin(); it != storedKeys.end(); ++it) {
            if (keys.value(it.key()).isEmpty()) {
                keys.insert(it.key(), it.value());
            }
        }
        for (ServerInfo& server : serverList) {
            if (server.password.isEmpty()) {
                server.password = subscriptionMap.value(server.user).password();
            }
        }
        store->setVpnSecrets(vpnPasswordsLocked(), keys);
    }
    if (cacheSecretsInFile && !store->fileKeepsSecrets(true)) {
        saveCachedData();
    }
    if (sweepOnLoad) {
        startPing();
    }
}

void NetworkManager::clearCache()
{
    QMutexLocker locker(&mutex);
    configTemplate.clear();
    certificates.clear();
    // Signing out forgets the private keys as well, in memory and on disk.
    keys.clear();
    serverList.clear();
    subscriptionMap.clear();
    const auto settings = LocalSettings::instance();
    settings->setValue(Keys::CachedConfig, QByteArray());
    settings->setValue(Keys::CachedCertif, QByteArray());
    settings->setValue(Keys::CachedKeys, QByteArray());
    settings->setValue(Keys::CachedUsers, QStringList());
    settings->setValue(Keys::CachedServers, QStringList());
    cacheSecretsInFile = false;
    cacheLoadPending = false;
    // The account password and the VPN secrets, from the keyring as well.
    SecretStore::instance()->forget();
}
