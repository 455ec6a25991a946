#include "commandrunner.h"

#include "processrunner.h"
#include "processspawn.h"

#include <cerrno>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

char kPathVariable[] = "PATH=/usr/sbin:/usr/bin:/sbin:/bin";
char kLangVariable[] = "LANG=C";
char* kEnvironment[] = {kPathVariable, kLangVariable, nullptr};

void closeBoth(int fds[2])
{
    for (int i = 0; i < 2; ++i) {
        if (fds[i] >= 0) {
            close(fds[i]);
            fds[i] = -1;
        }
    }
}

} // namespace

bool SystemCommandRunner::available(const std::string& tool)
{
    return !findSystemProgram(tool).empty();
}

CommandResult SystemCommandRunner::run(const std::vector<std::string>& argv, const std::string& input)
{
    CommandResult result;
    if (argv.empty()) {
        return result;
    }
    const std::string program = findSystemProgram(argv[0]);
    if (program.empty()) {
        return result;
    }
    // The input is a few lines: it fits the pipe, so it is written before
    // the tool starts and nothing can block on it.
    int in[2] = {-1, -1};
    int out[2] = {-1, -1};
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) {
        closeBoth(in);
        closeBoth(out);
        return result;
    }
    if (!input.empty() && write(in[1], input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
        closeBoth(in);
        closeBoth(out);
        return result;
    }
    close(in[1]);
    in[1] = -1;

    spawn::Request request;
    request.program = program;
    request.argv = argv;
    request.argv[0] = program;
    request.streams[0].fd = in[0];
    request.streams[1].fd = out[1];
    request.streams[2] = {"/dev/null", O_WRONLY, -1};
    request.environment = kEnvironment;
    request.changeToRoot = true;
    const auto deadline = spawn::Clock::now() + std::chrono::seconds(timeout);
    const spawn::Started started = spawn::start(request, deadline);
    closeBoth(in);
    close(out[1]);
    out[1] = -1;
    if (started.pid < 0) {
        closeBoth(out);
        return result;
    }
    char buffer[4096];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - spawn::Clock::now()).count();
        if (left <= 0) {
            break;
        }
        pollfd pfd{out[0], POLLIN, 0};
        const int ready = poll(&pfd, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            break;
        }
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        if (result.output.size() < (1u << 20)) {
            result.output.append(buffer, static_cast<size_t>(n));
        }
    }
    closeBoth(out);
    int status = 0;
    if (spawn::waitUntil(started.pid, deadline, &status) == spawn::WaitResult::Exited && WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    return result;
}
