// The connection engine end to end: the real daemon starts the real openvpn
// against the lab's VPN servers. Run through run_e2e.sh, never on its own: it
// expects the lab's client namespace and private mounts.
#include "connection.h"
#include "makeovpnfile.h"
#include "serviceconnector.h"
#include "stunnelmanager.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

namespace {

const QString kTarget = "203.0.113.10";
const int kConnectWaitMs = 30000;

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool daemonRunning()
{
    QTcpSocket s;
    s.connectToHost("127.0.0.1", 23589);
    return s.waitForConnected(500);
}

// A TCP connection to the target's echo port: whether it opened, and from
// which local address (a tunnel address proves the route through the tunnel).
struct Echo
{
    bool connected = false;
    QHostAddress local;
    qint64 echoed = 0;
};

Echo echoThrough(int bytes, int timeoutMs = 3000)
{
    Echo result;
    QTcpSocket s;
    s.connectToHost(kTarget, 7);
    if (!s.waitForConnected(timeoutMs)) {
        return result;
    }
    result.connected = true;
    result.local = s.localAddress();
    const QByteArray payload(bytes, 'k');
    s.write(payload);
    QElapsedTimer timer;
    timer.start();
    while (result.echoed < bytes && timer.elapsed() < 10000) {
        if (s.waitForReadyRead(500)) {
            result.echoed += s.readAll().size();
        }
        s.waitForBytesWritten(0);
    }
    return result;
}

bool inTunnelPool(const QHostAddress& a)
{
    return a.isInSubnet(QHostAddress("198.51.100.128"), 25);
}

bool ip(const QString& args)
{
    QProcess p;
    p.start("ip", args.split(' '));
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The client's outer address moves, as after roaming to another network; the
// lab's own address comes back when the case ends.
struct Roam
{
    bool to(const QString& address)
    {
        return ip("-4 addr flush dev kv-c0") && ip("addr add " + address + "/25 dev kv-c0") &&
               ip("route replace default via 198.51.100.1");
    }
    ~Roam() { to("198.51.100.2"); }
};

struct FirewallOff
{
    Connection& connection;
    ~FirewallOff() { connection.firewallOff(); }
};

} // namespace

class TestConnectionE2E : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void noDaemon();
    void connectsCarriesTrafficAndDisconnects_data();
    void connectsCarriesTrafficAndDisconnects();
    void passwordWithBlanksQuotesAndBackslash();
    void wrongPasswordIsReported();
    void killSwitchHoldsThroughConnectRoamingAndDisconnect();
    void cleanup();

private:
    ServerInfo server(const QString& login, const QString& name) const;
    // Writes the profile for the transport and starts stunnel for stealth.
    bool prepare(const ServerInfo& s, const QString& transport);
    void dumpLogOnFailure();

    QString data;
    QJsonObject account;
    MakeOVPNFile profile;
    std::unique_ptr<StunnelManager> stunnel;
    QStringList ovpnLog;
};

void TestConnectionE2E::initTestCase()
{
    data = qEnvironmentVariable("KV_E2E_DATA");
    if (data.isEmpty()) {
        QSKIP("run through run_e2e.sh: needs the lab and private mounts");
    }
    account = QJsonDocument::fromJson(readFile(data + "/account.json")).object();
    QVERIFY(!account.isEmpty());
}

void TestConnectionE2E::cleanup()
{
    dumpLogOnFailure();
    ovpnLog.clear();
    stunnel.reset();
}

void TestConnectionE2E::dumpLogOnFailure()
{
    if (QTest::currentTestFailed()) {
        for (const QString& line : ovpnLog.mid(qMax(0, ovpnLog.size() - 40))) {
            qInfo().noquote() << "openvpn:" << line.trimmed();
        }
    }
}

ServerInfo TestConnectionE2E::server(const QString& login, const QString& name) const
{
    ServerInfo s;
    for (const QJsonValue& v : account.value("servers").toArray()) {
        const QJsonObject o = v.toObject();
        if (o.value("user").toString() == login && o.value("name").toString() == name) {
            s.name = name;
            s.user = login;
            s.ip = o.value("ip").toString();
            s.tcpPorts = o.value("tcp").toString().split(',');
            s.udpPorts = o.value("udp").toString().split(',');
            s.sslPort = o.value("ssl").toString().toInt();
            s.sni = o.value("sni").toString();
            s.password = account.value("passwords").toObject().value(login).toString();
            s.protocol = 4;
        }
    }
    return s;
}

bool TestConnectionE2E::prepare(const ServerInfo& s, const QString& transport)
{
    ConfigServer c;
    c.baseConfig = readFile(data + "/base.ovpn");
    c.certificate = readFile(data + "/" + s.user + ".crt");
    c.key = readFile(data + "/" + s.user + ".key");
    c.host = s.ip;
    c.protocol = transport;
    if (transport == "stealth") {
        stunnel = std::make_unique<StunnelManager>();
        if (!stunnel->setConfigAndRunProcess(s.ip, s.sslPort, s.sni)) {
            qWarning() << "stunnel:" << stunnel->errorString();
            return false;
        }
        c.stunnelPort = stunnel->getPort();
        return profile.generateStunnel(c);
    }
    c.ports = transport == "udp" ? s.udpPorts : s.tcpPorts;
    return profile.generate(c);
}

void TestConnectionE2E::noDaemon()
{
    if (daemonRunning()) {
        QSKIP("the daemon is running; this case runs before it starts");
    }
    Connection connection;
    QSignalSpy errors(&connection, &Connection::error);
    QVERIFY(!connection.firewallSupported());
    connection.connect(server("kv1001", "Amsterdam"), "kv1001", "vpn-1001", "/tmp/none.ovpn", ProxySetting());
    QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 5000);
    QCOMPARE(errors.at(0).at(0).toString(), QString("Can not connet to helper"));
}

void TestConnectionE2E::connectsCarriesTrafficAndDisconnects_data()
{
    QTest::addColumn<QString>("transport");
    QTest::addColumn<QString>("name");
    QTest::newRow("udp") << "udp"
                         << "Amsterdam";
    QTest::newRow("tcp") << "tcp"
                         << "New York";
    QTest::newRow("stealth") << "stealth"
                             << "Reykjavik";
}

void TestConnectionE2E::connectsCarriesTrafficAndDisconnects()
{
    QFETCH(QString, transport);
    QFETCH(QString, name);
    if (!daemonRunning()) {
        QSKIP("no daemon");
    }
    const ServerInfo s = server("kv1001", name);
    QVERIFY(!s.ip.isEmpty());
    QVERIFY(prepare(s, transport));
    QCOMPARE(echoThrough(16).local.toString(), QString("198.51.100.2"));

    Connection connection;
    QObject::connect(&connection, &Connection::logUpdate, this, [this](QString l) { ovpnLog << l; });
    QSignalSpy connected(&connection, &Connection::connected);
    QSignalSpy disconnected(&connection, &Connection::disconnected);
    QSignalSpy errors(&connection, &Connection::error);
    QSignalSpy stats(&connection, &Connection::statisticsChanged);
    connection.connect(s, s.user, s.password, profile.fileName(), ProxySetting());
    QTRY_VERIFY_WITH_TIMEOUT(connected.size() == 1 || !errors.isEmpty(), kConnectWaitMs);
    QVERIFY2(errors.isEmpty(), qPrintable(errors.value(0).value(0).toString()));

    // The pushed name server is in place while the tunnel is up.
    QVERIFY(readFile("/etc/resolv.conf").contains("nameserver 203.0.113.53"));

    const Echo echo = echoThrough(300000);
    QVERIFY(echo.connected);
    QVERIFY2(inTunnelPool(echo.local), qPrintable(echo.local.toString()));
    QCOMPARE(echo.echoed, qint64(300000));
    // OpenVPN counts the tunnel's bytes once a second; the totals must cover
    // what went through it.
    auto totalIn = [&]() { return stats.isEmpty() ? 0.0 : stats.last().at(2).toDouble(); };
    auto totalOut = [&]() { return stats.isEmpty() ? 0.0 : stats.last().at(3).toDouble(); };
    QTRY_VERIFY_WITH_TIMEOUT(totalIn() > 300000 && totalOut() > 300000, 5000);

    connection.disconnect(true);
    QTRY_COMPARE_WITH_TIMEOUT(disconnected.size(), 1, 15000);
    QCOMPARE(disconnected.at(0).at(0).toBool(), false);
    QVERIFY(errors.isEmpty());
    // The down script put the machine's own resolver back.
    QTRY_COMPARE_WITH_TIMEOUT(readFile("/etc/resolv.conf"), QByteArray("nameserver 192.0.2.1\n"), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!QDir("/sys/class/net/tun0").exists(), 5000);
}

void TestConnectionE2E::passwordWithBlanksQuotesAndBackslash()
{
    if (!daemonRunning()) {
        QSKIP("no daemon");
    }
    const ServerInfo s = server("kv2002", "Reykjavik");
    QVERIFY(!s.ip.isEmpty());
    QCOMPARE(s.password, QString("two words \"quoted\" back\\slash"));
    QVERIFY(prepare(s, "udp"));
    Connection connection;
    QObject::connect(&connection, &Connection::logUpdate, this, [this](QString l) { ovpnLog << l; });
    QSignalSpy connected(&connection, &Connection::connected);
    QSignalSpy disconnected(&connection, &Connection::disconnected);
    QSignalSpy errors(&connection, &Connection::error);
    connection.connect(s, s.user, s.password, profile.fileName(), ProxySetting());
    QTRY_VERIFY_WITH_TIMEOUT(connected.size() == 1 || !errors.isEmpty(), kConnectWaitMs);
    QVERIFY2(errors.isEmpty(), qPrintable(errors.value(0).value(0).toString()));
    connection.disconnect(true);
    QTRY_COMPARE_WITH_TIMEOUT(disconnected.size(), 1, 15000);
}

void TestConnectionE2E::wrongPasswordIsReported()
{
    if (!daemonRunning()) {
        QSKIP("no daemon");
    }
    const ServerInfo s = server("kv1001", "Amsterdam");
    QVERIFY(prepare(s, "udp"));
    Connection connection;
    QObject::connect(&connection, &Connection::logUpdate, this, [this](QString l) { ovpnLog << l; });
    QSignalSpy connected(&connection, &Connection::connected);
    QSignalSpy errors(&connection, &Connection::error);
    connection.connect(s, s.user, "not-the-password", profile.fileName(), ProxySetting());
    QTRY_VERIFY_WITH_TIMEOUT(!errors.isEmpty(), kConnectWaitMs);
    QCOMPARE(errors.at(0).at(0).toString(), QString("Invalid username or password"));
    QVERIFY(connected.isEmpty());
}

void TestConnectionE2E::killSwitchHoldsThroughConnectRoamingAndDisconnect()
{
    if (!daemonRunning()) {
        QSKIP("no daemon");
    }
    const ServerInfo s = server("kv1001", "Amsterdam");
    QVERIFY(prepare(s, "udp"));
    Connection connection;
    QObject::connect(&connection, &Connection::logUpdate, this, [this](QString l) { ovpnLog << l; });
    const FIREWALL_PARAMETERS params{1, 1, 0, 0, 0};
    QVERIFY(connection.firewallSupported());
    QVERIFY(connection.firewallOn("127.0.0.1;" + s.ip, "tun0", params));
    FirewallOff off{connection};

    QVERIFY2(!echoThrough(16, 2000).connected, "the kill switch let traffic past the tunnel");

    QSignalSpy connected(&connection, &Connection::connected);
    QSignalSpy disconnected(&connection, &Connection::disconnected);
    QSignalSpy errors(&connection, &Connection::error);
    connection.connect(s, s.user, s.password, profile.fileName(), ProxySetting());
    QTRY_VERIFY_WITH_TIMEOUT(connected.size() == 1 || !errors.isEmpty(), kConnectWaitMs);
    QVERIFY2(errors.isEmpty(), qPrintable(errors.value(0).value(0).toString()));
    const Echo echo = echoThrough(1000);
    QVERIFY(echo.connected);
    QVERIFY(inTunnelPool(echo.local));
    QCOMPARE(echo.echoed, qint64(1000));

    // The outer address changes: the tunnel starts again at once, where
    // OpenVPN by itself would notice nothing before its ping-restart (60 s
    // in the lab).
    Roam roam;
    QVERIFY(roam.to("198.51.100.3"));
    QTRY_VERIFY_WITH_TIMEOUT(connected.size() == 2, 20000);
    const Echo afterRoaming = echoThrough(1000);
    QVERIFY(afterRoaming.connected);
    QVERIFY2(inTunnelPool(afterRoaming.local), qPrintable(afterRoaming.local.toString()));
    QCOMPARE(afterRoaming.echoed, qint64(1000));

    connection.disconnect(true);
    QTRY_COMPARE_WITH_TIMEOUT(disconnected.size(), 1, 15000);
    QVERIFY2(!echoThrough(16, 2000).connected, "traffic passed after the tunnel went down");
    QVERIFY(connection.firewallOff());
    QVERIFY(echoThrough(16).connected);
}

QTEST_GUILESS_MAIN(TestConnectionE2E)
#include "test_connection_e2e.moc"
