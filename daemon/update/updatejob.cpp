#include "updatejob.h"

#include "callerfile.h"

#include "firewall.h"
#include "firewallrunner.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <syslog.h>
#include <unistd.h>

namespace {

constexpr const char* kPackageName = "kestrova";

bool writeAll(int fd, const char* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

UpdateJob::UpdateJob(std::string dir, std::shared_ptr<FirewallRunner> runner, bool verbose)
    : dir_(std::move(dir)), runner_(std::move(runner)), verbose_(verbose)
{
}

UpdateJob UpdateJob::system()
{
    return UpdateJob(FireWall::kDefaultDir, std::make_shared<SystemFirewallRunner>());
}

bool UpdateJob::isAcceptablePath(const std::string& packagePath)
{
    if (packagePath.empty() || packagePath.size() > kMaxPathLength || packagePath[0] != '/')
        return false;
    for (unsigned char c : packagePath) {
        if (c < 0x20 || c > 0x7e)
            return false;
    }
    return true;
}

std::string UpdateJob::scriptText(const std::string& packagePath, const std::string& clientProgram)
{
    char installLine[512];
    snprintf(installLine, sizeof installLine, "dpkg -i \"%s\"\n", packagePath.c_str());
    std::string s;
    s += "#!/bin/sh\n";
    s += "#dpkg -r kestrova\n";
    s += "## stop and close old instance\n";
    // Only what the job means, found by pid: a command line that merely
    // mentions the programs (a journalctl, an editor) is none of its business.
    s += "# The client: the processes that run its program.\n";
    s += "for exe in /proc/[0-9]*/exe; do\n";
    s += "  if [ \"$(readlink \"$exe\")\" = \"" + clientProgram + "\" ]; then\n";
    s += "    pid=${exe%/exe}\n";
    s += "    kill -9 \"${pid#/proc/}\"\n";
    s += "  fi\n";
    s += "done\n";
    s += "# The daemon, through its service: the monitor stops its worker and the\n";
    s += "# service's stop-post ends what is left. Without systemd the service\n";
    s += "# helper does the same from the pid files.\n";
    s += "if [ -d /run/systemd/system ]; then\n";
    s += "  systemctl stop kestrovad\n";
    s += "else\n";
    s += "  " + std::string(kServiceHelper) + " stop\n";
    s += "fi\n";
    s += "## install new instans\n";
    s += installLine;
    s += "#sudo apt -f -y install\n";
    s += "## run new instanse\n";
    // Asked of logind, not read from /tmp/.X11-unix, where any user may put
    // a socket of any name, nor from who, which lists whoever logged in.
    s += "# The user in front of the machine, as logind knows them, and their display.\n";
    s += "user=\n";
    s += "display=\n";
    s += "session=$(loginctl show-seat seat0 --property=ActiveSession --value 2>/dev/null)\n";
    s += "if [ -n \"$session\" ]; then\n";
    s += "  user=$(loginctl show-session \"$session\" --property=Name --value 2>/dev/null)\n";
    s += "  display=$(loginctl show-session \"$session\" --property=Display --value 2>/dev/null)\n";
    s += "fi\n";
    s += "case \"$user\" in\n";
    s += "  '' | -* | *[!A-Za-z0-9._-]*) user= ;;\n";
    s += "esac\n";
    s += "case \"$display\" in\n";
    s += "  : | :*[!0-9.]*) display=:0 ;;\n";
    s += "  :*) ;;\n";
    s += "  *) display=:0 ;;\n";
    s += "esac\n";
    s += "export DISPLAY=\"$display\"\n";
    s += "# With nobody in front there is nobody to start the client for;\n";
    s += "# it is never started as root.\n";
    s += "if [ -n \"$user\" ]; then\n";
    s += "  su -l \"$user\" -c 'kestrova -style=gtk &'\n";
    s += "fi\n";
    return s;
}

bool UpdateJob::run(const std::string& packagePath, uid_t peerUid)
{
    const auto staged = stage(packagePath, peerUid);
    return staged && schedule(*staged);
}

std::optional<std::string> UpdateJob::stage(const std::string& packagePath, uid_t peerUid)
{
    if (!isAcceptablePath(packagePath)) {
        syslog(LOG_WARNING,
               "[Update] Refused: the package path is not an absolute ASCII path of at most %zu characters",
               kMaxPathLength);
        return std::nullopt;
    }
    if (!ensureStagingDir())
        return std::nullopt;
    // A file of this request's own: requests stage at the same time, and the
    // copy is what gets checked and installed, whatever happens to the
    // caller's file meanwhile.
    std::string copy = stagingDir() + "/incoming.XXXXXX";
    const int out = mkostemp(&copy[0], O_CLOEXEC);
    if (out < 0) {
        syslog(LOG_ERR, "[Update] Cannot create a staging file: %s", strerror(errno));
        return std::nullopt;
    }
    std::string why;
    const bool copied = copyCallerFile(packagePath, {peerUid, SIZE_MAX, kCopyTimeLimit}, out, &why);
    if (close(out) != 0 || !copied) {
        syslog(LOG_WARNING, "[Update] Refused %s: %s", packagePath.c_str(), why.c_str());
        unlink(copy.c_str());
        return std::nullopt;
    }
    if (!isOurPackage(copy)) {
        unlink(copy.c_str());
        return std::nullopt;
    }
    return copy;
}

bool UpdateJob::schedule(const std::string& stagedCopy)
{
    if (rename(stagedCopy.c_str(), stagedPackagePath().c_str()) != 0) {
        syslog(LOG_ERR, "[Update] Cannot move %s into place: %s", stagedCopy.c_str(), strerror(errno));
        unlink(stagedCopy.c_str());
        return false;
    }
    if (!writeScript())
        return false;

    // The shell line is fixed text; the script path reaches it as an argument.
    const std::string path = scriptPath();
    syslog(LOG_INFO, "install update: (sleep 5 && sh \"%s\" >/dev/null) &", path.c_str());
    if (!runner_->spawnDetached({"sh", "-c", "sleep 5 && exec sh \"$1\"", "sh", path})) {
        syslog(LOG_ERR, "[Update] Cannot start the update job");
        return false;
    }
    return true;
}

bool UpdateJob::ensureStagingDir()
{
    const std::string staging = stagingDir();
    if (mkdir(staging.c_str(), 0700) != 0 && errno != EEXIST) {
        syslog(LOG_ERR, "[Update] Cannot create %s: %s", staging.c_str(), strerror(errno));
        return false;
    }
    struct stat sst;
    if (lstat(staging.c_str(), &sst) != 0 || !S_ISDIR(sst.st_mode) || sst.st_uid != geteuid() ||
        chmod(staging.c_str(), 0700) != 0) {
        syslog(LOG_ERR, "[Update] Staging folder %s is not ours", staging.c_str());
        return false;
    }
    return true;
}

bool UpdateJob::isOurPackage(const std::string& copy)
{
    const std::string fieldFile = copy + ".name";
    std::string error;
    const int status = runner_->run({"dpkg-deb", "--field", copy, "Package"}, {}, fieldFile, &error);
    std::ifstream f(fieldFile);
    std::string name;
    std::getline(f, name);
    unlink(fieldFile.c_str());
    if (status != 0 || name != kPackageName) {
        syslog(LOG_WARNING, "[Update] Refused: not a %s package (dpkg-deb status %d)", kPackageName, status);
        return false;
    }
    return true;
}

bool UpdateJob::writeScript()
{
    const std::string path = scriptPath();
    if (verbose_)
        printf("Autoupdate sh file: %s\n", path.c_str());
    const std::string text = scriptText(stagedPackagePath());
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0700);
    if (fd < 0) {
        syslog(LOG_ERR, "[Update] Cannot write %s: %s", path.c_str(), strerror(errno));
        return false;
    }
    const bool ok = writeAll(fd, text.data(), text.size());
    if (close(fd) != 0 || !ok)
        return false;
    if (verbose_) {
        printf("****************\n%s****************\n", text.c_str());
        fflush(stdout);
    }
    return true;
}
