#include "resolverguard.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/signalfd.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr int kOwnerLookMs = 1000;

int openPidfd(pid_t pid)
{
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
    errno = ENOSYS;
    return -1;
#endif
}

bool ownerAlive(pid_t owner)
{
    return kill(owner, 0) == 0 || errno == EPERM;
}

void drain(int fd)
{
    char buffer[4096];
    while (read(fd, buffer, sizeof buffer) > 0) {
    }
}

} // namespace

void ResolverGuard::watchFolders(int watch)
{
    for (const std::string& folder : backend.watchedFolders()) {
        inotify_add_watch(watch, folder.c_str(),
                          IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE | IN_ATTRIB);
    }
}

bool ResolverGuard::stillGuard()
{
    return state.guardPid(device) == getpid();
}

ResolverGuard::End ResolverGuard::run()
{
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    const int signals = signalfd(-1, &stop, SFD_CLOEXEC | SFD_NONBLOCK);
    const int watch = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (signals < 0 || watch < 0) {
        return End::Failed;
    }
    // Without a pidfd (old kernels) the owner is looked at on every time-out.
    const int ownerFd = openPidfd(owner);
    if (ownerFd < 0 && errno == ESRCH) {
        owner = -1;
    }

    End end = End::Stopped;
    bool changed = true;
    for (;;) {
        if (owner < 0 || (ownerFd < 0 && !ownerAlive(owner))) {
            end = End::OwnerGone;
            break;
        }
        if (changed) {
            // Again after every change: a folder the owner makes later
            // (resolved's per-link folder) is watched from then on.
            watchFolders(watch);
            drain(watch);
            if (!state.lock()) {
                end = End::Failed;
                break;
            }
            if (!stillGuard()) {
                state.unlock();
                break;
            }
            std::string why;
            backend.enforce(device, dns, &why);
            state.unlock();
        }
        pollfd fds[3] = {{signals, POLLIN, 0}, {watch, POLLIN, 0}, {ownerFd, POLLIN, 0}};
        // Only events wake the guard; without a pidfd (kernels before
        // 5.3) it must look at the owner now and then.
        const int ready = poll(fds, ownerFd >= 0 ? 3 : 2, ownerFd >= 0 ? -1 : kOwnerLookMs);
        if (ready < 0 && errno != EINTR) {
            end = End::Failed;
            break;
        }
        if (fds[0].revents) {
            break;
        }
        if (ownerFd >= 0 && fds[2].revents) {
            end = End::OwnerGone;
            break;
        }
        changed = true;
    }
    if (end == End::OwnerGone) {
        if (state.lock()) {
            if (stillGuard()) {
                std::string why;
                backend.undo(device, &why);
                state.removeRecord(device);
                state.clearGuardPid(device);
            }
            state.unlock();
        }
    }
    close(signals);
    close(watch);
    if (ownerFd >= 0) {
        close(ownerFd);
    }
    return end;
}
