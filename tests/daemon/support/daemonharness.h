// Runs the real kestrovad inside private namespaces: its own network (only
// loopback and test addresses), its own pid space (this program is process 1
// there, so nothing outlives it) and tmpfs over every fixed path the daemon
// writes (/run, /var/run, /tmp, /usr/share/kestrova). The host is untouched.
#pragma once

#include "daemonprotocol.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace harness {

constexpr const char* kLogFile = "/tmp/kestrovad-test.log";

// Call first in main(). Enters the namespaces and returns in the new process
// 1 (true), or, in the original process, waits for it and exits with its
// status. False when the namespaces could not be made.
// Enters fresh mount, network and PID namespaces with private /run, /tmp and
// /usr/share/kestrova. A program named by `program` is copied to where the
// namespace can still reach it, and the path is updated.
bool enterPrivateNamespaces(std::string* program = nullptr);

// Binds a file with `content` over `target` (e.g. /etc/group) inside the
// private mount namespace; undone by unbind.
bool bindText(const std::string& target, const std::string& content);
void unbind(const std::string& target);

// Polls `done` every 20 ms up to timeoutMs; reaps children meanwhile.
bool waitFor(const std::function<bool()>& done, int timeoutMs);

// Reaps every ended child; returns their statuses collected so far.
const std::map<pid_t, int>& reapChildren();

class Daemon
{
public:
    explicit Daemon(std::string program) : program(std::move(program)) {}
    ~Daemon() { stop(); }

    // Starts it the usual way (from a parent that is not process 1) and waits
    // until it answers on its port. Clears the log first.
    bool start();
    // SIGTERM to the monitor, then waits until monitor and worker are gone.
    void stop();

    pid_t monitorPid() const;
    pid_t workerPid() const; // 0 when none
    std::vector<pid_t> allPids() const;

    std::string program;
    // Started the way some shells and service managers start programs.
    bool ignoreChildSignals = false;
};

std::optional<pid_t> readPidFile(const std::string& path);
std::string readFile(const std::string& path);
std::string log();
bool logHas(const std::string& text);
// Runs the program the way `start` does and waits for its first process;
// returns that process's exit status (the parent that detaches).
int runOnce(const std::string& program, const std::vector<std::string>& env = {},
            bool ignoreChildSignals = false);

// One exchange as the client does it; nullopt when no reply came (time-out
// of 5 s per receive, refused connection, short reply).
std::optional<MessageReply> exchange(const MessagePacket& packet, const char* address = "127.0.0.1");
// As exchange, run in a child process with the given uid.
std::optional<MessageReply> exchangeAs(uid_t uid, const MessagePacket& packet);
bool portAnswers();

} // namespace harness
