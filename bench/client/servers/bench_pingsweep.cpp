// Times one ping sweep over many hosts with the pool of five runners, against
// loopback addresses (127.0.1.x), which every machine answers without traffic
// leaving it. Target: 200 hosts in under 10 s.
#include "pingmanager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;
    if (count < 1 || count > 250) {
        std::fprintf(stderr, "usage: bench_pingsweep [1..250]\n");
        return 2;
    }
    QVector<ServerInfo> servers;
    for (int i = 1; i <= count; ++i) {
        ServerInfo s;
        s.name = QString("host-%1").arg(i, 3, 10, QChar('0'));
        s.ip = QString("127.0.1.%1").arg(i);
        servers.append(s);
    }

    PingManager manager;
    QElapsedTimer timer;
    bool finished = false;
    QObject::connect(&manager, &PingManager::pingServersFinished, &app, [&] {
        finished = true;
        app.quit();
    });
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    timer.start();
    manager.pingServers(servers);
    app.exec();
    const double seconds = timer.nsecsElapsed() / 1e9;

    std::printf("ping sweep, %d loopback hosts, pool of %d: %s in %.2f s (target < 10 s) %s\n", count,
                PingManager::kMaxThreads, finished ? "finished" : "NOT finished", seconds,
                finished && seconds < 10.0 ? "ok" : "OVER");
    return finished && seconds < 10.0 ? 0 : 1;
}
