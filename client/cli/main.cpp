#include "commandline.h"
#include "constants.h"
#include "controlprotocol.h"
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
    if (arguments.value(1) == QLatin1String("--session-host")) {
        // From the front: --request-fd N, the connection its request waits in.
        bool number = false;
        const int requestFd = arguments.size() == 4 && arguments.at(2) == QLatin1String("--request-fd")
                                  ? arguments.at(3).toInt(&number)
                                  : -1;
        if (arguments.size() != 2 && (!number || requestFd < 3)) {
            std::fprintf(stderr, "kestrova-cli: wrong arguments for the background session\n");
            return ControlProtocol::Usage;
        }
        return SessionHost::run(requestFd);
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
