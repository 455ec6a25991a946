#pragma once

#include <QMutex>
#include <QString>
#include <QtGlobal>

// Qt message handler: appends every message as one line to "log.txt" in the
// user's application-data folder. Safe to call from any thread.
void myMessageOutput(QtMsgType type, const QMessageLogContext& context, const QString& msg);

// Short log of connection steps in "log.txt" beside the executable.
class ALog
{
public:
    static void Out(QString msg);

    static QMutex mutex_;
};

// Masks what must never reach a log file: values named like a password
// ("pass=...", "password: ..."), URLs that carry "pass", private key blocks
// and <key> sections. Text without such parts comes back unchanged.
QString maskSecrets(const QString& text);
