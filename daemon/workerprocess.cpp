#include "workerprocess.h"

#include "commanddispatcher.h"
#include "commandserver.h"
#include "daemonlog.h"
#include "daemonprocess.h"
#include "firewall.h"
#include "firewallrunner.h"
#include "managementportguards.h"
#include "openvpnlauncher.h"
#include "processrunner.h"
#include "systemservices.h"
#include "timezoneworker.h"

#include <csignal>
#include <mutex>

int WorkProc(FireWall& firewall, TimezoneWorker& timezone, bool replacing)
{
    installCrashHandler();
    blockSignals({SIGQUIT, SIGINT, SIGTERM});
    signal(SIGPIPE, SIG_IGN);
    WriteLog("[WORK PROC] Started\n");

    // Never destroyed: detached connection threads may still use them while
    // the process exits.
    auto* runner = new SystemProcessRunner();
    auto* launcher = new OpenvpnLauncher(*runner);
    auto* guards = new ManagementPortGuards(std::make_shared<SystemFirewallRunner>());
    auto* services = new SystemServices(firewall, timezone, *launcher, *guards);
    auto* dispatcherPtr = new CommandDispatcher(*services);
    auto* server = new CommandServer(*dispatcherPtr);
    services->setServer(server);
    CommandDispatcher& dispatcher = *dispatcherPtr;

    {
        std::lock_guard<std::mutex> guard(dispatcher.stateLock());
        // The command port first: while another worker holds it (one whose
        // monitor was killed serves on), this one must leave the kill switch
        // that worker keeps to it, and go. Connections wait in the backlog
        // until the rules are settled.
        if (!server->claimPort()) {
            WriteLog("[WORK PROC] Create work thread failed\n");
            WriteLog("[WORK PROC] Stopped\n");
            return 2;
        }
        timezone.resume();
        firewall.reset();
        WriteLog("firewallImpl.reset();");
        if (replacing) {
            firewall.restoreSavedState();
            WriteLog("firewallImpl.restoreSavedState();");
        } else {
            firewall.forgetSavedState();
        }
        guards->reconcile();
    }
    guards->startWatching();

    if (!server->start()) {
        WriteLog("[WORK PROC] Create work thread failed\n");
    }

    sigset_t stop;
    sigemptyset(&stop);
    for (int sig : {SIGQUIT, SIGINT, SIGTERM}) {
        sigaddset(&stop, sig);
    }
    while (sigwaitinfo(&stop, nullptr) < 0) {
    }
    // Exiting destroys the program-wide objects; no command may be using
    // them then, so the lock is taken and never given back.
    dispatcher.stateLock().lock();
    WriteLog("[WORK PROC] Stopped\n");
    return 2;
}
