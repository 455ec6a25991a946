#pragma once

#include <QJsonObject>
#include <QString>
#include <functional>
#include <optional>

// The command line's way to this user's one engine: the window's, or the
// background session the command line starts for itself.
class EngineLink
{
public:
    // The socket path, or nothing with the reason in *error.
    static std::optional<QString> socketPath(QString* error);
    // Whether an engine of this user answers.
    static bool running();
    // Sends one request to the running engine and waits for its final reply.
    // Nothing when no engine answers or it went away (reason in *error;
    // *reached tells which).
    static std::optional<QJsonObject> call(const QJsonObject& request, int timeoutMs, QString* error,
                                           const std::function<void(const QJsonObject&)>& onEvent = {},
                                           bool* reached = nullptr);
    // Starts the background session (this program, detached from the
    // terminal), then sends it the request as soon as it listens.
    static std::optional<QJsonObject>
    startAndCall(const QString& program, const QJsonObject& request, int timeoutMs, QString* error,
                 const std::function<void(const QJsonObject&)>& onEvent = {});

    static constexpr int kStartWaitMs = 10000;
};
