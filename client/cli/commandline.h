#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// kestrova-cli's commands: reads the arguments, runs one command and gives
// its exit status (the codes of ControlProtocol).
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(KestrovaCli)

public:
    // `program` is this executable, started again for a background session.
    explicit CommandLine(QString program) : program_(std::move(program)) {}

    int run(const QStringList& arguments);

    static QString usage();

private:
    QString program_;
};
