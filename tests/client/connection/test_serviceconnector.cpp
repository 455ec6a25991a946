#include "fakedaemon.h"
#include "serviceconnector.h"

#include <QElapsedTimer>
#include <QtTest>

#include <csignal>
#include <sched.h>
#include <sys/wait.h>

namespace {

constexpr size_t kAllowIps = 4;
constexpr size_t kInterface = 40964;
constexpr size_t kParams = 43012;
constexpr size_t kOpenvpn = 4;
constexpr size_t kUpdatePath = 5;

FIREWALL_PARAMETERS flags(uint8_t a, uint8_t b, uint8_t c, uint8_t d, uint8_t e)
{
    return FIREWALL_PARAMETERS{a, b, c, d, e};
}

std::u32string u32(const QString& s)
{
    const QVector<uint> v = s.toUcs4();
    return std::u32string(v.begin(), v.end());
}

} // namespace

class TestServiceConnector : public QObject
{
    Q_OBJECT
private slots:
    void withoutDaemonEveryCommandFailsAtOnce();
    void eachOperationSendsItsCommandAndReturnsTheReply_data();
    void eachOperationSendsItsCommandAndReturnsTheReply();
    void firewallFieldsLandOnTheirOffsets();
    void emptyAllowListIsAllZero();
    void surrogatePairsBecomeOneUnit();
    void textsAtTheFieldLimitArriveComplete();
    void textsThatDoNotFitAreRefusedAndNothingIsSent_data();
    void textsThatDoNotFitAreRefusedAndNothingIsSent();
    void timezoneRecord();
    void updatePathStartsAtOddOffset();
    void shortOrMissingReplyIsFailure();
    void replyLaterThanFiveSecondsIsFailure();
    void listenerNotOwnedByRootIsNotTrusted();
};

void TestServiceConnector::withoutDaemonEveryCommandFailsAtOnce()
{
    ServiceConnector sc(unusedLoopbackPort());
    QElapsedTimer timer;
    timer.start();
    const FIREWALL_PARAMETERS p = flags(1, 1, 1, 1, 1);
    QVERIFY(sc.installHelper(QString()));
    QVERIFY(!sc.firewallOn("127.0.0.1", "tun0", p));
    QVERIFY(!sc.firewallChange("127.0.0.1", "tun0", p));
    QVERIFY(!sc.firewallOff());
    QVERIFY(!sc.firewallSupported());
    QVERIFY(!sc.timezonechangeSupported());
    QVERIFY(!sc.timezoneChange(false, "Europe/Berlin"));
    QVERIFY(!sc.runOpenVpnWithConfig("--config \"/tmp/x\""));
    QVERIFY(!sc.updateInstall("/tmp/kestrova.deb"));
    // Refused connections come back at once, not after the reply time-out.
    QVERIFY2(timer.elapsed() < 2000, "a refused connection must not wait for a reply");
}

void TestServiceConnector::eachOperationSendsItsCommandAndReturnsTheReply_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("command");
    QTest::newRow("firewallOn") << 0 << 1;
    QTest::newRow("firewallOff") << 1 << 2;
    QTest::newRow("firewallChange") << 2 << 3;
    QTest::newRow("firewallSupported") << 3 << 5;
    QTest::newRow("timezonechangeSupported") << 5 << 7;
    QTest::newRow("timezoneChange") << 6 << 8;
    QTest::newRow("runOpenVpnWithConfig") << 7 << 9;
    QTest::newRow("updateInstall") << 8 << 10;
}

void TestServiceConnector::eachOperationSendsItsCommandAndReturnsTheReply()
{
    QFETCH(int, op);
    QFETCH(int, command);
    FakeDaemon daemon;
    ServiceConnector sc(daemon.port());
    auto call = [&]() {
        const FIREWALL_PARAMETERS p = flags(0, 0, 0, 0, 0);
        switch (op) {
        case 0:
            return sc.firewallOn("127.0.0.1", "tun0", p);
        case 1:
            return sc.firewallOff();
        case 2:
            return sc.firewallChange("127.0.0.1", "tun0", p);
        case 3:
            return sc.firewallSupported();
        case 5:
            return sc.timezonechangeSupported();
        case 6:
            return sc.timezoneChange(false, "UTC");
        case 7:
            return sc.runOpenVpnWithConfig("--config \"/tmp/p\"");
        default:
            return sc.updateInstall("/tmp/u.deb");
        }
    };
    daemon.setReply(1);
    QVERIFY(call());
    daemon.setReply(0);
    QVERIFY(!call());
    const auto packets = daemon.packets();
    QCOMPARE(packets.size(), size_t(2));
    QCOMPARE(FakeDaemon::commandOf(packets[0]), command);
    QCOMPARE(packets[0].size(), sizeof(MessagePacket));
}

void TestServiceConnector::firewallFieldsLandOnTheirOffsets()
{
    FakeDaemon daemon;
    ServiceConnector sc(daemon.port());
    QVERIFY(sc.firewallOn("127.0.0.1;192.0.2.10", "tun0", flags(1, 0, 1, 0, 1)));
    const auto p = daemon.packets().at(0);
    QVERIFY(FakeDaemon::wideAt(p, kAllowIps, kAllowIpListUnits) == U"127.0.0.1;192.0.2.10");
    QVERIFY(FakeDaemon::wideAt(p, kInterface, kInterfaceToSkipUnits) == U"tun0");
    const std::vector<uint8_t> params(p.begin() + kParams, p.begin() + kParams + 5);
    QVERIFY((params == std::vector<uint8_t>{1, 0, 1, 0, 1}));
}

void TestServiceConnector::emptyAllowListIsAllZero()
{
    FakeDaemon daemon;
    ServiceConnector sc(daemon.port());
    QVERIFY(sc.firewallChange(QString(), "tun0", flags(0, 0, 0, 0, 0)));
    const auto p = daemon.packets().at(0);
    for (size_t i = kAllowIps; i < kInterface; ++i) {
        QCOMPARE(int(p[i]), 0);
    }
}

void TestServiceConnector::surrogatePairsBecomeOneUnit()
{
    FakeDaemon daemon;
    ServiceConnector sc(daemon.port());
    const QString name = QString("tun") + QString::fromUcs4(U"\U0001F600");
    QCOMPARE(name.size(), 5); // four characters, five UTF-16 units
    QVERIFY(sc.firewallOn("127.0.0.1", name, flags(0, 0, 0, 0, 0)));
    const auto p = daemon.packets().at(0);
    QCOMPARE(FakeDaemon::unitAt(p, kInterface + 12), 0x1F600u);
    QCOMPARE(FakeDaemon::unitAt(p, kInterface + 16), 0u);
}

void TestServiceConnector::textsAtTheFieldLimitArriveComplete()
{
    FakeDaemon daemon;
    ServiceConnector sc(daemon.port());
    const QString ips(int(kAllowIpListUnits - 1), QChar('1'));
    const QString iface(int(kInterfaceToSkipUnits - 1), QChar('t'));
    QVERIFY(sc.firewallOn(ips, iface, flags(0, 0, 0, 0, 0)));
    const QString params(int(kOpenvpnParamsUnits - 1), QChar('p'));
    QVERIFY(sc.runOpenVpnWithConfig(params));
    const QString path = "/" + QString(int(kUpdatePathNameUnits - 2), QChar('u'));
    QVERIFY(sc.updateInstall(path));
    const QString zone(int(kTimezoneIanaBytes - 1), QChar('z'));
    QVERIFY(sc.timezoneChange(false, zone));

    const auto packets = daemon.packets();
    QCOMPARE(packets.size(), size_t(4));
    QVERIFY(FakeDaemon::wideAt(packets[0], kAllowIps, kAllowIpListUnits) == u32(ips));
    QCOMPARE(FakeDaemon::unitAt(packets[0], kAllowIps + 4 * (kAllowIpListUnits - 1)), 0u);
    QVERIFY(FakeDaemon::wideAt(packets[0], kInterface, kInterfaceToSkipUnits) == u32(iface));
    QVERIFY(FakeDaemon::wideAt(packets[1], kOpenvpn, kOpenvpnParamsUnits) == u32(params));
    QVERIFY(FakeDaemon::wideAt(packets[2], kUpdatePath, kUpdatePathNameUnits) == u32(path));
    const auto& tz = packets[3];
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(tz.data()) + 5, 511), zone.toUtf8());
    QCOMPARE(int(tz[516]), 0);
}

void TestServiceConnector::textsThatDoNotFitAreRefusedAndNothingIsSent_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<QString>("text");
    QTest::newRow("allowIps one too long") << 0 << QString(int(kAllowIpListUnits), QChar('1'));
    QTest::newRow("allowIps with a zero") << 0 << QString("127.0.0.1") + QChar(0) + "192.0.2.1";
    QTest::newRow("interface one too long") << 1 << QString(int(kInterfaceToSkipUnits), QChar('t'));
    QTest::newRow("params one too long") << 2 << QString(int(kOpenvpnParamsUnits), QChar('p'));
    QTest::newRow("params not ascii") << 2 << QString::fromUtf8("--config \"/tmp/caf\xc3\xa9\"");
    QTest::newRow("update path one too long") << 3 << QString(int(kUpdatePathNameUnits), QChar('u'));
    QTest::newRow("update path not ascii") << 3 << QString::fromUtf8("/tmp/\xc3\xa9.deb");
    QTest::newRow("zone 512 bytes") << 4 << QString(int(kTimezoneIanaBytes), QChar('z'));
    // 256 two-byte characters: short in characters, too long in bytes.
    QTest::newRow("zone 512 utf-8 bytes") << 4 << QString(256, QChar(0xe9));
}

void TestServiceConnector::textsThatDoNotFitAreRefusedAndNothingIsSent()
{
    QFETCH(int, op);
    QFETCH(QString, text);
    FakeDaemon daemon;
    ServiceConnector sc(daemon.port());
    bool result = true;
    switch (op) {
    case 0:
        result = sc.firewallOn(text, "tun0", flags(1, 1, 1, 1, 1));
        break;
    case 1:
        result = sc.firewallChange("127.0.0.1", text, flags(1, 1, 1, 1, 1));
        break;
    case 2:
        result = sc.runOpenVpnWithConfig(text);
        break;
    case 3:
        result = sc.updateInstall(text);
        break;
    default:
        result = sc.timezoneChange(false, text);
        break;
    }
    QVERIFY(!result);
    // A connection the daemon accepted would show up here.
    QVERIFY(sc.firewallOff());
    QCOMPARE(daemon.connections(), 1);
}

void TestServiceConnector::timezoneRecord()
{
    FakeDaemon daemon;
    ServiceConnector sc(daemon.port());
    QVERIFY(sc.timezoneChange(true, QString()));
    QVERIFY(sc.timezoneChange(false, "America/Argentina/Buenos_Aires"));
    const auto packets = daemon.packets();
    QCOMPARE(int(packets[0][4]), 1);
    QCOMPARE(int(packets[0][5]), 0);
    QCOMPARE(int(packets[1][4]), 0);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(packets[1].data()) + 5),
             QByteArray("America/Argentina/Buenos_Aires"));
}

void TestServiceConnector::updatePathStartsAtOddOffset()
{
    FakeDaemon daemon;
    ServiceConnector sc(daemon.port());
    QVERIFY(sc.updateInstall("/var/cache/k.deb"));
    const auto p = daemon.packets().at(0);
    QCOMPARE(int(p[4]), 0);
    QCOMPARE(FakeDaemon::unitAt(p, 5), uint32_t('/'));
    QVERIFY(FakeDaemon::wideAt(p, kUpdatePath, kUpdatePathNameUnits) == U"/var/cache/k.deb");
}

void TestServiceConnector::shortOrMissingReplyIsFailure()
{
    FakeDaemon daemon;
    ServiceConnector sc(daemon.port());
    daemon.setReply(1);
    daemon.setReplyLength(4);
    QVERIFY(!sc.firewallSupported());
    daemon.setReplyLength(0);
    QVERIFY(!sc.firewallSupported());
    QCOMPARE(daemon.packets().size(), size_t(2));
}

void TestServiceConnector::replyLaterThanFiveSecondsIsFailure()
{
    FakeDaemon daemon;
    ServiceConnector sc(daemon.port());
    daemon.setDelay(std::chrono::milliseconds(6000));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!sc.timezonechangeSupported());
    QVERIFY(timer.elapsed() >= 4500);
    // The daemon did receive and carry out the command.
    QCOMPARE(daemon.packets().size(), size_t(1));
}

namespace {

// In the calling process's network namespace: a stand-in daemon on the real
// port, answering 1 to everything, run by `uid`. Returns its pid.
pid_t impostorOnDaemonPort(uid_t uid)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgid(uid) != 0 || setuid(uid) != 0) {
            _exit(3);
        }
        FakeDaemon daemon(kDaemonPort);
        daemon.setReply(1);
        pause();
        _exit(0);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(kDaemonPort);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool up = ::connect(probe, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
        ::close(probe);
        if (up) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return pid;
}

} // namespace

void TestServiceConnector::listenerNotOwnedByRootIsNotTrusted()
{
    if (geteuid() != 0) {
        QSKIP("needs root: a network namespace of its own and a second uid");
    }
    // The client's calls run in a child with a network namespace of its own,
    // so the daemon's port is free there. Exit status: bit 0 set when the
    // call trusted nobody's listener, bit 1 set when it trusted root's.
    const pid_t child = fork();
    if (child == 0) {
        if (unshare(CLONE_NEWNET) != 0 || system("ip link set lo up") != 0) {
            _exit(8);
        }
        int outcome = 0;
        const FIREWALL_PARAMETERS p = flags(1, 1, 0, 0, 0);
        for (uid_t uid : {uid_t(65534), uid_t(0)}) {
            const pid_t impostor = impostorOnDaemonPort(uid);
            const bool trusted = ServiceConnector().firewallOn("192.0.2.10", "tun0", p);
            kill(impostor, SIGKILL);
            waitpid(impostor, nullptr, 0);
            outcome |= uid == 0 ? (trusted ? 2 : 0) : (trusted ? 0 : 1);
        }
        _exit(outcome);
    }
    int status = -1;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 3);
}

QTEST_APPLESS_MAIN(TestServiceConnector)
#include "test_serviceconnector.moc"
