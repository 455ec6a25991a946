#include "replytimeout.h"

#include <QNetworkReply>
#include <QTimer>

ReplyTimeout::ReplyTimeout(QNetworkReply* reply, int ms) : QObject(reply)
{
    if (reply) {
        QTimer::singleShot(ms, this, &ReplyTimeout::timeout);
    }
}

void ReplyTimeout::timeout()
{
    auto* reply = qobject_cast<QNetworkReply*>(parent());
    // Closing a running reply finishes it with OperationCanceledError, which
    // the owner then handles like any other failure.
    if (reply && reply->isRunning()) {
        reply->close();
    }
}
