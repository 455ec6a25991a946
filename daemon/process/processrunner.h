// Starting programs without a shell: fork and exec with an argument vector, a
// clean signal state and a fixed environment.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

class ProcessRunner
{
public:
    virtual ~ProcessRunner() = default;

    // Starts argv[0] (an absolute path) detached from the daemon: new session,
    // standard streams on /dev/null, reparented away from the caller. Returns
    // its pid once exec succeeded; otherwise -1, and *error tells why.
    virtual pid_t spawnDetached(const std::vector<std::string>& argv, std::string* error) = 0;

    // Starts argv[0] (an absolute path) as a child in a new session, standard
    // streams on /dev/null, without the second fork of spawnDetached(): the
    // quick way for a program the caller watches. A thread reaps it when it
    // ends. Returns its pid once exec succeeded; otherwise -1 and *error.
    virtual pid_t spawnChild(const std::vector<std::string>& argv, std::string* error)
    {
        return spawnDetached(argv, error);
    }

    // Runs argv[0] (an absolute path) and waits for it, at most timeoutSec
    // seconds (then it is killed). Returns the wait status, or -1 when it
    // could not be started.
    virtual int runAndWait(const std::vector<std::string>& argv, int timeoutSec) = 0;
};

class SystemProcessRunner : public ProcessRunner
{
public:
    pid_t spawnDetached(const std::vector<std::string>& argv, std::string* error) override;
    pid_t spawnChild(const std::vector<std::string>& argv, std::string* error) override;
    int runAndWait(const std::vector<std::string>& argv, int timeoutSec) override;
};

// The first executable regular file named `name` in the fixed system folders
// (/usr/sbin, /usr/bin, /sbin, /bin), or an empty string.
std::string findSystemProgram(const std::string& name);
