// The update job: installs a downloaded package after both programs have stopped.
#pragma once

#include <memory>
#include <string>
#include <sys/types.h>

class FirewallRunner;

class UpdateJob
{
public:
    static constexpr size_t kMaxPathLength = 500;

    // `dir` stands in for "/usr/share/kestrova"; tests give a temporary folder
    // and a recording runner.
    UpdateJob(std::string dir, std::shared_ptr<FirewallRunner> runner, bool verbose = true);

    // Validates the package path, stages the package, writes the job script and
    // schedules it. Returns false, and runs nothing, when the package is refused.
    // The caller switches the firewall off and releases the socket only
    // once this has returned true; the job waits 5 s before it installs.
    // `peerUid` is the caller: unless it is root, the package must be its own
    // file, so that a package another user planted (in /tmp, say) is never
    // installed as root.
    static bool start(const std::string& packagePath, uid_t peerUid);
    bool run(const std::string& packagePath, uid_t peerUid = 0);

    // The job script; `packagePath` is the staged copy that line 11 installs.
    static std::string scriptText(const std::string& packagePath);
    // Absolute, printable ASCII, at most kMaxPathLength characters.
    static bool isAcceptablePath(const std::string& packagePath);

    std::string scriptPath() const { return dir_ + "/autoupdate-job.sh"; }
    std::string stagingDir() const { return dir_ + "/update"; }
    std::string stagedPackagePath() const { return stagingDir() + "/kestrova-update.deb"; }

private:
    bool stage(const std::string& packagePath, uid_t peerUid);
    bool isOurPackage();
    bool writeScript();

    std::string dir_;
    std::shared_ptr<FirewallRunner> runner_;
    bool verbose_;
};
