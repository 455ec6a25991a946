// The system tools the resolver backends drive (nmcli, resolvectl,
// resolvconf), started with an argument vector and a fixed environment,
// never through a shell. An interface, so the backends are tested against a
// recording fake.
#pragma once

#include <string>
#include <vector>

struct CommandResult
{
    int exitCode = -1;  // -1: not started, killed or timed out
    std::string output; // standard output
};

class CommandRunner
{
public:
    virtual ~CommandRunner() = default;
    // argv[0] is a tool's name, looked up in the system folders.
    virtual CommandResult run(const std::vector<std::string>& argv, const std::string& input = {}) = 0;
    virtual bool available(const std::string& tool) = 0;
};

class SystemCommandRunner : public CommandRunner
{
public:
    explicit SystemCommandRunner(int timeoutSeconds = 10) : timeout(timeoutSeconds) {}
    CommandResult run(const std::vector<std::string>& argv, const std::string& input = {}) override;
    bool available(const std::string& tool) override;

private:
    int timeout;
};
