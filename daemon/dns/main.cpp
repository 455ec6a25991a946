// kestrova-dns: OpenVPN's up and down script hands its environment to this
// program (update-resolv-conf.sh only execs it). It checks what the server
// pushed and returns to OpenVPN as soon as the guarantee allows:
// - up: once the tunnel's servers are in place (OpenVPN reports the tunnel
//   connected when this returns, and a lookup made at that moment must not
//   still go to the machine's old resolver), 5 s at the latest; the
//   detached child that applied them stays as the tunnel's guard.
// - down: at once where the undo needs other programs or the bus; a
//   detached child that holds the state lock finishes it, so a later up
//   still comes after it. Giving back the plain file is quicker than the
//   fork and is done before returning.
//   kestrova-dns [--foreground]
#include "commandrunner.h"
#include "dnsstate.h"
#include "networkmanagerbus.h"
#include "resolverguard.h"
#include "resolversystem.h"
#include "tunneldns.h"
#include "tunneldnsservice.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <syslog.h>
#include <unistd.h>

namespace {

void say(int priority, const std::string& text)
{
    syslog(priority, "%s: %s", "kestrova-dns", text.c_str());
}

// A resolver owner that never answers must not hold up the tunnel for ever.
constexpr int kSetUpWaitMs = 5000;

void closeFrom(int lowest, int keep, int keepToo)
{
    for (int fd = lowest; fd < 1024; ++fd) {
        if (fd != keep && fd != keepToo) {
            close(fd);
        }
    }
}

// The child goes on in a session of its own, with no descriptor of
// OpenVPN's (its tunnel device among them) but `keep`. Without `setUpDone`
// the parent returns to OpenVPN at once; with it, once the child closes
// *setUpDone or ends, and after 5 s at the latest. False (in the only
// process) when there is no child.
bool detach(int keep, int* setUpDone = nullptr)
{
    int done[2] = {-1, -1};
    if (setUpDone && pipe2(done, O_CLOEXEC) != 0) {
        done[0] = done[1] = -1;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        if (done[0] >= 0) {
            close(done[0]);
            close(done[1]);
        }
        return false;
    }
    if (pid > 0) {
        // The state lock, if held, is shared with the child, which keeps it.
        if (done[0] >= 0) {
            close(done[1]);
            pollfd end{done[0], POLLIN, 0};
            while (poll(&end, 1, kSetUpWaitMs) < 0 && errno == EINTR) {
            }
        }
        _exit(0);
    }
    if (done[0] >= 0) {
        close(done[0]);
        *setUpDone = done[1];
    }
    setsid();
    // syslog's socket goes with the descriptors below: it must not write
    // to whatever reuses the number.
    closelog();
    openlog("kestrova-dns", LOG_PID, LOG_DAEMON);
    const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (null >= 0) {
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        if (null > 2) {
            close(null);
        }
    }
    closeFrom(3, keep, done[1]);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const bool foreground = argc > 1 && std::strcmp(argv[1], "--foreground") == 0;
    openlog("kestrova-dns", LOG_PID, LOG_DAEMON);
    umask(022);
    std::string why;
    const std::optional<TunnelEvent> event = readTunnelEvent(currentEnvironment(), &why);
    if (!event) {
        std::fprintf(stderr, "kestrova-dns: %s\n", why.c_str());
        return 1;
    }
    for (const std::string& ignored : event->ignored) {
        say(LOG_WARNING, "ignoring " + ignored);
    }
    if (event->event == ScriptEvent::Restart) {
        // OpenVPN brings the tunnel up again: the tunnel's servers and the
        // guard stay, or queries would go to the LAN in between.
        return 0;
    }
    if (event->event == ScriptEvent::Up && event->dns.servers.empty()) {
        say(LOG_NOTICE, "no name servers pushed for " + event->device + "; name resolution left as it is");
        return 0;
    }
    const pid_t owner = getppid();
    // SIGTERM reaches the guard through its signalfd only.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    sigprocmask(SIG_BLOCK, &stop, nullptr);

    SystemCommandRunner runner;
    SystemNetworkManagerBus networkManager;
    ResolverSystem system(runner, networkManager);
    DnsState state;
    TunnelDnsService service(system, state);
    if (event->event == ScriptEvent::Down) {
        if (!state.lock()) {
            say(LOG_ERR, "down " + event->device + ": cannot use " + state.path());
            return 1;
        }
        const std::optional<TunnelRecord> record = state.readRecord(event->device);
        if (!foreground && record && record->backend != "file" && detach(state.lockDescriptor())) {
            networkManager.forgetAfterFork();
        }
        if (!service.down(event->device, &why)) {
            say(LOG_ERR, "down " + event->device + ": " + why);
            return 1;
        }
        return 0;
    }
    // The up goes on in the child that stays as the guard; OpenVPN is let
    // go once the servers are in place (or after 5 s at the latest).
    int setUpDone = -1;
    const bool detached = !foreground && detach(-1, &setUpDone);
    std::unique_ptr<ResolverBackend> backend;
    const bool up = service.up(*event, &backend, &why);
    if (setUpDone >= 0) {
        close(setUpDone);
    }
    if (!up) {
        say(LOG_ERR, "up " + event->device + ": " + why);
        return 1;
    }
    if (!detached) {
        state.unlock();
        say(LOG_INFO, event->device + " resolves through the tunnel (" + backend->name() + ")");
        return 0;
    }
    state.setGuardPid(event->device, getpid());
    state.unlock();
    say(LOG_INFO, event->device + " resolves through the tunnel (" + backend->name() + ")");
    prctl(PR_SET_NAME, "kestrova-dns");
    ResolverGuard guard(*backend, state, event->device, event->dns, owner);
    return guard.run() == ResolverGuard::End::Failed ? 1 : 0;
}
