#include "daemonprocess.h"

#include "daemonlog.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <syslog.h>
#include <ucontext.h>
#include <unistd.h>

namespace {

int lockFd = -1;
const char* monitorPidFile = kPidFilePath;

void plainSignalHandler(int sig)
{
    switch (sig) {
    case SIGHUP:
        logSystem(LOG_WARNING, "Received SIGHUP signal.");
        break;
    case SIGINT:
        logSystem(LOG_WARNING, "Received SIGINT signal.");
        break;
    case SIGTERM:
        logSystem(LOG_WARNING, "Received SIGTERM signal.");
        break;
    default:
        break;
    }
}

void crashHandler(int sig, siginfo_t* info, void* context)
{
    // Should the logging below ever hang (the fault struck inside the C
    // library), the alarm ends the worker and the monitor replaces it.
    alarm(5);
    WriteLog(
        "[DAEMON] Signal: %s, Addr: 0x%016lX\n", strsignal(sig),
        static_cast<unsigned long>(reinterpret_cast<uintptr_t>(info != nullptr ? info->si_addr : nullptr)));
    void* frames[16];
    const int count = backtrace(frames, 16);
    if (count > 1 && context != nullptr) {
        const ucontext_t* uc = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
        frames[1] = reinterpret_cast<void*>(uc->uc_mcontext.gregs[REG_RIP]);
#else
        (void)uc;
#endif
    }
    char** symbols = count > 0 ? backtrace_symbols(frames, count) : nullptr;
    if (symbols != nullptr) {
        WriteLog("== Backtrace ==");
        for (int i = 1; i < count; ++i) {
            WriteLog("%s\n", symbols[i]);
        }
        WriteLog("== End Backtrace ==\n");
        free(symbols);
    }
    WriteLog("[DAEMON] Stopped\n");
    exit(1);
}

int waitForSignal(const sigset_t& set)
{
    while (true) {
        const int sig = sigwaitinfo(&set, nullptr);
        if (sig > 0) {
            return sig;
        }
    }
}

} // namespace

void blockSignals(std::initializer_list<int> signals)
{
    sigset_t set;
    sigemptyset(&set);
    for (int sig : signals) {
        sigaddset(&set, sig);
    }
    sigprocmask(SIG_BLOCK, &set, nullptr);
}

int pidLockDescriptor()
{
    return lockFd;
}

bool SetPidFile(const char* path)
{
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
        return false;
    }
    char text[32];
    const int length = snprintf(text, sizeof(text), "%d", static_cast<int>(getpid()));
    const bool ok = write(fd, text, static_cast<size_t>(length)) == length;
    close(fd);
    return ok;
}

void installCrashHandler()
{
    // Load the unwinder now: the handler must not have to load a library.
    void* warmUp[2];
    backtrace(warmUp, 2);

    struct sigaction action;
    std::memset(&action, 0, sizeof(action));
    action.sa_sigaction = crashHandler;
    action.sa_flags = SA_SIGINFO | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGFPE, SIGILL, SIGSEGV, SIGBUS}) {
        sigaction(sig, &action, nullptr);
    }
}

void daemonize(const char* dir, const char* pidFile, WorkerBody worker)
{
    if (getppid() == 1) {
        return;
    }
    blockSignals({SIGCHLD, SIGTSTP, SIGTTOU, SIGTTIN});
    struct sigaction action;
    std::memset(&action, 0, sizeof(action));
    action.sa_handler = plainSignalHandler;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGHUP, SIGTERM, SIGINT}) {
        sigaction(sig, &action, nullptr);
    }

    const pid_t pid = fork();
    if (pid < 0) {
        logSystem(LOG_INFO, "Start Daemon Error: %s\n", strerror(errno));
        exit(1);
    }
    if (pid > 0) {
        exit(0);
    }
    umask(027);
    if (setsid() < 0) {
        exit(1);
    }
    // The system log's socket is one of the descriptors closed below; closing
    // it through the log first keeps the log from closing a reused number.
    closelog();
    if (close_range(0, ~0U, 0) != 0) {
        for (int fd = static_cast<int>(sysconf(_SC_OPEN_MAX)); fd >= 0; --fd) {
            close(fd);
        }
    }
    const int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
        if (dup(devNull) < 0 || dup(devNull) < 0) {
            exit(1);
        }
    }
    openlog("kestrovad", LOG_CONS, LOG_USER);
    if (chdir(dir) != 0) {
        exit(1);
    }
    lockFd = open(pidFile, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd < 0) {
        logSystem(LOG_INFO, "Could not open PID lock file %s, exiting", pidFile);
        exit(1);
    }
    if (lockf(lockFd, F_TLOCK, 0) < 0) {
        logSystem(LOG_INFO, "Could not lock PID lock file %s, exiting", pidFile);
        exit(1);
    }
    char text[32];
    const int length = snprintf(text, sizeof(text), "%d\n", static_cast<int>(getpid()));
    if (ftruncate(lockFd, 0) != 0 || write(lockFd, text, static_cast<size_t>(length)) != length) {
        logSystem(LOG_INFO, "Could not write PID lock file %s", pidFile);
    }
    monitorPidFile = pidFile;
    MonitorProc(worker);
    logSystem(LOG_INFO, "[MONITOR] Stopped\n");
}

int MonitorProc(WorkerBody worker)
{
    sigset_t waited;
    sigemptyset(&waited);
    for (int sig : {SIGQUIT, SIGINT, SIGTERM, SIGCHLD, SIGUSR1}) {
        sigaddset(&waited, sig);
    }
    sigprocmask(SIG_BLOCK, &waited, nullptr);
    // An ignored SIGCHLD, inherited from whoever started the daemon, would
    // have the kernel reap a dead worker without a word: the monitor would
    // wait for good and never start another.
    struct sigaction childSignal;
    std::memset(&childSignal, 0, sizeof(childSignal));
    childSignal.sa_handler = SIG_DFL;
    sigemptyset(&childSignal.sa_mask);
    sigaction(SIGCHLD, &childSignal, nullptr);
    SetPidFile(kChildPidFilePath);

    bool replacing = false;
    while (true) {
        const pid_t child = fork();
        if (child < 0) {
            WriteLog("[MONITOR] Fork failed (%s)\n", strerror(errno));
            usleep(100 * 1000);
            continue;
        }
        if (child == 0) {
            exit(worker(replacing));
        }
        bool restart = false;
        while (!restart) {
            const int sig = waitForSignal(waited);
            if (sig != SIGCHLD) {
                WriteLog("[MONITOR] Signal %s\n", strsignal(sig));
                kill(child, SIGTERM);
                WriteLog("[MONITOR] Stopped\n");
                unlink(monitorPidFile);
                return 0;
            }
            int status = 0;
            const pid_t done = waitpid(child, &status, WNOHANG);
            if (done != child) {
                continue; // not the worker's end
            }
            if (WIFEXITED(status) && WEXITSTATUS(status) == 2) {
                WriteLog("[MONITOR] Childer stopped\n");
                WriteLog("[MONITOR] Stopped\n");
                unlink(monitorPidFile);
                return 2;
            }
            if (WIFEXITED(status) && WEXITSTATUS(status) == 1) {
                WriteLog("[MONITOR] Childer restart\n");
                sleep(1);
            }
            restart = true;
        }
        replacing = true;
    }
}
