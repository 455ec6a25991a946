// Starts openvpn for command 9 from a checked, root-owned copy of the
// client's profile.
#pragma once

#include "openvpnoptions.h"

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
};

class OpenvpnLauncher
{
public:
    OpenvpnLauncher(ProcessRunner& runner, LauncherPaths paths = LauncherPaths());

    // Reads the profile named in `options` (a regular file, not a link, no
    // link on its path, owned by the peer), checks it, copies it and starts
    // openvpn from the copy. True only when openvpn was started; otherwise
    // *why tells what was refused or failed.
    bool launch(const OpenvpnOptions& options, uid_t peerUid, std::string* why);

    // The argument vector openvpn gets for a copy at `copyPath`.
    static std::vector<std::string> buildArguments(const std::string& program, const std::string& copyPath,
                                                   int managementPort);

    static constexpr size_t kMaxProfileBytes = 1024 * 1024;
    // Copies kept in the folder, the newest included.
    static constexpr size_t kMaxProfileCopies = 16;

private:
    bool readProfile(const std::string& path, uid_t peerUid, std::string* text, std::string* why);
    bool ensureCopyDir(std::string* why);
    void pruneCopies(const std::string& keep);
    bool writeCopy(const std::string& text, int managementPort, std::string* copyPath, std::string* why);

    ProcessRunner& runner;
    LauncherPaths paths;
};
