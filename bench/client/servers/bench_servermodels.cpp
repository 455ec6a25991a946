// Times what the server list does on one frame's budget (16 ms) with 5,000
// servers: handing the list to the model of each view behind its sorted
// proxy, and one search keystroke. Prints the median and worst of the runs.
#include "favoritesservermodel.h"
#include "favoritessortfilterproxymodel.h"
#include "pingsortfilterproxymodel.h"
#include "serverpingmodel.h"
#include "servertreemodel.h"
#include "treepingsortfilterproxymodel.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kServers = 5000;
constexpr int kRuns = 15;
constexpr double kBudgetMs = 16.0;

QVector<ServerInfo> makeServers()
{
    static const char* const cities[] = {"Amsterdam", "Berlin",       "Chicago", "Dublin",
                                         "Eindhoven", "Frankfurt",    "Geneva",  "Helsinki",
                                         "Istanbul",  "Johannesburg", "Kyiv",    "Lisbon"};
    QVector<ServerInfo> out;
    out.reserve(kServers);
    for (int i = 0; i < kServers; ++i) {
        ServerInfo s;
        const QString city = QString::fromLatin1(cities[i % 12]);
        const bool isDouble = i % 4 == 0;
        s.name = isDouble ? QString("%1-%2 %3").arg(city, QString::fromLatin1(cities[(i / 12) % 12])).arg(i)
                          : QString("%1 %2").arg(city).arg(i);
        s.label = s.name;
        s.flag = city.left(2).toLower();
        s.ip = QString("198.51.100.%1").arg(i % 250 + 1);
        s.user = i % 2 ? "vpn-one" : "vpn-two";
        s.password = "pw";
        s.tcpPorts = QStringList{"80", "88"};
        s.udpPorts = QStringList{"1194"};
        s.ping = (i * 37) % 300;
        s.favorite = i % 97 == 0;
        s.type = isDouble ? ServerInfo::Double : ServerInfo::Standart;
        out.append(s);
    }
    return out;
}

bool report(const char* what, const std::function<void()>& step)
{
    std::vector<double> ms;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        step();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    const bool ok = median < kBudgetMs;
    std::printf("%-44s median %7.2f ms  worst %7.2f ms  target < %.0f ms  %s\n", what, median, ms.back(),
                kBudgetMs, ok ? "ok" : "OVER");
    return ok;
}

template <typename Model, typename Proxy>
bool benchView(const char* setName, const char* searchName, const QVector<ServerInfo>& servers,
               void (AbstractFilterModel::*mode)())
{
    Model model;
    Proxy proxy;
    proxy.setSourceModel(&model);
    proxy.setDynamicSortFilter(true);
    proxy.sort(0, Qt::AscendingOrder);
    (proxy.*mode)();
    bool ok = report(setName, [&] { model.setServers(servers); });
    if (searchName) {
        const QStringList keystrokes{"a", "am", "ams", "amst", "amste", "ams", "ber", "x"};
        int k = 0;
        ok &= report(searchName, [&] { proxy.showAll(keystrokes[k++ % keystrokes.size()]); });
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QVector<ServerInfo> servers = makeServers();
    std::printf("server list models, %d servers, %d runs each\n", kServers, kRuns);
    bool ok = true;
    ok &= benchView<ServerPingModel, PingSortFilterProxyModel>("setServers, flat list (standard view)",
                                                               "search keystroke, flat list", servers,
                                                               &AbstractFilterModel::showStandart);
    ok &= benchView<ServerTreeModel, TreePingSortFilterProxyModel>(
        "setServers, location tree (double view)", nullptr, servers, &AbstractFilterModel::showDouble);
    ok &= benchView<FavoritesServerModel, FavoritesSortFilterProxyModel>(
        "setServers, favourites view", nullptr, servers, &AbstractFilterModel::showFavorite);
    return ok ? 0 : 1;
}
