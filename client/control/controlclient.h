#pragma once

#include <QJsonObject>
#include <QString>
#include <functional>
#include <optional>

class QLocalSocket;

// The asking end of the control dialogue, blocking: the command line asks
// one thing and waits for its answer. It talks only to an engine of the same
// user, as the kernel names the listening process.
class ControlClient
{
public:
    ControlClient();
    ~ControlClient();
    ControlClient(const ControlClient&) = delete;
    ControlClient& operator=(const ControlClient&) = delete;

    // False when nothing of this user listens at `socketPath`.
    bool connectTo(const QString& socketPath, int timeoutMs = 1000);

    // Sends the request and waits for the final reply; every event line on
    // the way goes to `onEvent`. Nothing when the engine went away or did not
    // finish in time (see errorString()).
    std::optional<QJsonObject> call(const QJsonObject& request, int timeoutMs,
                                    const std::function<void(const QJsonObject&)>& onEvent = {});

    QString errorString() const { return error_; }

private:
    QLocalSocket* socket_;
    QString error_;
};
