#pragma once

#include <QObject>
#include <QRunnable>
#include <QString>

// Measures one server once with the system "ping", on a pool thread, and
// answers through pingFinished. The pool deletes it after run().
class PingWrapper : public QObject, public QRunnable
{
    Q_OBJECT
public:
    // How long one host may take to answer, and the hard limit for the child process.
    static constexpr int kReplyTimeoutSec = 2;
    static constexpr int kProcessLimitMs = 5000;

    PingWrapper(QString id, QString host, bool flag, QObject* parent = nullptr);

    void run() override;

    // Only addresses and host names are handed to the program: nothing that
    // could be read as one of its options.
    static bool isPingableHost(const QString& host);
    // The round trip in milliseconds from ping's output, or a negative value.
    static double parseRoundTrip(const QString& output);

signals:
    void pingFinished(bool bSuccess, double timems, QString id, QString host);

private:
    QString id_;
    QString host_;
    bool flag_;
};
