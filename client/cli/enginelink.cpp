#include "enginelink.h"

#include "controlclient.h"
#include "controlpath.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

std::optional<QString> EngineLink::socketPath(QString* error)
{
    return ControlPath::socketPath(error);
}

bool EngineLink::running()
{
    const std::optional<QString> path = socketPath(nullptr);
    ControlClient client;
    return path && client.connectTo(*path, 500);
}

std::optional<QJsonObject> EngineLink::call(const QJsonObject& request, int timeoutMs, QString* error,
                                            const std::function<void(const QJsonObject&)>& onEvent,
                                            bool* reached)
{
    if (reached) {
        *reached = false;
    }
    const std::optional<QString> path = socketPath(error);
    if (!path) {
        return std::nullopt;
    }
    ControlClient client;
    if (!client.connectTo(*path, 1000)) {
        if (error) {
            *error = client.errorString();
        }
        return std::nullopt;
    }
    if (reached) {
        *reached = true;
    }
    std::optional<QJsonObject> reply = client.call(request, timeoutMs, onEvent);
    if (!reply && error) {
        *error = client.errorString();
    }
    return reply;
}

std::optional<QJsonObject> EngineLink::startAndCall(const QString& program, const QJsonObject& request,
                                                    int timeoutMs, QString* error,
                                                    const std::function<void(const QJsonObject&)>& onEvent)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments({QStringLiteral("--session-host")});
    // Nothing of the terminal: a caller that reads our output until its end
    // (a $(...) or a pipe) must not wait for the background session too.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        if (error) {
            *error = QCoreApplication::translate("KestrovaCli", "Cannot start the background session: %1")
                         .arg(process.errorString());
        }
        return std::nullopt;
    }
    // It listens once it is ready to serve; ask until it does.
    QDeadlineTimer deadline(kStartWaitMs);
    while (!deadline.hasExpired()) {
        bool reached = false;
        std::optional<QJsonObject> reply = call(request, timeoutMs, error, onEvent, &reached);
        if (reached) {
            return reply;
        }
        QThread::msleep(5);
    }
    if (error) {
        *error = QCoreApplication::translate("KestrovaCli", "The background session did not start.");
    }
    return std::nullopt;
}
