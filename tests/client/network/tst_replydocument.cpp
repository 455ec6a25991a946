#include "replydocument.h"

#include <QTest>

// The flat reading of a reply: what the API handlers walk.
class TestReplyDocument : public QObject
{
    Q_OBJECT
private slots:
    void childrenInDocumentOrder();
    void textOfNestedElementsAndEntities();
    void brokenBodiesGiveNothing_data();
    void brokenBodiesGiveNothing();
};

void TestReplyDocument::childrenInDocumentOrder()
{
    const auto reply = ReplyDocument::parse(R"(<?xml version="1.0"?>
<response>
  <ver type="lite">dHJ1ZQ==</ver>
  <vpn name="a" ip="b"/>
  <unknown><deep>x</deep></unknown>
  <vpn name="c"/>
</response>)");
    QVERIFY(reply);
    QCOMPARE(reply->size(), 4);
    QCOMPARE(reply->at(0).tag, QString("ver"));
    QCOMPARE(reply->at(0).attribute("type"), QString("lite"));
    QCOMPARE(reply->at(0).text, QString("dHJ1ZQ=="));
    QCOMPARE(reply->at(1).attribute("ip"), QString("b"));
    QCOMPARE(reply->at(1).attribute("missing"), QString());
    QCOMPARE(reply->at(2).tag, QString("unknown"));
    QCOMPARE(reply->at(3).attribute("name"), QString("c"));
}

void TestReplyDocument::textOfNestedElementsAndEntities()
{
    const auto reply = ReplyDocument::parse("<double><p p=\"35\">Amsterdam &amp; New&#32;York</p>"
                                            "<upgrade><ver>My4=</ver><x><y>deep</y></x><link>bA==</link></"
                                            "upgrade><e><![CDATA[a<b]]></e></double>");
    QVERIFY(reply);
    QCOMPARE(reply->at(0).text, QString("Amsterdam & New York"));
    const ReplyElement& upgrade = reply->at(1);
    QCOMPARE(upgrade.children.size(), 3);
    QCOMPARE(upgrade.children.at(0).tag, QString("ver"));
    QCOMPARE(upgrade.children.at(0).text, QString("My4="));
    QCOMPARE(upgrade.children.at(1).text, QString("deep"));
    QCOMPARE(upgrade.children.at(2).text, QString("bA=="));
    QCOMPARE(upgrade.text, QString("My4=deepbA=="));
    QCOMPARE(reply->at(2).text, QString("a<b"));
}

void TestReplyDocument::brokenBodiesGiveNothing_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("html") << QByteArray("<html><body>502 Bad Gateway");
    QTest::newRow("truncated") << QByteArray("<response><auth>dHJ1ZQ==</auth><vpn name=\"");
    QTest::newRow("two roots") << QByteArray("<a/><b/>");
    QTest::newRow("text only") << QByteArray("OK");
    QTest::newRow("mismatched") << QByteArray("<a><auth>x</vpn></a>");
}

void TestReplyDocument::brokenBodiesGiveNothing()
{
    QFETCH(QByteArray, body);
    QVERIFY(!ReplyDocument::parse(body));
    QVERIFY(ReplyDocument::children(body).isEmpty());
}

QTEST_APPLESS_MAIN(TestReplyDocument)
#include "tst_replydocument.moc"
