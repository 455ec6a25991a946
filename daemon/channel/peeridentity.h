// Who is on the other end of a command connection, and may they ask.
#pragma once

#include <cstdint>
#include <functional>
#include <netinet/in.h>
#include <optional>
#include <string>
#include <sys/types.h>

// The uid that owns the peer's TCP socket, looked up in the kernel (netlink
// sock_diag) by the exact address and port pair of the connection. `local`
// and `peer` are the connection's own ends as getsockname and getpeername
// give them. Only an established socket that a process still holds (inode
// not 0) counts: a closed one, orphaned or in TIME_WAIT, is reported with
// uid 0 and would pass for root.
std::optional<uid_t> lookupPeerUid(const sockaddr_in& local, const sockaddr_in& peer);

// Same, starting from an accepted connection's descriptor.
std::optional<uid_t> lookupPeerUid(int connection);

class AccessPolicy
{
public:
    // nullopt when the group does not exist, else whether uid is a member
    // (primary group or listed member).
    using Membership = std::function<std::optional<bool>(uid_t uid, const std::string& group)>;

    explicit AccessPolicy(Membership membership = systemMembership);

    // Root may send everything. When a group "kestrova" exists only its
    // members may send commands; the update install (it runs dpkg as root)
    // only root and members of "sudo".
    bool allows(uid_t uid, int32_t command) const;

    static std::optional<bool> systemMembership(uid_t uid, const std::string& group);

private:
    Membership membership;
};
