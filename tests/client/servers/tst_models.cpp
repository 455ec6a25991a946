#include "abstractservermodel.h"
#include "favoritesservermodel.h"
#include "favoritessortfilterproxymodel.h"
#include "pingsortfilterproxymodel.h"
#include "serverpingmodel.h"
#include "servertreemodel.h"
#include "treepingsortfilterproxymodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

class TestModels : public QObject
{
    Q_OBJECT
private slots:
    void flatModelShowsOneRowPerName();
    void flatModelFavoriteEdit();
    void treeGroupsByTextBeforeTheDash();
    void treeFavoriteEditOnlyOnServerRows();
    void favoritesWithoutFavoritesStartWithBestsMarker();
    void favoritesWithMarkersAndFastestThree();
    void favoritesEditMarksEveryRowOfTheNameAndTheMarker();
    void flatProxyModes_data();
    void flatProxyModes();
    void searchIgnoresCase();
    void flatOrderPutsRoutesAfterLocations();
    void treeProxyShowsGroupsWithPassingServers();
    void favoritesProxyKeepsEveryRowInModelOrder();
    void protocolDecidesWhichServersAreListed_data();
    void protocolDecidesWhichServersAreListed();
};

namespace {

ServerInfo server(const QString& name, ServerInfo::ServerType type = ServerInfo::Standart, int ping = 0,
                  const QString& user = "u1", bool favorite = false)
{
    ServerInfo s;
    s.name = name;
    s.label = name;
    s.flag = name.left(2).toLower();
    s.user = user;
    s.ip = "192.0.2.10";
    s.type = type;
    s.ping = ping;
    s.favorite = favorite;
    s.udpPorts = QStringList{"1194"};
    return s;
}

QStringList column0(const QAbstractItemModel& model, const QModelIndex& parent = QModelIndex())
{
    QStringList out;
    for (int row = 0; row < model.rowCount(parent); ++row)
        out << model.index(row, 0, parent).data().toString();
    return out;
}

template <typename Model> struct Checked
{
    Model model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
};

template <typename Proxy> struct CheckedProxy
{
    Proxy proxy;
    std::unique_ptr<QAbstractItemModelTester> tester;
    void attach(QAbstractItemModel* source)
    {
        proxy.setSourceModel(source);
        proxy.sort(0, Qt::AscendingOrder);
        tester = std::make_unique<QAbstractItemModelTester>(
            &proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
};

QVector<ServerInfo> mixedList()
{
    return {server("Paris", ServerInfo::Standart, 30),
            server("oslo", ServerInfo::Standart, 10),
            server("Paris-Oslo", ServerInfo::Double, 80),
            server("Amsterdam", ServerInfo::Standart, 20),
            server("amsterdam-Rome", ServerInfo::Double, 60),
            server("Rome", ServerInfo::Standart, 40, "u1", true)};
}

} // namespace

void TestModels::flatModelShowsOneRowPerName()
{
    Checked<ServerPingModel> c;
    QSignalSpy progress(&c.model, &ServerPingModel::progressPing);
    c.model.setServers({server("Paris", ServerInfo::Standart, 10, "u1"), server("Rome"),
                        server("Paris", ServerInfo::Standart, 20, "u2")});
    QCOMPARE(c.model.rowCount(), 2);
    QCOMPARE(c.model.columnCount(), 2);
    QCOMPARE(column0(c.model), (QStringList{"Paris", "Rome"}));
    // The later login's record stands for the location.
    QCOMPARE(c.model.locationByIndex(c.model.index(0, 0)).user, QString("u2"));
    QCOMPARE(c.model.index(0, 0).data(AbstractServerModel::FlagRole).toString(), QString("pa"));
    QCOMPARE(c.model.index(0, 0).data(AbstractServerModel::TypeRole).toInt(), 1);
    QVERIFY(!c.model.headerData(0, Qt::Horizontal).isValid());
    QCOMPARE(progress.count(), 1);
    QVERIFY(c.model.locationByIndex(QModelIndex()).name.isEmpty());
}

void TestModels::flatModelFavoriteEdit()
{
    Checked<ServerPingModel> c;
    c.model.setServers({server("Rome"), server("Bern"), server("Oslo")});
    QSignalSpy changed(&c.model, &ServerPingModel::favoriteChanged);
    QSignalSpy data(&c.model, &QAbstractItemModel::dataChanged);
    QVERIFY(c.model.setData(c.model.index(0, 1), 1, Qt::EditRole));
    QVERIFY(c.model.setData(c.model.index(2, 1), true, Qt::EditRole));
    QVERIFY(!c.model.setData(c.model.index(1, 0), true, Qt::EditRole));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(data.count(), 2);
    QCOMPARE(c.model.index(0, 1).data().toBool(), true);
    const QList<ServerInfo> favorites = c.model.getFavoriteLocation();
    QCOMPARE(favorites.size(), 2);
    QCOMPARE(favorites[0].name, QString("Oslo")); // name order
    QCOMPARE(favorites[1].name, QString("Rome"));
}

void TestModels::treeGroupsByTextBeforeTheDash()
{
    Checked<ServerTreeModel> c;
    c.model.setServers({server("Paris-Oslo", ServerInfo::Double), server("Rome"), server("Paris"),
                        server("Rome-Bern", ServerInfo::Double),
                        server("Rome", ServerInfo::Standart, 0, "u2")});
    QCOMPARE(column0(c.model), (QStringList{"Paris", "Rome"}));
    const QModelIndex paris = c.model.index(0, 0);
    const QModelIndex rome = c.model.index(1, 0);
    QCOMPARE(column0(c.model, paris), (QStringList{"Paris-Oslo", "Paris"}));
    QCOMPARE(column0(c.model, rome), (QStringList{"Rome", "Rome-Bern", "Rome"}));
    // A group row: no favourite mark, and an empty record name.
    QVERIFY(!c.model.index(0, 1).data().isValid());
    const ServerInfo group = c.model.locationByIndex(paris);
    QVERIFY(group.name.isEmpty());
    QCOMPARE(group.groupName, QString("Paris"));
    QCOMPARE(c.model.locationByIndex(c.model.index(2, 0, rome)).user, QString("u2"));
    QCOMPARE(c.model.parent(c.model.index(1, 1, rome)), rome);

    c.model.setServers({});
    QCOMPARE(c.model.rowCount(), 0);
}

void TestModels::treeFavoriteEditOnlyOnServerRows()
{
    Checked<ServerTreeModel> c;
    c.model.setServers({server("Rome", ServerInfo::Standart, 0, "u2"),
                        server("Rome", ServerInfo::Standart, 0, "u1"),
                        server("Bern-Oslo", ServerInfo::Double)});
    QSignalSpy changed(&c.model, &ServerTreeModel::favoriteChanged);
    const QModelIndex rome = c.model.index(0, 0);
    QVERIFY(!c.model.setData(c.model.index(0, 1), true));
    QVERIFY(c.model.setData(c.model.index(0, 1, rome), true));
    QVERIFY(c.model.setData(c.model.index(1, 1, rome), true));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(c.model.index(0, 1, rome).data().toBool(), true);
    const QList<ServerInfo> favorites = c.model.getFavoriteLocation();
    QCOMPARE(favorites.size(), 2);
    QCOMPARE(favorites[0].user, QString("u1")); // (login, name) order
    QCOMPARE(favorites[1].user, QString("u2"));
}

void TestModels::favoritesWithoutFavoritesStartWithBestsMarker()
{
    Checked<FavoritesServerModel> c;
    c.model.setServers({server("B", ServerInfo::Standart, 50), server("A", ServerInfo::Standart, 5)});
    QCOMPARE(column0(c.model), (QStringList{"<=>", "A", "B"}));
    QCOMPARE(c.model.index(0, 0).data(AbstractServerModel::NotSelectableRole).toBool(), true);
    QCOMPARE(c.model.index(0, 0).data(AbstractServerModel::TypeRole).toInt(), 0);
    QCOMPARE(c.model.index(1, 0).data(AbstractServerModel::NotSelectableRole).toBool(), false);

    c.model.setServers({});
    QCOMPARE(column0(c.model), QStringList{"<=>"});
}

void TestModels::favoritesWithMarkersAndFastestThree()
{
    Checked<FavoritesServerModel> c;
    c.model.setServers(
        {server("S1", ServerInfo::Standart, 40), server("S2", ServerInfo::Standart, 10, "u1", true),
         server("S3", ServerInfo::Standart, 30), server("S4", ServerInfo::Standart, 20),
         server("D1", ServerInfo::Double, 90), server("D2", ServerInfo::Double, 70, "u1", true),
         server("S5", ServerInfo::Standart, 5)});
    QCOMPARE(column0(c.model), (QStringList{"<*>", "S2", "D2", "<=>", "S5", "S2", "S4", "D2", "D1"}));
    QCOMPARE(c.model.index(0, 1).data().toBool(), true);  // "<*>" carries the mark
    QCOMPARE(c.model.index(3, 1).data().toBool(), false); // "<=>" does not
    QCOMPARE(c.model.index(0, 0).data(AbstractServerModel::NotSelectableRole).toBool(), true);
    QCOMPARE(c.model.index(3, 0).data(AbstractServerModel::NotSelectableRole).toBool(), true);
}

void TestModels::favoritesEditMarksEveryRowOfTheNameAndTheMarker()
{
    Checked<FavoritesServerModel> c;
    c.model.setServers(
        {server("S1", ServerInfo::Standart, 10, "u1", true), server("S2", ServerInfo::Standart, 20)});
    QCOMPARE(column0(c.model), (QStringList{"<*>", "S1", "<=>", "S1", "S2"}));
    QSignalSpy changed(&c.model, &FavoritesServerModel::favoriteChanged);
    QSignalSpy data(&c.model, &QAbstractItemModel::dataChanged);
    QVERIFY(c.model.setData(c.model.index(1, 1), 0)); // unstar S1 in the favourites part
    QCOMPARE(changed.count(), 1);
    QCOMPARE(data.count(), 2);
    QCOMPARE(c.model.index(3, 1).data().toBool(), false);
    QVERIFY(c.model.setData(c.model.index(4, 1), 1));
    QStringList stored;
    for (const ServerInfo& s : c.model.getFavoriteLocation())
        stored << identifToSettings({s.user, s.name});
    // The favourites marker counts as a favourite and is stored with them.
    QCOMPARE(stored, (QStringList{"::<*>", "u1::S2"}));
}

void TestModels::flatProxyModes_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("standard") << "standard" << QStringList{"Amsterdam", "oslo", "Paris", "Rome"};
    QTest::newRow("double") << "double" << QStringList{"amsterdam-Rome", "Paris-Oslo"};
    QTest::newRow("favourite") << "favorite" << QStringList{"Rome"};
    QTest::newRow("all") << "all"
                         << QStringList{"Amsterdam", "oslo", "Paris", "Rome", "amsterdam-Rome", "Paris-Oslo"};
}

void TestModels::flatProxyModes()
{
    QFETCH(QString, mode);
    QFETCH(QStringList, rows);
    ServerPingModel model;
    CheckedProxy<PingSortFilterProxyModel> p;
    p.attach(&model);
    model.setServers(mixedList());
    if (mode == "standard")
        p.proxy.showStandart();
    else if (mode == "double")
        p.proxy.showDouble();
    else if (mode == "favorite")
        p.proxy.showFavorite();
    else
        p.proxy.showAll(QString());
    QCOMPARE(column0(p.proxy), rows);
}

void TestModels::searchIgnoresCase()
{
    ServerPingModel model;
    CheckedProxy<PingSortFilterProxyModel> p;
    p.attach(&model);
    model.setServers(mixedList());
    p.proxy.showAll("AMSTER");
    QCOMPARE(column0(p.proxy), (QStringList{"Amsterdam", "amsterdam-Rome"}));
    p.proxy.showAll("oSlO");
    QCOMPARE(column0(p.proxy), (QStringList{"oslo", "Paris-Oslo"}));
    p.proxy.showAll("nowhere");
    QCOMPARE(p.proxy.rowCount(), 0);
    // Leaving the search keeps the text but the standard mode ignores it.
    p.proxy.showStandart();
    QCOMPARE(p.proxy.rowCount(), 4);
}

void TestModels::flatOrderPutsRoutesAfterLocations()
{
    ServerPingModel model;
    CheckedProxy<PingSortFilterProxyModel> p;
    p.attach(&model);
    p.proxy.showAll(QString());
    model.setServers({server("a-a"), server("Zurich"), server("B-c"), server("zebra"), server("Aachen")});
    QCOMPARE(column0(p.proxy), (QStringList{"Aachen", "zebra", "Zurich", "a-a", "B-c"}));
    // Sorting by the star column is no ordering at all: rows stay where they are.
    p.proxy.sort(1, Qt::AscendingOrder);
    QCOMPARE(column0(p.proxy), (QStringList{"Aachen", "zebra", "Zurich", "a-a", "B-c"}));
}

void TestModels::treeProxyShowsGroupsWithPassingServers()
{
    ServerTreeModel model;
    CheckedProxy<TreePingSortFilterProxyModel> p;
    p.attach(&model);
    model.setServers(mixedList());
    p.proxy.showDouble();
    QCOMPARE(column0(p.proxy), (QStringList{"amsterdam", "Paris"}));
    QCOMPARE(column0(p.proxy, p.proxy.index(1, 0)), QStringList{"Paris-Oslo"});
    p.proxy.showStandart();
    QCOMPARE(column0(p.proxy), (QStringList{"Amsterdam", "oslo", "Paris", "Rome"}));
    p.proxy.showFavorite();
    QCOMPARE(column0(p.proxy), QStringList{"Rome"});
    p.proxy.showAll("ROME");
    QCOMPARE(column0(p.proxy), (QStringList{"amsterdam", "Rome"}));
}

void TestModels::favoritesProxyKeepsEveryRowInModelOrder()
{
    FavoritesServerModel model;
    CheckedProxy<FavoritesSortFilterProxyModel> p;
    p.attach(&model);
    model.setServers(mixedList());
    const QStringList all = column0(model);
    QCOMPARE(column0(p.proxy), all);
    p.proxy.showDouble();
    p.proxy.showAll("zzz");
    QCOMPARE(column0(p.proxy), all);
    QCOMPARE(all.first(), QString("<*>"));
}

void TestModels::protocolDecidesWhichServersAreListed_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("favoritesKey");
    QTest::newRow("udp") << 4 << QStringList{"both", "udpOnly"} << "favoriteServersUdp";
    QTest::newRow("tcp") << 5 << QStringList{"both", "tcpOnly"} << "favoriteServersTcp";
    QTest::newRow("stealth") << 6 << QStringList{"tcpOnly"} << "favoriteServersSsl";
    QTest::newRow("pptp") << 0 << QStringList{} << "favoriteServersSsl";
}

void TestModels::protocolDecidesWhichServersAreListed()
{
    QFETCH(int, protocol);
    QFETCH(QStringList, listed);
    QFETCH(QString, favoritesKey);
    ServerInfo both = server("both");
    both.tcpPorts = QStringList{"80"};
    ServerInfo udpOnly = server("udpOnly");
    ServerInfo tcpOnly = server("tcpOnly");
    tcpOnly.udpPorts.clear();
    tcpOnly.tcpPorts = QStringList{"88"};
    tcpOnly.sslPort = 443;
    // A cached record whose UDP field was empty reads back as one empty entry.
    const ServerInfo cachedWithoutUdp(QString("cached;fl;cached;192.0.2.11;0;u1;p;80;;4;0;1;"));
    QCOMPARE(cachedWithoutUdp.udpPorts, QStringList{QString()});

    QStringList out;
    for (const ServerInfo& s : {both, udpOnly, tcpOnly, cachedWithoutUdp}) {
        if (s.offersProtocol(protocol) && s.name != "cached")
            out << s.name;
        if (s.name == "cached" && protocol == 4)
            QVERIFY(!s.offersProtocol(protocol));
    }
    QCOMPARE(out, listed);
    QCOMPARE(favoritesSettingsKey(protocol), favoritesKey);
}

QTEST_APPLESS_MAIN(TestModels)
#include "tst_models.moc"
