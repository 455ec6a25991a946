// The update job: installs a downloaded package after both programs have stopped.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>

class FirewallRunner;

class UpdateJob
{
public:
    static constexpr size_t kMaxPathLength = 500;
    static constexpr std::chrono::milliseconds kCopyTimeLimit{20000};

    // `dir` stands in for "/usr/share/kestrova"; tests give a temporary folder
    // and a recording runner.
    UpdateJob(std::string dir, std::shared_ptr<FirewallRunner> runner, bool verbose = true);

    // The job on the daemon's own folder, with the real programs.
    static UpdateJob system();

    // Validates the package path and copies the package into a staging file
    // of this request's own (see callerfile.h: the read may hang, so it runs
    // outside the command lock), then checks that it is our package. The
    // staged copy, or nullopt when the package is refused. `peerUid` is the
    // caller: unless it is root, the package must be its own file, so that a
    // package another user planted (in /tmp, say) is never installed as root.
    std::optional<std::string> stage(const std::string& packagePath, uid_t peerUid);
    // Moves a staged copy to stagedPackagePath(), writes the job script and
    // schedules it; false, and nothing scheduled, when that fails. The caller
    // switches the firewall off and releases the socket only once this has
    // returned true; the job waits 5 s before it installs.
    bool schedule(const std::string& stagedCopy);
    // Both steps at once, for a caller that holds nothing while it reads.
    bool run(const std::string& packagePath, uid_t peerUid = 0);

    static constexpr const char* kClientProgram = "/usr/bin/kestrova";
    static constexpr const char* kServiceHelper = "/usr/libexec/kestrova/kestrovad-service";

    // The job script; `packagePath` is the staged copy it installs. It stops
    // the processes running `clientProgram` and the service, installs the
    // package and starts the client for the user on the display, if any.
    static std::string scriptText(const std::string& packagePath,
                                  const std::string& clientProgram = kClientProgram);
    // Absolute, printable ASCII, at most kMaxPathLength characters.
    static bool isAcceptablePath(const std::string& packagePath);

    std::string scriptPath() const { return dir_ + "/autoupdate-job.sh"; }
    std::string stagingDir() const { return dir_ + "/update"; }
    std::string stagedPackagePath() const { return stagingDir() + "/kestrova-update.deb"; }

private:
    bool ensureStagingDir();
    bool isOurPackage(const std::string& copy);
    bool writeScript();

    std::string dir_;
    std::shared_ptr<FirewallRunner> runner_;
    bool verbose_;
};
