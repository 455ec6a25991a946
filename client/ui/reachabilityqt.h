#pragma once

#include <QEvent>
#include <QObject>
#include <QString>

// Reports changes of the machine's wireless network. A platform notifier posts
// WifiStatusEvent to the watcher; this Linux build installs no notifier.
class ReachabilityQt : public QObject
{
    Q_OBJECT

public:
    enum StatusCode : qint32
    {
        ConnectedUnsecured = 10001,
        ConnectedSecured = 10002,
        ConnectionLost = 10003
    };

    explicit ReachabilityQt(QObject* parent);
    ~ReachabilityQt() override;

    bool startNotifier();
    QString getCurrentSsid();

signals:
    void statusChangeWifi(bool connected, bool unsecured, QString ssid);
    void log(QString logStr);

protected:
    void customEvent(QEvent* event) override;
};

class WifiStatusEvent : public QEvent
{
public:
    static const QEvent::Type EventType = static_cast<QEvent::Type>(1001);

    WifiStatusEvent(qint32 code, QString ssid) : QEvent(EventType), code_(code), ssid_(std::move(ssid)) {}

    qint32 code() const { return code_; }
    QString ssid() const { return ssid_; }

private:
    qint32 code_;
    QString ssid_;
};

// The most recently constructed watcher, for a notifier that must find its target.
extern ReachabilityQt* g_reachabilityThis;
