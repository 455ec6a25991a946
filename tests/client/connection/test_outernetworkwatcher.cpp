// The watcher of the network under the tunnel, in a network namespace of the
// test's own (root): a veth link stands for the LAN, a tun device for the
// tunnel. The host's network is never touched.
#include "outernetworkwatcher.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include <cstring>
#include <fcntl.h>
#include <linux/if_tun.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool ip(const QString& args)
{
    QProcess p;
    p.start("ip", args.split(' '));
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Long enough for any burst of events to have settled and been looked at.
const int kQuietMs = 1000;

// A tun device as OpenVPN holds it: with carrier while the descriptor is open.
int openTun(const char* name)
{
    const int fd = ::open("/dev/net/tun", O_RDWR | O_CLOEXEC);
    ifreq request;
    std::memset(&request, 0, sizeof request);
    request.ifr_flags = IFF_TUN | IFF_NO_PI;
    std::strncpy(request.ifr_name, name, IFNAMSIZ - 1);
    if (fd >= 0 && ::ioctl(fd, TUNSETIFF, &request) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

class TestOuterNetworkWatcher : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void aNewAddressOrGatewayIsAChange();
    void aLinkBackWithinOneBurstIsAChange();
    void aNewAddressIsReportedOnceItsGatewayIsThere();
    void theTunnelsOwnRoutesAreNoChange();
    void aResumeIsReportedOnLogindsWord();

private:
    OuterNetworkWatcher watcher;
};

void TestOuterNetworkWatcher::initTestCase()
{
    if (::geteuid() != 0) {
        QSKIP("needs root for a network namespace of its own");
    }
    QVERIFY(::unshare(CLONE_NEWNET) == 0);
    QVERIFY(ip("link set lo up"));
}

void TestOuterNetworkWatcher::init()
{
    QVERIFY(ip("link add lan0 type veth peer name lan1"));
    QVERIFY(ip("link set lan0 up"));
    QVERIFY(ip("link set lan1 up"));
    QVERIFY(ip("addr add 198.51.100.2/25 dev lan0"));
    QVERIFY(ip("route add default via 198.51.100.1"));
    QVERIFY(watcher.start());
}

void TestOuterNetworkWatcher::cleanup()
{
    watcher.stop();
    ip("link del lan0");
}

void TestOuterNetworkWatcher::aNewAddressOrGatewayIsAChange()
{
    QSignalSpy changed(&watcher, &OuterNetworkWatcher::changed);
    // Roaming: the old lease goes, a new one comes with its own gateway.
    QVERIFY(ip("addr del 198.51.100.2/25 dev lan0"));
    QVERIFY(ip("addr add 203.0.113.7/24 dev lan0"));
    QVERIFY(ip("route add default via 203.0.113.1"));
    QTRY_VERIFY_WITH_TIMEOUT(changed.size() >= 1, 5000);

    // Same address, another gateway (another network with the same plan).
    QTest::qWait(kQuietMs);
    changed.clear();
    QVERIFY(ip("route replace default via 203.0.113.2"));
    QTRY_VERIFY_WITH_TIMEOUT(changed.size() >= 1, 5000);
}

void TestOuterNetworkWatcher::aResumeIsReportedOnLogindsWord()
{
    if (QStandardPaths::findExecutable("dbus-daemon").isEmpty()) {
        QSKIP("dbus-daemon is not installed");
    }
    // A bus of the test's own stands for the system bus, with a logind that
    // says the machine goes to sleep and has woken up.
    QProcess bus;
    bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    QVERIFY(bus.waitForStarted());
    QTRY_VERIFY(bus.canReadLine());
    const QString address = QString::fromUtf8(bus.readLine()).trimmed();
    QDBusConnection logind = QDBusConnection::connectToBus(address, "kv-test-logind");
    QVERIFY(logind.registerService("org.freedesktop.login1"));
    {
        OuterNetworkWatcher listening(QDBusConnection::connectToBus(address, "kv-test-system"));
        QVERIFY(listening.start());
        QTRY_VERIFY(listening.hearsSleep());
        QSignalSpy changed(&listening, &OuterNetworkWatcher::changed);
        auto prepare = [&logind](bool starting) {
            QDBusMessage signal = QDBusMessage::createSignal(
                "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep");
            signal << starting;
            QVERIFY(logind.send(signal));
        };
        prepare(true);
        QTest::qWait(kQuietMs);
        QCOMPARE(changed.size(), 0);
        prepare(false);
        QTRY_COMPARE(changed.size(), 1);

        // Not while stopped: nothing runs that a resume could break.
        listening.stop();
        prepare(false);
        QTest::qWait(kQuietMs);
        QCOMPARE(changed.size(), 1);
    }
    QDBusConnection::disconnectFromBus("kv-test-system");
    QDBusConnection::disconnectFromBus("kv-test-logind");
    bus.kill();
    bus.waitForFinished();
}

void TestOuterNetworkWatcher::aLinkBackWithinOneBurstIsAChange()
{
    // Down and up again, or an address gone and back, faster than a burst
    // settles: the same addresses and gateway as before, but the kernel took
    // every route through the link, the VPN server's among them.
    QSignalSpy changed(&watcher, &OuterNetworkWatcher::changed);
    QVERIFY(ip("link set lan0 down"));
    QVERIFY(ip("link set lan0 up"));
    QVERIFY(ip("route replace default via 198.51.100.1"));
    QTRY_VERIFY_WITH_TIMEOUT(changed.size() >= 1, 5000);

    QTest::qWait(kQuietMs);
    changed.clear();
    QVERIFY(ip("addr del 198.51.100.2/25 dev lan0"));
    QVERIFY(ip("addr add 198.51.100.2/25 dev lan0"));
    QVERIFY(ip("route replace default via 198.51.100.1"));
    QTRY_VERIFY_WITH_TIMEOUT(changed.size() >= 1, 5000);

    // Another link that goes down is none of the transport's business.
    QTest::qWait(kQuietMs);
    changed.clear();
    QVERIFY(ip("link add other0 type veth peer name other1"));
    QVERIFY(ip("link set other0 up"));
    QVERIFY(ip("link set other0 down"));
    QVERIFY(ip("link del other0"));
    QTest::qWait(kQuietMs);
    QCOMPARE(changed.size(), 0);
}

void TestOuterNetworkWatcher::aNewAddressIsReportedOnceItsGatewayIsThere()
{
    // The server is reached over IPv4; the LAN's IPv6 gateway, which stays
    // throughout, cannot carry the transport.
    watcher.stop();
    QVERIFY(ip("-6 addr add 2001:db8:1::2/64 dev lan0 nodad"));
    QVERIFY(ip("-6 route add default via 2001:db8:1::1 dev lan0"));
    watcher.setServerFamily(AF_INET);
    QVERIFY(watcher.start());
    QSignalSpy changed(&watcher, &OuterNetworkWatcher::changed);

    // A DHCP client that sets the address first and the default route a
    // moment later: a restart in between would find no way to the server.
    QVERIFY(ip("-4 addr flush dev lan0"));
    QVERIFY(ip("addr add 203.0.113.7/24 dev lan0"));
    QTest::qWait(kQuietMs);
    QCOMPARE(changed.size(), 0);
    QVERIFY(ip("route add default via 203.0.113.1"));
    QTRY_COMPARE_WITH_TIMEOUT(changed.size(), 1, 5000);
    QTest::qWait(kQuietMs);
    QCOMPARE(changed.size(), 1);

    // A network without any default route for the server is reported all
    // the same once it has had time to get one.
    QVERIFY(ip("-4 addr flush dev lan0"));
    QVERIFY(ip("addr add 192.0.2.7/24 dev lan0"));
    QTRY_COMPARE_WITH_TIMEOUT(changed.size(), 2, OuterNetworkWatcher::kGatewayWaitMs + 5000);
}

void TestOuterNetworkWatcher::theTunnelsOwnRoutesAreNoChange()
{
    QSignalSpy changed(&watcher, &OuterNetworkWatcher::changed);
    // What OpenVPN does when it connects with redirect-gateway, one step at
    // a time so that none hides in another's burst: its device and address,
    // the server's route through the old gateway and the two halves of the
    // address space (def1); without def1, the default route itself replaced
    // by one through the tunnel; and all of it undone on a restart.
    const int tun = openTun("tun0");
    QVERIFY(tun >= 0);
    QVERIFY(ip("link set tun0 up"));
    QVERIFY(ip("addr add 198.51.100.130/25 dev tun0"));
    QVERIFY(ip("route add 192.0.2.10/32 via 198.51.100.1"));
    QVERIFY(ip("route add 0.0.0.0/1 dev tun0"));
    QVERIFY(ip("route add 128.0.0.0/1 dev tun0"));
    QTest::qWait(kQuietMs);
    QVERIFY(ip("route del default via 198.51.100.1"));
    QVERIFY(ip("route add default dev tun0"));
    QTest::qWait(kQuietMs);
    QVERIFY(ip("route del default dev tun0"));
    QVERIFY(ip("route add default via 198.51.100.1"));
    ::close(tun);
    QTest::qWait(kQuietMs);
    QCOMPARE(changed.size(), 0);
}

QTEST_GUILESS_MAIN(TestOuterNetworkWatcher)
#include "test_outernetworkwatcher.moc"
