#pragma once

#include <QString>
#include <QtGlobal>

// Build numbers of the program, fixed at link time by the build.
namespace ProgramInfo {

// The client's own version, as shown to the user and sent to the service.
QString versionText();

} // namespace ProgramInfo

namespace Constants {

struct ProgramInfoRecord
{
    qint32 versionNumber;
    qint32 buildNumber;
    qint32 buildDay;
    qint32 buildMonth;
    qint32 buildYear;
};

ProgramInfoRecord getProgramInfo();

} // namespace Constants
