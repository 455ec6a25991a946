#include "commandline.h"
#include "constants.h"
#include "localsettings.h"
#include "log.h"
#include "secretstore.h"
#include "sessionhost.h"
#include "terminallanguage.h"

#include <QCoreApplication>
#include <QTranslator>
#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The window's names: the same settings, account cache and log.
    QCoreApplication::setOrganizationName(Constants::OrganizationName);
    QCoreApplication::setApplicationName(Constants::ApplicationName);
    qInstallMessageHandler(myMessageOutput);
    QTranslator catalogue;
    TerminalLanguage::install(catalogue);

    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 2 && arguments.at(1) == QLatin1String("--session-host")) {
        return SessionHost::run();
    }
    const int code = CommandLine(QCoreApplication::applicationFilePath()).run(arguments);
    // The account cache measures latencies on worker threads that run the
    // ping program; a command that has its answer does not wait for them,
    // and they must not outlive the application object. The settings are
    // written first, then the process ends without unwinding.
    SecretStore::finishPendingWrites(3000);
    LocalSettings::releaseInstance();
    std::fflush(nullptr);
    ::_exit(code);
}
