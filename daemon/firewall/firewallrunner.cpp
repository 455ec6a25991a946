#include "firewallrunner.h"

#include "processspawn.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char* kDefaultPath = "/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin";
constexpr size_t kMaxErrorText = 4096;

// The program is looked up in the parent: the child only execs.
bool prepare(const std::vector<std::string>& command, spawn::Request* request)
{
    if (command.empty()) {
        return false;
    }
    request->program = SystemFirewallRunner::findProgram(command[0]);
    if (request->program.empty()) {
        return false;
    }
    request->argv = command;
    return true;
}

// Reads the error output until the program closes it or the deadline passes,
// keeping its tail. False on time-out.
bool readErrorOutput(int fd, spawn::Clock::time_point deadline, std::string* err)
{
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - spawn::Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd pfd{fd, POLLIN, 0};
        const int r = poll(&pfd, 1, static_cast<int>(left.count()));
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r == 0) {
            return false;
        }
        if (r < 0) {
            return true;
        }
        char buf[1024];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return true;
        }
        err->append(buf, static_cast<size_t>(n));
        if (err->size() > kMaxErrorText) {
            err->erase(0, err->size() - kMaxErrorText);
        }
    }
}

} // namespace

SystemFirewallRunner::SystemFirewallRunner(int timeoutMs) : timeoutMs_(timeoutMs) {}

std::string SystemFirewallRunner::findProgram(const std::string& program)
{
    if (program.find('/') != std::string::npos) {
        return access(program.c_str(), X_OK) == 0 ? program : std::string();
    }
    const char* env = std::getenv("PATH");
    return spawn::findInFolders(program, (env && *env) ? env : kDefaultPath);
}

int SystemFirewallRunner::run(const std::vector<std::string>& command, const std::string& inputPath,
                              const std::string& outputPath, std::string* errorText)
{
    spawn::Request request;
    if (!prepare(command, &request)) {
        if (errorText) {
            *errorText = "program not found: " + (command.empty() ? std::string() : command[0]);
        }
        return -1;
    }
    int errPipe[2];
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        return -1;
    }
    if (!inputPath.empty()) {
        request.streams[0].path = inputPath.c_str();
    }
    if (!outputPath.empty()) {
        request.streams[1] = {outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, -1};
    }
    request.streams[2].fd = errPipe[1];

    const auto deadline = spawn::Clock::now() + std::chrono::milliseconds(timeoutMs_);
    const spawn::Started started = spawn::start(request, deadline);
    close(errPipe[1]);
    if (started.pid < 0) {
        close(errPipe[0]);
        if (errorText) {
            *errorText = spawn::describeFailure(started);
        }
        return -1;
    }

    std::string err;
    bool timedOut = !readErrorOutput(errPipe[0], deadline, &err);
    close(errPipe[0]);
    if (timedOut) {
        kill(started.pid, SIGKILL);
    }
    // A program may close its error output and go on running: the time limit
    // holds for its exit as well.
    int status = 0;
    const spawn::WaitResult waited = spawn::waitUntil(started.pid, deadline, &status);
    if (waited == spawn::WaitResult::Failed) {
        return -1;
    }
    timedOut = timedOut || waited == spawn::WaitResult::TimedOut;
    if (errorText) {
        *errorText = timedOut ? "timed out" : err;
    }
    if (timedOut || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

bool SystemFirewallRunner::spawnDetached(const std::vector<std::string>& command)
{
    spawn::Request request;
    if (!prepare(command, &request)) {
        return false;
    }
    return spawn::startDetached(request).pid > 0;
}
