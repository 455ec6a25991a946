#pragma once

#include "serverinfo.h"
#include "subscription.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QRecursiveMutex>
#include <QString>
#include <QStringList>
#include <QVector>

class GetManager;
class PingManager;
struct ReplyElement;

// The client's one gateway to the VPN service: signs in, refreshes the
// account's VPN logins, certificates, keys and servers, asks for the newest
// version, the exit address's timezone, the double-hop latencies and purchase
// links, and keeps the account data in memory and in the settings store.
class NetworkManager : public QObject
{
    Q_OBJECT
public:
    enum ApiError
    {
        NoError = 0,
        WrongCredentials = 1,
        BadVersion = 2,
        LiteAccount = 3,
        NoSubscription = 4,
        RequestFailed = 5,
    };
    Q_ENUM(ApiError)

    static constexpr int RequestTimeoutMs = 10000;

    static NetworkManager* instance();
    // Whether loading the account cache starts a latency sweep (on by
    // default): the window and `servers` show latencies; the command line's
    // background session has no use for them, and the ping programs would
    // only compete with its connect. Set before the first instance().
    static void setSweepOnLoad(bool sweep);

    // The application reaches the one object through instance(); tests and
    // benchmarks build their own, with a shorter time-out if they need one.
    explicit NetworkManager(int requestTimeoutMs = RequestTimeoutMs);
    ~NetworkManager() override;

    static QString apiLink();
    static QString siteApiLink();

    void authRequest(QString const& user, QString const& password);
    // The user gave up waiting: no auth() comes for the request in flight.
    void cancelAuthRequest();
    // The last failed sign-in reached the service, which did not answer it:
    // the network itself works.
    bool authServiceReached() const;
    void serverListRequest();
    void programUpdateRequest();
    void ipTimezoneRequest();
    void pingDoubleServerRequest();
    void getBuyLinkRequest(QString const& login);
    // Whether a public web site answers, without the service: internetChecked().
    void checkInternet();

    // Account data. Every accessor takes the one mutex: the profile generator
    // reads from a worker thread while replies change the data.
    QVector<ServerInfo> servers();
    QVector<ServerInfo> allServers();
    QList<Subscription> subscriptions();
    Subscription subscription(QString const& login);
    QStringList cacheUsers();
    QByteArray getConfigOVPNbyServer(QString server);
    QByteArray getCertifOvpnByUser(QString const& login);
    QByteArray getKeyOvpnByUser(QString const& login);
    QMap<QString, int> doubleServerPings();
    PingManager* pingManager() const { return pinger; }

    void saveCachedData();
    void loadCachedData();
    void clearCache();

    static QByteArray cacheMapToArray(QMap<QString, QByteArray> const& map);
    static QMap<QString, QByteArray> cacheArrayToMap(QByteArray const& array);

signals:
    void auth(NetworkManager::ApiError error, QString text);
    void serverUpdated(NetworkManager::ApiError error, QString text);
    void programUpdate(QString version, QString link, bool success);
    void gotIpTimezone(QString timezone, bool success);
    void gotBuyLink(QString link);
    void internetChecked(bool online);

public slots:
    void slotAuthFinished();
    void slotServerListFinished();
    void slotProgramUpdateFinished();
    void slotIpTimezoneFinished();
    void onPingServersFinished();
    void onRequestPingDoubleServerFinished(int);
    void onRequestGetBuyLinkFinished();
    void onSecretsMoved();

private:
    QUrl connectUrl(QList<QPair<QString, QString>> const& extraItems) const;
    void readAccountElement(ReplyElement const& element, bool& first, bool& subscriptionsCleared);
    void readUpgrade(ReplyElement const& upgrade);
    ServerInfo parseServer(ReplyElement const& element);
    void saveCachedDataLocked();
    void readCachedData();
    QMap<QString, QString> vpnPasswordsLocked() const;
    void startPing();
    void startPingSoon();

    QRecursiveMutex mutex;
    QVector<ServerInfo> serverList;
    QMap<QString, Subscription> subscriptionMap;
    QByteArray configTemplate;
    QMap<QString, QByteArray> certificates;
    QMap<QString, QByteArray> keys;
    // The settings file still carries VPN passwords or keys (an older
    // version's cache, or one written while no keyring answered).
    bool cacheSecretsInFile = false;
    // The cache waits for the keyring's first answer before it is read.
    bool cacheLoadPending = false;

    QString login;
    QString password;
    QString lastVersion;
    QString lastLink;
    QMap<QString, int> doubleServers;

    PingManager* pinger;
    GetManager* authChannel;
    GetManager* updateChannel;
    GetManager* timezoneChannel;
    GetManager* doubleChannel;
    GetManager* buyLinkChannel;
};

Q_DECLARE_METATYPE(NetworkManager::ApiError)
