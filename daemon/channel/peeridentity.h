// Who is on the other end of a command connection, and may they ask.
#pragma once

#include "peeruid.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

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
