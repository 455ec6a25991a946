#include "peeridentity.h"

#include "daemonprotocol.h"

#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <vector>

AccessPolicy::AccessPolicy(Membership membership_) : membership(std::move(membership_)) {}

bool AccessPolicy::allows(uid_t uid, int32_t command) const
{
    if (uid == 0) {
        return true;
    }
    if (command == AA_COMMAND_UPDATE_INSTALL) {
        return membership(uid, "sudo").value_or(false);
    }
    return membership(uid, "kestrova").value_or(true);
}

std::optional<bool> AccessPolicy::systemMembership(uid_t uid, const std::string& groupName)
{
    // A lookup that fails (rather than finding no group) counts as "not a
    // member": an error must never open the daemon to everyone.
    std::vector<char> buffer(16384);
    struct group entry;
    struct group* found = nullptr;
    int error;
    while ((error = getgrnam_r(groupName.c_str(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
           buffer.size() < (1u << 22)) {
        buffer.resize(buffer.size() * 4);
    }
    if (error != 0) {
        return false;
    }
    if (found == nullptr) {
        return std::nullopt;
    }
    const gid_t groupId = found->gr_gid;
    std::vector<std::string> members;
    for (char** member = found->gr_mem; member != nullptr && *member != nullptr; ++member) {
        members.emplace_back(*member);
    }
    std::vector<char> userBuffer(16384);
    struct passwd user;
    struct passwd* userFound = nullptr;
    while ((error = getpwuid_r(uid, &user, userBuffer.data(), userBuffer.size(), &userFound)) == ERANGE &&
           userBuffer.size() < (1u << 22)) {
        userBuffer.resize(userBuffer.size() * 4);
    }
    if (error != 0 || userFound == nullptr) {
        return false;
    }
    if (userFound->pw_gid == groupId) {
        return true;
    }
    for (const std::string& member : members) {
        if (member == userFound->pw_name) {
            return true;
        }
    }
    return false;
}
