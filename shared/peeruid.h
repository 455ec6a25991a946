// Who owns the other end of a TCP connection on this machine: the daemon asks
// it of every caller, the client of the daemon it reached.
#pragma once

#include <chrono>
#include <netinet/in.h>
#include <optional>
#include <sys/types.h>

// The uid that owns the peer's TCP socket, looked up in the kernel (netlink
// sock_diag) by the exact address and port pair of the connection. `local`
// and `peer` are the connection's own ends as getsockname and getpeername
// give them. Only an established socket that a process holds (inode not 0)
// counts: the kernel reports a socket nobody holds, not yet accepted or
// already closed, with uid 0, which would pass for root.
std::optional<uid_t> lookupPeerUid(const sockaddr_in& local, const sockaddr_in& peer);

// Same, starting from a connected socket's descriptor.
std::optional<uid_t> lookupPeerUid(int connection);

// Same, for a connection this process opened to a listening service: the
// kernel names the holder of the other end only once the service has
// accepted the connection, so this asks again until `limit` has passed. A
// listener that never accepts is never named.
std::optional<uid_t> waitForPeerUid(int connection, std::chrono::milliseconds limit);
