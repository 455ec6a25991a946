#pragma once

#include <QString>
#include <QTemporaryDir>

// Points HOME and the XDG folders at a throw-away directory so that settings,
// logs and sockets of a test never reach the real user's files. Call before the
// application object exists.
class ScratchHome
{
public:
    ScratchHome();
    bool isValid() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};
