// Starts openvpn for command 9 from a checked, root-owned copy of the
// client's profile.
#pragma once

#include "openvpnoptions.h"

#include <chrono>
#include <optional>
#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

class ProcessRunner;

struct LauncherPaths
{
    // Root-owned, mode 0700; holds the copies that openvpn reads.
    std::string copyDir = "/run/kestrovad";
    // Empty: the first openvpn found in the system program folders.
    std::string openvpnProgram;
    // Where the running openvpn processes are found.
    std::string procDir = "/proc";
};

class OpenvpnLauncher
{
public:
    OpenvpnLauncher(ProcessRunner& runner, LauncherPaths paths = LauncherPaths());

    // Outside the command lock: reads the profile named in `options` (a
    // regular file, no link on its path, owned by the peer unless root) and
    // checks it. The checked text, or nullopt with *why.
    std::optional<std::string> readProfile(const OpenvpnOptions& options, uid_t peerUid, std::string* why);

    // Under the command lock: writes a copy of `profile` of this launch's own
    // and starts openvpn from it. True only when openvpn was started (its pid
    // goes to *pid when given); otherwise *why tells what was refused or failed.
    // `ours`: the openvpn processes this daemon started that still run; only
    // their copies count as in use.
    bool launch(const OpenvpnOptions& options, const std::string& profile, uid_t peerUid, std::string* why,
                pid_t* pid = nullptr, const std::set<pid_t>& ours = {});

    // The argument vector openvpn gets for a copy at `copyPath`.
    static std::vector<std::string> buildArguments(const std::string& program, const std::string& copyPath,
                                                   int managementPort, bool managementClient = false);

    static constexpr size_t kMaxProfileBytes = 1024 * 1024;
    static constexpr std::chrono::milliseconds kProfileTimeLimit{3000};
    // Copies one user may hold, each read by an openvpn still running.
    static constexpr size_t kMaxProfileCopies = 16;

private:
    bool ensureCopyDir(std::string* why);
    std::set<std::string> copiesInUse(const std::set<pid_t>& ours) const;
    // Deletes the caller's copies that no running openvpn of ours reads;
    // false when the caller still has kMaxProfileCopies in use.
    bool pruneCopies(uid_t peerUid, const std::set<pid_t>& ours, std::string* why);
    bool writeCopy(const std::string& text, uid_t peerUid, std::string* copyPath, std::string* why);

    ProcessRunner& runner;
    LauncherPaths paths;
};
