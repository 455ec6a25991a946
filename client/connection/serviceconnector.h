// The client's only way to reach the root daemon kestrovad: one request and
// reply per call, over a fresh loopback TCP connection. Every request, from
// any thread, is carried out on one thread of the connector's own, in the
// order the requests were made, so a rule change asked for before OpenVPN's
// start reaches the daemon before that start.
#pragma once

#include "daemonprotocol.h"
#include "firewallsupport.h"

#include <QObject>
#include <QPointer>
#include <QSharedPointer>
#include <QString>

#include <functional>
#include <future>
#include <memory>

class ServiceConnectorPrivate;
class DaemonRequestQueue;

class ServiceConnector : public QObject
{
    Q_OBJECT
public:
    using FirewallSupport = ::FirewallSupport;

    ServiceConnector();
    // Talks to a daemon on another loopback port; only tests use this, the
    // program always uses the daemon's fixed port.
    explicit ServiceConnector(quint16 daemonPort);
    // Waits until every request made so far has had its answer: a kill
    // switch asked off on the way out must be off when the program ends.
    ~ServiceConnector() override;

    // Every operation below waits for the daemon's answer and returns it. A
    // text that does not fit its field is refused: the call returns false and
    // nothing is sent. Called from the thread that runs the window they stall
    // it for as long as the daemon works: use post() there.
    bool installHelper(const QString& path);
    bool firewallOn(const QString& allowIps, const QString& interfaceName, const FIREWALL_PARAMETERS& params);
    bool firewallChange(const QString& allowIps, const QString& interfaceName,
                        const FIREWALL_PARAMETERS& params);
    bool firewallOff();
    bool firewallSupported();
    FirewallSupport firewallSupport();
    bool timezonechangeSupported();
    bool timezoneChange(const bool& restore, const QString& timezoneIANA);
    bool runOpenVpnWithConfig(const QString& params);
    bool updateInstall(const QString& updatePathName);

    // Runs `work` (which makes the calls above) on the connector's thread
    // after every request made before it, and hands its result to `done` on
    // the thread this object belongs to, unless `context` is gone by then.
    template <typename Result>
    void post(QObject* context, std::function<Result(ServiceConnector&)> work,
              std::function<void(Result)> done)
    {
        QPointer<QObject> guard(context);
        enqueue([this, work = std::move(work), done = std::move(done), guard]() mutable {
            Result result = work(*this);
            QMetaObject::invokeMethod(
                this,
                [guard, done, result] {
                    if (guard) {
                        done(result);
                    }
                },
                Qt::QueuedConnection);
        });
    }

private:
    void enqueue(std::function<void()> job);
    bool onOwnThread() const;
    // Runs `call` on the connector's thread, in turn, and waits for it.
    template <typename Result> Result inTurn(std::function<Result()> call)
    {
        if (onOwnThread()) {
            return call();
        }
        auto promise = std::make_shared<std::promise<Result>>();
        std::future<Result> answer = promise->get_future();
        enqueue([promise, call] { promise->set_value(call()); });
        return answer.get();
    }

    QSharedPointer<ServiceConnectorPrivate> d;
    std::unique_ptr<DaemonRequestQueue> queue;
};
