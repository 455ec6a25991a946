#include "firewallrunner.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char* kDefaultPath = "/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin";
constexpr size_t kMaxErrorText = 4096;

// Everything the child needs is prepared before fork: between fork and exec
// only async-signal-safe calls are made.
struct PreparedCommand
{
    std::string path;
    std::vector<std::string> args;
    std::vector<char*> argv;

    bool prepare(const std::vector<std::string>& command)
    {
        if (command.empty())
            return false;
        path = SystemFirewallRunner::findProgram(command[0]);
        if (path.empty())
            return false;
        args = command;
        argv.clear();
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        return true;
    }
};

// Descriptors of the daemon (its listening socket above all) must not leak
// into the programs it starts.
void closeInheritedDescriptors()
{
#ifdef SYS_close_range
    if (syscall(SYS_close_range, 3U, ~0U, 0U) == 0)
        return;
#endif
    long maxFd = sysconf(_SC_OPEN_MAX);
    for (long fd = 3; fd < maxFd; ++fd)
        close(static_cast<int>(fd));
}

[[noreturn]] void childExit()
{
    _exit(127);
}

void redirect(const char* path, int flags, int targetFd)
{
    int fd = open(path, flags | O_CLOEXEC, 0600);
    if (fd < 0 || dup2(fd, targetFd) < 0)
        childExit();
    close(fd);
}

} // namespace

SystemFirewallRunner::SystemFirewallRunner(int timeoutMs) : timeoutMs_(timeoutMs) {}

std::string SystemFirewallRunner::findProgram(const std::string& program)
{
    if (program.empty())
        return {};
    if (program.find('/') != std::string::npos)
        return access(program.c_str(), X_OK) == 0 ? program : std::string();
    const char* env = std::getenv("PATH");
    std::string path = (env && *env) ? env : kDefaultPath;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(':', start);
        if (end == std::string::npos)
            end = path.size();
        std::string dir = path.substr(start, end - start);
        if (!dir.empty()) {
            std::string candidate = dir + "/" + program;
            struct stat st;
            if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        start = end + 1;
    }
    return {};
}

int SystemFirewallRunner::run(const std::vector<std::string>& command, const std::string& inputPath,
                              const std::string& outputPath, std::string* errorText)
{
    PreparedCommand cmd;
    if (!cmd.prepare(command)) {
        if (errorText)
            *errorText = "program not found: " + (command.empty() ? std::string() : command[0]);
        return -1;
    }
    int errPipe[2];
    if (pipe2(errPipe, O_CLOEXEC) != 0)
        return -1;

    const char* input = inputPath.empty() ? "/dev/null" : inputPath.c_str();
    const char* output = outputPath.empty() ? "/dev/null" : outputPath.c_str();
    pid_t pid = fork();
    if (pid < 0) {
        close(errPipe[0]);
        close(errPipe[1]);
        return -1;
    }
    if (pid == 0) {
        redirect(input, O_RDONLY, STDIN_FILENO);
        redirect(output, O_WRONLY | O_CREAT | O_TRUNC, STDOUT_FILENO);
        if (dup2(errPipe[1], STDERR_FILENO) < 0)
            childExit();
        closeInheritedDescriptors();
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        execv(cmd.path.c_str(), cmd.argv.data());
        childExit();
    }
    close(errPipe[1]);

    // Read the error output until the program closes it, within the time limit.
    std::string err;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs_);
    bool timedOut = false;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        pollfd pfd{errPipe[0], POLLIN, 0};
        int r = poll(&pfd, 1, static_cast<int>(left.count()));
        if (r < 0 && errno == EINTR)
            continue;
        if (r == 0) {
            timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        if (r < 0)
            break;
        char buf[1024];
        ssize_t n = read(errPipe[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        err.append(buf, static_cast<size_t>(n));
        if (err.size() > kMaxErrorText)
            err.erase(0, err.size() - kMaxErrorText);
    }
    close(errPipe[0]);

    // A program may close its error output and go on running: the time limit
    // holds for its exit as well.
    int status = 0;
    for (;;) {
        const pid_t r = waitpid(pid, &status, timedOut ? 0 : WNOHANG);
        if (r == pid)
            break;
        if (r < 0 && errno != EINTR)
            return -1;
        if (r == 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                timedOut = true;
                kill(pid, SIGKILL);
            } else {
                usleep(1000);
            }
        }
    }
    if (errorText)
        *errorText = timedOut ? "timed out" : err;
    if (timedOut || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

bool SystemFirewallRunner::spawnDetached(const std::vector<std::string>& command)
{
    PreparedCommand cmd;
    if (!cmd.prepare(command))
        return false;
    // Two forks: the grandchild is adopted by init, so nobody has to reap it
    // and it outlives the daemon that the job is about to stop.
    pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        if (setsid() < 0)
            childExit();
        pid_t grandchild = fork();
        if (grandchild != 0)
            _exit(grandchild < 0 ? 127 : 0);
        redirect("/dev/null", O_RDONLY, STDIN_FILENO);
        redirect("/dev/null", O_WRONLY, STDOUT_FILENO);
        redirect("/dev/null", O_WRONLY, STDERR_FILENO);
        closeInheritedDescriptors();
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        execv(cmd.path.c_str(), cmd.argv.data());
        childExit();
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
