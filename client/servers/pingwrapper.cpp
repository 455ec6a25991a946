#include "pingwrapper.h"

#include "constants.h"

#include <QHostAddress>
#include <QProcess>
#include <QRegularExpression>

PingWrapper::PingWrapper(QString id, QString host, bool flag, QObject* parent)
    : QObject(parent), id_(id), host_(host), flag_(flag)
{
    setAutoDelete(true);
}

bool PingWrapper::isPingableHost(const QString& host)
{
    if (host.isEmpty() || host.startsWith(QLatin1Char('-')) || host.size() > 253)
        return false;
    if (!QHostAddress(host).isNull())
        return true;
    static const QRegularExpression hostName(
        QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?(\\.[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-"
                       "z0-9])?)*\\.?$"));
    return hostName.match(host).hasMatch();
}

double PingWrapper::parseRoundTrip(const QString& output)
{
    static const QRegularExpression time(QStringLiteral("time[=<]\\s*([0-9]+(?:\\.[0-9]+)?)\\s*ms"));
    const QRegularExpressionMatch m = time.match(output);
    if (!m.hasMatch())
        return -1.0;
    bool ok = false;
    const double ms = m.captured(1).toDouble(&ok);
    return ok ? ms : -1.0;
}

void PingWrapper::run()
{
    bool success = false;
    double timems = 0.0;
    if (isPingableHost(host_)) {
        QProcess ping;
        ping.setProcessChannelMode(QProcess::MergedChannels);
        // Numeric output, one echo request, a bounded wait for its reply;
        // the C locale keeps the output in the form parsed below.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        ping.setProcessEnvironment(env);
        ping.start(Constants::PingProgram, {QStringLiteral("-n"), QStringLiteral("-c"), QStringLiteral("1"),
                                            QStringLiteral("-W"), QString::number(kReplyTimeoutSec), host_});
        if (ping.waitForStarted(kProcessLimitMs)) {
            if (!ping.waitForFinished(kProcessLimitMs)) {
                ping.kill();
                ping.waitForFinished(1000);
            } else if (ping.exitStatus() == QProcess::NormalExit && ping.exitCode() == 0) {
                const double ms = parseRoundTrip(QString::fromLocal8Bit(ping.readAll()));
                if (ms >= 0.0) {
                    success = true;
                    timems = ms;
                }
            }
        }
    }
    emit pingFinished(success, timems, id_, host_);
}
