#pragma once

#include <QObject>

class QNetworkReply;

// Watchdog for one reply: it lives as the reply's child, so a reply that
// finishes in time takes its watchdog with it and the timer never fires.
class ReplyTimeout : public QObject
{
    Q_OBJECT
public:
    ReplyTimeout(QNetworkReply* reply, int ms);

public slots:
    void timeout();
};
