#include "connection.h"
#include "connectorharness.h"

#include <QSignalSpy>
#include <QtTest>

using S = FakeManagement;

class TestConnection : public QObject
{
    Q_OBJECT
private slots:
    void errorTexts_data();
    void errorTexts();
    void trafficIsReportedPerIntervalAndInTotal();
    void endAndErrorsReachThePage();
    void fatalEndOfOpenVpnIsAnErrorNotADisconnect();
    void transportsWithoutOpenVpnStartNothing_data();
    void transportsWithoutOpenVpnStartNothing();
    void destroyedWhileConnectedStopsOpenVpn();

private:
    static ServerInfo server(int protocol)
    {
        ServerInfo s;
        s.ip = "192.0.2.10";
        s.protocol = protocol;
        return s;
    }
};

void TestConnection::errorTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "Invalid username or password";
    QTest::newRow("1") << 1 << "Not open openvpn socket";
    QTest::newRow("2") << 2 << "Can not alocate TUN";
    QTest::newRow("3") << 3 << "Can not connect to helper";
    QTest::newRow("4") << 4 << "Can not write to helper";
    QTest::newRow("5") << 5 << "Code error: 5";
    QTest::newRow("7") << 7 << "Code error: 7";
    QTest::newRow("8") << 8 << "Code error: 8";
}

void TestConnection::errorTexts()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(Connection::errorText(code), text);
}

void TestConnection::trafficIsReportedPerIntervalAndInTotal()
{
    ConnectorHarness harness({S::expect(), S::expect(), S::expect(), S::send(">BYTECOUNT:70,80\r\n"),
                              S::send(">STATE:1,CONNECTED,SUCCESS,198.51.100.130,192.0.2.10,1194,,\r\n"),
                              S::send(">BYTECOUNT:1000,500\r\n"), S::send(">BYTECOUNT:3000,800\r\n"),
                              S::send(">BYTECOUNT:2000,900\r\n"), S::close()});
    Connection connection(harness.serviceConnector);
    QSignalSpy connected(&connection, &Connection::connected);
    QSignalSpy stats(&connection, &Connection::statisticsChanged);
    QSignalSpy disconnected(&connection, &Connection::disconnected);
    connection.connect(server(4), "user1", "secret", "/tmp/Kestrova.abc123");
    QTRY_COMPARE_WITH_TIMEOUT(disconnected.size(), 1, 5000);
    QCOMPARE(connected.size(), 1);
    QCOMPARE(disconnected.at(0).at(0).toBool(), false);
    auto row = [&](int i) {
        QList<double> r;
        for (const QVariant& v : stats.at(i)) {
            r << v.toDouble();
        }
        return r;
    };
    QCOMPARE(stats.size(), 4);
    // The report before the connection counts from zero; the connection
    // restarts the count, so its first report is all interval.
    QCOMPARE(row(0), (QList<double>{70, 80, 70, 80}));
    QCOMPARE(row(1), (QList<double>{1000, 500, 1000, 500}));
    QCOMPARE(row(2), (QList<double>{2000, 300, 3000, 800}));
    // A smaller total (a counter reset) gives a negative interval, not a huge one.
    QCOMPARE(row(3), (QList<double>{-1000, 100, 2000, 900}));
}

void TestConnection::endAndErrorsReachThePage()
{
    ConnectorHarness harness({S::expect(), S::expect(), S::expect(),
                              S::send(">LOG:1,,AUTH: Received control message: AUTH_FAILED\r\n"),
                              S::close()});
    Connection connection(harness.serviceConnector);
    QSignalSpy errors(&connection, &Connection::error);
    QSignalSpy logs(&connection, &Connection::logUpdate);
    QSignalSpy disconnected(&connection, &Connection::disconnected);
    connection.connect(server(5), "user1", "secret", "/tmp/Kestrova.abc123");
    QTRY_COMPARE_WITH_TIMEOUT(disconnected.size(), 1, 5000);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.at(0).at(0).toString(), QString("Invalid username or password"));
    QCOMPARE(logs.size(), 0); // the AUTH_FAILED rule handles that line
}

void TestConnection::fatalEndOfOpenVpnIsAnErrorNotADisconnect()
{
    ConnectorHarness harness({S::expect(), S::expect(), S::expect(),
                              S::send(">LOG:1700000000,F,Cannot open TUN/TAP dev /dev/net/tun: No such file "
                                      "or directory (errno=2)\r\n"),
                              S::send(">LOG:1700000000,F,Cannot open TUN/TAP dev again\r\n"),
                              S::send(">LOG:1700000000,I,Exiting due to fatal error\r\n"), S::close()});
    Connection connection(harness.serviceConnector);
    QSignalSpy errors(&connection, &Connection::error);
    QSignalSpy disconnected(&connection, &Connection::disconnected);
    connection.connect(server(4), "user1", "secret", "/tmp/Kestrova.abc123");
    QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 5000);
    QCOMPARE(errors.at(0).at(0).toString(),
             QString("OpenVPN: Cannot open TUN/TAP dev /dev/net/tun: No such file or directory (errno=2)"));
    QTest::qWait(300);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(disconnected.size(), 0);
}

void TestConnection::transportsWithoutOpenVpnStartNothing_data()
{
    QTest::addColumn<int>("protocol");
    QTest::newRow("retired 0") << 0;
    QTest::newRow("retired 1") << 1;
    QTest::newRow("unused 2") << 2;
    QTest::newRow("stealth record") << 6;
    QTest::newRow("none") << -1;
}

void TestConnection::transportsWithoutOpenVpnStartNothing()
{
    QFETCH(int, protocol);
    ConnectorHarness harness({S::close()});
    Connection connection(harness.serviceConnector);
    QSignalSpy errors(&connection, &Connection::error);
    QSignalSpy disconnected(&connection, &Connection::disconnected);
    connection.connect(server(protocol), "user1", "secret", "/tmp/Kestrova.abc123");
    QTest::qWait(200);
    QVERIFY(harness.daemon.packets().empty());
    QVERIFY(errors.isEmpty());
    QVERIFY(disconnected.isEmpty());
}

void TestConnection::destroyedWhileConnectedStopsOpenVpn()
{
    ConnectorHarness harness({S::expect(), S::expect(), S::expect(),
                              S::send(">STATE:1,CONNECTED,SUCCESS,198.51.100.130,192.0.2.10,1194,,\r\n"),
                              S::expect(), S::close()});
    {
        Connection connection(harness.serviceConnector);
        QSignalSpy connected(&connection, &Connection::connected);
        connection.connect(server(4), "user1", "secret", "/tmp/Kestrova.abc123");
        QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 1, 5000);
    }
    QTRY_VERIFY_WITH_TIMEOUT(harness.managementFinished(), 5000);
    QCOMPARE(harness.managementLines().value(3), QByteArray("signal SIGTERM"));
}

QTEST_GUILESS_MAIN(TestConnection)
#include "test_connection.moc"
