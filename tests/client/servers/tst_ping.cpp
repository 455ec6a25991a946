#include "pingmanager.h"
#include "pingwrapper.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// Most cases run against a stand-in "ping" placed first in PATH, so sweeps
// are quick and deterministic: it answers after FAKE_PING_SLEEP seconds with
// a round trip of <last octet>.5 ms, and fails for hosts ending in ".99".
// One case measures the real loopback with the system program.
class TestPing : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void hostsThatMayReachThePingProgram_data();
    void hostsThatMayReachThePingProgram();
    void refusedHostNeverStartsTheProgram();
    void runnerReportsRoundTripAndFailure();
    void sweepFinishesOnceWithResults();
    void sweepWithDuplicateNamesFinishesOnce();
    void cancelledSweepsLateAnswersAreIgnored();
    void emptySweepNeverFinishes();
    void realPingOverLoopback();

private:
    static QVector<ServerInfo> hosts(const QString& prefix, int count, int firstOctet = 1);
    QStringList loggedCalls() const;

    QTemporaryDir dir_;
    QByteArray systemPath_;
};

void TestPing::initTestCase()
{
    QVERIFY(dir_.isValid());
    const QString script = dir_.filePath("ping");
    QFile f(script);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n"
            "echo \"$*\" >> \"$FAKE_PING_LOG\"\n"
            "for a in \"$@\"; do host=\"$a\"; done\n"
            "sleep \"${FAKE_PING_SLEEP:-0}\"\n"
            "case \"$host\" in *.99) exit 1 ;; esac\n"
            "echo \"PING $host ($host) 56(84) bytes of data.\"\n"
            "echo \"64 bytes from $host: icmp_seq=1 ttl=64 time=${host##*.}.5 ms\"\n");
    f.close();
    QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    systemPath_ = qgetenv("PATH");
    qputenv("PATH", dir_.path().toUtf8() + ":" + systemPath_);
    qputenv("FAKE_PING_LOG", dir_.filePath("calls.log").toUtf8());
}

void TestPing::init()
{
    QFile::remove(dir_.filePath("calls.log"));
    qputenv("FAKE_PING_SLEEP", "0");
}

QVector<ServerInfo> TestPing::hosts(const QString& prefix, int count, int firstOctet)
{
    QVector<ServerInfo> out;
    for (int i = 0; i < count; ++i) {
        ServerInfo s;
        s.name = QString("%1-%2").arg(prefix).arg(i);
        s.ip = QString("127.0.0.%1").arg(firstOctet + i);
        out.append(s);
    }
    return out;
}

QStringList TestPing::loggedCalls() const
{
    QFile f(dir_.filePath("calls.log"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

void TestPing::hostsThatMayReachThePingProgram_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("ipv4") << "192.0.2.10" << true;
    QTest::newRow("ipv6") << "2001:db8::10" << true;
    QTest::newRow("name") << "target.lab.test" << true;
    QTest::newRow("trailing dot") << "target.lab.test." << true;
    QTest::newRow("option") << "-f" << false;
    QTest::newRow("long option") << "--help" << false;
    QTest::newRow("option with address") << "-c 9 127.0.0.1" << false;
    QTest::newRow("blank inside") << "a b" << false;
    QTest::newRow("shell text") << "127.0.0.1;reboot" << false;
    QTest::newRow("label starting with dash") << "a.-b.test" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("too long") << QString(300, 'a') << false;
}

void TestPing::hostsThatMayReachThePingProgram()
{
    QFETCH(QString, host);
    QFETCH(bool, allowed);
    QCOMPARE(PingWrapper::isPingableHost(host), allowed);
}

void TestPing::refusedHostNeverStartsTheProgram()
{
    PingWrapper runner("evil", "-f", true);
    runner.setAutoDelete(false);
    QSignalSpy spy(&runner, &PingWrapper::pingFinished);
    runner.run();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), false);
    QCOMPARE(spy.at(0).at(2).toString(), QString("evil"));
    QVERIFY(loggedCalls().isEmpty());
}

void TestPing::runnerReportsRoundTripAndFailure()
{
    PingWrapper good("A", "127.0.0.7", true);
    good.setAutoDelete(false);
    QSignalSpy goodSpy(&good, &PingWrapper::pingFinished);
    good.run();
    QCOMPARE(goodSpy.count(), 1);
    QCOMPARE(goodSpy.at(0).at(0).toBool(), true);
    QCOMPARE(goodSpy.at(0).at(1).toDouble(), 7.5);
    QCOMPARE(goodSpy.at(0).at(3).toString(), QString("127.0.0.7"));
    // Numeric output, one request, a bounded reply wait, and the host last.
    QCOMPARE(loggedCalls(), QStringList{"-n -c 1 -W 2 127.0.0.7"});

    PingWrapper bad("B", "127.0.0.99", true);
    bad.setAutoDelete(false);
    QSignalSpy badSpy(&bad, &PingWrapper::pingFinished);
    bad.run();
    QCOMPARE(badSpy.count(), 1);
    QCOMPARE(badSpy.at(0).at(0).toBool(), false);
}

void TestPing::sweepFinishesOnceWithResults()
{
    PingManager manager;
    QSignalSpy finished(&manager, &PingManager::pingServersFinished);
    QVector<ServerInfo> list = hosts("loc", 8); // more than the pool's five threads
    list[3].ip = "127.0.0.99";                  // no answer from this one
    manager.pingServers(list);
    QVERIFY(finished.wait(10000));
    QTest::qWait(100);
    QCOMPARE(finished.count(), 1);
    const QVector<ServerInfo> results = manager.servers();
    QCOMPARE(results.size(), 8);
    for (const ServerInfo& s : results) {
        const int octet = s.ip.section('.', -1).toInt();
        QCOMPARE(s.ping, octet == 99 ? 0 : octet);
    }
    QCOMPARE(loggedCalls().size(), 8);
}

void TestPing::sweepWithDuplicateNamesFinishesOnce()
{
    PingManager manager;
    QSignalSpy finished(&manager, &PingManager::pingServersFinished);
    QVector<ServerInfo> list = hosts("dup", 3);
    for (ServerInfo s : hosts("dup", 3, 11)) {
        s.user = "second-login";
        list.append(s);
    }
    manager.pingServers(list);
    QVERIFY(finished.wait(10000));
    QTest::qWait(100);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(manager.servers().size(), 3);
    QCOMPARE(loggedCalls().size(), 6);
}

void TestPing::cancelledSweepsLateAnswersAreIgnored()
{
    qputenv("FAKE_PING_SLEEP", "0.6");
    PingManager manager;
    QSignalSpy finished(&manager, &PingManager::pingServersFinished);
    manager.pingServers(hosts("old", 5));
    QTest::qWait(100); // the five old runners are now busy
    manager.pingServers(hosts("new", 2, 20));
    QVERIFY(finished.wait(10000));
    QTest::qWait(800); // room for any straggler to arrive and be counted wrongly
    QCOMPARE(finished.count(), 1);
    const QVector<ServerInfo> results = manager.servers();
    QCOMPARE(results.size(), 2);
    QCOMPARE(results[0].name, QString("new-0"));
    QCOMPARE(results[0].ping, 20);
    QCOMPARE(results[1].ping, 21);
}

void TestPing::emptySweepNeverFinishes()
{
    PingManager manager;
    QSignalSpy finished(&manager, &PingManager::pingServersFinished);
    manager.pingServers({});
    QVERIFY(!finished.wait(300));
    QVERIFY(manager.servers().isEmpty());
}

void TestPing::realPingOverLoopback()
{
    qputenv("PATH", systemPath_);
    PingManager manager;
    QSignalSpy finished(&manager, &PingManager::pingServersFinished);
    manager.pingServers(hosts("lo", 3));
    const bool done = finished.wait(15000);
    qputenv("PATH", dir_.path().toUtf8() + ":" + systemPath_);
    QVERIFY(done);
    QCOMPARE(manager.servers().size(), 3);

    PingWrapper runner("lo", "127.0.0.2", true);
    runner.setAutoDelete(false);
    QSignalSpy spy(&runner, &PingWrapper::pingFinished);
    qputenv("PATH", systemPath_);
    runner.run();
    qputenv("PATH", dir_.path().toUtf8() + ":" + systemPath_);
    QCOMPARE(spy.count(), 1);
    if (!spy.at(0).at(0).toBool())
        QSKIP("the system ping cannot send here (no raw or datagram ICMP socket)");
    QVERIFY(spy.at(0).at(1).toDouble() > 0.0);
}

QTEST_GUILESS_MAIN(TestPing)
#include "tst_ping.moc"
