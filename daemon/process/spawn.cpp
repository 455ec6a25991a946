#include "processspawn.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <linux/close_range.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace spawn {
namespace {

// Everything the child touches is made before fork: between fork and exec
// only async-signal-safe calls are allowed (another thread may have held the
// allocator's lock at the moment of fork).
struct Prepared
{
    explicit Prepared(const Request& request) : request(request), strings(request.argv)
    {
        for (std::string& s : strings) {
            argv.push_back(&s[0]);
        }
        argv.push_back(nullptr);
        maxFd = sysconf(_SC_OPEN_MAX);
        environment = request.environment ? request.environment : environ;
    }
    const Request& request;
    std::vector<std::string> strings;
    std::vector<char*> argv;
    long maxFd = 0;
    char* const* environment = nullptr;
};

[[noreturn]] void reportAndExit(int reportFd)
{
    const int code = errno;
    ssize_t written = write(reportFd, &code, sizeof(code));
    (void)written;
    _exit(127);
}

void resetSignals()
{
    // Handlers first: a signal let through by the cleared mask must not run
    // the daemon's handler in the child.
    for (int sig = 1; sig < NSIG; ++sig) {
        signal(sig, SIG_DFL);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
}

void setStream(const Stream& stream, int target)
{
    if (stream.fd >= 0) {
        if (dup2(stream.fd, target) < 0) {
            _exit(127);
        }
        return;
    }
    const int fd = open(stream.path, stream.flags | O_CLOEXEC, 0600);
    if (fd < 0) {
        _exit(127);
    }
    if (fd == target) {
        // dup2 onto itself would keep close-on-exec set.
        fcntl(fd, F_SETFD, 0);
        return;
    }
    if (dup2(fd, target) < 0) {
        _exit(127);
    }
    close(fd);
}

// Whatever the daemon holds open (its sockets, the lock file) stays behind.
// Marked close-on-exec rather than closed, so the report pipe lives until exec.
void closeInheritedDescriptors(long maxFd, int reportFd)
{
    if (syscall(SYS_close_range, 3U, ~0U, CLOSE_RANGE_CLOEXEC) == 0) {
        return;
    }
    for (long fd = 3; fd < maxFd; ++fd) {
        if (fd != reportFd) {
            close(static_cast<int>(fd));
        }
    }
}

[[noreturn]] void enterProgram(const Prepared& prepared, int reportFd)
{
    for (int target = 0; target < 3; ++target) {
        setStream(prepared.request.streams[target], target);
    }
    if (prepared.request.changeToRoot && chdir("/") != 0) {
        _exit(127);
    }
    closeInheritedDescriptors(prepared.maxFd, reportFd);
    execve(prepared.request.program.c_str(), prepared.argv.data(), prepared.environment);
    reportAndExit(reportFd);
}

// The report pipe is close-on-exec: it closes empty when exec succeeds, and
// carries errno when it fails. Kept above the standard streams so that
// setting those up cannot overwrite it.
bool openReportPipe(int fds[2])
{
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return false;
    }
    for (int i = 0; i < 2; ++i) {
        if (fds[i] < 3) {
            const int moved = fcntl(fds[i], F_DUPFD_CLOEXEC, 3);
            if (moved < 0) {
                const int code = errno;
                close(fds[0]);
                close(fds[1]);
                errno = code;
                return false;
            }
            close(fds[i]);
            fds[i] = moved;
        }
    }
    return true;
}

Started failure(const char* step, int code)
{
    Started started;
    started.failedStep = step;
    started.code = code;
    return started;
}

// Forks with the report pipe open. The child (0) has its signal state reset
// and only the write end fds[1]; the parent only the read end fds[0]. -1 with
// *failed set when the pipe or the fork failed.
pid_t forkWithReportPipe(int fds[2], Started* failed)
{
    if (!openReportPipe(fds)) {
        *failed = failure("pipe", errno);
        return -1;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        *failed = failure("fork", errno);
        close(fds[0]);
        close(fds[1]);
        return -1;
    }
    if (pid == 0) {
        close(fds[0]);
        resetSignals();
    } else {
        close(fds[1]);
    }
    return pid;
}

int waitBlocking(pid_t pid, int* status)
{
    while (waitpid(pid, status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return 0;
}

enum class Report
{
    Empty,
    Code,
    TimedOut
};

Report readReport(int fd, Clock::time_point deadline, int* code)
{
    for (;;) {
        int wait = -1;
        if (deadline != Clock::time_point::max()) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return Report::TimedOut;
            }
            wait = static_cast<int>(left.count());
        }
        pollfd pfd{fd, POLLIN, 0};
        const int ready = poll(&pfd, 1, wait);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready == 0) {
            return Report::TimedOut;
        }
        if (ready < 0) {
            return Report::Empty;
        }
        const ssize_t got = read(fd, code, sizeof(*code));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got > 0) {
            if (got != static_cast<ssize_t>(sizeof(*code))) {
                *code = 0;
            }
            return Report::Code;
        }
        return Report::Empty;
    }
}

} // namespace

Started start(const Request& request, Clock::time_point deadline)
{
    const Prepared prepared(request);
    int fds[2];
    Started started;
    const pid_t pid = forkWithReportPipe(fds, &started);
    if (pid < 0) {
        return started;
    }
    if (pid == 0) {
        enterProgram(prepared, fds[1]);
    }
    int code = 0;
    const Report report = readReport(fds[0], deadline, &code);
    close(fds[0]);
    if (report == Report::Empty) {
        started.pid = pid;
        return started;
    }
    if (report == Report::TimedOut) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    waitBlocking(pid, &status);
    started = failure("exec", code);
    started.timedOut = report == Report::TimedOut;
    return started;
}

Started startDetached(const Request& request)
{
    const Prepared prepared(request);
    // The middle process tells the program's pid through this pipe: only it
    // knows the pid, and the caller may want to watch the program.
    int pidPipe[2];
    if (pipe2(pidPipe, O_CLOEXEC) != 0) {
        return failure("pipe", errno);
    }
    int fds[2];
    Started failed;
    const pid_t child = forkWithReportPipe(fds, &failed);
    if (child < 0) {
        close(pidPipe[0]);
        close(pidPipe[1]);
        return failed;
    }
    if (child == 0) {
        close(pidPipe[0]);
        if (setsid() < 0) {
            reportAndExit(fds[1]);
        }
        // The second fork leaves the program without the daemon as parent:
        // init adopts it, nobody has to reap it, and it outlives the daemon.
        const pid_t grandchild = fork();
        if (grandchild < 0) {
            reportAndExit(fds[1]);
        }
        if (grandchild > 0) {
            const bool told = write(pidPipe[1], &grandchild, sizeof(grandchild)) == sizeof(grandchild);
            _exit(told ? 0 : 1);
        }
        close(pidPipe[1]);
        enterProgram(prepared, fds[1]);
    }
    close(pidPipe[1]);
    int status = 0;
    const bool forked = waitBlocking(child, &status) == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    pid_t program = -1;
    if (forked && read(pidPipe[0], &program, sizeof(program)) != sizeof(program)) {
        program = -1;
    }
    close(pidPipe[0]);
    int code = 0;
    const Report report = readReport(fds[0], Clock::time_point::max(), &code);
    close(fds[0]);
    if (report == Report::Empty && forked && program > 0) {
        Started started;
        started.pid = program;
        return started;
    }
    return failure("exec", report == Report::Code ? code : 0);
}

Started startChild(const Request& request)
{
    const Prepared prepared(request);
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t actions;
    if (posix_spawnattr_init(&attributes) != 0) {
        return failure("fork", ENOMEM);
    }
    if (posix_spawn_file_actions_init(&actions) != 0) {
        posix_spawnattr_destroy(&attributes);
        return failure("fork", ENOMEM);
    }
    // What the daemon ignores or blocks stays behind, as after fork and exec.
    // Every bit, not sigfillset(): that leaves out the C library's own two
    // signals, which its spawn would then hand to the program as ignored.
    sigset_t every;
    sigset_t none;
    std::memset(&every, 0xff, sizeof(every));
    sigemptyset(&none);
    int result = posix_spawnattr_setsigdefault(&attributes, &every);
    if (result == 0) {
        result = posix_spawnattr_setsigmask(&attributes, &none);
    }
    if (result == 0) {
        result = posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK |
                                                           POSIX_SPAWN_SETSID);
    }
    for (int target = 0; target < 3 && result == 0; ++target) {
        const Stream& stream = request.streams[target];
        result = stream.fd >= 0
                     ? posix_spawn_file_actions_adddup2(&actions, stream.fd, target)
                     : posix_spawn_file_actions_addopen(&actions, target, stream.path, stream.flags, 0600);
    }
    if (result == 0 && request.changeToRoot) {
        result = posix_spawn_file_actions_addchdir_np(&actions, "/");
    }
    // Whatever the daemon holds open (its sockets, the lock file) stays behind.
    if (result == 0) {
        result = posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    }
    pid_t pid = -1;
    if (result == 0) {
        result = posix_spawn(&pid, request.program.c_str(), &actions, &attributes, prepared.argv.data(),
                             prepared.environment);
    }
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (result != 0) {
        return failure("exec", result);
    }
    Started started;
    started.pid = pid;
    return started;
}

std::string describeFailure(const Started& started)
{
    if (started.timedOut) {
        return "timed out";
    }
    const char* step = started.failedStep ? started.failedStep : "exec";
    if (std::strcmp(step, "exec") == 0) {
        return started.code ? strerror(started.code) : "exec failed";
    }
    return std::string(step) + ": " + strerror(started.code);
}

WaitResult waitUntil(pid_t pid, Clock::time_point deadline, int* status)
{
    // The program's end wakes the wait at once (a pidfd is readable when the
    // process has exited); without pidfds, short naps that grow.
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        const pid_t done = waitpid(pid, status, WNOHANG);
        if (done == pid) {
            if (pidfd >= 0) {
                close(pidfd);
            }
            return WaitResult::Exited;
        }
        if (done < 0 && errno != EINTR) {
            if (pidfd >= 0) {
                close(pidfd);
            }
            return WaitResult::Failed;
        }
        const auto now = Clock::now();
        if (now >= deadline) {
            if (pidfd >= 0) {
                close(pidfd);
            }
            kill(pid, SIGKILL);
            return waitBlocking(pid, status) == 0 ? WaitResult::TimedOut : WaitResult::Failed;
        }
        if (pidfd >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
            pollfd exited{pidfd, POLLIN, 0};
            poll(&exited, 1, static_cast<int>(std::min<long long>(left.count(), 1000 * 1000)));
            continue;
        }
        const auto nap = std::min<Clock::duration>(pause, deadline - now);
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(nap).count();
        struct timespec ts = {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        nanosleep(&ts, nullptr);
        pause = std::min(pause * 2, std::chrono::milliseconds(10));
    }
}

std::string findInFolders(const std::string& name, const std::string& folders)
{
    if (name.empty()) {
        return std::string();
    }
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) {
            end = folders.size();
        }
        if (end > start) {
            const std::string candidate = folders.substr(start, end - start) + "/" + name;
            struct stat info;
            if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
                access(candidate.c_str(), X_OK) == 0) {
                return candidate;
            }
        }
        start = end + 1;
    }
    return std::string();
}

} // namespace spawn
