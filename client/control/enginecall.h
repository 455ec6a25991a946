#pragma once

#include <QJsonObject>
#include <QString>
#include <functional>
#include <optional>

// One request to this user's engine on plain sockets. Plain, because the
// command line's quick status must not load the network library, and
// because a hand-over's reply carries a descriptor (OpenVPN's management
// connection), which Qt's local socket would drop.
class EngineCall
{
public:
    // The engine's final reply, or nothing when no engine of this user
    // answered in time. With `descriptor`, it is the socket that came with
    // the reply, or -1; the caller owns it.
    static std::optional<QJsonObject> run(const QString& socketPath, const QString& command, int timeoutMs,
                                          int* descriptor = nullptr);

    // The same dialogue on a connection made already (`fd`, which stays the
    // caller's): sends `request`, hands every event line to `onEvent` and
    // returns the final reply. *heard tells whether the engine said anything
    // at all, an event or a reply.
    static std::optional<QJsonObject> converse(int fd, const QJsonObject& request, int timeoutMs,
                                               const std::function<void(const QJsonObject&)>& onEvent = {},
                                               int* descriptor = nullptr, bool* heard = nullptr);
    // The rest of that dialogue, for a request that was sent already.
    static std::optional<QJsonObject> awaitReply(int fd, int timeoutMs,
                                                 const std::function<void(const QJsonObject&)>& onEvent = {},
                                                 int* descriptor = nullptr, bool* heard = nullptr);
};
