#pragma once

#include "serverinfo.h"

#include <QMap>
#include <QObject>
#include <QVector>

class QThreadPool;

// Measures the account's servers in the background, at most five at a time,
// and announces the end of each sweep with pingServersFinished. Answers come
// back on the manager's thread.
class PingManager : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMaxThreads = 5;
    static constexpr int kStopWaitMs = 200;

    explicit PingManager(QObject* parent = nullptr);
    ~PingManager() override;

    // Starts a new sweep, cancelling the previous one.
    void pingServers(QVector<ServerInfo> servers);
    // Drops the runners not yet started and waits briefly for the running ones,
    // whose answers no longer count.
    void stopPing();
    // The results, one per server name, in name order.
    QVector<ServerInfo> servers();

public slots:
    void onPingFinished(bool bSuccess, double timems, QString id, QString host);

signals:
    void pingServersFinished();

private:
    QThreadPool* pool_;
    QMap<QString, ServerInfo> results_;
    // Each sweep has its own number; answers of an older sweep are dropped.
    quint64 sweep_ = 0;
    int expected_ = 0; // runners handed to the pool for the current sweep
    int answered_ = 0;
};
