#pragma once

#include <QJsonObject>
#include <QString>
#include <optional>

// The window's hand-over request to the command line's background session,
// on plain sockets: the reply may carry a descriptor (OpenVPN's management
// connection), which Qt's local socket would drop.
class HandoverCall
{
public:
    // The final reply, or nothing when no engine of this user answered in
    // time. *descriptor is the socket that came with it, or -1; the caller
    // owns it.
    static std::optional<QJsonObject> run(const QString& socketPath, int timeoutMs, int* descriptor);
};
