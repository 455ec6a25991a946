// Starting the programs of the kill switch and the update job: always fork and
// exec with an argument vector, never a command line for a shell to parse.
#pragma once

#include <string>
#include <vector>

class FirewallRunner
{
public:
    virtual ~FirewallRunner() = default;

    // Runs argv[0] (searched in PATH) to completion. `inputPath`, when not
    // empty, becomes its standard input, `outputPath` its standard output
    // (created 0600, truncated). Returns the exit code, or -1 when the program
    // could not be started, was killed by a signal or ran out of time. The tail
    // of its error output goes to `errorText` when given.
    virtual int run(const std::vector<std::string>& argv, const std::string& inputPath,
                    const std::string& outputPath, std::string* errorText) = 0;

    // Starts argv in a new session and returns at once, without waiting for it;
    // its output goes to /dev/null. False when it could not be started.
    virtual bool spawnDetached(const std::vector<std::string>& argv) = 0;
};

// The real thing, used by the daemon.
class SystemFirewallRunner : public FirewallRunner
{
public:
    explicit SystemFirewallRunner(int timeoutMs = 20000);

    int run(const std::vector<std::string>& argv, const std::string& inputPath, const std::string& outputPath,
            std::string* errorText) override;
    bool spawnDetached(const std::vector<std::string>& argv) override;

    // The absolute path of `program`, searched in PATH (or the usual system
    // folders when PATH is unset, as it may be for a root daemon); empty when
    // there is no such executable.
    static std::string findProgram(const std::string& program);

private:
    int timeoutMs_;
};
