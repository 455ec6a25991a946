#include "allowlist.h"

#include <QtTest>

namespace {

const QStringList kRequired{"127.0.0.1", "192.0.2.20", "192.0.2.100"};

QStringList range(const QString& prefix, int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i) {
        out.append(prefix + QString::number(i));
    }
    return out;
}

quint32 toNumber(const QString& address)
{
    quint32 n = 0;
    for (const QString& part : address.split('.')) {
        n = (n << 8) | part.toUInt();
    }
    return n;
}

// Every address an item of the list lets through.
QSet<quint32> covered(const QStringList& list)
{
    QSet<quint32> out;
    for (const QString& item : list) {
        const QStringList parts = item.split('/');
        const int prefix = parts.size() == 2 ? parts[1].toInt() : 32;
        const quint32 base = toNumber(parts[0]);
        for (quint64 i = 0; i < (quint64(1) << (32 - prefix)); ++i) {
            out.insert(base + quint32(i));
        }
    }
    return out;
}

} // namespace

class TestAllowList : public QObject
{
    Q_OBJECT

private slots:
    void requiredComeFirstAndNothingButIPv4Repeats()
    {
        const QStringList servers{"192.0.2.10",   "vpn.lab.test", "2001:db8::1", "192.0.2.010",
                                  "192.0.2.256",  "192.0.2.1.5",  "192.0.2.20",  "",
                                  "198.51.100.7", "192.0.2.10"};
        QCOMPARE(
            AllowList::build(QStringList{"127.0.0.1", "192.0.2.20", "2001:db8::2", "192.0.2.100"}, servers),
            QStringList({"127.0.0.1", "192.0.2.20", "192.0.2.100", "192.0.2.10", "198.51.100.7"}));
    }

    void wholeBlocksBecomeExactNetworks()
    {
        // A full /24, a /25 with one more address beside it, and a /24 that
        // lacks its last address, which no block may let through.
        const QStringList servers = range("192.0.2.", 0, 255) + range("198.51.100.", 0, 128) +
                                    range("203.0.113.", 0, 254) + QStringList{"127.0.0.1"};
        const QStringList list = AllowList::build({"127.0.0.1"}, servers);
        QCOMPARE(list.mid(0, 4),
                 QStringList({"127.0.0.1", "192.0.2.0/24", "198.51.100.0/25", "203.0.113.0/25"}));
        QVERIFY(list.contains("198.51.100.128"));
        QVERIFY(list.contains("203.0.113.254"));
        QCOMPARE(list.size(), 12);

        QSet<quint32> expected;
        for (const QString& s : servers) {
            expected.insert(toNumber(s));
        }
        QCOMPARE(covered(list), expected);
    }

    void fiveThousandServersFitTheRecordWithTheChosenOneIn()
    {
        // Every other address of 198.18.0.0/15, the benchmarking network: no
        // two of them make a block, and together they are five times the field.
        QStringList servers;
        for (int i = 0; i < 5000; ++i) {
            servers.append(QStringLiteral("198.18.%1.%2").arg(i / 128).arg(2 * (i % 128) + 1));
        }
        const QString chosen = servers.last();
        const QStringList list = AllowList::build({"127.0.0.1", chosen, "192.0.2.100"}, servers);
        const int length = list.join(';').size();
        QVERIFY(length <= int(kAllowIpListUnits) - 1);
        QVERIFY(length > int(kAllowIpListUnits) - 1 - 16); // as full as it gets
        QCOMPARE(list.mid(0, 3), QStringList({"127.0.0.1", chosen, "192.0.2.100"}));
        QCOMPARE(list.count(chosen), 1);
        QCOMPARE(list[3], servers.first());
    }
};

QTEST_APPLESS_MAIN(TestAllowList)
#include "test_allowlist.moc"
