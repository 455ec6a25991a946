#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QStringList>

// The connection's status as the engine reports it, in lines for a reader;
// the first line sums it up.
class StatusText
{
    Q_DECLARE_TR_FUNCTIONS(KestrovaCli)

public:
    static QStringList describe(const QJsonObject& status);
};
