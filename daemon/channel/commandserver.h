// The command socket: a listening thread on 127.0.0.1:23589 and one thread per
// connection, each serving one exchange (read 64005 bytes, reply 9 bytes).
#pragma once

#include "daemonprotocol.h"
#include "socketidfile.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>

class CommandDispatcher;

struct ServerConfig
{
    std::string address = kDaemonAddress; // the client only ever connects here
    int port = kDaemonPort;
    std::string socketIdPath = kSocketIdPath;
    int ioTimeoutSec = kDaemonIoTimeoutSec;
    // Limit for reading one whole packet; a client sends it at once.
    int packetTimeoutSec = 20;
    // Connections served at once; further ones are closed at once, so that
    // no caller can make the root daemon start threads without end.
    size_t maxConnections = 32;
    // Connections served at once for one user (the peer's uid, looked up at
    // accept): a user trickling bytes on many sockets must not take every
    // slot and lock the desktop's client out of its own kill switch.
    size_t maxConnectionsPerUser = 8;
};

// Reads exactly len bytes, setting a receive time-out of `seconds` before
// every receive call. Returns len, or -1 when any call returns 0 or less, or
// when the whole read takes longer than totalSeconds (0: no such limit), so a
// sender trickling one byte at a time cannot hold a thread for hours.
ssize_t socketRecvAll(int sock, void* buffer, size_t len, int seconds, int totalSeconds = 0);
// Sends len bytes, setting a send time-out of `seconds` before every call.
ssize_t socketSendAll(int sock, const void* buffer, size_t len, int seconds);

class CommandServer
{
public:
    CommandServer(CommandDispatcher& dispatcher, ServerConfig config = ServerConfig());

    // Binds the command port now, before the listening thread starts; false
    // when another process holds it. Connections wait in the backlog until
    // start().
    bool claimPort();
    // Starts the listening thread; false when it could not be started.
    bool start();
    // Stops accepting: the accept loop ends, closes the socket and writes "0"
    // into the socket-id file. Returns the descriptor released, or -1.
    int release();
    // True once the socket is bound and listening (for start-up checks).
    bool waitUntilListening(int timeoutMs);

private:
    void listenThread();
    void connectionHandler(int connection, std::optional<uid_t> peerUid);
    // Counts a connection for its user; false when the user has all of theirs.
    bool admit(std::optional<uid_t> peerUid);
    void leave(std::optional<uid_t> peerUid);
    int createListeningSocket();

    CommandDispatcher& dispatcher;
    ServerConfig config;
    std::mutex stateMutex;
    std::condition_variable stateChanged;
    int claimedFd = -1;     // bound by claimPort, not yet served; guarded by stateMutex
    int listenFd = -1;      // guarded by stateMutex
    bool running = false;   // listening thread alive; guarded by stateMutex
    bool listening = false; // guarded by stateMutex
    bool releasing = false; // guarded by stateMutex
    std::atomic<size_t> activeConnections{0};
    std::mutex usersMutex;
    // Open connections per uid; a peer whose uid is unknown counts as (uid_t)-1.
    std::map<uid_t, size_t> connectionsPerUser; // guarded by usersMutex
};
