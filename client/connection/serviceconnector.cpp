#include "serviceconnector.h"

#include "serviceconnector_unix_p.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// One thread that carries out the requests in the order they came. It starts
// with the first request; a connector that is never used costs no thread.
class DaemonRequestQueue
{
public:
    ~DaemonRequestQueue()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        wake.notify_one();
        if (worker.joinable()) {
            worker.join();
        }
    }

    void push(std::function<void()> job)
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            jobs.push_back(std::move(job));
            if (!worker.joinable()) {
                worker = std::thread([this] { run(); });
                workerId = worker.get_id();
            }
        }
        wake.notify_one();
    }

    bool isWorker() const { return std::this_thread::get_id() == workerId.load(); }

private:
    void run()
    {
        workerId = std::this_thread::get_id();
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return stopping || !jobs.empty(); });
            // Requests still waiting when the connector goes are carried out
            // all the same: the last may be the kill switch's "off".
            if (jobs.empty()) {
                return;
            }
            std::function<void()> job = std::move(jobs.front());
            jobs.pop_front();
            lock.unlock();
            job();
            lock.lock();
        }
    }

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> jobs;
    bool stopping = false;
    std::thread worker;
    std::atomic<std::thread::id> workerId{};
};

ServiceConnector::ServiceConnector() : ServiceConnector(static_cast<quint16>(kDaemonPort)) {}

ServiceConnector::ServiceConnector(quint16 daemonPort)
    : QObject(nullptr), d(new ServiceConnectorPrivate(daemonPort)), queue(new DaemonRequestQueue())
{
}

ServiceConnector::~ServiceConnector()
{
    queue.reset();
}

void ServiceConnector::enqueue(std::function<void()> job)
{
    queue->push(std::move(job));
}

bool ServiceConnector::onOwnThread() const
{
    return queue->isWorker();
}

bool ServiceConnector::installHelper(const QString& path)
{
    return d->installHelper(path);
}

bool ServiceConnector::firewallOn(const QString& allowIps, const QString& interfaceName,
                                  const FIREWALL_PARAMETERS& params)
{
    return inTurn<bool>([=] { return d->firewallOn(allowIps, interfaceName, params); });
}

bool ServiceConnector::firewallChange(const QString& allowIps, const QString& interfaceName,
                                      const FIREWALL_PARAMETERS& params)
{
    return inTurn<bool>([=] { return d->firewallChange(allowIps, interfaceName, params); });
}

bool ServiceConnector::firewallOff()
{
    return inTurn<bool>([=] { return d->firewallOff(); });
}

bool ServiceConnector::firewallSupported()
{
    return firewallSupport() == FirewallSupport::Supported;
}

ServiceConnector::FirewallSupport ServiceConnector::firewallSupport()
{
    return inTurn<FirewallSupport>([=] { return d->firewallSupport(); });
}

bool ServiceConnector::timezonechangeSupported()
{
    return inTurn<bool>([=] { return d->timezonechangeSupported(); });
}

bool ServiceConnector::timezoneChange(const bool& restore, const QString& timezoneIANA)
{
    const bool restoring = restore;
    return inTurn<bool>([=] { return d->timezoneChange(restoring, timezoneIANA); });
}

bool ServiceConnector::runOpenVpnWithConfig(const QString& params)
{
    return inTurn<bool>([=] { return d->runOpenVpnWithConfig(params); });
}

bool ServiceConnector::updateInstall(const QString& updatePathName)
{
    return inTurn<bool>([=] { return d->updateInstall(updatePathName); });
}
