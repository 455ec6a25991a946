#include "programinfo.h"

#ifndef PROGRAM_VERSION_NUMBER
#error "the build defines PROGRAM_VERSION_NUMBER and the other build numbers"
#endif

QString ProgramInfo::versionText()
{
    return QStringLiteral(KESTROVA_VERSION_TEXT);
}

Constants::ProgramInfoRecord Constants::getProgramInfo()
{
    return {PROGRAM_VERSION_NUMBER, PROGRAM_BUILD_NUMBER, PROGRAM_BUILD_DAY, PROGRAM_BUILD_MONTH,
            PROGRAM_BUILD_YEAR};
}
