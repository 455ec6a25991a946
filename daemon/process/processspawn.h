// The one way the daemon starts programs, behind both ProcessRunner and
// FirewallRunner: fork and exec of an argument vector, never a shell. The
// delicate parts live here only: the child side between fork and exec, the
// exec-failure report, the detached double fork, the bounded wait.
#pragma once

#include <chrono>
#include <fcntl.h>
#include <string>
#include <sys/types.h>
#include <vector>

namespace spawn {

// One standard stream of the child: `fd` when it is >= 0, otherwise `path`
// opened with `flags` (mode 0600 when created). A stream that cannot be set
// up ends the child with status 127, like a shell's failed redirection.
struct Stream
{
    const char* path = "/dev/null";
    int flags = 0;
    int fd = -1;
};

struct Request
{
    std::string program; // absolute path
    std::vector<std::string> argv;
    Stream streams[3] = {
        {"/dev/null", O_RDONLY, -1}, {"/dev/null", O_WRONLY, -1}, {"/dev/null", O_WRONLY, -1}};
    char* const* environment = nullptr; // null: the daemon's own environment
    bool changeToRoot = false;
};

using Clock = std::chrono::steady_clock;

struct Started
{
    pid_t pid = -1;
    // When pid is -1: what failed ("pipe", "fork", "exec") and its errno;
    // code 0 means the report was cut short.
    const char* failedStep = nullptr;
    int code = 0;
    bool timedOut = false; // the program did not even reach exec in time
};

// Starts the program and returns once it has exec'd (or failed to, or the
// deadline passed: then it is killed and reaped).
Started start(const Request& request, Clock::time_point deadline);

// Starts the program in a new session, reparented away from the daemon (a
// second fork, so nobody has to reap it). pid is the program's on success.
Started startDetached(const Request& request);

// Starts the program as a direct child in a new session, without a second
// fork: the caller shares its memory until exec (no copy of the daemon's
// pages) and returns once the program runs. The caller must reap it.
Started startChild(const Request& request);

// "fork: ...", the errno text of an exec failure, or "exec failed".
std::string describeFailure(const Started& started);

enum class WaitResult
{
    Exited,
    TimedOut,
    Failed
};

// Reaps `pid`, killing it when it is still running at the deadline; *status
// is its wait status (after SIGKILL on time-out).
WaitResult waitUntil(pid_t pid, Clock::time_point deadline, int* status);

// The first executable regular file `name` in the colon-separated `folders`.
std::string findInFolders(const std::string& name, const std::string& folders);

} // namespace spawn
