// kestrovad: the root daemon of Kestrova.
#include "daemonlog.h"
#include "daemonprocess.h"
#include "firewall.h"
#include "timezoneworker.h"
#include "workerprocess.h"

#include <syslog.h>
#include <unistd.h>

// The two program-wide service objects, created before main runs.
FireWall firewallImpl;
TimezoneWorker timezoneWorkerImpl;

namespace {

int runWorker(bool replacing)
{
    return WorkProc(firewallImpl, timezoneWorkerImpl, replacing);
}

} // namespace

int main()
{
    initDaemonLog();
    logSystem(LOG_INFO, "Daemon starting up");
    daemonize("/", kPidFilePath, runWorker);
    logSystem(LOG_INFO, "Daemon running");
    logSystem(LOG_INFO, "Daemon exiting");
    if (pidLockDescriptor() >= 0) {
        close(pidLockDescriptor());
    }
    return 0;
}
