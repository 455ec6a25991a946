#include "pingmanager.h"

#include "pingwrapper.h"

#include <QThreadPool>

PingManager::PingManager(QObject* parent) : QObject(parent), pool_(new QThreadPool(this))
{
    pool_->setMaxThreadCount(kMaxThreads);
}

PingManager::~PingManager()
{
    ++sweep_;
    pool_->clear();
    // Each runner is bounded, so this wait is too.
    pool_->waitForDone();
}

void PingManager::stopPing()
{
    ++sweep_;
    pool_->clear();
    pool_->waitForDone(kStopWaitMs);
    expected_ = 0;
    answered_ = 0;
}

void PingManager::pingServers(QVector<ServerInfo> servers)
{
    stopPing();
    results_.clear();
    for (const ServerInfo& server : servers)
        results_.insert(server.name, server);

    const quint64 sweep = sweep_;
    expected_ = servers.size();
    for (const ServerInfo& server : servers) {
        auto* runner = new PingWrapper(server.name, server.ip, true, nullptr);
        connect(runner, &PingWrapper::pingFinished, this,
                [this, sweep](bool ok, double timems, QString id, QString host) {
                    if (sweep == sweep_)
                        onPingFinished(ok, timems, id, host);
                });
        pool_->start(runner);
    }
}

QVector<ServerInfo> PingManager::servers()
{
    QVector<ServerInfo> out;
    out.reserve(results_.size());
    for (const ServerInfo& server : results_)
        out.append(server);
    return out;
}

void PingManager::onPingFinished(bool bSuccess, double timems, QString id, QString host)
{
    Q_UNUSED(host);
    // 0 stands for "not measured": an answer under a millisecond counts as 1.
    if (bSuccess)
        results_[id].ping = qMax(1, static_cast<qint32>(timems));
    if (expected_ == 0)
        return; // no sweep is running
    if (++answered_ >= expected_) {
        expected_ = 0;
        answered_ = 0;
        emit pingServersFinished();
    }
}
