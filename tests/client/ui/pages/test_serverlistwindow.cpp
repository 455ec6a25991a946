// The server list page with the real models: which servers and filter
// buttons it shows, search, stars and favourites per protocol, and that a
// click selects a server only where it should.

#include "abstractfiltermodel.h"
#include "abstracttreeitemdelegate.h"
#include "localsettings.h"
#include "pagestestsupport.h"
#include "searchedit.h"
#include "serverlistwindow.h"
#include "servertreeview.h"
#include "uitestsupport.h"

#include <QApplication>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>

namespace {

const QStringList kUdp{QStringLiteral("1194")};
const QStringList kTcp{QStringLiteral("443")};

QVector<ServerInfo> sampleServers()
{
    return {
        makeServer("u1", "Paris", ServerInfo::Standart, kUdp, kTcp, 0, 30),
        makeServer("u2", "Paris", ServerInfo::Standart, kUdp, kTcp, 0, 31),
        makeServer("u1", "oslo", ServerInfo::Standart, kUdp, kTcp, 0, 20),
        makeServer("u1", "Rome", ServerInfo::Standart, {}, kTcp, 0, 10), // no UDP
        makeServer("u1", "Paris-Oslo", ServerInfo::Double, kUdp, kTcp, 0, 50),
        makeServer("u1", "Paris-Rome", ServerInfo::Double, kUdp, kTcp, 0, 60),
        makeServer("u1", "Berlin-Oslo", ServerInfo::Double, {}, kTcp, 0, 70), // no UDP
    };
}

QPushButton* button(ServerListWindow& w, const char* name)
{
    return w.findChild<QPushButton*>(QString::fromLatin1(name));
}

QStringList shownNames(ServerListWindow& w)
{
    QStringList names;
    QAbstractItemModel* m = w.view()->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        names << m->index(r, 0).data().toString();
    }
    return names;
}

QModelIndex findRow(ServerListWindow& w, const QString& name, int column, const QModelIndex& parent = {})
{
    QAbstractItemModel* m = w.view()->model();
    for (int r = 0; r < m->rowCount(parent); ++r) {
        const QModelIndex i = m->index(r, 0, parent);
        if (i.data().toString() == name) {
            return m->index(r, column, parent);
        }
    }
    return {};
}

QStringList storedFavourites(const QString& key)
{
    QStringList list = LocalSettings::instance()->value(key).toStringList();
    list.removeAll(QString());
    return list;
}

void clickAt(ServerListWindow& w, const QPoint& pos)
{
    QTest::mouseClick(w.view()->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
}

void clickStar(ServerListWindow& w, const QModelIndex& starCell)
{
    const QRect r = w.view()->visualRect(starCell);
    clickAt(w, AbstractTreeItemDelegate::favIconPos(r) + QPoint(10, 10));
}

} // namespace

class TestServerListWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        auto settings = LocalSettings::instance();
        settings->createDefaultSettings();
        settings->setValue(Keys::RememberUser, true);
        window.reset(new ServerListWindow(nullptr));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    void serversWithoutPortsForTheProtocolAreLeftOut()
    {
        ServerListWindow& w = *window;
        w.setServers(sampleServers(), PROTOCOL_OPENVPN_UDP, false);
        QStringList names;
        for (const ServerInfo& s : w.usableServers()) {
            names << s.name;
        }
        QCOMPARE(names, QStringList({"Paris", "Paris", "oslo", "Paris-Oslo", "Paris-Rome"}));
        // No favourites and no last location: the single-hop list, names
        // without "-" first, ignoring case; two logins' Paris is one row.
        QVERIFY(button(w, "pbStandart")->isChecked());
        QCOMPARE(shownNames(w), QStringList({"oslo", "Paris"}));

        // Read back from the account cache, a server without UDP ports holds
        // one empty entry, which is no port either: connecting would fail.
        QVector<ServerInfo> cached = sampleServers();
        cached.append(ServerInfo(QString(makeServer("u1", "Lima", ServerInfo::Standart, {}, kTcp, 0, 40))));
        w.setServers(cached, PROTOCOL_OPENVPN_UDP, false);
        QCOMPARE(w.usableServers().size(), 5);
        QVERIFY(!shownNames(w).contains("Lima"));

        // Stealth: nobody has a stealth port, so nothing is listed at all.
        w.setServers(sampleServers(), PROTOCOL_STEALTH, false);
        QVERIFY(w.usableServers().isEmpty());
        QVERIFY(!w.view()->isVisible());
    }

    void filterButtonsDisappearWhenTheirKindIsEmpty()
    {
        ServerListWindow& w = *window;
        QVector<ServerInfo> onlyDouble{makeServer("u1", "Paris-Oslo", ServerInfo::Double, kUdp, kTcp)};
        w.setServers(onlyDouble, PROTOCOL_OPENVPN_TCP, false);
        QVERIFY(!button(w, "pbStandart")->isVisible());
        QVERIFY(button(w, "pbDouble")->isVisible());
        QVERIFY(button(w, "pbFavorites")->isVisible());
        // No single-hop server to show, so the double view is chosen.
        QVERIFY(button(w, "pbDouble")->isChecked());

        QVector<ServerInfo> onlyStandard{makeServer("u1", "Paris", ServerInfo::Standart, kUdp, kTcp)};
        w.setServers(onlyStandard, PROTOCOL_OPENVPN_TCP, false);
        QVERIFY(button(w, "pbStandart")->isVisible());
        QVERIFY(!button(w, "pbDouble")->isVisible());
    }

    void searchFiltersAllServersIgnoringCaseAndLeavingReturnsToTheLastView()
    {
        ServerListWindow& w = *window;
        LocalSettings::instance()->setValue(Keys::LastLocation, "u1::Paris-Rome");
        w.setServers(sampleServers(), PROTOCOL_OPENVPN_TCP, false);
        QVERIFY(button(w, "pbDouble")->isChecked());

        QTest::mouseClick(button(w, "pbSearch"), Qt::LeftButton);
        QVERIFY(w.search()->isVisible());
        QTest::keyClicks(w.search(), "OSLO");
        QVERIFY(button(w, "pbSearch")->isChecked());
        for (const char* name : {"pbFavorites", "pbStandart", "pbDouble"}) {
            QVERIFY2(!button(w, name)->isVisible(), name);
        }
        QCOMPARE(shownNames(w), QStringList({"oslo", "Berlin-Oslo", "Paris-Oslo"}));

        QTest::keyClicks(w.search(), "xyz");
        QVERIFY(!w.view()->isVisible()); // an empty result hides the list

        // Leaving the search with no favourites and a route as the last
        // location goes back to the double view.
        QTest::mouseClick(button(w, "pbSearch"), Qt::LeftButton);
        QVERIFY(!w.search()->isVisible());
        QVERIFY(button(w, "pbDouble")->isChecked());
        QVERIFY(w.view()->isVisible());
    }

    void starClickMarksAFavouriteAndNeverSelects()
    {
        ServerListWindow& w = *window;
        w.setServers(sampleServers(), PROTOCOL_OPENVPN_UDP, false);
        QList<ServerIdentif> selected;
        connect(&w, &ServerListWindow::serverSelected, this, [&](ServerIdentif id) { selected << id; });

        clickStar(w, findRow(w, "Paris", 1));
        QCOMPARE(selected.count(), 0);
        // The flat list keeps one record per name; marking it marks the
        // location for every login, and the stored text names one of them.
        const QStringList stored = storedFavourites(Keys::FavoriteServersUdp);
        QCOMPARE(stored.size(), 1);
        QVERIFY(stored.first().endsWith("::Paris"));
        int marked = 0;
        for (const ServerInfo& s : w.usableServers()) {
            QCOMPARE(s.favorite, s.name == "Paris");
            marked += s.favorite ? 1 : 0;
        }
        QCOMPARE(marked, 2);
        QVERIFY(storedFavourites(Keys::FavoriteServersTcp).isEmpty());

        // A click on the name selects.
        clickAt(w, w.view()->visualRect(findRow(w, "oslo", 0)).center());
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.first(), ServerIdentif("u1", "oslo"));
    }

    void favouritesViewWithHeadersAndTheStoredMarkerRow()
    {
        ServerListWindow& w = *window;
        LocalSettings::instance()->setValue(Keys::FavoriteServersUdp, QStringList{"u1::Paris"});
        w.setServers(sampleServers(), PROTOCOL_OPENVPN_UDP, false);
        QVERIFY(button(w, "pbFavorites")->isChecked());
        QCOMPARE(shownNames(w).mid(0, 3), QStringList({"<*>", "Paris", "<=>"}));

        QList<ServerIdentif> selected;
        connect(&w, &ServerListWindow::serverSelected, this, [&](ServerIdentif id) { selected << id; });
        clickAt(w, w.view()->visualRect(findRow(w, "<=>", 0)).center());
        clickStar(w, findRow(w, "<*>", 1));
        QCOMPARE(selected.count(), 0);
        QCOMPARE(shownNames(w).mid(0, 3), QStringList({"<*>", "Paris", "<=>"}));

        // Unmarking the only favourite leaves the marker row, which counts
        // as a favourite of the view, in the stored list.
        clickStar(w, findRow(w, "Paris", 1));
        QCOMPARE(selected.count(), 0);
        QCOMPARE(storedFavourites(Keys::FavoriteServersUdp), QStringList({"::<*>"}));
        QCOMPARE(shownNames(w).first(), QStringLiteral("<=>"));
    }

    void groupRowsOnlyOpenAndClose()
    {
        ServerListWindow& w = *window;
        w.setServers(sampleServers(), PROTOCOL_OPENVPN_TCP, false);
        w.onFilterChange(ServerListWindow::FilterDouble);
        QList<ServerIdentif> selected;
        connect(&w, &ServerListWindow::serverSelected, this, [&](ServerIdentif id) { selected << id; });
        const QModelIndex group = findRow(w, "Paris", 0);
        QVERIFY(group.isValid());
        QVERIFY(!w.view()->isExpanded(group));
        clickAt(w, w.view()->visualRect(group).center());
        QVERIFY(w.view()->isExpanded(group));
        QCOMPARE(selected.count(), 0);

        const QModelIndex route = findRow(w, "Paris-Rome", 0, group);
        QVERIFY(route.isValid());
        clickStar(w, route.sibling(route.row(), 1));
        QCOMPARE(selected.count(), 0);
        QCOMPARE(storedFavourites(Keys::FavoriteServersTcp), QStringList({"u1::Paris-Rome"}));
        clickAt(w, w.view()->visualRect(route).center());
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.first(), ServerIdentif("u1", "Paris-Rome"));

        // A refresh of the list leaves the open group open.
        w.setServers(sampleServers(), -1, true);
        QVERIFY(w.view()->isExpanded(findRow(w, "Paris", 0)));
        clickAt(w, w.view()->visualRect(findRow(w, "Paris", 0)).center());
        QVERIFY(!w.view()->isExpanded(findRow(w, "Paris", 0)));
    }

    void rowsShowFlagNameAndLatencyNextToTheStar()
    {
        ServerListWindow& w = *window;
        w.setServers(sampleServers(), PROTOCOL_OPENVPN_UDP, false);
        const QImage image = w.view()->viewport()->grab().toImage();
        const QRect row = w.view()->visualRect(findRow(w, "oslo", 0));
        // Something other than the row's grey where the flag and the name
        // stand, so the star column painted after them has not covered them.
        auto painted = [&](int from, int to) {
            for (int x = from; x < to; ++x) {
                for (int y = row.top() + 8; y < row.bottom() - 8; ++y) {
                    if (image.pixelColor(x, y) != QColor(250, 250, 250)) {
                        return true;
                    }
                }
            }
            return false;
        };
        QVERIFY(painted(10, 34));
        QVERIFY(painted(44, 120));
        // The latency ("20 ms") at the right end of the name's cell.
        QVERIFY(painted(row.right() - 45, row.right() - 4));
    }

    void aLongRouteKeepsItsWholeNameRightToLeft()
    {
        // Arabic's unit for the latency is wide; the route's name comes first.
        QTranslator arabic;
        QVERIFY(arabic.load(QStringLiteral(":/translations/Kestrova_ar")));
        QCoreApplication::installTranslator(&arabic);
        QApplication::setLayoutDirection(Qt::RightToLeft);
        const auto restore = qScopeGuard([&arabic] {
            QCoreApplication::removeTranslator(&arabic);
            QApplication::setLayoutDirection(Qt::LeftToRight);
        });
        ServerListWindow& w = *window;
        const QString route = QStringLiteral("Amsterdam - New York");
        w.setServers({makeServer("u1", route, ServerInfo::Double, kUdp, kTcp, 0, 20)}, PROTOCOL_OPENVPN_UDP,
                     false);
        w.onFilterChange(ServerListWindow::FilterDouble);
        w.view()->expandAll();
        const QModelIndex cell = findRow(w, route, 0, w.view()->model()->index(0, 0));
        QVERIFY(cell.isValid());

        const QImage image = w.view()->viewport()->grab().toImage();
        const QRect row = w.view()->visualRect(cell);
        // Right to left the flag takes the row's last 44 px; the name's ink is
        // black, the latency's grey.
        auto inkBetween = [&](int from, int to, int darkest, int lightest) {
            QPair<int, int> ink(to, from - 1);
            for (int x = from; x < to; ++x) {
                for (int y = row.top() + 4; y < row.bottom() - 4; ++y) {
                    const int grey = qGray(image.pixel(x, y));
                    if (grey >= darkest && grey < lightest) {
                        ink = {qMin(ink.first, x), qMax(ink.second, x)};
                    }
                }
            }
            return ink;
        };
        const auto name = inkBetween(row.left(), image.width() - 44, 0, 100);
        const int nameFrom = name.first, nameTo = name.second;
        // The latency keeps at least its figure, clear of the name.
        const int latencyTo = inkBetween(row.left(), nameFrom - 1, 0, 200).second;
        QFont font = w.view()->font();
        font.setPixelSize(13);
        const int whole = QFontMetrics(font).horizontalAdvance(route);
        QVERIFY2(nameTo - nameFrom + 1 >= whole - 4,
                 qPrintable(QStringLiteral("name ink %1 px of %2").arg(nameTo - nameFrom + 1).arg(whole)));
        QVERIFY(latencyTo >= row.left());
    }

    void refreshKeepsTheViewAndItsFilter()
    {
        ServerListWindow& w = *window;
        w.setServers(sampleServers(), PROTOCOL_OPENVPN_UDP, false);
        QVector<ServerInfo> more = sampleServers();
        more.append(makeServer("u1", "Amsterdam", ServerInfo::Standart, kUdp, kTcp));
        w.setServers(more, -1, true);
        QCOMPARE(w.protocol(), int(PROTOCOL_OPENVPN_UDP));
        QVERIFY(button(w, "pbStandart")->isChecked());
        QCOMPARE(shownNames(w), QStringList({"Amsterdam", "oslo", "Paris"}));
    }

private:
    std::unique_ptr<ServerListWindow> window;
};

int main(int argc, char** argv)
{
    ScratchHome home;
    QApplication app(argc, argv);
    setApplicationIdentity();
    TestServerListWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_serverlistwindow.moc"
