#include "fakeservice.h"
#include "localsettings.h"
#include "networkmanager.h"
#include "softwareupdater.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The API client against the lab's fake service on loopback: real replies,
// real certificates from the lab CA.
class TestServiceApi : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void signInSingleAccount();
    void signInTwoLogins();
    void accountKinds_data();
    void accountKinds();
    void timezoneBuyLinkAndDoubleTable();
    void pingSweepShowsEntryHopLatency();
    void hangingServiceFailsAfterRetries();
    void unknownCaNeverSeesThePassword();
    void updateIsOfferedAndDownloaded();

private:
    void useService(const FakeService& service);
    NetworkManager::ApiError signIn(NetworkManager& nm, const QString& user, const QString& pass,
                                    QString* text = nullptr);

    QTemporaryDir runDir;
    QTemporaryDir configDir;
    QTemporaryDir downloadRoot;
    FakeService service;
};

void TestServiceApi::initTestCase()
{
    if (!QFile::exists(FakeService::sourceDir() + "/lab/service/fakeservice.py")) {
        QSKIP("the lab's fake service is not in this tree");
    }
    QVERIFY(runDir.isValid() && configDir.isValid() && downloadRoot.isValid());
    qputenv("XDG_CONFIG_HOME", configDir.path().toLocal8Bit());
    qputenv("TMPDIR", downloadRoot.path().toLocal8Bit());
    qputenv("PATH", QByteArray(KESTROVA_FAKE_PING_DIR) + ":" + qgetenv("PATH"));
    QCoreApplication::setOrganizationName("VKMT");
    QCoreApplication::setApplicationName("Kestrova");
    QVERIFY(service.start(runDir.path()));
    useService(service);
}

void TestServiceApi::cleanupTestCase()
{
    LocalSettings::releaseInstance();
}

void TestServiceApi::init()
{
    useService(service);
    LocalSettings::instance()->createDefaultSettings();
}

void TestServiceApi::useService(const FakeService& s)
{
    qputenv("KESTROVA_API_URL", s.baseUrl().toString().toLatin1());
    qputenv("KESTROVA_CA_FILE", s.caFile().toLocal8Bit());
}

NetworkManager::ApiError TestServiceApi::signIn(NetworkManager& nm, const QString& user, const QString& pass,
                                                QString* text)
{
    QSignalSpy spy(&nm, &NetworkManager::auth);
    nm.authRequest(user, pass);
    if (!spy.wait(20000)) {
        return NetworkManager::ApiError(-1);
    }
    if (text) {
        *text = spy.first().at(1).toString();
    }
    return spy.first().at(0).value<NetworkManager::ApiError>();
}

void TestServiceApi::signInSingleAccount()
{
    NetworkManager nm(5000);
    QCOMPARE(signIn(nm, "single", "single-pass"), NetworkManager::NoError);
    QCOMPARE(nm.cacheUsers(), QStringList({"kv1001"}));
    const Subscription sub = nm.subscription("kv1001");
    QCOMPARE(sub.password(), QString("vpn-1001"));
    QCOMPARE(sub.expiresTime().toUTC(), QDateTime(QDate(2030, 1, 1), QTime(0, 0), Qt::UTC));
    QVERIFY(nm.getCertifOvpnByUser("kv1001").startsWith("-----BEGIN CERTIFICATE-----"));
    QVERIFY(nm.getKeyOvpnByUser("kv1001").contains("PRIVATE KEY-----"));
    QVERIFY(nm.getConfigOVPNbyServer(QString()).startsWith("client"));

    LocalSettings::instance()->setValue(Keys::VpnLogin, "kv1001");
    const QVector<ServerInfo> list = nm.servers();
    QCOMPARE(list.size(), 4);
    QCOMPARE(list.at(0).name, QString("Amsterdam"));
    QCOMPARE(list.at(0).password, QString("vpn-1001"));
    QCOMPARE(list.at(0).sni, QString("www.lab.test"));
    QCOMPARE(list.at(0).sslPort, 443);
    QCOMPARE(list.at(2).name, QString("Reykjavik"));
    QVERIFY(list.at(2).tcpPorts.isEmpty());
    QCOMPARE(list.at(2).udpPorts, QStringList({"1194"}));
    QCOMPARE(list.at(3).type, ServerInfo::Double);
    QCOMPARE(list.at(0).type, ServerInfo::Standart);
}

void TestServiceApi::signInTwoLogins()
{
    NetworkManager nm(5000);
    // "+" and a blank in the password must arrive as typed.
    QCOMPARE(signIn(nm, "multi", "multi+pass word"), NetworkManager::NoError);
    QCOMPARE(nm.cacheUsers(), QStringList({"kv2001", "kv2002"}));
    QCOMPARE(nm.subscription("kv2002").password(), QString(R"(two words "quoted" back\slash)"));
    QVERIFY(!nm.getCertifOvpnByUser("kv2001").isEmpty());
    QVERIFY(nm.getCertifOvpnByUser("kv2001") != nm.getCertifOvpnByUser("kv2002"));
    LocalSettings::instance()->setValue(Keys::VpnLogin, "kv2002");
    QCOMPARE(nm.servers().size(), 2);
    QCOMPARE(nm.servers().at(0).password, QString(R"(two words "quoted" back\slash)"));

    // The request log shows the query in order, the password hidden.
    const QJsonObject last = QJsonDocument::fromJson(service.requestLog().last()).object();
    QCOMPARE(last.value("path").toString(), QString("/connect"));
    QVERIFY(!service.requestLog().last().contains("multi+pass"));
}

void TestServiceApi::accountKinds_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("pass");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("text");
    QTest::newRow("lite") << "lite"
                          << "lite-pass" << int(NetworkManager::LiteAccount) << "";
    QTest::newRow("nosub") << "nosub"
                           << "nosub-pass" << int(NetworkManager::NoSubscription) << "nosub";
    QTest::newRow("old client") << "oldclient"
                                << "oldclient-pass" << int(NetworkManager::BadVersion) << "";
    QTest::newRow("wrong password") << "single"
                                    << "nope" << int(NetworkManager::WrongCredentials) << "";
    QTest::newRow("unknown user") << "nobody"
                                  << "x" << int(NetworkManager::WrongCredentials) << "";
}

void TestServiceApi::accountKinds()
{
    QFETCH(QString, user);
    QFETCH(QString, pass);
    QFETCH(int, expected);
    QFETCH(QString, text);
    NetworkManager nm(5000);
    QString reported;
    QCOMPARE(int(signIn(nm, user, pass, &reported)), expected);
    QCOMPARE(reported, text);
}

void TestServiceApi::timezoneBuyLinkAndDoubleTable()
{
    NetworkManager nm(5000);
    QCOMPARE(signIn(nm, "single", "single-pass"), NetworkManager::NoError);
    QSignalSpy zone(&nm, &NetworkManager::gotIpTimezone);
    nm.ipTimezoneRequest();
    QVERIFY(zone.wait(10000));
    QCOMPARE(zone.first().at(0).toString(), QString("Europe/Amsterdam")); // loopback's exit
    QCOMPARE(zone.first().at(1).toBool(), true);

    QSignalSpy link(&nm, &NetworkManager::gotBuyLink);
    nm.getBuyLinkRequest("kv1001");
    QVERIFY(link.wait(10000));
    QVERIFY(link.first().at(0).toString().contains("kv1001"));

    nm.pingDoubleServerRequest();
    QTRY_COMPARE_WITH_TIMEOUT(nm.doubleServerPings().value("Amsterdam - New York"), 35, 10000);
}

void TestServiceApi::pingSweepShowsEntryHopLatency()
{
    NetworkManager nm(5000);
    nm.pingDoubleServerRequest();
    QTRY_COMPARE_WITH_TIMEOUT(nm.doubleServerPings().value("Amsterdam - New York"), 35, 10000);
    QSignalSpy updated(&nm, &NetworkManager::serverUpdated);
    // Two logins share "Amsterdam - New York": every copy gets the result.
    QCOMPARE(signIn(nm, "multi", "multi+pass word"), NetworkManager::NoError);
    QVERIFY(updated.wait(10000));
    for (const ServerInfo& server : nm.allServers()) {
        QCOMPARE(server.ping, server.ip.section('.', 3).toInt());
    }
    const QStringList cached = LocalSettings::instance()->value(Keys::CachedServers).toStringList();
    QCOMPARE(cached.size(), nm.allServers().size());
}

void TestServiceApi::hangingServiceFailsAfterRetries()
{
    qputenv("KESTROVA_API_URL", service.baseUrl().toString().toLatin1() + "/hang");
    const int before = service.requestLog().size();
    NetworkManager nm(150);
    // Attempts are counted where they end: one cut off at 150 ms on a busy
    // machine may never have reached the service. The channel's network
    // access exists once the request has gone out.
    QSignalSpy auth(&nm, &NetworkManager::auth);
    nm.authRequest("single", "single-pass");
    QList<QSharedPointer<QSignalSpy>> attempts;
    for (QNetworkAccessManager* manager : nm.findChildren<QNetworkAccessManager*>()) {
        attempts.append(QSharedPointer<QSignalSpy>::create(manager, &QNetworkAccessManager::finished));
    }
    QVERIFY(auth.wait(20000));
    QCOMPARE(auth.first().at(0).value<NetworkManager::ApiError>(), NetworkManager::RequestFailed);
    QCOMPARE(auth.first().at(1).toString(), QString("Operation canceled"));
    int ended = 0;
    for (const auto& spy : attempts) {
        ended += spy->count();
    }
    QCOMPARE(ended, 6);
    QTest::qWait(300);
    QVERIFY(service.requestLog().size() - before <= 6);
}

void TestServiceApi::unknownCaNeverSeesThePassword()
{
    FakeService rogue;
    QVERIFY(rogue.start(runDir.path(), {"--cert", runDir.filePath("pki/rogue.crt"), "--key",
                                        runDir.filePath("pki/rogue.key")}));
    useService(rogue);
    qputenv("KESTROVA_CA_FILE", service.caFile().toLocal8Bit());
    NetworkManager nm(2000);
    QString text;
    QCOMPARE(signIn(nm, "single", "single-pass", &text), NetworkManager::RequestFailed);
    QVERIFY2(text.contains("SSL", Qt::CaseInsensitive), qPrintable(text));
    // The service saw failed handshakes only, never a request.
    const QList<QByteArray> log = rogue.requestLog();
    QVERIFY(!log.isEmpty());
    for (const QByteArray& line : log) {
        const QJsonObject entry = QJsonDocument::fromJson(line).object();
        QCOMPARE(entry.value("path").toString(), QString());
        QVERIFY2(entry.value("reply").toString().startsWith("tls-error"), line.constData());
    }
    QVERIFY(nm.cacheUsers().isEmpty());
}

void TestServiceApi::updateIsOfferedAndDownloaded()
{
    QTemporaryDir packageDir;
    QFile package(packageDir.filePath("kestrova_3.7.0_amd64.deb"));
    QVERIFY(package.open(QIODevice::WriteOnly));
    const QByteArray content(100000, 'k');
    package.write(content);
    package.close();
    FakeService updates;
    QVERIFY(updates.start(runDir.path(), {"--update-version", "3.7.0", "--update-file", package.fileName()}));
    useService(updates);

    NetworkManager nm(5000);
    SoftwareUpdater updater(&nm, nullptr);
    QSignalSpy offered(&updater, &SoftwareUpdater::newUpdate);
    QSignalSpy remote(&updater, &SoftwareUpdater::remoteVersion);
    updater.check();
    QVERIFY(offered.wait(10000));
    QCOMPARE(remote.first().at(0).toString(), QString("3.7.0"));

    QSignalSpy done(&updater, &SoftwareUpdater::downloadComplited);
    updater.downloadUpdate();
    QVERIFY(done.wait(20000));
    QFile file(done.first().at(0).toString());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
}

QTEST_GUILESS_MAIN(TestServiceApi)
#include "tst_serviceapi.moc"
