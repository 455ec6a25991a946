#include "constants.h"

#include <QByteArray>

#ifndef KESTROVA_DEFAULT_API_URL
#error "KESTROVA_DEFAULT_API_URL must come from the build"
#endif
#ifndef KESTROVA_DEFAULT_SITE_URL
#error "KESTROVA_DEFAULT_SITE_URL must come from the build"
#endif

namespace {

constexpr qint32 PROGRAM_VERSION_NUMBER = 123;
constexpr qint32 PROGRAM_BUILD_NUMBER = 27;
constexpr qint32 PROGRAM_BUILD_DAY = 4;
constexpr qint32 PROGRAM_BUILD_MONTH = 3;
constexpr qint32 PROGRAM_BUILD_YEAR = 2023;

QString fromEnvironment(const char* name, const char* fallback)
{
    QString value = qEnvironmentVariable(name);
    if (value.trimmed().isEmpty())
        value = QString::fromUtf8(fallback);
    value = value.trimmed();
    while (value.endsWith(QLatin1Char('/')))
        value.chop(1);
    return value;
}

} // namespace

namespace Constants {

QString apiUrl()
{
    return fromEnvironment("KESTROVA_API_URL", KESTROVA_DEFAULT_API_URL);
}

QString siteUrl()
{
    return fromEnvironment("KESTROVA_SITE_URL", KESTROVA_DEFAULT_SITE_URL);
}

QString caFile()
{
    return qEnvironmentVariable("KESTROVA_CA_FILE").trimmed();
}

ProgramInfo getProgramInfo()
{
    return {PROGRAM_VERSION_NUMBER, PROGRAM_BUILD_NUMBER, PROGRAM_BUILD_DAY, PROGRAM_BUILD_MONTH,
            PROGRAM_BUILD_YEAR};
}

} // namespace Constants
