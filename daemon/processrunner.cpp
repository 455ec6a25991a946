#include "processrunner.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The environment of every program the daemon starts; nothing of the
// daemon's own environment is passed on.
char kPathVariable[] = "PATH=/usr/sbin:/usr/bin:/sbin:/bin";
char kLangVariable[] = "LANG=C";
char* kEnvironment[] = {kPathVariable, kLangVariable, nullptr};

struct ArgvStorage
{
    explicit ArgvStorage(const std::vector<std::string>& argv) : strings(argv)
    {
        for (std::string& s : strings) {
            pointers.push_back(&s[0]);
        }
        pointers.push_back(nullptr);
    }
    std::vector<std::string> strings;
    std::vector<char*> pointers;
};

// Between fork and exec: async-signal-safe calls only.
void prepareChild(bool detach)
{
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig = 1; sig < NSIG; ++sig) {
        signal(sig, SIG_DFL);
    }
    if (detach) {
        setsid();
    }
    const int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
        dup2(devNull, 0);
        dup2(devNull, 1);
        dup2(devNull, 2);
        if (devNull > 2) {
            close(devNull);
        }
    }
    if (chdir("/") != 0) {
        _exit(127);
    }
    // Whatever the daemon holds open (sockets, lock file) stays behind.
    close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
}

void reportAndExit(int pipeFd)
{
    const int code = errno;
    ssize_t written = write(pipeFd, &code, sizeof(code));
    (void)written;
    _exit(127);
}

int waitForPid(pid_t pid, int options)
{
    int status = 0;
    while (waitpid(pid, &status, options) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return status;
}

} // namespace

bool SystemProcessRunner::spawnDetached(const std::vector<std::string>& argv, std::string* error)
{
    if (argv.empty() || argv[0].empty() || argv[0][0] != '/') {
        if (error) {
            *error = "no absolute program path";
        }
        return false;
    }
    ArgvStorage args(argv);
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        if (error) {
            *error = std::string("pipe: ") + strerror(errno);
        }
        return false;
    }
    const pid_t child = fork();
    if (child < 0) {
        const int code = errno;
        close(pipeFds[0]);
        close(pipeFds[1]);
        if (error) {
            *error = std::string("fork: ") + strerror(code);
        }
        return false;
    }
    if (child == 0) {
        close(pipeFds[0]);
        prepareChild(true);
        // The second fork leaves the program without the daemon as parent,
        // so the daemon never has to reap it.
        const pid_t grandchild = fork();
        if (grandchild < 0) {
            reportAndExit(pipeFds[1]);
        }
        if (grandchild > 0) {
            _exit(0);
        }
        execve(args.pointers[0], args.pointers.data(), kEnvironment);
        reportAndExit(pipeFds[1]);
    }
    close(pipeFds[1]);
    waitForPid(child, 0);
    int code = 0;
    ssize_t got;
    do {
        got = read(pipeFds[0], &code, sizeof(code));
    } while (got < 0 && errno == EINTR);
    close(pipeFds[0]);
    if (got == 0) {
        return true; // the pipe closed on exec
    }
    if (error) {
        *error = got == static_cast<ssize_t>(sizeof(code)) ? strerror(code) : "exec failed";
    }
    return false;
}

int SystemProcessRunner::runAndWait(const std::vector<std::string>& argv, int timeoutSec)
{
    if (argv.empty() || argv[0].empty() || argv[0][0] != '/') {
        return -1;
    }
    ArgvStorage args(argv);
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        return -1;
    }
    const pid_t child = fork();
    if (child < 0) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        return -1;
    }
    if (child == 0) {
        close(pipeFds[0]);
        prepareChild(false);
        execve(args.pointers[0], args.pointers.data(), kEnvironment);
        reportAndExit(pipeFds[1]);
    }
    close(pipeFds[1]);
    int code = 0;
    ssize_t got;
    do {
        got = read(pipeFds[0], &code, sizeof(code));
    } while (got < 0 && errno == EINTR);
    close(pipeFds[0]);
    if (got > 0) {
        waitForPid(child, 0);
        return -1;
    }
    // Bounded wait: poll, then kill a program that hangs.
    const time_t deadline = time(nullptr) + timeoutSec;
    while (true) {
        int status = 0;
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) {
            return status;
        }
        if (done < 0 && errno != EINTR) {
            return -1;
        }
        if (time(nullptr) > deadline) {
            kill(child, SIGKILL);
            return waitForPid(child, 0);
        }
        struct timespec pause = {0, 10 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
}

std::string findSystemProgram(const std::string& name)
{
    for (const char* dir : {"/usr/sbin", "/usr/bin", "/sbin", "/bin"}) {
        const std::string path = std::string(dir) + "/" + name;
        struct stat info;
        if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0) {
            return path;
        }
    }
    return std::string();
}
