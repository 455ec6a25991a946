// kestrova-dns: OpenVPN's up and down script (installed under the script's
// name as a link to this program, so no shell starts). It checks what the
// server pushed and returns to OpenVPN as soon as the guarantee allows:
// - up: once the tunnel's servers are in place (OpenVPN reports the tunnel
//   connected when this returns, and a lookup made at that moment must not
//   still go to the machine's old resolver). A plain resolv.conf is written
//   here and the guard forked after; for every other owner a detached
//   child applies and OpenVPN is let go once it has, 5 s at the latest.
//   The child stays as the tunnel's guard.
// - down: at once where the undo needs other programs or the bus; a
//   detached child that holds the state lock finishes it, so a later up
//   still comes after it. Giving back the plain file is quicker than the
//   fork and is done before returning.
//   kestrova-dns [--foreground]
#include "commandrunner.h"
#include "dnsstate.h"
#include "networkmanagerbus.h"
#include "resolvedlinkbus.h"
#include "resolverguard.h"
#include "resolversystem.h"
#include "tunneldns.h"
#include "tunneldnsservice.h"

#include <algorithm>
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

void closeRange(unsigned first, unsigned last)
{
    // One call instead of a thousand; a kernel older than 5.9 gets the loop.
    if (first > last || close_range(first, last, 0) == 0) {
        return;
    }
    for (unsigned fd = first; fd <= std::min(last, 1023u); ++fd) {
        close(static_cast<int>(fd));
    }
}

void closeFrom(int lowest, int keep, int keepToo)
{
    unsigned next = static_cast<unsigned>(lowest);
    for (const int fd : {std::min(keep, keepToo), std::max(keep, keepToo)}) {
        if (fd >= 0 && static_cast<unsigned>(fd) >= next) {
            if (static_cast<unsigned>(fd) > next) {
                closeRange(next, static_cast<unsigned>(fd) - 1);
            }
            next = static_cast<unsigned>(fd) + 1;
        }
    }
    closeRange(next, ~0u);
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

// True, with the state lock held, where the up has nothing to do but write
// the plain file: no owner that only the bus or another program can tell
// about, the lock free at once, and no other owner's setting of this tunnel
// to undo first.
bool fileUpNeedsNoWait(ResolverSystem& system, DnsState& state, const std::string& device)
{
    if (!system.plainFileOwns() || !state.lock(false)) {
        return false;
    }
    const std::optional<TunnelRecord> earlier = state.readRecord(device);
    if (!earlier || earlier->backend == "file") {
        return true;
    }
    state.unlock();
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const bool foreground = argc > 1 && std::strcmp(argv[1], "--foreground") == 0;
    // OpenVPN starts this under the script's name: every process of ours
    // (the down's child that finishes the undo, the guard) goes by the
    // program's, as the guard's check and the tools that look for it expect.
    prctl(PR_SET_NAME, "kestrova-dns");
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
    SystemResolvedLinkBus resolvedBus;
    ResolverSystem system(runner, networkManager, {}, &resolvedBus);
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
    // Writing a plain file is quicker than any hand-over: where that is all
    // there is to do, it is done here and the guard forked after, and
    // OpenVPN goes on as this process ends (the state lock goes to the
    // guard). For every other owner, or when the lock is taken, a detached
    // child applies and OpenVPN is let go once it has (or after 5 s at the
    // latest).
    std::unique_ptr<ResolverBackend> backend;
    bool detached = false;
    bool up = false;
    if (foreground || fileUpNeedsNoWait(system, state, event->device)) {
        up = service.up(*event, &backend, &why);
        detached = up && !foreground && detach(state.lockDescriptor());
    } else {
        int setUpDone = -1;
        detached = detach(-1, &setUpDone);
        up = service.up(*event, &backend, &why);
        if (setUpDone >= 0) {
            close(setUpDone);
        }
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
    ResolverGuard guard(*backend, state, event->device, event->dns, owner);
    return guard.run() == ResolverGuard::End::Failed ? 1 : 0;
}
