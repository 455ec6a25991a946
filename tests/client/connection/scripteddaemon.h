#pragma once

// A stand-in for kestrovad that also plays OpenVPN: on "run openvpn" it
// connects to the management port named on the command line and talks the
// management dialogue the way a real tunnel would, so the connect page runs
// against the real connection facade.

#include "daemonprotocol.h"
#include "fakedaemon.h"

#include <QSharedPointer>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

class ServiceConnector;

class ScriptedDaemon
{
public:
    enum class Tunnel
    {
        Connects,      // CONNECTED,SUCCESS; ends on SIGTERM
        Refused,       // the daemon does not start openvpn
        WrongPassword, // AUTH_FAILED after the credentials, then openvpn exits
        Stalls,        // never comes up; ends on SIGTERM
        TunFails,      // a fatal "Cannot open TUN/TAP dev", then openvpn exits
    };

    struct Command
    {
        int32_t code;
        int blockDns; // firewall commands only, else -1
        QString text; // allowed addresses, openvpn arguments, timezone or update path
        int restore;  // timezone change only, else -1
        // firewall commands only, else -1
        int killConnect = -1;
        int blockIPv6 = -1;
    };

    ScriptedDaemon();
    ~ScriptedDaemon();

    QSharedPointer<ServiceConnector> connector() const;

    void setTunnel(Tunnel t) { tunnel = t; }
    // How long "openvpn" takes to close its management port once it is told
    // to stop or has failed the sign-in; a real one takes a second or two.
    void setExitDelay(int ms) { exitDelayMs = ms; }
    void setResult(int32_t command, bool ok);
    // While held, every command waits before it is carried out, as behind a
    // slow iptables load; release() lets them through in order.
    void hold();
    void release();
    // Commands that arrived and wait behind the hold.
    int waiting() const { return held.load(); }
    // A management line for the running "openvpn" to send, as a real one
    // would on its own (">STATE:...,RECONNECTING,ping-restart", ">BYTECOUNT:").
    void sendLine(const std::string& line);

    std::vector<Command> commands();
    int count(int32_t command);
    void clear();

private:
    uint8_t handle(const FakeDaemon::Packet& packet);
    void playOpenVpn(int port, Tunnel script);

    FakeDaemon daemon;
    std::atomic<Tunnel> tunnel{Tunnel::Connects};
    std::atomic<int> exitDelayMs{0};
    std::atomic<bool> results[16];
    std::mutex mutex;
    std::vector<Command> log;
    std::vector<std::string> pending;
    std::vector<std::thread> players;
    std::atomic<bool> stopping{false};
    std::condition_variable gate;
    bool holding = false; // guarded by mutex
    std::atomic<int> held{0};
};
