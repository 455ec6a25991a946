#pragma once

#include <QCoreApplication>

// The command line's background session: holds this user's engine while no
// window runs, serves the control socket, and ends with the connection.
class SessionHost
{
    Q_DECLARE_TR_FUNCTIONS(KestrovaCli)

public:
    static int run();
};
