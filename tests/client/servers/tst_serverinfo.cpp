#include "serverinfo.h"

#include <QBuffer>
#include <QDataStream>
#include <QtTest>

class TestServerInfo : public QObject
{
    Q_OBJECT
private slots:
    void textFormRoundTrip();
    void textFormLayout();
    void parsingByFieldCount_data();
    void parsingByFieldCount();
    void favoriteField_data();
    void favoriteField();
    void emptyPortListReadsAsOneEmptyEntry();
    void placeholderTextInAFieldStaysPut();
    void streamFormCarriesTenFields();
    void streamFormBigEndianBytes();
    void identifSettingsForm_data();
    void identifSettingsForm();
    void logStringHidesPassword();
};

namespace {

ServerInfo paris()
{
    ServerInfo s;
    s.name = "Paris";
    s.flag = "fr";
    s.label = "Paris";
    s.ip = "192.0.2.10";
    s.user = "u1";
    s.password = "pw1";
    s.tcpPorts = QStringList{"80", "88"};
    s.udpPorts = QStringList{"1194"};
    s.favorite = true;
    s.protocol = PROTOCOL_OPENVPN_UDP;
    s.sslPort = 443;
    s.type = ServerInfo::Double;
    s.sni = "cdn.example.test";
    s.ping = 42;
    s.groupName = "G";
    return s;
}

} // namespace

void TestServerInfo::textFormRoundTrip()
{
    const ServerInfo in = paris();
    const ServerInfo out(static_cast<QString>(in));
    QCOMPARE(out.name, in.name);
    QCOMPARE(out.flag, in.flag);
    QCOMPARE(out.label, in.label);
    QCOMPARE(out.ip, in.ip);
    QCOMPARE(out.user, in.user);
    QCOMPARE(out.password, in.password);
    QCOMPARE(out.tcpPorts, in.tcpPorts);
    QCOMPARE(out.udpPorts, in.udpPorts);
    QCOMPARE(out.favorite, true);
    QCOMPARE(out.protocol, in.protocol);
    QCOMPARE(out.sslPort, 443);
    QCOMPARE(out.type, ServerInfo::Double);
    QCOMPARE(out.sni, in.sni);
    // Not part of the text form.
    QCOMPARE(out.ping, 0);
    QVERIFY(out.groupName.isEmpty());
}

void TestServerInfo::textFormLayout()
{
    QCOMPARE(static_cast<QString>(paris()),
             QString("Paris;fr;Paris;192.0.2.10;1;u1;pw1;80.88;1194;4;443;2;cdn.example.test"));
}

void TestServerInfo::parsingByFieldCount_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("sslPort");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("sni");
    QTest::newRow("9 fields: default") << "A;f;A;ip;0;u;p;80;1194"
                                       << "" << 0 << 1 << "";
    QTest::newRow("empty line") << ""
                                << "" << 0 << 1 << "";
    QTest::newRow("10 fields") << "A;f;A;ip;0;u;p;80;1194;4"
                               << "A" << 0 << 1 << "";
    QTest::newRow("11 fields") << "A;f;A;ip;0;u;p;80;1194;4;443"
                               << "A" << 443 << 1 << "";
    QTest::newRow("12 fields") << "A;f;A;ip;0;u;p;80;1194;4;443;2"
                               << "A" << 443 << 2 << "";
    QTest::newRow("14 fields") << "A;f;A;ip;0;u;p;80;1194;4;443;2;sni;extra"
                               << "A" << 443 << 2 << "sni";
    QTest::newRow("bad numbers") << "A;f;A;ip;x;u;p;80;1194;y;z;w;s"
                                 << "A" << 0 << 0 << "s";
}

void TestServerInfo::parsingByFieldCount()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(int, sslPort);
    QFETCH(int, type);
    QFETCH(QString, sni);
    const ServerInfo s(line);
    QCOMPARE(s.name, name);
    QCOMPARE(s.sslPort, sslPort);
    QCOMPARE(int(s.type), type);
    QCOMPARE(s.sni, sni);
    if (name.isEmpty()) {
        QVERIFY(s.user.isEmpty() && s.tcpPorts.isEmpty() && !s.favorite);
    }
}

void TestServerInfo::favoriteField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("favorite");
    QTest::newRow("1") << "1" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("7") << "7" << true;
    QTest::newRow("-1") << "-1" << true;
    QTest::newRow("text") << "yes" << false;
    QTest::newRow("empty") << "" << false;
}

void TestServerInfo::favoriteField()
{
    QFETCH(QString, field);
    QFETCH(bool, favorite);
    QCOMPARE(ServerInfo(QString("A;f;A;ip;%1;u;p;80;1194;4").arg(field)).favorite, favorite);
}

void TestServerInfo::emptyPortListReadsAsOneEmptyEntry()
{
    ServerInfo s = paris();
    s.tcpPorts.clear();
    const QString line = s;
    QVERIFY(line.contains(";pw1;;1194;"));
    QCOMPARE(ServerInfo(line).tcpPorts, QStringList{QString()});
}

void TestServerInfo::placeholderTextInAFieldStaysPut()
{
    ServerInfo s = paris();
    s.name = "Odd %5 name";
    s.sni = "%1";
    const ServerInfo back(static_cast<QString>(s));
    QCOMPARE(back.name, s.name);
    QCOMPARE(back.sni, s.sni);
    QCOMPARE(back.user, s.user);
}

void TestServerInfo::streamFormCarriesTenFields()
{
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << paris();
    }
    ServerInfo back;
    back.sslPort = 7;
    back.sni = "kept";
    back.type = ServerInfo::Standart;
    QDataStream in(bytes);
    in >> back;
    QCOMPARE(in.status(), QDataStream::Ok);
    QVERIFY(in.atEnd());
    QCOMPARE(back.name, QString("Paris"));
    QCOMPARE(back.tcpPorts, (QStringList{"80", "88"}));
    QCOMPARE(back.password, QString("pw1"));
    QVERIFY(back.favorite);
    QCOMPARE(back.protocol, 4);
    // Not carried: left as they were.
    QCOMPARE(back.sslPort, 7);
    QCOMPARE(back.sni, QString("kept"));
    QCOMPARE(back.type, ServerInfo::Standart);
    QCOMPARE(back.ping, 0);
}

void TestServerInfo::streamFormBigEndianBytes()
{
    ServerInfo s;
    s.name = "A";
    s.protocol = 5;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << s;
    // "A" as a length-prefixed UTF-16 string, three null strings, a bool,
    // two null strings, two empty lists and the protocol.
    QByteArray expected = QByteArray::fromHex("00000002"
                                              "0041");
    expected += QByteArray::fromHex("ffffffff").repeated(3);
    expected += QByteArray::fromHex("00");
    expected += QByteArray::fromHex("ffffffff").repeated(2);
    expected += QByteArray::fromHex("00000000").repeated(2);
    expected += QByteArray::fromHex("00000005");
    QCOMPARE(bytes.toHex(), expected.toHex());
}

void TestServerInfo::identifSettingsForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("name");
    QTest::newRow("pair") << "u1::Paris"
                          << "u1"
                          << "Paris";
    QTest::newRow("no separator") << "u1Paris"
                                  << ""
                                  << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("three parts") << "u1::Paris::x"
                                 << "u1"
                                 << "Paris";
    QTest::newRow("empty login kept") << "::<*>"
                                      << ""
                                      << "<*>";
    QTest::newRow("single colon") << "u1:Paris"
                                  << ""
                                  << "";
}

void TestServerInfo::identifSettingsForm()
{
    QFETCH(QString, text);
    QFETCH(QString, login);
    QFETCH(QString, name);
    const ServerIdentif id = identifFromSettings(text);
    QCOMPARE(id.first, login);
    QCOMPARE(id.second, name);
    if (!login.isEmpty() && !text.endsWith("::x"))
        QCOMPARE(identifToSettings(id), text);
    // A name holding "::" is cut at it.
    QCOMPARE(identifFromSettings(identifToSettings({"u1", "A::B"})), ServerIdentif("u1", "A"));
}

void TestServerInfo::logStringHidesPassword()
{
    const QString log = paris().toLogString();
    QVERIFY(!log.contains("pw1"));
    QVERIFY(log.startsWith("Paris;fr;"));
}

QTEST_APPLESS_MAIN(TestServerInfo)
#include "tst_serverinfo.moc"
