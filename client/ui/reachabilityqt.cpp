#include "reachabilityqt.h"

ReachabilityQt* g_reachabilityThis = nullptr;

ReachabilityQt::ReachabilityQt(QObject* parent) : QObject(parent)
{
    g_reachabilityThis = this;
}

ReachabilityQt::~ReachabilityQt()
{
    // A notifier must never post to a watcher that is gone.
    if (g_reachabilityThis == this) {
        g_reachabilityThis = nullptr;
    }
}

bool ReachabilityQt::startNotifier()
{
    return true;
}

QString ReachabilityQt::getCurrentSsid()
{
    return QString();
}

void ReachabilityQt::customEvent(QEvent* event)
{
    // Another sender could use the same event number; only our own event carries a status.
    const auto* status =
        event->type() == WifiStatusEvent::EventType ? dynamic_cast<WifiStatusEvent*>(event) : nullptr;
    if (!status) {
        return;
    }
    switch (status->code()) {
    case ConnectedUnsecured:
        emit statusChangeWifi(true, true, status->ssid());
        break;
    case ConnectedSecured:
        emit statusChangeWifi(true, false, status->ssid());
        break;
    case ConnectionLost:
        emit statusChangeWifi(false, false, QString());
        break;
    default:
        break;
    }
}
