#include "workerprocess.h"

#include "commanddispatcher.h"
#include "commandserver.h"
#include "daemonlog.h"
#include "daemonprocess.h"
#include "firewall.h"
#include "openvpnlauncher.h"
#include "processrunner.h"
#include "systemservices.h"

#include <csignal>
#include <mutex>

int WorkProc(FireWall& firewall, TimezoneWorker& timezone, bool replacing)
{
    installCrashHandler();
    blockSignals({SIGQUIT, SIGINT, SIGTERM});
    signal(SIGPIPE, SIG_IGN);
    WriteLog("[WORK PROC] Started\n");

    // Lives until the process exits: detached connection threads may still
    // use them while the process ends.
    static SystemProcessRunner runner;
    static OpenvpnLauncher launcher(runner);
    static SystemServices services(firewall, timezone, launcher);
    static CommandDispatcher dispatcher(services);
    static CommandServer server(dispatcher);
    services.setServer(&server);

    {
        std::lock_guard<std::mutex> guard(dispatcher.stateLock());
        firewall.reset();
        WriteLog("firewallImpl.reset();");
        if (replacing) {
            firewall.restoreSavedState();
            WriteLog("firewallImpl.restoreSavedState();");
        } else {
            firewall.forgetSavedState();
        }
    }

    if (!server.start()) {
        WriteLog("[WORK PROC] Create work thread failed\n");
    }

    sigset_t stop;
    sigemptyset(&stop);
    for (int sig : {SIGQUIT, SIGINT, SIGTERM}) {
        sigaddset(&stop, sig);
    }
    while (sigwaitinfo(&stop, nullptr) < 0) {
    }
    WriteLog("[WORK PROC] Stopped\n");
    return 2;
}
