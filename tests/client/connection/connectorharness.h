// Wiring shared by the connector and facade tests: a stand-in daemon that,
// when asked to run OpenVPN, opens a scripted management interface on the
// port named in the options, and a recorder of signals in arrival order.
#pragma once

#include "fakedaemon.h"
#include "fakemanagement.h"
#include "serviceconnector.h"

#include <QObject>
#include <QRegularExpression>
#include <QSharedPointer>
#include <QStringList>

#include <memory>

class ConnectorHarness
{
public:
    explicit ConnectorHarness(std::vector<FakeManagement::Step> steps, FakeManagement::Timing timing = {},
                              bool start = true)
        : serviceConnector(new ServiceConnector(daemon.port()))
    {
        daemon.setHandler([this, steps, timing, start](const FakeDaemon::Packet& p) -> uint8_t {
            const std::u32string wide = FakeDaemon::wideAt(p, 4, kOpenvpnParamsUnits);
            const QString text = QString::fromUcs4(wide.data(), int(wide.size()));
            const auto m = QRegularExpression("--management 127\\.0\\.0\\.1 (\\d+) ").match(text);
            std::lock_guard<std::mutex> lock(mutex);
            params = text;
            if (start && m.hasMatch()) {
                managements.push_back(
                    std::make_unique<FakeManagement>(quint16(m.captured(1).toUInt()), steps, timing, gate));
            }
            return start ? 1 : 0;
        });
    }

    QString openvpnParams()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return params;
    }
    // What the management interface of the run'th OpenVPN start received.
    QList<QByteArray> managementLines(size_t run = 0)
    {
        std::lock_guard<std::mutex> lock(mutex);
        return run < managements.size() ? managements[run]->lines() : QList<QByteArray>();
    }
    // Lets the scripts of every OpenVPN started here past one wait.
    void release() { gate->release(); }
    bool managementFinished(size_t run = 0)
    {
        std::lock_guard<std::mutex> lock(mutex);
        return run < managements.size() && managements[run]->finished();
    }

    FakeDaemon daemon;
    QSharedPointer<ServiceConnector> serviceConnector;

private:
    std::shared_ptr<Gate> gate = std::make_shared<Gate>();
    std::mutex mutex;
    QString params;
    std::vector<std::unique_ptr<FakeManagement>> managements;
};

// Records signals as short texts ("connected", "error:0", ...) on the thread
// it lives in, so checks never race with the worker that emits them.
class SignalRecorder : public QObject
{
    Q_OBJECT
public:
    QStringList events;

public slots:
    void onConnected() { events << "connected"; }
    void onTunnelUp(QString address, qint64 since) { events << QString("up:%1@%2").arg(address).arg(since); }
    void onDisconnected() { events << "disconnected"; }
    void onReconnecting() { events << "reconnecting"; }
    void onStateChanged(QString s) { events << "state:" + s; }
    void onError(int e) { events << "error:" + QString::number(e); }
    void onLog(QString l) { events << "log:" + l; }
    void onStatistics(qulonglong in, qulonglong out) { events << QString("bytes:%1,%2").arg(in).arg(out); }
};
