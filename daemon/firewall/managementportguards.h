// OpenVPN's management port on 127.0.0.1 has no password: whoever connects
// first drives the tunnel and reads its state. Every port the daemon starts an
// openvpn on is kept to the uid that asked for it by rules in a
// chain of the daemon's own in the raw table, which drop every other user's
// connection attempts to that port. The kill switch saves, loads and clears
// only the filter table, so these rules stay while it goes on and off and
// while workers are replaced. A guard lives as long as its openvpn; the list
// is kept on disk, so that a replacement worker knows what each guard waits for.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

class FirewallRunner;

class ManagementPortGuards
{
public:
    static constexpr const char* kDefaultStateFile = "/run/kestrovad.guards";
    static constexpr const char* kChain = "KESTROVA-MGMT";

    ManagementPortGuards(std::shared_ptr<FirewallRunner> runner, std::string stateFile = kDefaultStateFile);

    // Worker start: forgets the guards whose openvpn has ended and loads the
    // rules of the others again.
    void reconcile();
    // Before openvpn starts: closes 127.0.0.1:`port` to everyone but `owner`.
    // False (and *why) when something listens on the port already, another
    // uid's openvpn still holds it (unless `owner` is root), or the rules did
    // not load.
    bool reserve(int port, uid_t owner, std::string* why);
    // For an openvpn that connects to its caller's listener on 127.0.0.1:`port`
    // (--management-client) rather than listening: nobody can reach its
    // management interface but through that listener, so no rule is needed.
    // False (and *why) unless `owner`, and only `owner`, listens on the port.
    // The openvpn is still recorded, as with reserve().
    bool reserveClient(int port, uid_t owner, std::string* why);
    // After: `pid` is the openvpn started on the reservation, or -1 when none
    // was started (the reservation is given up).
    void attach(int port, uid_t owner, pid_t pid, bool client = false);
    // Drops the guards whose openvpn has ended.
    void sweep();

    // The openvpn processes this daemon started that still run: the only
    // ones whose profile copies and tunnels count as the daemon's.
    struct Tunnel
    {
        uid_t owner;
        pid_t pid;
        unsigned long long started;
    };
    std::vector<Tunnel> tunnels();
    // Sweeps once a second on a thread of its own; the object must outlive
    // it (the worker never destroys it).
    void startWatching();

private:
    struct Guard
    {
        int port;
        uid_t owner;
        pid_t pid; // 0 while reserved, before openvpn starts
        unsigned long long started;
        bool client; // reserveClient(): no rule
    };

    bool alive(const Guard& guard) const;
    // True when a guard with rules was dropped.
    bool dropEnded();
    bool apply();
    void save() const;

    std::shared_ptr<FirewallRunner> runner;
    std::string stateFile;
    std::mutex mutex;
    std::vector<Guard> guards; // guarded by mutex
    bool stale = false;        // the rules in force lag behind `guards`
};
