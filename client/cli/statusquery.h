#pragma once

#include <QJsonObject>
#include <QString>
#include <optional>

// One status request to this user's engine over plain sockets: the quick way
// `kestrova-cli status` takes, which must not load the libraries of the
// commands that do more.
class StatusQuery
{
public:
    // The engine's final reply, or nothing when no engine of this user
    // answered in time (the caller then takes the long way, which says why).
    static std::optional<QJsonObject> ask(const QString& socketPath, int timeoutMs);
};
