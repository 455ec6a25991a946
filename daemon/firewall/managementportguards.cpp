#include "managementportguards.h"

#include "firewallrunner.h"
#include "processinfo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <syslog.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

// The uids of whatever listens on TCP `port`, on any address of either
// family.
std::set<uid_t> listenerOwners(int port)
{
    std::set<uid_t> owners;
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::ifstream in(table);
        std::string line;
        std::getline(in, line); // the heading
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            std::string slot, local, remote, state, queues, timer, retransmits;
            unsigned long uid = 0;
            fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid;
            const size_t colon = local.rfind(':');
            if (fields && state == "0A" && colon != std::string::npos &&
                std::strtol(local.c_str() + colon + 1, nullptr, 16) == port) {
                owners.insert(static_cast<uid_t>(uid));
            }
        }
    }
    return owners;
}

bool writeWhole(const std::string& path, const std::string& text)
{
    const std::string temp = path + ".tmp";
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return false;
    }
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (close(fd) != 0 || !written || rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    return true;
}

} // namespace

ManagementPortGuards::ManagementPortGuards(std::shared_ptr<FirewallRunner> runner_, std::string stateFile_)
    : runner(std::move(runner_)), stateFile(std::move(stateFile_))
{
}

void ManagementPortGuards::reconcile()
{
    std::lock_guard<std::mutex> lock(mutex);
    std::ifstream in(stateFile);
    if (!in) {
        return; // no openvpn was started since the machine came up
    }
    std::string line;
    while (std::getline(in, line)) {
        Guard guard{};
        std::istringstream fields(line);
        if (fields >> guard.port >> guard.owner >> guard.pid >> guard.started && guard.pid > 0) {
            int client = 0;
            guard.client = (fields >> client) && client == 1;
            guards.push_back(guard);
        }
    }
    dropEnded();
    stale = !apply();
    save();
}

bool ManagementPortGuards::reserve(int port, uid_t owner, std::string* why)
{
    std::lock_guard<std::mutex> lock(mutex);
    const bool ended = dropEnded();
    if (!listenerOwners(port).empty()) {
        *why = "something already listens on port " + std::to_string(port);
        return false;
    }
    for (const Guard& guard : guards) {
        // Root may reserve a port another user's openvpn was given (the
        // guard still lets only that user through); nobody else may come
        // near another user's.
        if (guard.port == port && !guard.client && guard.owner != owner && owner != 0) {
            *why = "management port " + std::to_string(port) + " belongs to the openvpn of uid " +
                   std::to_string(guard.owner);
            return false;
        }
    }
    const bool known = std::any_of(guards.begin(), guards.end(), [&](const Guard& g) {
        return g.port == port && !g.client && g.owner == owner;
    });
    guards.push_back(Guard{port, owner, 0, 0, false});
    if ((ended || stale || !known) && !apply()) {
        guards.pop_back();
        stale = true;
        *why = "could not close the management port to other users";
        return false;
    }
    stale = false;
    save();
    return true;
}

bool ManagementPortGuards::reserveClient(int port, uid_t owner, std::string* why)
{
    std::lock_guard<std::mutex> lock(mutex);
    // Rules of ended tunnels are taken out by the next sweep, not here:
    // this is the path of every connect, and it loads no rules at all.
    if (dropEnded()) {
        stale = true;
    }
    // openvpn will hand its management interface to whoever listens there:
    // only the caller's own listener may get it. Another uid listening on
    // the port too (on whatever address) refuses it outright.
    const std::set<uid_t> listeners = listenerOwners(port);
    if (listeners != std::set<uid_t>{owner}) {
        *why = listeners.empty() ? "nothing listens on management port " + std::to_string(port)
                                 : "management port " + std::to_string(port) + " is not the caller's";
        return false;
    }
    guards.push_back(Guard{port, owner, 0, 0, true});
    save();
    return true;
}

void ManagementPortGuards::attach(int port, uid_t owner, pid_t pid, bool client)
{
    std::lock_guard<std::mutex> lock(mutex);
    const auto reserved = std::find_if(guards.begin(), guards.end(), [&](const Guard& g) {
        return g.port == port && g.owner == owner && g.pid == 0 && g.client == client;
    });
    if (reserved == guards.end()) {
        return;
    }
    // An openvpn that has already ended leaves nothing to guard.
    std::optional<unsigned long long> started;
    if (pid > 0) {
        started = processStartTime(pid);
    }
    if (!started) {
        const bool client = reserved->client;
        guards.erase(reserved);
        if (!client) {
            stale = !apply();
        }
    } else {
        reserved->pid = pid;
        reserved->started = *started;
    }
    save();
}

void ManagementPortGuards::sweep()
{
    std::lock_guard<std::mutex> lock(mutex);
    if (dropEnded() || stale) {
        stale = !apply();
        save();
    }
}

void ManagementPortGuards::startWatching()
{
    std::thread([this] {
        while (true) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            sweep();
        }
    }).detach();
}

bool ManagementPortGuards::alive(const Guard& guard) const
{
    if (guard.pid == 0) {
        return true;
    }
    const auto started = processStartTime(guard.pid);
    return started && *started == guard.started;
}

std::vector<ManagementPortGuards::Tunnel> ManagementPortGuards::tunnels()
{
    std::lock_guard<std::mutex> lock(mutex);
    if (dropEnded()) {
        stale = !apply();
        save();
    }
    std::vector<Tunnel> running;
    for (const Guard& guard : guards) {
        if (guard.pid > 0) {
            running.push_back(Tunnel{guard.owner, guard.pid, guard.started});
        }
    }
    return running;
}

bool ManagementPortGuards::dropEnded()
{
    const auto ended =
        std::remove_if(guards.begin(), guards.end(), [this](const Guard& g) { return !alive(g); });
    // Only the end of a guard with rules changes the rules.
    const bool rulesChange = std::any_of(ended, guards.end(), [](const Guard& g) { return !g.client; });
    guards.erase(ended, guards.end());
    return rulesChange;
}

bool ManagementPortGuards::apply()
{
    std::map<int, std::set<uid_t>> owners;
    for (const Guard& guard : guards) {
        if (!guard.client) {
            owners[guard.port].insert(guard.owner);
        }
    }
    // Declaring the chain empties it: one load replaces every rule in it.
    // Only 127.0.0.1, where openvpn listens: the same port on another local
    // address is someone else's business. Nobody but the owner passes, root
    // neither: another user's root openvpn (a profile with a remote on
    // 127.0.0.1) must not reach the port either.
    std::string rules = "*raw\n:" + std::string(kChain) + " - [0:0]\n";
    for (auto& [port, uids] : owners) {
        const std::string match = "-A " + std::string(kChain) + " -d 127.0.0.1/32 -p tcp --dport " +
                                  std::to_string(port) + " --syn";
        for (uid_t uid : uids) {
            rules += match + " -m owner --uid-owner " + std::to_string(uid) + " -j RETURN\n";
        }
        rules += match + " -j DROP\n";
    }
    // The jump into the chain is taken out and put back first in the same
    // load, so a connect costs one process that also restores a jump someone
    // removed. Only where there was no jump to take out (the first guard
    // since boot, or after the raw table was flushed) does that load fail
    // as a whole and change nothing; a second one then only inserts it.
    const std::string jump = " OUTPUT -o lo -p tcp -j " + std::string(kChain) + "\n";
    const std::string rulesFile = stateFile + ".rules";
    for (const std::string& hook : {"-D" + jump + "-I" + jump, "-I" + jump}) {
        if (!writeWhole(rulesFile, rules + hook + "COMMIT\n")) {
            break;
        }
        if (runner->run({"iptables-restore", "-w", "--noflush"}, rulesFile, {}, nullptr) == 0) {
            return true;
        }
    }
    syslog(LOG_ERR, "[Management] Could not load the rules of the management ports");
    return false;
}

void ManagementPortGuards::save() const
{
    std::string text;
    for (const Guard& guard : guards) {
        text += std::to_string(guard.port) + " " + std::to_string(guard.owner) + " " +
                std::to_string(guard.pid) + " " + std::to_string(guard.started) + " " +
                (guard.client ? "1" : "0") + "\n";
    }
    if (!writeWhole(stateFile, text)) {
        syslog(LOG_ERR, "[Management] Could not save %s", stateFile.c_str());
    }
}
