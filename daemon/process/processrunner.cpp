#include "processrunner.h"

#include "processspawn.h"

#include <cerrno>
#include <sys/wait.h>
#include <system_error>
#include <thread>

namespace {

// The environment of every program the daemon starts; nothing of the
// daemon's own environment is passed on.
char kPathVariable[] = "PATH=/usr/sbin:/usr/bin:/sbin:/bin";
char kLangVariable[] = "LANG=C";
char* kEnvironment[] = {kPathVariable, kLangVariable, nullptr};

bool isAbsoluteProgram(const std::vector<std::string>& argv)
{
    return !argv.empty() && !argv[0].empty() && argv[0][0] == '/';
}

spawn::Request makeRequest(const std::vector<std::string>& argv)
{
    spawn::Request request;
    request.program = argv[0];
    request.argv = argv;
    for (spawn::Stream& stream : request.streams) {
        stream.flags = O_RDWR;
    }
    request.environment = kEnvironment;
    request.changeToRoot = true;
    return request;
}

} // namespace

pid_t SystemProcessRunner::spawnDetached(const std::vector<std::string>& argv, std::string* error)
{
    if (!isAbsoluteProgram(argv)) {
        if (error) {
            *error = "no absolute program path";
        }
        return -1;
    }
    const spawn::Started started = spawn::startDetached(makeRequest(argv));
    if (started.pid < 0 && error) {
        *error = spawn::describeFailure(started);
    }
    return started.pid;
}

pid_t SystemProcessRunner::spawnChild(const std::vector<std::string>& argv, std::string* error)
{
    if (!isAbsoluteProgram(argv)) {
        if (error) {
            *error = "no absolute program path";
        }
        return -1;
    }
    const spawn::Started started = spawn::startChild(makeRequest(argv));
    if (started.pid < 0) {
        if (error) {
            *error = spawn::describeFailure(started);
        }
        return -1;
    }
    // A child that has ended still looks alive in /proc until it is reaped.
    const pid_t pid = started.pid;
    try {
        std::thread([pid] {
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread: the program runs all the same and is reaped when the
        // worker ends.
    }
    return pid;
}

int SystemProcessRunner::runAndWait(const std::vector<std::string>& argv, int timeoutSec)
{
    if (!isAbsoluteProgram(argv)) {
        return -1;
    }
    const auto deadline = spawn::Clock::now() + std::chrono::seconds(timeoutSec);
    const spawn::Started started = spawn::start(makeRequest(argv), deadline);
    if (started.pid < 0) {
        return -1;
    }
    int status = 0;
    return spawn::waitUntil(started.pid, deadline, &status) == spawn::WaitResult::Failed ? -1 : status;
}

std::string findSystemProgram(const std::string& name)
{
    return spawn::findInFolders(name, "/usr/sbin:/usr/bin:/sbin:/bin");
}
