#include "utils.h"

#include <QtTest>

class TestProtocolTables : public QObject
{
    Q_OBJECT
private slots:
    void protocolByLabel_data();
    void protocolByLabel();
    void protocolByType_data();
    void protocolByType();
    void portByLabel_data();
    void portByLabel();
    void failedProtocolLookupIsTheEndRow();
    void chooserOrderIsTcpUdpStealth();
};

void TestProtocolTables::protocolByLabel_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("title");
    QTest::newRow("stealth") << "stealth" << 6 << "Imitation HTTPS";
    QTest::newRow("tcp") << "tcp" << 5 << "OpenVPN TCP (safer)";
    QTest::newRow("udp") << "udp" << 4 << "OpenVPN UDP (faster)";
    QTest::newRow("capitals fail") << "TCP" << -1 << "";
    QTest::newRow("empty fails") << "" << -1 << "";
    QTest::newRow("null fails") << QString() << -1 << "";
    QTest::newRow("blank around fails") << " udp" << -1 << "";
}

void TestProtocolTables::protocolByLabel()
{
    QFETCH(QString, label);
    QFETCH(int, type);
    QFETCH(QString, title);
    const VpnProtocol row = getVpnProtocolByLabel(label);
    QCOMPARE(int(row.type), type);
    QCOMPARE(row.translatedTitle(), title);
}

void TestProtocolTables::protocolByType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("label");
    QTest::newRow("udp") << 4 << "udp";
    QTest::newRow("tcp") << 5 << "tcp";
    QTest::newRow("stealth") << 6 << "stealth";
    QTest::newRow("pptp has no row") << 0 << QString();
    QTest::newRow("none") << -1 << QString();
    QTest::newRow("unused 2") << 2 << QString();
}

void TestProtocolTables::protocolByType()
{
    QFETCH(int, type);
    QFETCH(QString, label);
    const VpnProtocol row = getVpnProtocolByID(type);
    QCOMPARE(row.label, label);
    QCOMPARE(row.label.isNull(), label.isNull());
}

void TestProtocolTables::portByLabel_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QString>("title");
    QTest::newRow("tcp automatic") << "80,88,8008" << 6 << 5 << "Automatic";
    QTest::newRow("udp automatic") << "1194,118,123,443,9200" << 0 << 4 << "Automatic";
    QTest::newRow("single udp 9201") << "9201" << 5 << 4 << "9201";
    QTest::newRow("single tcp 8008") << "8008" << 9 << 5 << "8008";
    QTest::newRow("title is not the key") << "Automatic" << -1 << 0 << "";
    QTest::newRow("9200 only inside the list") << "9200" << -1 << 0 << "";
    QTest::newRow("blanks in list") << "80, 88, 8008" << -1 << 0 << "";
    QTest::newRow("empty") << "" << -1 << 0 << "";
}

void TestProtocolTables::portByLabel()
{
    QFETCH(QString, label);
    QFETCH(int, id);
    QFETCH(int, protocol);
    QFETCH(QString, title);
    const VpnPort row = getVpnPortByLabel(label);
    QCOMPARE(row.id, id);
    QCOMPARE(int(row.protocol), protocol);
    QCOMPARE(row.title, title);
    if (id == -1)
        QVERIFY(row.label.isEmpty());
}

void TestProtocolTables::failedProtocolLookupIsTheEndRow()
{
    const VpnProtocol row = getVpnProtocolByLabel("nope");
    QCOMPARE(int(row.type), -1);
    QVERIFY(row.label.isNull());
    QVERIFY(row.title == nullptr);
    QVERIFY(row.translatedTitle().isEmpty());
}

void TestProtocolTables::chooserOrderIsTcpUdpStealth()
{
    QStringList labels;
    for (const VpnProtocol* row = gVpnProtocol; row->type != -1; ++row)
        labels << row->label;
    QCOMPARE(labels, (QStringList{"tcp", "udp", "stealth"}));
}

QTEST_APPLESS_MAIN(TestProtocolTables)
#include "tst_protocoltables.moc"
